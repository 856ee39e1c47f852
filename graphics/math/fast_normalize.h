// The table normalisation of PwFastNormalize, inline for the shading of
// every drawn polygon; the table comes from PwUnitTable once per caller.
#pragma once

#include <cmath>

#include "graphics/math/pw_types.h"

constexpr int kPwUnitColumns = 64;  // k = -31..32 (32 is never looked up)

// Unit vectors (k, r, 31) / |(k, r, 31)| at (r + 31) * 64 + (k + 31).
const PwVec3* PwUnitTable();

inline int PwUnitIndex(float ratio) {
  int i = static_cast<int>(31.0f * ratio);
  if (i < -31) i = -31;
  if (i > 31) i = 31;
  return i;
}

inline int PwFastNormalizeWith(const PwVec3* table, PwVec3* out, const PwVec3* v) {
  const float x = v->x, y = v->y, z = v->z;
  if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) {
    *out = {0.0f, 0.0f, 0.0f};
    return 0;
  }
  const float ax = std::fabs(x), ay = std::fabs(y), az = std::fabs(z);
  int axis;
  float dominant;
  if (ax > ay && ax > az) {
    axis = 0;
    dominant = x;
  } else if (ay > az) {
    axis = 1;
    dominant = y;
  } else {
    axis = 2;
    dominant = z;
  }
  if (std::fabs(dominant) < 0.0001f) {
    *out = {0.0f, 0.0f, 0.0f};
    return 0;
  }
  float u, w;
  if (axis == 0) {
    u = z / x;
    w = y / x;
  } else if (axis == 1) {
    u = x / y;
    w = z / y;
  } else {
    u = x / z;
    w = y / z;
  }
  const PwVec3& e = table[(PwUnitIndex(w) + 31) * kPwUnitColumns + (PwUnitIndex(u) + 31)];
  PwVec3 r;
  if (axis == 0) {
    r = {e.z, e.y, e.x};
  } else if (axis == 1) {
    r = {e.x, e.z, e.y};
  } else {
    r = e;
  }
  if (dominant < 0) r = {-r.x, -r.y, -r.z};
  *out = r;
  return 1;
}
