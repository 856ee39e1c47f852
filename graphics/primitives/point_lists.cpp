// Owned point arrays on the library heap.
#include <cstring>

#include "graphics/math/pw_math.h"
#include "graphics/files/pw_alloc.h"

namespace {

template <typename List, typename Point>
int Copy(List* list, int n, const Point* points) {
  list->points = nullptr;
  // A count without points copies nothing (and keeps no count).
  list->count = points != nullptr ? n : 0;
  if (n <= 0 || points == nullptr) return 1;
  list->points = static_cast<Point*>(PwAlloc(sizeof(Point) * static_cast<std::size_t>(n)));
  if (list->points == nullptr) return 0;
  std::memcpy(list->points, points, sizeof(Point) * static_cast<std::size_t>(n));
  return 1;
}

}  // namespace

int PwCopyPoints3(PwPointList3* list, int n, const PwVec3* points) { return Copy(list, n, points); }
int PwCopyPoints2(PwPointList2* list, int n, const PwVec2* points) { return Copy(list, n, points); }
int PwDupPoints3(PwPointList3* list, const PwPointList3* from) {
  return Copy(list, from->count, from->points);
}
int PwDupPoints2(PwPointList2* list, const PwPointList2* from) {
  return Copy(list, from->count, from->points);
}

void PwFreePoints3(PwPointList3* list) {
  PwFree(list->points);
  list->points = nullptr;
  list->count = 0;
}

void PwFreePoints2(PwPointList2* list) {
  PwFree(list->points);
  list->points = nullptr;
  list->count = 0;
}
