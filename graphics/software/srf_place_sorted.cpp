// Placing SRF models in the software build: one depth-sorted item for the
// whole model, or one polygon item per visible face.
#include <cmath>
#include <cstddef>

#include "graphics/formats/srf_place.h"
#include "graphics/math/vec_inline.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

int PwSrfSorted(const PwSrf* m, const PwPose* pose) {
  if (m == nullptr || pose == nullptr) return 0;
  PwFrame frame;
  int near_flag;
  if (!PwSrfPlaceFront(m, pose, &frame, &near_flag)) return 0;
  return PwQueueSrf(m, frame, near_flag);
}

int PwDrawSrf(PwSrf* m, const PwPose* pose) {
  if (m == nullptr || pose == nullptr) return 0;
  PwFrame frame;
  int near_flag;
  if (!PwSrfPlaceFront(m, pose, &frame, &near_flag)) return 0;
  for (int v = 0; v < m->vertex_count; ++v) {
    const PwSrfVertex& s = m->vertices[v];
    PwVec3 p = {s.x, s.y, s.z};
    PwFrameApply(&m->work[v].position, &frame, &p);
  }
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    PwVec3 centre, normal;
    PwFrameApply(&centre, &frame, &face.centre);
    PwFrameRotate(&normal, &frame, &face.normal);
    if (!PwFinite(centre)) continue;
    if (PwSrfFacesAway(centre, normal)) {
      if (face.has_normal == 1) continue;
      normal = {-normal.x, -normal.y, -normal.z};
    }
    const int n = face.index_count;
    if (n < 1) continue;
    if (PwScratchKeepBack(PwSortedFlushRoom(n)) != 0) return 1;
    const std::size_t bytes = sizeof(PwVec3) * static_cast<std::size_t>(n);
    auto* points = static_cast<PwVec3*>(PwScratchAlloc(bytes));
    if (points == nullptr) return 1;
    bool valid = true;
    for (int i = 0; i < n && valid; ++i) {
      valid = PwSrfValidIndex(m, face.indices[i]);
      if (valid) points[i] = m->work[face.indices[i]].position;
    }
    if (!valid) {
      PwScratchGiveBack(points, bytes);
      continue;
    }
    PwSortedItem* it = PwSortedInsert(kPwSortedPolygon, centre.z);
    if (it == nullptr) {
      PwScratchGiveBack(points, bytes);
      return 1;
    }
    it->colour = face.colour;
    PwApplyModelColour(&it->colour);
    auto* d = static_cast<PwSortedPolygonData*>(it->payload);
    d->highlight = PwGetHighlight();
    d->near_flag = near_flag;
    d->count = n;
    d->points = points;
    d->has_normal = face.no_shading == 0;  // the flush shades what has a normal
    d->centre = centre;
    d->normal = normal;
  }
  return 0;
}
