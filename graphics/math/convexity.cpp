// Convexity tests of point lists; points within 0.0001 per coordinate are one.
#include <cmath>

#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"

namespace {

// Drops repeats at the ends; false when 3 points or fewer remain.
template <typename Point>
bool Trim(const Point* p, int n, int* first, int* last) {
  int f = 0, l = n - 1;
  if (l - f + 1 <= 3) return false;
  while (l - f >= 1 && PwSamePoint(p[f], p[f + 1])) ++f;
  if (l - f + 1 <= 3) return false;
  while (l - f >= 1 && PwSamePoint(p[l], p[l - 1])) --l;
  if (l - f + 1 <= 3) return false;
  if (PwSamePoint(p[l], p[f])) --l;
  if (l - f + 1 <= 3) return false;
  *first = f;
  *last = l;
  return true;
}

}  // namespace

int PwIsConvex2(const PwPointList2* list) {
  const PwVec2* p = list->points;
  int f, l;
  if (!Trim(p, list->count, &f, &l)) return 1;
  PwVec2 prev_pt = p[l];
  PwVec2 prev_e = {p[l].x - p[l - 1].x, p[l].y - p[l - 1].y};
  float reference = 0.0f;
  for (int i = f; i <= l; ++i) {
    if (PwSamePoint(p[i], prev_pt)) continue;
    PwVec2 e = {p[i].x - prev_pt.x, p[i].y - prev_pt.y};
    float s = prev_e.x * e.y - prev_e.y * e.x;
    if (std::fabs(s) > 0.0001f) {
      if (reference == 0.0f) {
        reference = s;
      } else if (s * reference < 0.0f) {
        return 0;
      }
    }
    prev_e = e;
    prev_pt = p[i];
  }
  return 1;
}

int PwIsConvex3(const PwPointList3* list) {
  const PwVec3* p = list->points;
  int f, l;
  if (!Trim(p, list->count, &f, &l)) return 1;
  PwVec3 prev_pt = p[l];
  PwVec3 prev_e = {p[l].x - p[l - 1].x, p[l].y - p[l - 1].y, p[l].z - p[l - 1].z};
  bool have_reference = false;
  PwVec3 reference = {0, 0, 0};
  for (int i = f; i <= l; ++i) {
    if (PwSamePoint(p[i], prev_pt)) continue;
    PwVec3 e = {p[i].x - prev_pt.x, p[i].y - prev_pt.y, p[i].z - prev_pt.z};
    PwVec3 c;
    PwCross(&c, &prev_e, &e);
    if (c.x * c.x + c.y * c.y + c.z * c.z > 0.0001f) {
      if (!have_reference) {
        reference = c;
        have_reference = true;
      } else if (c.x * reference.x + c.y * reference.y + c.z * reference.z < 0.0f) {
        return 0;
      }
    }
    prev_e = e;
    prev_pt = p[i];
  }
  return 1;
}
