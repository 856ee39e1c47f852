// View-volume test: a set of eye-space points is wholly outside when all of
// them lie beyond one and the same plane of the view volume.
#include <cmath>

#include "graphics/state3d/culling.h"
#include "graphics/state3d/state3d.h"

int PwCullPoints(int n, const PwVec3* points, int* near_flag) {
  const PwProjection* p = PwGetProjection();
  float left, right, top, bottom;
  PwGetSlopes(&left, &right, &top, &bottom);
  const bool parallel = PwGetProjectionMode() == 1;
  const float parallel_d = PwGetParallelDistance();
  bool all_near = true, all_far = true, all_right = true, all_left = true, all_top = true,
       all_bottom = true;
  int nearer = 0;
  for (int i = 0; i < n; ++i) {
    const PwVec3& q = points[i];
    if (!std::isfinite(q.x) || !std::isfinite(q.y) || !std::isfinite(q.z)) {
      // No place on the screen: the whole set counts as not visible.
      *near_flag = 0;
      return 0;
    }
    if (q.z < p->near) nearer = 1;
    float d = parallel ? parallel_d : (q.z > p->near ? q.z : p->near);
    float u = q.x / d, v = q.y / d;
    all_near = all_near && q.z < p->near;
    all_far = all_far && q.z > p->far;
    all_right = all_right && u > right;
    all_left = all_left && u < -left;
    all_top = all_top && v > top;
    all_bottom = all_bottom && v < -bottom;
  }
  *near_flag = nearer;
  if (n <= 0) return 0;
  if (all_near || all_far || all_right || all_left || all_top || all_bottom) return 0;
  return 1;
}

int PwCullBox(const PwVec3* box_min, const PwVec3* box_max, int* near_flag) {
  PwVec3 corners[8];
  for (int i = 0; i < 8; ++i) {
    corners[i] = {(i & 1) ? box_max->x : box_min->x, (i & 2) ? box_max->y : box_min->y,
                  (i & 4) ? box_max->z : box_min->z};
  }
  return PwCullPoints(8, corners, near_flag);
}
