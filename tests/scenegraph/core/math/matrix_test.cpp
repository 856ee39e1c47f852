#include "scenegraph/core/math/matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

const float kPi = 3.14159265358979323846f;
const float kEps = 1e-5f;

void ExpectVec(const KsVec3f& v, float x, float y, float z, float eps = kEps) {
  EXPECT_NEAR(v.x, x, eps);
  EXPECT_NEAR(v.y, y, eps);
  EXPECT_NEAR(v.z, z, eps);
}

void ExpectSameElements(const float* a, const float* b, float eps = kEps) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(a[i], b[i], eps) << "element " << i;
}

void ExpectIdentity(const float* m, float eps = kEps) {
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(m[i], (i % 5 == 0) ? 1.0f : 0.0f, eps) << "element " << i;
}

TEST(KsMatrix, TranslateThenScaleActsScaleFirstAndInverts) {
  KsMatrix m;
  m.Translate(1, 2, 3);
  m.Scale(2, 2, 2);
  KsVec3f r;
  ExpectVec(m.Apply(r, KsVec3f(1, 1, 1), 1.0f), 3, 4, 5);
  ExpectVec(m.ApplyInverse(r, KsVec3f(3, 4, 5), 1.0f), 1, 1, 1);
  // A direction ignores the translation.
  ExpectVec(m.Apply(r, KsVec3f(1, 0, 0), 0.0f), 2, 0, 0);
  EXPECT_EQ(m.IsInverseInvalid(), 0);
}

TEST(KsMatrix, RotateIsRightHandedAndNormalisesTheAxis) {
  KsMatrix m;
  m.Rotate(0, 0, 2, kPi / 2);  // squared length 4: normalised
  KsVec3f r;
  ExpectVec(m.Apply(r, KsVec3f(1, 0, 0), 0.0f), 0, 1, 0);
  ExpectVec(m.ApplyInverse(r, KsVec3f(0, 1, 0), 0.0f), 1, 0, 0);

  KsMatrix y;
  y.Rotate(KsRotation(0, 1, 0, kPi / 2));
  ExpectVec(y.Apply(r, KsVec3f(0, 0, 1), 0.0f), 1, 0, 0);

  KsMatrix x;
  x.Rotate(1, 0, 0, kPi / 2);
  ExpectVec(x.Apply(r, KsVec3f(0, 1, 0), 0.0f), 0, 0, 1);
}

TEST(KsMatrix, ZeroAxisRotationIsReportedAndIgnored) {
  KsMatrix m;
  m.Translate(1, 2, 3);
  KsMatrix before = m;
  testing::internal::CaptureStderr();
  m.Rotate(0, 0, 0, 1.0f);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err, "KsMatrix::Rotate\n  Zero Vector is specified for Rotation Axis\n");
  ExpectSameElements(m.Elements(), before.Elements(), 0.0f);
  ExpectSameElements(m.InverseElements(), before.InverseElements(), 0.0f);
}

TEST(KsMatrix, AxisJustOutsideUnitLengthStaysFinite) {
  // Squared length 1.008 is inside the band that skips normalisation, so
  // asin would see 1.004 without the clamp.
  KsMatrix m;
  m.Rotate(0, 1.004f, 0, kPi / 2);
  for (int i = 0; i < 16; ++i) {
    EXPECT_TRUE(std::isfinite(m.Elements()[i])) << i;
    EXPECT_TRUE(std::isfinite(m.InverseElements()[i])) << i;
  }
  KsVec3f r;
  ExpectVec(m.Apply(r, KsVec3f(0, 0, 1), 0.0f), 1, 0, 0, 1e-3f);
}

