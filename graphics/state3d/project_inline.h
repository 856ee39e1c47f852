// Screen projection, inline for the flush's loop over every drawn vertex;
// PwProjectToScreen and PwSaturateToInt are these.
#pragma once

#include <cmath>

#include "graphics/math/pw_types.h"

// Limited to +-2^30 so that far-off points stay representable; 0 into *ok
// for a NaN.
inline int PwSaturatedInt(double v, int* ok) {
  constexpr double kSaturation = 1073741824.0;  // 2^30
  if (std::isnan(v)) {
    *ok = 0;
    return 0;
  }
  if (v > kSaturation) v = kSaturation;
  if (v < -kSaturation) v = -kSaturation;
  return static_cast<int>(v);
}

// The eye point seen at depth z (its own, or the parallel distance); 0 with
// the screen centre when it has no place on the screen.
inline int PwProjectAt(const PwProjection& p, const PwVec3& eye, float z, PwPoint2* out) {
  // The offsets are computed in single precision like the rest of the
  // pipeline; saturation keeps far-off points representable.
  const float ox = eye.x * p.magx / z;
  const float oy = eye.y * p.magy / z;
  int ok = 1;
  const int dx = PwSaturatedInt(ox, &ok);
  const int dy = PwSaturatedInt(oy, &ok);
  if (!ok) {
    *out = {p.cx, p.cy};
    return 0;
  }
  out->x = PwSaturatedInt(static_cast<double>(p.cx) + dx, &ok);
  out->y = PwSaturatedInt(static_cast<double>(p.cy) - dy, &ok);
  return 1;
}
