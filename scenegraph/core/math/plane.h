// A plane given by one of its points and its normal (not normalised).
#ifndef KS_PLANE_H
#define KS_PLANE_H

#include "scenegraph/core/math/vec.h"

class KsPlane {
 public:
  KsVec3f point;
  KsVec3f normal;

  KsPlane() : point(0.0f, 0.0f, 0.0f), normal(0.0f, 0.0f, -1.0f) {}
  KsPlane(const KsVec3f& p, const KsVec3f& n) : point(p), normal(n) {}

  virtual const char* GetClassName() const { return "KsPlane"; }

  // Meets the line through p along d with the plane; KS_ERR (result
  // untouched) when the line is parallel to it.
  int Intersect(KsVec3f& result, const KsVec3f& p, const KsVec3f& d) const;
};

#endif