TEST(KsMatrix, ScaleByZeroLosesTheInverseForGood) {
  KsMatrix m;
  m.Translate(1, 0, 0);
  testing::internal::CaptureStderr();
  m.Scale(1, 0, 1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err,
            "KsMatrix::Scale()\n  Multiplied by zero.\n"
            "  Inverted Matrix Does Not Work Any More.\n");
  EXPECT_EQ(m.IsInverseInvalid(), 1);

  KsMatrix before = m;
  EXPECT_EQ(m.Invert(), KS_ERR);
  ExpectSameElements(m.Elements(), before.Elements(), 0.0f);
  float out[16] = {0};
  out[0] = 42.0f;
  EXPECT_EQ(m.GetInverse(out), KS_ERR);
  EXPECT_EQ(out[0], 42.0f);

  KsVec3f r;
  ExpectVec(m.Apply(r, KsVec3f(1, 5, 1), 1.0f), 2, 0, 1);

  // Later non-zero scales keep the flag; only Identity clears it.
  m.Scale(2, 2, 2);
  EXPECT_EQ(m.IsInverseInvalid(), 1);
  m.Identity();
  EXPECT_EQ(m.IsInverseInvalid(), 0);
  EXPECT_EQ(m.Invert(), 0);
}

TEST(KsMatrix, InvertSwapsMatrixAndInverse) {
  KsMatrix m;
  m.Translate(1, 2, 3);
  m.Rotate(1, 1, 0, 0.7f);
  m.Scale(2, 3, 4);
  KsMatrix before = m;
  EXPECT_EQ(m.Invert(), 0);
  ExpectSameElements(m.Elements(), before.InverseElements(), 0.0f);
  ExpectSameElements(m.InverseElements(), before.Elements(), 0.0f);
}

TEST(KsMatrix, ProductKeepsTheInverseInReverseOrder) {
  KsMatrix a, b;
  a.Translate(1, -2, 0.5f);
  a.Rotate(0, 1, 1, 1.2f);
  b.Scale(0.5f, 2, 3);
  b.Rotate(1, 0, 0, -0.4f);
  KsMatrix p = KsMatrix::Multiply(a, b);
  EXPECT_EQ(p.IsInverseInvalid(), 0);

  KsVec3f v(0.3f, -1.5f, 2.0f), viaB, viaAB, direct, back;
  b.Apply(viaB, v, 1.0f);
  a.Apply(viaAB, viaB, 1.0f);
  p.Apply(direct, v, 1.0f);
  ExpectVec(direct, viaAB.x, viaAB.y, viaAB.z, 1e-4f);
  p.ApplyInverse(back, direct, 1.0f);
  ExpectVec(back, v.x, v.y, v.z, 1e-4f);

  // The matrix times its inverse is the identity.
  KsMatrix inv = p;
  ASSERT_EQ(inv.Invert(), 0);
  ExpectIdentity(KsMatrix::Multiply(p, inv).Elements(), 1e-4f);
}

TEST(KsMatrix, ProductWithALostInverseHasNone) {
  KsMatrix good, singular;
  good.Translate(1, 2, 3);
  testing::internal::CaptureStderr();
  singular.Scale(0, 1, 1);
  testing::internal::GetCapturedStderr();
  for (int order = 0; order < 2; ++order) {
    KsMatrix p =
        order == 0 ? KsMatrix::Multiply(good, singular) : KsMatrix::Multiply(singular, good);
    EXPECT_EQ(p.IsInverseInvalid(), 1);
    EXPECT_EQ(p.Invert(), KS_ERR);
  }
}

TEST(KsMatrix, GetMatrixIsColumnMajorAndTranslationIsTheLastColumn) {
  KsMatrix m;
  m.Translate(1, 2, 3);
  float out[16];
  EXPECT_EQ(m.GetMatrix(out), 0);
  EXPECT_EQ(out[12], 1.0f);
  EXPECT_EQ(out[13], 2.0f);
  EXPECT_EQ(out[14], 3.0f);
  EXPECT_EQ(out[3], 0.0f);
  EXPECT_EQ(m.GetInverse(out), 0);
  EXPECT_EQ(out[12], -1.0f);
  EXPECT_EQ(out[14], -3.0f);

  float x, y, z;
  EXPECT_EQ(m.GetTranslation(x, y, z), 0);
  EXPECT_EQ(x, 1.0f);
  EXPECT_EQ(y, 2.0f);
  EXPECT_EQ(z, 3.0f);
  KsVec3f t;
  m.GetTranslation(t);
  ExpectVec(t, 1, 2, 3, 0.0f);
}

