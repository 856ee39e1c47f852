// Helpers shared by the 3D primitive files.
#pragma once

#include "graphics/math/pw_types.h"
#include "graphics/math/vec_inline.h"
#include "graphics/state3d/culling.h"

// Eye points that are all finite and within the view volume: true to draw.
inline bool PwPrimCullEye(int n, const PwVec3* eye, int* near_flag) {
  *near_flag = 0;
  return PwAllFinite(n, eye) && PwCullPoints(n, eye, near_flag) != 0;
}

inline bool PwPrimCullEye(const PwVec3& eye) {
  int near_flag = 0;
  return PwPrimCullEye(1, &eye, &near_flag);
}
