#include "scenegraph/core/math/vec.h"

#include <cmath>

namespace {

KSBOOL InUnitBand(float squared) {
  return (squared >= 0.999f && squared <= 1.001f) ? KS_TRUE : KS_FALSE;
}

}  // namespace

KSBOOL KsVec2f::IsNormalized() const { return InUnitBand(x * x + y * y); }

int KsVec2f::Normalize() {
  float len = std::sqrt(x * x + y * y);
  if (len == 0.0f) return KS_ERR;
  x /= len;
  y /= len;
  return 0;
}

float KsVec3f::Length() const { return std::sqrt(SquaredLength()); }

KSBOOL KsVec3f::IsNormalized() const { return InUnitBand(SquaredLength()); }

int KsVec3f::Normalize() {
  float len = Length();
  if (len == 0.0f) return KS_ERR;
  x /= len;
  y /= len;
  z /= len;
  return 0;
}
