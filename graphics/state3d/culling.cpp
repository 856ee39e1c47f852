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

// The eight corners hold only two values on each axis, so their sixteen
// ratios are eight distinct quotients: computed once each, they give the
// same verdict as testing the corners one by one.
int PwCullBox(const PwVec3* box_min, const PwVec3* box_max, int* near_flag) {
  const PwVec3 lo = *box_min, hi = *box_max;
  if (!std::isfinite(lo.x) || !std::isfinite(lo.y) || !std::isfinite(lo.z) ||
      !std::isfinite(hi.x) || !std::isfinite(hi.y) || !std::isfinite(hi.z)) {
    *near_flag = 0;
    return 0;
  }
  const PwProjection* p = PwGetProjection();
  float left, right, top, bottom;
  PwGetSlopes(&left, &right, &top, &bottom);
  const bool parallel = PwGetProjectionMode() == 1;
  const float parallel_d = PwGetParallelDistance();
  const float zs[2] = {lo.z, hi.z}, xs[2] = {lo.x, hi.x}, ys[2] = {lo.y, hi.y};
  bool all_near = true, all_far = true, all_right = true, all_left = true, all_top = true,
       all_bottom = true;
  int nearer = 0;
  for (float z : zs) {
    if (z < p->near) nearer = 1;
    all_near = all_near && z < p->near;
    all_far = all_far && z > p->far;
    const float d = parallel ? parallel_d : (z > p->near ? z : p->near);
    for (float x : xs) {
      const float u = x / d;
      all_right = all_right && u > right;
      all_left = all_left && u < -left;
    }
    for (float y : ys) {
      const float v = y / d;
      all_top = all_top && v > top;
      all_bottom = all_bottom && v < -bottom;
    }
  }
  *near_flag = nearer;
  if (all_near || all_far || all_right || all_left || all_top || all_bottom) return 0;
  return 1;
}
