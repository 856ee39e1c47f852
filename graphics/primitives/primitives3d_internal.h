// Helpers shared by the 3D primitive files.
#pragma once

#include <cmath>

#include "graphics/math/pw_types.h"

inline bool PwFinite3(const PwVec3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

inline bool PwAllFinite3(int n, const PwVec3* p) {
  for (int i = 0; i < n; ++i) {
    if (!PwFinite3(p[i])) return false;
  }
  return true;
}
