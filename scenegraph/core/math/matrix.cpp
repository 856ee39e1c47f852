#include "scenegraph/core/math/matrix.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

const float kPi = 3.14159265358979323846f;

void SetIdentity(float m[16]) {
  for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

// out = a * b; out may be a or b.
void Multiply4(float out[16], const float a[16], const float b[16]) {
  float t[16];
  for (int r = 0; r < 4; ++r) {
    for (int k = 0; k < 4; ++k) {
      float s = 0.0f;
      for (int j = 0; j < 4; ++j) s += a[4 * r + j] * b[4 * j + k];
      t[4 * r + k] = s;
    }
  }
  std::memcpy(out, t, sizeof(t));
}

KsVec3f& Transform(KsVec3f& result, const float m[16], const KsVec3f& v, float w) {
  float x = m[0] * v.x + m[1] * v.y + m[2] * v.z + m[3] * w;
  float y = m[4] * v.x + m[5] * v.y + m[6] * v.z + m[7] * w;
  float z = m[8] * v.x + m[9] * v.y + m[10] * v.z + m[11] * w;
  result.x = x;
  result.y = y;
  result.z = z;
  return result;
}

float Cos(float a) { return static_cast<float>(std::cos(static_cast<double>(a))); }
float Sin(float a) { return static_cast<float>(std::sin(static_cast<double>(a))); }

// Elementary rotations; the second matrix of each pair is the inverse.
void RotationX(float m[16], float theta) {
  float co = Cos(theta), si = Sin(theta);
  SetIdentity(m);
  m[5] = co;
  m[6] = si;
  m[9] = -si;
  m[10] = co;
}

void RotationY(float m[16], float theta) {
  float co = Cos(theta), si = Sin(theta);
  SetIdentity(m);
  m[0] = co;
  m[2] = -si;
  m[8] = si;
  m[10] = co;
}

void RotationZ(float m[16], float theta) {
  float co = Cos(theta), si = Sin(theta);
  SetIdentity(m);
  m[0] = co;
  m[1] = -si;
  m[4] = si;
  m[5] = co;
}

float Clamp1(float v) {
  if (v > 1.0f) return 1.0f;
  if (v < -1.0f) return -1.0f;
  return v;
}

}  // namespace

KsMatrix::KsMatrix() { Identity(); }

void KsMatrix::Identity() {
  SetIdentity(matrix_);
  SetIdentity(inverse_);
  inverseInvalid_ = 0;
}

void KsMatrix::Compose(const float t[16], const float tInverse[16]) {
  Multiply4(matrix_, matrix_, t);
  Multiply4(inverse_, tInverse, inverse_);
}

void KsMatrix::Translate(float x, float y, float z) {
  float t[16], ti[16];
  SetIdentity(t);
  SetIdentity(ti);
  t[3] = x;
  t[7] = y;
  t[11] = z;
  ti[3] = -x;
  ti[7] = -y;
  ti[11] = -z;
  Compose(t, ti);
}

void KsMatrix::Scale(float sx, float sy, float sz) {
  float t[16];
  SetIdentity(t);
  t[0] = sx;
  t[5] = sy;
  t[10] = sz;
  if (sx != 0.0f && sy != 0.0f && sz != 0.0f) {
    float ti[16];
    SetIdentity(ti);
    ti[0] = 1.0f / sx;
    ti[5] = 1.0f / sy;
    ti[10] = 1.0f / sz;
    Compose(t, ti);
    return;
  }
  Multiply4(matrix_, matrix_, t);
  inverseInvalid_ = 1;
  std::fprintf(stderr, "KsMatrix::Scale()\n");
  std::fprintf(stderr, "  Multiplied by zero.\n");
  std::fprintf(stderr, "  Inverted Matrix Does Not Work Any More.\n");
}

void KsMatrix::Rotate(float x, float y, float z, float angle) {
  float s = x * x + y * y + z * z;
  if (s == 0.0f) {
    std::fprintf(stderr, "KsMatrix::Rotate\n");
    std::fprintf(stderr, "  Zero Vector is specified for Rotation Axis\n");
    return;
  }
  if (s <= 0.99f || s >= 1.01f) {
    float len = std::sqrt(s);
    x /= len;
    y /= len;
    z /= len;
  }
  float a = (x == 0.0f && z == 0.0f)
                ? 0.0f
                : static_cast<float>(std::atan2(static_cast<double>(-x), static_cast<double>(z)));
  // An axis left unnormalised inside the band may have |y| slightly above 1.
  float b = static_cast<float>(std::asin(static_cast<double>(Clamp1(y))));

  float t[16], ti[16];
  RotationY(t, a);
  RotationY(ti, -a);
  Compose(t, ti);
  RotationX(t, b);
  RotationX(ti, -b);
  Compose(t, ti);
  RotationZ(t, angle);
  RotationZ(ti, -angle);
  Compose(t, ti);
  RotationX(t, -b);
  RotationX(ti, b);
  Compose(t, ti);
  RotationY(t, -a);
  RotationY(ti, a);
  Compose(t, ti);
}

