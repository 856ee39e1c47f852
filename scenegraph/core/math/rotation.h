// Axis-angle rotation (angle in radians, right-handed about the axis).
#ifndef KS_ROTATION_H
#define KS_ROTATION_H

#include "scenegraph/core/math/vec.h"

struct KsWordNode;

class KsRotation {
 public:
  float angle;
  KsVec3f axis;

  KsRotation() : angle(0.0f), axis(0.0f, 0.0f, 1.0f) {}
  KsRotation(float ax, float ay, float az, float a) : angle(a), axis(ax, ay, az) {}
  // Reads axis x, y, z and the angle from the cursor's current word on;
  // numbers missing at the end of the chain are 0.
  explicit KsRotation(KsWordNode* cursor);

  virtual const char* GetClassName() const { return "KsRotation"; }

  void Set(const KsVec3f& ax, float a) {
    axis = ax;
    angle = a;
  }
  int Apply(KsVec3f& result, const KsVec3f& v) const;
  int ApplyInverse(KsVec3f& result, const KsVec3f& v) const;
};

#endif
