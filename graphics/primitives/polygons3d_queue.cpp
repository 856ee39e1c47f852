// The depth-sorted items of 3D polygons, flat and smooth.
#include "graphics/primitives/primitive_prelude.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace {

// The polygon's eye points (count * slots) move from the front half's
// temporary memory into the item's own block, kept until the next PwSetEye,
// and the item is queued at the centre's depth. The temporary block is given
// back first: memory kept from the main pool then starts where it started.
// Null when there is no room.
PwSortedItem* InsertPolygon(int type, int count, std::size_t slots, const PwEyePolygon& poly,
                            PwColor colour, PwVec3** kept) {
  PwScratchRelease(poly.mark);
  if (PwScratchKeepBack(PwSortedFlushRoom(count)) != 0) return nullptr;
  const std::size_t bytes = sizeof(PwVec3) * static_cast<std::size_t>(count) * slots;
  void* points = nullptr;
  PwSortedItem* it = PwSortedInsertCopyKept(type, poly.centre.z, poly.points, bytes, &points);
  if (it == nullptr) return nullptr;
  it->colour = colour;
  *kept = static_cast<PwVec3*>(points);
  return it;
}

}  // namespace

int PwQueuePolygon3(int count, const PwEyePolygon& poly, PwColor colour) {
  PwVec3* points = nullptr;
  PwSortedItem* it = InsertPolygon(kPwSortedPolygon, count, 1, poly, colour, &points);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedPolygonData*>(it->payload);
  d->near_flag = poly.near_flag;
  d->count = count;
  d->points = points;
  d->has_normal = poly.has_normal;
  d->centre = poly.centre;
  d->normal = poly.normal;
  d->highlight = PwGetHighlight();
  return 0;
}

int PwQueueSmoothPolygon3(int count, const PwEyePolygon& poly, PwColor colour) {
  PwVec3* points = nullptr;
  PwSortedItem* it = InsertPolygon(kPwSortedSmoothPolygon, count, 2, poly, colour, &points);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedSmoothData*>(it->payload);
  d->near_flag = poly.near_flag;
  d->count = count;
  d->centroid = poly.centre;
  d->points = points;
  d->normals = points + count;
  d->highlight = PwGetHighlight();
  return 0;
}
