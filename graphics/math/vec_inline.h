// Small vector helpers that many files of the graphics library use inline.
#pragma once

#include <cmath>

#include "graphics/math/pw_types.h"

inline float PwDot(const PwVec3& a, const PwVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline PwVec3 PwSub(const PwVec3& a, const PwVec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

inline bool PwFinite(const PwVec3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}
