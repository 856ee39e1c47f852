// Small vector helpers that many files of the graphics library use inline.
#pragma once

#include <cmath>

#include "graphics/math/pw_types.h"

namespace pw {

inline float Dot(const PwVec3& a, const PwVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline PwVec3 Sub(const PwVec3& a, const PwVec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

inline bool Finite(const PwVec3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace pw
