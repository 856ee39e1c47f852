// 4x4 transformation kept together with its inverse.
//
// Row-major (element (r, k) at 4r + k), column vectors p' = M p, translation
// in the last column. Every operation post-multiplies the matrix (the step
// given last acts first on a point) and pre-multiplies the inverse with the
// step's inverse. A scale by zero makes the inverse unusable; the flag
// remembers it until Identity.
#ifndef KS_MATRIX_H
#define KS_MATRIX_H

#include "scenegraph/core/math/rotation.h"
#include "scenegraph/core/math/vec.h"

class KsMatrix {
 public:
  KsMatrix();

  virtual const char* GetClassName() const { return "KsMatrix"; }

  KsMatrix(const KsMatrix& other) = default;
  KsMatrix& operator=(const KsMatrix& other) = default;

  void Identity();
  void Translate(float x, float y, float z);
  void Translate(const KsVec3f& t) { Translate(t.x, t.y, t.z); }
  void Scale(float sx, float sy, float sz);
  void Scale(const KsVec3f& s) { Scale(s.x, s.y, s.z); }
  void Rotate(float x, float y, float z, float angle);
  void Rotate(const KsRotation& r) { Rotate(r.axis.x, r.axis.y, r.axis.z, r.angle); }

  // Swaps matrix and inverse; KS_ERR (nothing changed) once the inverse is lost.
  int Invert();

  // a * b with inverse b^-1 * a^-1; flagged when either operand is.
  static KsMatrix Multiply(const KsMatrix& a, const KsMatrix& b);

  // First three components of M (x, y, z, w) or M^-1 (x, y, z, w); w = 1 for
  // points, 0 for directions.
  KsVec3f& Apply(KsVec3f& result, const KsVec3f& v, float w) const;
  KsVec3f& ApplyInverse(KsVec3f& result, const KsVec3f& v, float w) const;

  int GetTranslation(KsVec3f& result) const;
  int GetTranslation(float& x, float& y, float& z) const;
  // Column by column, as OpenGL takes it.
  int GetMatrix(float out[16]) const;
  int GetInverse(float out[16]) const;
  int GetRotation(KsRotation& result) const;
  int GetAxisAngle(float& x, float& y, float& z, float& angle) const;

  const float* Elements() const { return matrix_; }
  const float* InverseElements() const { return inverse_; }
  int IsInverseInvalid() const { return inverseInvalid_; }

 private:
  // Post-multiplies by t and pre-multiplies the inverse by tInverse.
  void Compose(const float t[16], const float tInverse[16]);

  float matrix_[16];
  float inverse_[16];
  int inverseInvalid_;
};

#endif
