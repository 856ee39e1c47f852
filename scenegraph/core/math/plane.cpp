#include "scenegraph/core/math/plane.h"

#include <cmath>

int KsPlane::Intersect(KsVec3f& result, const KsVec3f& p, const KsVec3f& d) const {
  float s = normal.Dot(d);
  if (std::fabs(s) < 0.001f) return KS_ERR;
  float t = normal.Dot(point - p) / s;
  result = p + d * t;
  return 0;
}