TEST(KsMatrix, AxisAngleOfTheIdentityIsNoTurnAboutY) {
  KsMatrix m;
  float x, y, z, a;
  EXPECT_EQ(m.GetAxisAngle(x, y, z, a), 0);
  EXPECT_EQ(x, 0.0f);
  EXPECT_EQ(y, 1.0f);
  EXPECT_EQ(z, 0.0f);
  EXPECT_EQ(a, 0.0f);
}

// The axis and angle read back describe the same rotation as the one built.
void ExpectAxisAngleRoundTrip(KsVec3f axis, float angle, KsVec3f expectAxis, float expectAngle) {
  SCOPED_TRACE(testing::Message() << "axis " << axis.x << " " << axis.y << " " << axis.z
                                  << " angle " << angle);
  KsMatrix m;
  m.Rotate(axis.x, axis.y, axis.z, angle);
  KsRotation r;
  EXPECT_EQ(m.GetRotation(r), 0);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(std::isfinite((&r.axis.x)[i]));
  EXPECT_NEAR(r.axis.Length(), 1.0f, 1e-4f);
  // A half turn's axis has no sign.
  float sign =
      (r.axis.Dot(expectAxis) < 0.0f && std::fabs(expectAngle - kPi) < 1e-3f) ? -1.0f : 1.0f;
  ExpectVec(r.axis * sign, expectAxis.x, expectAxis.y, expectAxis.z, 1e-3f);
  EXPECT_NEAR(r.angle, expectAngle, 1e-3f);

  KsMatrix again;
  again.Rotate(r);
  ExpectSameElements(again.Elements(), m.Elements(), 1e-3f);
}

TEST(KsMatrix, AxisAngleRoundTrips) {
  const float s = 1.0f / std::sqrt(14.0f);
  KsVec3f diag(1 * s, 2 * s, 3 * s);
  ExpectAxisAngleRoundTrip(KsVec3f(1, 0, 0), 1.0f, KsVec3f(1, 0, 0), 1.0f);
  ExpectAxisAngleRoundTrip(diag, 1.0f, diag, 1.0f);
  // acos gives at most pi: four radians read back as 2 pi - 4 the other way.
  ExpectAxisAngleRoundTrip(KsVec3f(0, 1, 0), 4.0f, KsVec3f(0, -1, 0), 2 * kPi - 4.0f);
  ExpectAxisAngleRoundTrip(diag, 4.0f, diag * -1.0f, 2 * kPi - 4.0f);
  // Half turns: the cross product vanishes, the axis comes from R + I.
  ExpectAxisAngleRoundTrip(KsVec3f(1, 0, 0), kPi, KsVec3f(1, 0, 0), kPi);
  ExpectAxisAngleRoundTrip(KsVec3f(0, 0, 1), kPi, KsVec3f(0, 0, 1), kPi);
  ExpectAxisAngleRoundTrip(diag, kPi, diag, kPi);
}

TEST(KsMatrix, AxisAngleIgnoresUniformScale) {
  KsMatrix m;
  m.Scale(3, 3, 3);
  m.Rotate(0, 0, 1, 0.5f);
  float x, y, z, a;
  m.GetAxisAngle(x, y, z, a);
  EXPECT_NEAR(z, 1.0f, 1e-4f);
  EXPECT_NEAR(a, 0.5f, 1e-4f);
}

TEST(KsMatrix, AssignmentCopiesMatrixInverseAndFlag) {
  KsMatrix m;
  testing::internal::CaptureStderr();
  m.Scale(0, 1, 1);
  testing::internal::GetCapturedStderr();
  KsMatrix c;
  c = m;
  EXPECT_EQ(c.IsInverseInvalid(), 1);
  ExpectSameElements(c.Elements(), m.Elements(), 0.0f);
  EXPECT_STREQ(c.GetClassName(), "KsMatrix");
}

}  // namespace
