#include "scenegraph/core/math/plane.h"
#include "scenegraph/core/math/polygon.h"
#include "scenegraph/core/math/rotation.h"
#include "scenegraph/core/math/vec.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const float kPi = 3.14159265358979323846f;

TEST(KsVec3f, ArithmeticAndProducts) {
  KsVec3f a(1, 2, 3), b(4, 5, 6);
  KsVec3f s = a + b, d = b - a, m = a * 2.0f, q = b / 2.0f;
  EXPECT_EQ(s.x, 5.0f);
  EXPECT_EQ(s.z, 9.0f);
  EXPECT_EQ(d.y, 3.0f);
  EXPECT_EQ(m.z, 6.0f);
  EXPECT_EQ(q.x, 2.0f);
  EXPECT_EQ(a.Dot(b), 32.0f);
  KsVec3f c = a.Cross(b);
  EXPECT_EQ(c.x, -3.0f);
  EXPECT_EQ(c.y, 6.0f);
  EXPECT_EQ(c.z, -3.0f);
  EXPECT_EQ(KsVec3f(3, 0, 4).Length(), 5.0f);
  EXPECT_EQ(KsVec3f(3, 0, 4).SquaredLength(), 25.0f);
  EXPECT_STREQ(a.GetClassName(), "KsVec3f");
}

TEST(KsVec3f, NormalizedBandAndNormalize) {
  EXPECT_EQ(KsVec3f(0.9995f, 0, 0).IsNormalized(), KS_TRUE);
  EXPECT_EQ(KsVec3f(1.1f, 0, 0).IsNormalized(), KS_FALSE);
  EXPECT_EQ(KsVec2f(0, 1.0004f).IsNormalized(), KS_TRUE);
  EXPECT_EQ(KsVec2f(0, 0.9f).IsNormalized(), KS_FALSE);

  KsVec3f zero;
  EXPECT_EQ(zero.Normalize(), KS_ERR);
  EXPECT_EQ(zero.x, 0.0f);
  EXPECT_EQ(zero.y, 0.0f);
  EXPECT_EQ(zero.z, 0.0f);
  KsVec3f v(3, 0, 4);
  EXPECT_EQ(v.Normalize(), 0);
  EXPECT_FLOAT_EQ(v.x, 0.6f);
  EXPECT_FLOAT_EQ(v.z, 0.8f);

  KsVec2f w(0, -2);
  EXPECT_EQ(w.Normalize(), 0);
  EXPECT_EQ(w.y, -1.0f);
  KsVec2f w0;
  EXPECT_EQ(w0.Normalize(), KS_ERR);
}

TEST(KsRotation, DefaultsAndApply) {
  KsRotation def;
  EXPECT_EQ(def.axis.z, 1.0f);
  EXPECT_EQ(def.angle, 0.0f);

  KsRotation r(0, 0, 1, kPi / 2);
  KsVec3f out;
  EXPECT_EQ(r.Apply(out, KsVec3f(1, 0, 0)), 0);
  EXPECT_NEAR(out.x, 0.0f, 1e-6f);
  EXPECT_NEAR(out.y, 1.0f, 1e-6f);
  EXPECT_EQ(r.ApplyInverse(out, KsVec3f(1, 0, 0)), 0);
  EXPECT_NEAR(out.y, -1.0f, 1e-6f);

  r.Set(KsVec3f(1, 0, 0), kPi);
  r.Apply(out, KsVec3f(0, 1, 0));
  EXPECT_NEAR(out.y, -1.0f, 1e-6f);
}

TEST(KsRotation, ZeroAxisLeavesVectorsAlone) {
  KsRotation r(0, 0, 0, 1.0f);
  KsVec3f out;
  testing::internal::CaptureStderr();
  r.Apply(out, KsVec3f(1, 2, 3));
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(out.x, 1.0f);
  EXPECT_EQ(out.y, 2.0f);
  EXPECT_EQ(out.z, 3.0f);
}

