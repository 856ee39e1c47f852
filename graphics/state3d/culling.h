// View-volume test of eye-space geometry against the projection's slopes and
// near/far depths.
#pragma once

#include "graphics/math/pw_types.h"

// 1 = may be visible, 0 = wholly outside (or not a number). *near_flag := 1
// when some point is nearer than the near depth.
int PwCullPoints(int n, const PwVec3* points, int* near_flag);
int PwCullBox(const PwVec3* box_min, const PwVec3* box_max, int* near_flag);
