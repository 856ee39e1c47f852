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
