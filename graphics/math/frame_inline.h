// Applying a frame, inline for the loops that carry every point of a big
// mesh into eye space; PwFrameRotate and PwFrameApply are these.
#pragma once

#include "graphics/math/pw_types.h"

inline PwVec3 PwFrameRotated(const PwFrame& f, const PwVec3& v) {
  const float x1 = v.x * f.cosB - v.y * f.sinB;
  const float y1 = v.x * f.sinB + v.y * f.cosB;
  const float z1 = v.z * f.cosP - y1 * f.sinP;
  const float y2 = v.z * f.sinP + y1 * f.cosP;
  const float x2 = x1 * f.cosH - z1 * f.sinH;
  const float z2 = x1 * f.sinH + z1 * f.cosH;
  return {x2, y2, z2};
}

inline PwVec3 PwFrameApplied(const PwFrame& f, const PwVec3& p) {
  const PwVec3 r = PwFrameRotated(f, p);
  return {r.x + f.x, r.y + f.y, r.z + f.z};
}
