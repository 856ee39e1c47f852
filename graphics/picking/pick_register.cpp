// Registering pickable shapes: carried into eye space, culled, clipped at the
// near plane and projected like the drawing calls, then kept as screen
// shapes in the pick tree.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/state3d/culling.h"
#include "graphics/picking/pick_internal.h"
#include "graphics/math/vec_inline.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/state3d/state3d.h"

namespace {

PwPickItem* NewItem(int kind, float depth, const int ids[4]) {
  auto* item = static_cast<PwPickItem*>(PwPickAlloc(nullptr, sizeof(PwPickItem)));
  if (item == nullptr) return nullptr;
  *item = PwPickItem{};
  item->kind = kind;
  item->depth = depth;
  for (int i = 0; i < 4; ++i) item->ids[i] = ids[i];
  return item;
}

void GrowBox(PwPickItem* item, const PwPoint2& p, bool first) {
  if (first || p.x < item->min_x) item->min_x = p.x;
  if (first || p.y < item->min_y) item->min_y = p.y;
  if (first || p.x > item->max_x) item->max_x = p.x;
  if (first || p.y > item->max_y) item->max_y = p.y;
}

}  // namespace

int PwPickPoint(PwVec3 point, float radius, int min_radius, int id1, int id2, int id3, int id4) {
  PwVec3 e;
  PwModelToEye(&e, &point);
  if (!PwFinite(e) || !std::isfinite(radius) || e.z <= 0) return 1;
  const float r = radius;
  const PwVec3 corners[4] = {{e.x - r, e.y - r, e.z},
                             {e.x + r, e.y - r, e.z},
                             {e.x - r, e.y + r, e.z},
                             {e.x + r, e.y + r, e.z}};
  int near_flag = 0;
  if (!PwCullPoints(4, corners, &near_flag)) return 1;
  // Parallel projection: the size on the screen does not change with depth.
  const float z = PwGetProjectionMode() == 1 ? PwGetParallelDistance() : e.z;
  const PwProjection* proj = PwGetProjection();
  int ok = 1;
  int pixels = PwSaturateToInt((proj->magx + proj->magy) * r * 0.5f / z, &ok);
  PwPoint2 centre;
  if (!ok || !PwProjectToScreen(&centre, &e)) return 1;
  const int ids[4] = {id1, id2, id3, id4};
  PwPickItem* item = NewItem(kPwPickKindPoint, e.z, ids);
  if (item == nullptr) return 0;
  item->radius = pixels > min_radius ? pixels : min_radius;
  item->centre_x = centre.x;
  item->centre_y = centre.y;
  PwPickInsert(item);
  return 1;
}

int PwPickPolygon(int count, const PwVec3* points, const PwVec3* normal, int id1, int id2, int id3,
                  int id4) {
  // No points have no centroid (their mean is 0/0).
  if (count < 1 || points == nullptr) return 1;
  const std::size_t n = static_cast<std::size_t>(count);
  if (n > SIZE_MAX / (4 * sizeof(PwVec3))) return 0;

  // The record first, then the vertex area. The eye-space points (and their
  // near-clipped copy) are temporaries at the start of that area; each
  // projected vertex is written over the bytes of the point it came from
  // (8 bytes over 12, never ahead of a point still to be read), and the pool
  // then keeps only the vertices.
  std::size_t start;
  const int ids[4] = {id1, id2, id3, id4};
  PwPickAlloc(&start, 0);
  PwPickItem* item = NewItem(kPwPickKindPolygon, 0, ids);
  if (item == nullptr) return 0;
  std::size_t area;
  auto* eye = static_cast<PwVec3*>(PwPickAlloc(&area, sizeof(PwVec3) * n));
  if (eye == nullptr) {
    PwPickRelease(start);
    return 0;
  }
  PwVec3 lo, hi, centroid;
  PwEyePointsCentroid(eye, count, points, &lo, &hi, &centroid);
  if (!PwFinite(centroid)) {
    PwPickRelease(start);
    return 1;
  }
  if (normal != nullptr) {
    PwVec3 en;
    PwModelDirToEye(&en, normal);
    const bool away = PwGetProjectionMode() == 1
                          ? en.z > 0
                          : en.x * centroid.x + en.y * centroid.y + en.z * centroid.z > 0;
    if (away) {
      PwPickRelease(start);
      return 1;
    }
  }
  int near_flag = 0;
  if (!PwCullPoints(count, eye, &near_flag)) {
    PwPickRelease(start);
    return 1;
  }
  const PwVec3* source = eye;
  int m = count;
  if (near_flag && PwGetProjectionMode() == 0) {
    auto* clipped = static_cast<PwVec3*>(PwPickAlloc(nullptr, sizeof(PwVec3) * n * 2));
    if (clipped == nullptr) {
      PwPickRelease(start);
      return 0;
    }
    PwClipPolygonNear(&m, clipped, count, eye, PwGetProjection()->near);
    source = clipped;
  }
  if (m < 1) {
    PwPickRelease(start);
    return 1;
  }
  unsigned char* bytes = reinterpret_cast<unsigned char*>(eye);
  for (int i = 0; i < m; ++i) {
    PwVec3 p;
    std::memcpy(&p, source + i, sizeof p);
    PwPoint2 s;
    if (!PwProjectToScreen(&s, &p)) {
      PwPickRelease(start);
      return 1;
    }
    const PwVec2 v = {static_cast<float>(s.x), static_cast<float>(s.y)};
    std::memcpy(bytes + sizeof(PwVec2) * static_cast<std::size_t>(i), &v, sizeof v);
    GrowBox(item, s, i == 0);
  }
  PwPickRelease(area);
  item->vertices =
      static_cast<PwVec2*>(PwPickAlloc(nullptr, sizeof(PwVec2) * static_cast<std::size_t>(m)));
  item->count = m;
  item->depth = centroid.z;
  PwPickInsert(item);
  return 1;
}

int PwPickLine(PwVec3 p0, PwVec3 p1, int id1, int id2, int id3, int id4) {
  PwVec3 ends[2];
  PwModelToEye(&ends[0], &p0);
  PwModelToEye(&ends[1], &p1);
  const float depth = (ends[0].z + ends[1].z) * 0.5f;
  int near_flag = 0;
  if (!std::isfinite(depth) || !PwCullPoints(2, ends, &near_flag)) return 1;
  if (near_flag && PwGetProjectionMode() == 0) {
    const PwVec3 in[2] = {ends[0], ends[1]};
    PwClipLineNear(ends, in, PwGetProjection()->near);
  }
  PwPoint2 a, b;
  if (!PwProjectToScreen(&a, &ends[0]) || !PwProjectToScreen(&b, &ends[1])) return 1;
  const int ids[4] = {id1, id2, id3, id4};
  PwPickItem* item = NewItem(kPwPickKindLine, depth, ids);
  if (item == nullptr) return 0;
  GrowBox(item, a, true);
  GrowBox(item, b, false);
  item->start = {static_cast<float>(a.x), static_cast<float>(a.y)};
  item->delta = {static_cast<float>(b.x) - static_cast<float>(a.x),
                 static_cast<float>(b.y) - static_cast<float>(a.y)};
  PwPickInsert(item);
  return 1;
}