int KsMatrix::Invert() {
  if (inverseInvalid_ == 1) return KS_ERR;
  float t[16];
  std::memcpy(t, matrix_, sizeof(t));
  std::memcpy(matrix_, inverse_, sizeof(t));
  std::memcpy(inverse_, t, sizeof(t));
  return 0;
}

KsMatrix KsMatrix::Multiply(const KsMatrix& a, const KsMatrix& b) {
  KsMatrix r;
  Multiply4(r.matrix_, a.matrix_, b.matrix_);
  Multiply4(r.inverse_, b.inverse_, a.inverse_);
  // A product with a lost inverse has none either; a clear flag would let
  // Invert hand out garbage.
  r.inverseInvalid_ = (a.inverseInvalid_ != 0 || b.inverseInvalid_ != 0) ? 1 : 0;
  return r;
}

KsVec3f& KsMatrix::Apply(KsVec3f& result, const KsVec3f& v, float w) const {
  return Transform(result, matrix_, v, w);
}

KsVec3f& KsMatrix::ApplyInverse(KsVec3f& result, const KsVec3f& v, float w) const {
  return Transform(result, inverse_, v, w);
}

int KsMatrix::GetTranslation(KsVec3f& result) const {
  result.x = matrix_[3];
  result.y = matrix_[7];
  result.z = matrix_[11];
  return 0;
}

int KsMatrix::GetTranslation(float& x, float& y, float& z) const {
  x = matrix_[3];
  y = matrix_[7];
  z = matrix_[11];
  return 0;
}

int KsMatrix::GetMatrix(float out[16]) const {
  for (int r = 0; r < 4; ++r)
    for (int k = 0; k < 4; ++k) out[4 * k + r] = matrix_[4 * r + k];
  return 0;
}

int KsMatrix::GetInverse(float out[16]) const {
  if (inverseInvalid_ == 1) return KS_ERR;
  for (int r = 0; r < 4; ++r)
    for (int k = 0; k < 4; ++k) out[4 * k + r] = inverse_[4 * r + k];
  return 0;
}

int KsMatrix::GetRotation(KsRotation& result) const {
  return GetAxisAngle(result.axis.x, result.axis.y, result.axis.z, result.angle);
}

int KsMatrix::GetAxisAngle(float& x, float& y, float& z, float& angle) const {
  // Rows of R - I are perpendicular to the axis; R turns such a row by the angle.
  const float* m = matrix_;
  KsVec3f rows[3] = {KsVec3f(m[0] - 1.0f, m[1], m[2]), KsVec3f(m[4], m[5] - 1.0f, m[6]),
                     KsVec3f(m[8], m[9], m[10] - 1.0f)};
  float l0 = rows[0].SquaredLength();
  float l1 = rows[1].SquaredLength();
  float l2 = rows[2].SquaredLength();
  int pick = (l0 > l1 && l0 > l2) ? 0 : (l1 > l2 ? 1 : 2);
  float lengths[3] = {l0, l1, l2};
  if (!(lengths[pick] > 0.001f * 0.001f)) {
    x = 0.0f;
    y = 1.0f;
    z = 0.0f;
    angle = 0.0f;
    return 0;
  }

  KsVec3f q = rows[pick];
  q.Normalize();
  KsVec3f qt;
  Apply(qt, q, 0.0f);
  qt.Normalize();
  KsVec3f axis = q.Cross(qt);
  float c = Clamp1(q.Dot(qt));

  if (axis.Length() < 1e-4f && c < 0.0f) {
    // Half turn: the cross product is noise, but R + I = 2 a a^T, so its
    // longest column lies along the axis.
    KsVec3f cols[3] = {KsVec3f(m[0] + 1.0f, m[4], m[8]), KsVec3f(m[1], m[5] + 1.0f, m[9]),
                       KsVec3f(m[2], m[6], m[10] + 1.0f)};
    int best = 0;
    for (int i = 1; i < 3; ++i)
      if (cols[i].SquaredLength() > cols[best].SquaredLength()) best = i;
    axis = cols[best];
    if (axis.Normalize() != 0) axis = KsVec3f(0.0f, 1.0f, 0.0f);
    x = axis.x;
    y = axis.y;
    z = axis.z;
    angle = kPi;
    return 0;
  }
  if (axis.Normalize() != 0) {
    // q and its image coincide: no turn to report.
    x = 0.0f;
    y = 1.0f;
    z = 0.0f;
    angle = 0.0f;
    return 0;
  }
  x = axis.x;
  y = axis.y;
  z = axis.z;
  angle = static_cast<float>(std::acos(static_cast<double>(c)));
  return 0;
}