TEST(KsPlane, IntersectsLinesThatAreNotParallel) {
  KsPlane plane;
  EXPECT_EQ(plane.normal.z, -1.0f);
  KsVec3f hit(9, 9, 9);
  EXPECT_EQ(plane.Intersect(hit, KsVec3f(0, 0, 5), KsVec3f(0, 0, -1)), 0);
  EXPECT_EQ(hit.x, 0.0f);
  EXPECT_EQ(hit.z, 0.0f);
  hit = KsVec3f(9, 9, 9);
  EXPECT_EQ(plane.Intersect(hit, KsVec3f(0, 0, 5), KsVec3f(1, 0, 0)), KS_ERR);
  EXPECT_EQ(hit.x, 9.0f);

  // Unnormalised normal and direction, plane away from the origin.
  KsPlane tilted(KsVec3f(0, 2, 0), KsVec3f(0, 4, 0));
  EXPECT_EQ(tilted.Intersect(hit, KsVec3f(1, 0, 1), KsVec3f(1, 2, 0)), 0);
  EXPECT_FLOAT_EQ(hit.x, 2.0f);
  EXPECT_FLOAT_EQ(hit.y, 2.0f);
  EXPECT_FLOAT_EQ(hit.z, 1.0f);
}

TEST(KsPolygon, TriangleNormalFacesTheViewer) {
  KsVec3f n;
  KsTriangleNormal(n, KsVec3f(0, 0, 0), KsVec3f(1, 0, 0), KsVec3f(1, 1, 0));
  EXPECT_EQ(n.x, 0.0f);
  EXPECT_EQ(n.y, 0.0f);
  EXPECT_EQ(n.z, 1.0f);
}

TEST(KsPolygon, ConcaveTest) {
  const KsVec3f square[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 0}};
  const KsVec3f repeats[] = {{0, 0, 0}, {0, 0, 0},       {1, 0, 0}, {1, 1, 0},
                             {0, 1, 0}, {0, 1, 0.0005f}, {0, 0, 0}};
  const KsVec3f ell[] = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}};
  const KsVec3f ellCw[] = {{0, 2, 0}, {1, 2, 0}, {1, 1, 0}, {2, 1, 0}, {2, 0, 0}, {0, 0, 0}};
  const KsVec3f triangle[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  // A triangle with a repeated middle point: the walk skips the repeat.
  const KsVec3f degenerate[] = {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  // Collinear middle point: no turn there, still convex.
  const KsVec3f straight[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}};
  EXPECT_EQ(KsIsConcavePolygon(5, square), 0);
  EXPECT_EQ(KsIsConcavePolygon(7, repeats), 0);
  EXPECT_EQ(KsIsConcavePolygon(6, ell), 1);
  EXPECT_EQ(KsIsConcavePolygon(6, ellCw), 1);
  EXPECT_EQ(KsIsConcavePolygon(3, triangle), 0);
  EXPECT_EQ(KsIsConcavePolygon(4, degenerate), 0);
  EXPECT_EQ(KsIsConcavePolygon(5, straight), 0);
  EXPECT_EQ(KsIsConcavePolygon(0, nullptr), 0);
}

}  // namespace

#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/word_reading.h"

namespace {

TEST(KsMathWords, ConstructorsReadAlongTheChain) {
  kstest::Parsed words("0 1 0");
  KsWordNode cursor = KsMakeCursor(words.root());
  KsRotation r(&cursor);
  EXPECT_EQ(r.axis.x, 0.0f);
  EXPECT_EQ(r.axis.y, 1.0f);
  EXPECT_EQ(r.axis.z, 0.0f);
  EXPECT_EQ(r.angle, 0.0f);
  EXPECT_EQ(KsCursorWord(&cursor), nullptr);

  kstest::Parsed three("1.5 -2 7 next");
  cursor = KsMakeCursor(three.root());
  KsVec2f v2(&cursor);
  EXPECT_EQ(v2.x, 1.5f);
  EXPECT_EQ(v2.y, -2.0f);
  ASSERT_NE(KsCursorWord(&cursor), nullptr);
  EXPECT_STREQ(KsCursorWord(&cursor)->text, "7");

  // Components with no word left are 0.
  kstest::Parsed two("4 5");
  cursor = KsMakeCursor(two.root());
  KsVec3f v3(&cursor);
  EXPECT_EQ(v3.x, 4.0f);
  EXPECT_EQ(v3.y, 5.0f);
  EXPECT_EQ(v3.z, 0.0f);
  KsVec3f none(&cursor);
  EXPECT_EQ(none.x, 0.0f);
  EXPECT_EQ(none.z, 0.0f);
}

}  // namespace
