#include "scenegraph/core/math/rotation.h"

#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/reading/word_reading.h"

KsRotation::KsRotation(KsWordNode* cursor) {
  float v[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  KsReadFloatWords(cursor, v, 4);
  axis = KsVec3f(v[0], v[1], v[2]);
  angle = v[3];
}

int KsRotation::Apply(KsVec3f& result, const KsVec3f& v) const {
  KsMatrix m;
  m.Rotate(*this);
  m.Apply(result, v, 0.0f);
  return 0;
}

int KsRotation::ApplyInverse(KsVec3f& result, const KsVec3f& v) const {
  KsMatrix m;
  m.Rotate(*this);
  m.ApplyInverse(result, v, 0.0f);
  return 0;
}
