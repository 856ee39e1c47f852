// Small vector helpers that many files of the graphics library use inline.
#pragma once

#include <cmath>

#include "graphics/math/pw_math.h"
#include "graphics/math/pw_types.h"

inline float PwDot(const PwVec3& a, const PwVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

inline PwVec3 PwSub(const PwVec3& a, const PwVec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

inline bool PwFinite(const PwVec3& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

inline bool PwAllFinite(int count, const PwVec3* points) {
  for (int i = 0; i < count; ++i) {
    if (!PwFinite(points[i])) return false;
  }
  return true;
}

// A direction scaled so that its longest axis is 1 long: the normalisations
// take vectors this short for none, but a fine mesh's corner normals (cross
// products of short edges) are shorter still and point all the same.
inline PwVec3 PwWidenDirection(PwVec3 v) {
  const float m = std::fmax(std::fabs(v.x), std::fmax(std::fabs(v.y), std::fabs(v.z)));
  if (!(m > 0.0f) || m >= 0.001f || !std::isfinite(m)) return v;
  return {v.x / m, v.y / m, v.z / m};
}

// Points this close on every axis count as one point.
constexpr float kPwSamePointTolerance = 0.0001f;

inline bool PwSamePoint(const PwVec2& a, const PwVec2& b) {
  return std::fabs(a.x - b.x) <= kPwSamePointTolerance &&
         std::fabs(a.y - b.y) <= kPwSamePointTolerance;
}

inline bool PwSamePoint(const PwVec3& a, const PwVec3& b) {
  return std::fabs(a.x - b.x) <= kPwSamePointTolerance &&
         std::fabs(a.y - b.y) <= kPwSamePointTolerance &&
         std::fabs(a.z - b.z) <= kPwSamePointTolerance;
}
