#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "graphics/math/pw_math.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

void ExpectVec(const PwVec3& v, float x, float y, float z, float tol = 1e-4f) {
  EXPECT_NEAR(v.x, x, tol);
  EXPECT_NEAR(v.y, y, tol);
  EXPECT_NEAR(v.z, z, tol);
}

TEST(AngleMath, Angle2CoversEveryQuadrantAndTheDeadZone) {
  EXPECT_EQ(PwAngle2(0, 1), 16384);
  EXPECT_EQ(PwAngle2(1, 0), 0);
  EXPECT_EQ(PwAngle2(-1, 0), -32768);  // b is not greater than 0
  EXPECT_EQ(PwAngle2(-1, 0.5f), 32768 - PwAtanAngle(0.5f));
  EXPECT_EQ(PwAngle2(0, -1), -16384);
  EXPECT_EQ(PwAngle2(0.00001f, 0.00001f), 0);
  EXPECT_EQ(PwAngle2(1, 1), 8192);
  EXPECT_NEAR(PwAngle2F(-1, -1), -24576.0f, 0.01f);
  EXPECT_EQ(PwAngle2(kNaN, kNaN), 0);
}

TEST(AngleMath, Angle2RoundTripsRotatedUnitVectors) {
  for (int a = -32767; a <= 32767; a += 997) {
    PwVec2 v = {1, 0};
    PwRotate2(&v, &v, a);
    EXPECT_NEAR(PwAngle2(v.x, v.y), a, 1) << a;
    EXPECT_NEAR(PwAngle2F(v.x, v.y), a, 0.1f) << a;
  }
}

TEST(AngleMath, InverseTrigTruncatesAndClampsItsArgument) {
  EXPECT_EQ(PwAsinAngle(1.0f), 16384);
  EXPECT_EQ(PwAcosAngle(-1.0f), 32768);
  EXPECT_EQ(PwAtanAngle(1.0f), 8192);
  EXPECT_EQ(PwAsinAngle(-0.5f), -5461);  // -5461.33 truncated toward zero
  // Dot products of unit vectors overshoot 1 in float.
  EXPECT_EQ(PwAcosAngle(1.0000001f), 0);
  EXPECT_EQ(PwAcosAngle(-1.0000001f), 32768);
  EXPECT_EQ(PwAsinAngle(1.5f), 16384);
  EXPECT_EQ(PwAcosAngle(kNaN), 0);
  EXPECT_EQ(PwAtanAngle(kInf), 16384);
}

TEST(AngleMath, Pow60UsesItsTableAndNeverReadsOutsideIt) {
  EXPECT_EQ(PwPow60(1.5f), 1.0f);
  EXPECT_EQ(PwPow60(-0.1f), 0.0f);
  EXPECT_FLOAT_EQ(PwPow60(0.5f), static_cast<float>(std::pow(0.5, 60.0)));
  EXPECT_FLOAT_EQ(PwPow60(0.999f), static_cast<float>(std::pow(1022.0 / 1024.0, 60.0)));
  EXPECT_EQ(PwPow60(kNaN), 0.0f);
  EXPECT_EQ(PwPow60(kInf), 1.0f);
  EXPECT_EQ(PwPow60(-kInf), 0.0f);
}

TEST(FastNormalize, TableCases) {
  PwVec3 out;
  PwVec3 v = {0, 0, 2};
  EXPECT_EQ(PwFastNormalize(&out, &v), 1);
  ExpectVec(out, 0, 0, 1);
  v = {0, 0, -2};
  EXPECT_EQ(PwFastNormalize(&out, &v), 1);
  ExpectVec(out, 0, 0, -1);
  v = {0.00005f, 0, 0};
  EXPECT_EQ(PwFastNormalize(&out, &v), 0);
  ExpectVec(out, 0, 0, 0, 0);
  v = {1, 1, 0};  // y branch: x does not strictly exceed y
  EXPECT_EQ(PwFastNormalize(&out, &v), 1);
  ExpectVec(out, 0.70710677f, 0.70710677f, 0);
  v = {-3, 1, 0.5f};
  EXPECT_EQ(PwFastNormalize(&out, &v), 1);
  float len = std::sqrt(9.0f + 1.0f + 0.25f);
  ExpectVec(out, -3 / len, 1 / len, 0.5f / len, 1.0f / 31);
}

TEST(FastNormalize, NonFiniteInputGivesTheZeroVector) {
  const PwVec3 bad[] = {{kNaN, 0, 1}, {0, kInf, 0}, {1, 1, -kInf}, {kNaN, kNaN, kNaN}};
  for (const PwVec3& v : bad) {
    PwVec3 out = {7, 7, 7};
    EXPECT_EQ(PwFastNormalize(&out, &v), 0);
    ExpectVec(out, 0, 0, 0, 0);
  }
}

// The headlight shading takes the direction to the light as the negated view
// direction, which holds only while negating the input negates the result
// exactly: axis ties, zero parts and ratios on table steps included.
TEST(FastNormalize, NegatedInputGivesTheNegatedUnitExactly) {
  const PwVec3 cases[] = {
      {1, 1, 0},    {-2, 2, 2},        {0, -0.0f, 5},      {3, -0.0f, 0},      {31, 10, 1},
      {7, -31, 31}, {1e-3f, 2e-4f, 0}, {-5e30f, 1, 3e30f}, {0.3f, -0.2f, 600}, {-1, 0.5f, -0.25f}};
  for (const PwVec3& v : cases) {
    const PwVec3 neg = {-v.x, -v.y, -v.z};
    PwVec3 a, b;
    ASSERT_EQ(PwFastNormalize(&a, &v), PwFastNormalize(&b, &neg));
    EXPECT_EQ(a.x, -b.x);
    EXPECT_EQ(a.y, -b.y);
    EXPECT_EQ(a.z, -b.z);
  }
}

TEST(VectorMath, NormalizeLeavesShortVectorsAlone) {
  PwVec3 out = {9, 9, 9};
  PwVec3 v = {0.00001f, 0, 0};
  PwNormalize(&out, &v);
  ExpectVec(out, 9, 9, 9, 0);
  v = {3, 0, 4};
  PwNormalize(&v, &v);
  ExpectVec(v, 0.6f, 0, 0.8f);
}

TEST(VectorMath, PerpendicularPicksTheFirstNearZeroAxis) {
  PwVec3 out;
  PwVec3 v = {0, 1, 1};
  PwPerpendicular(&out, &v);
  ExpectVec(out, 1, 0, 0);
  v = {1, 0, 1};
  PwPerpendicular(&out, &v);
  ExpectVec(out, 0, 1, 0);
  v = {1, 2, 3};
  PwPerpendicular(&out, &v);
  EXPECT_NEAR(out.x * v.x + out.y * v.y + out.z * v.z, 0, 1e-5f);
  EXPECT_NEAR(out.x * out.x + out.y * out.y + out.z * out.z, 1, 1e-5f);
}

TEST(VectorMath, SlerpStaysOnTheUnitSphere) {
  PwVec3 a = {1, 0, 0}, b = {0, 1, 0}, out;
  PwSlerpVectors(&out, &a, &b, 0.5f);
  ExpectVec(out, 0.70710677f, 0.70710677f, 0, 1e-3f);
  // Identical vectors whose float dot product exceeds 1 must not go
  // through the origin.
  PwVec3 u = {0.57735026f, 0.57735026f, 0.57735026f};
  PwSlerpVectors(&out, &u, &u, 0.3f);
  ExpectVec(out, u.x, u.y, u.z, 1e-4f);
  // Opposite vectors pass through a perpendicular.
  PwVec3 c = {-1, 0, 0};
  PwSlerpVectors(&out, &a, &c, 0.5f);
  EXPECT_NEAR(out.x * out.x + out.y * out.y + out.z * out.z, 1, 1e-3f);
  EXPECT_NEAR(out.x, 0, 1e-3f);
}

TEST(VectorMath, PolygonNormalTakesTheSquarestCorner) {
  const PwVec3 square[] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}};
  PwVec3 n;
  ASSERT_EQ(PwPolygonNormal(&n, 4, square), 1);
  ExpectVec(n, 0, 0, 4);  // raw cross product, not normalised
  const PwVec3 line[] = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}};
  EXPECT_EQ(PwPolygonNormal(&n, 3, line), 0);
  EXPECT_EQ(PwPolygonNormal(&n, 2, square), 0);
  const PwVec3 bad[] = {{kNaN, 0, 0}, {1, 0, 0}, {1, 1, 0}};
  EXPECT_EQ(PwPolygonNormal(&n, 3, bad), 0);
}

TEST(Attitude, ZeroAndQuarterTurnVectors) {
  PwVec3 f, u;
  PwAttitude a = {0, 0, 0};
  PwAttitudeToVectors(&f, &u, &a);
  ExpectVec(f, 0, 0, 1);
  ExpectVec(u, 0, 1, 0);
  a = {16384, 0, 0};
  PwAttitudeToVectors(&f, &u, &a);
  ExpectVec(f, -1, 0, 0);
  a = {0, 0, 16384};  // positive bank tilts up toward -x
  PwAttitudeToVectors(&f, &u, &a);
  ExpectVec(u, -1, 0, 0);
  a = {0, 16384, 0};  // positive pitch raises forward toward +y
  PwAttitudeToVectors(&f, &u, &a);
  ExpectVec(f, 0, 1, 0);
}

TEST(Attitude, StraightDownHasNoHeading) {
  PwAttitude a;
  PwVec3 d = {0, -1, 0};
  PwVectorToAttitude(&a, &d);
  EXPECT_EQ(a.heading, 0);
  EXPECT_EQ(a.pitch, -16384);
  EXPECT_EQ(a.bank, 0);
}

TEST(Attitude, VectorsRoundTripForEveryAttitudeOffThePoles) {
  for (int h = -32000; h <= 32000; h += 4000) {
    for (int p = -15000; p <= 15000; p += 3000) {
      for (int b = -30000; b <= 30000; b += 6000) {
        PwAttitude in = {h, p, b}, out;
        PwVec3 f, u;
        PwAttitudeToVectors(&f, &u, &in);
        int bank = PwVectorsToAttitude(&out, &f, &u);
        EXPECT_NEAR(out.heading, h, 3) << h << " " << p << " " << b;
        EXPECT_NEAR(out.pitch, p, 3) << h << " " << p << " " << b;
        EXPECT_NEAR(out.bank, b, 3) << h << " " << p << " " << b;
        EXPECT_EQ(bank, out.bank);
        PwAttitudeF inf = {static_cast<float>(h), static_cast<float>(p), static_cast<float>(b)};
        PwAttitudeF outf;
        PwAttitudeToVectorsF(&f, &u, &inf);
        PwVectorsToAttitudeF(&outf, &f, &u);
        EXPECT_NEAR(outf.heading, h, 1.0f);
        EXPECT_NEAR(outf.pitch, p, 1.0f);
        EXPECT_NEAR(outf.bank, b, 1.0f);
      }
    }
  }
}

TEST(Attitude, TurnAndBlend) {
  PwAttitude in = {0, 0, 0}, out;
  PwTurnAttitude(&out, &in, 0, 4096);
  EXPECT_NEAR(out.heading, 4096, 2);
  in = {8192, 0, 0};
  PwTurnAttitude(&out, &in, 2048, 0);
  EXPECT_NEAR(out.heading, 8192, 2);
  EXPECT_NEAR(out.pitch, 2048, 2);
  PwAttitude a = {0, 0, 0}, b = {8192, 0, 0};
  PwBlendAttitude(&out, &a, &b, 0.5f);
  EXPECT_NEAR(out.heading, 4096, 8);
  EXPECT_NEAR(out.pitch, 0, 2);
  EXPECT_NEAR(out.bank, 0, 2);
}

TEST(Frames, ComposeThenBuildTransformReturnsTheLocalFrame) {
  PwPose parent_pose = {1, 2, 3, 5000, -3000, 1200};
  PwPose local_pose = {-4, 0.5f, 7, -2000, 1500, 9000};
  PwFrame parent, local, world, back;
  PwFrameFromPose(&parent, &parent_pose);
  PwFrameFromPose(&local, &local_pose);
  PwComposePose(&world, &local, &parent);
  PwBuildTransform(&back, &world, &parent);
  EXPECT_NEAR(back.x, local.x, 1e-3f);
  EXPECT_NEAR(back.y, local.y, 1e-3f);
  EXPECT_NEAR(back.z, local.z, 1e-3f);
  EXPECT_NEAR(back.heading, local.heading, 1.0f);
  EXPECT_NEAR(back.pitch, local.pitch, 1.0f);
  EXPECT_NEAR(back.bank, local.bank, 1.0f);
  // A point through the composed frame lands where the two steps put it.
  PwVec3 p = {0.3f, -2, 5}, one, two;
  PwFrameApply(&one, &world, &p);
  PwFrameApply(&two, &local, &p);
  PwFrameApply(&two, &parent, &two);
  ExpectVec(one, two.x, two.y, two.z, 2e-3f);
  // And Unapply undoes Apply.
  PwFrameUnapply(&two, &world, &one);
  ExpectVec(two, p.x, p.y, p.z, 1e-3f);
  PwFrame integral;
  PwPoseToFrame(&integral, &local_pose, &parent);
  EXPECT_EQ(integral.heading, std::trunc(integral.heading));
  EXPECT_NEAR(integral.heading, world.heading, 2.0f);
}

TEST(NearClip, LinesAndPolygons) {
  const PwVec3 line[2] = {{0, 0, 0}, {10, 0, 10}};
  PwVec3 out[2];
  PwClipLineNear(out, line, 5);
  ExpectVec(out[0], 5, 0, 5);
  ExpectVec(out[1], 10, 0, 10);
  const PwVec3 flipped[2] = {line[1], line[0]};
  PwClipLineNear(out, flipped, 5);
  ExpectVec(out[1], 5, 0, 5);
  const PwVec3 behind[2] = {{1, 2, 0}, {3, 4, 1}};
  PwClipLineNear(out, behind, 5);
  ExpectVec(out[0], 1, 2, 5);
  ExpectVec(out[1], 3, 4, 5);

  const PwVec3 beyond[3] = {{0, 0, 10}, {1, 0, 10}, {0, 1, 12}};
  PwVec3 poly[6];
  int n = -1;
  PwClipPolygonNear(&n, poly, 3, beyond, 5);
  ASSERT_EQ(n, 3);
  for (int i = 0; i < 3; ++i) ExpectVec(poly[i], beyond[i].x, beyond[i].y, beyond[i].z, 0);
  const PwVec3 before[3] = {{0, 0, 1}, {1, 0, 1}, {0, 1, 2}};
  PwClipPolygonNear(&n, poly, 3, before, 5);
  EXPECT_EQ(n, 0);
  const PwVec3 straddle[3] = {{0, 0, 0}, {10, 0, 10}, {-10, 0, 10}};
  PwClipPolygonNear(&n, poly, 3, straddle, 5);
  ASSERT_EQ(n, 4);
  ExpectVec(poly[0], 5, 0, 5);
  ExpectVec(poly[3], -5, 0, 5);
}

TEST(LinesAndPlanes, Helpers) {
  PwRay3 line = {{0, 0, 0}, {2, 0, 0}};
  PwVec3 p = {1, 3, 0}, out;
  PwLineFootOffset(&out, &p, &line);
  ExpectVec(out, 0, -3, 0);
  EXPECT_NEAR(PwDistanceToLine3(&line, &p), 3, 1e-5f);
  PwRay2 line2 = {{0, 0}, {0, 5}};
  PwVec2 q = {-4, 2};
  EXPECT_NEAR(PwDistanceToLine2(&line2, &q), 4, 1e-5f);
  PwRay3 plane = {{0, 0, 5}, {0, 0, 2}};
  PwProjectOnPlane(&out, &plane, &p);
  ExpectVec(out, 1, 3, 5);
  PwRay3 ray = {{1, 1, 0}, {0, 0, 1}};
  ASSERT_EQ(PwIntersectLinePlane(&out, &ray, &plane), 1);
  ExpectVec(out, 1, 1, 5);
  PwRay3 parallel = {{1, 1, 0}, {1, 0, 0}};
  EXPECT_EQ(PwIntersectLinePlane(&out, &parallel, &plane), 0);
  const PwVec3 tri[] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  PwRay3 from;
  ASSERT_EQ(PwPlaneFromPolygon(&from, 3, tri), 1);
  ExpectVec(from.direction, 0, 0, 1);
  PwFrame f;
  PwPose pose = {1, 2, 3, 0, 0, 16384};
  PwFrameFromPose(&f, &pose);
  PwFrameUpRay(&ray, &f);
  ExpectVec(ray.point, 1, 2, 3);
  ExpectVec(ray.direction, -1, 0, 0);
}

TEST(PointLists, CopyDupFree) {
  const PwVec3 pts[] = {{1, 2, 3}, {4, 5, 6}};
  PwPointList3 a, b;
  ASSERT_EQ(PwCopyPoints3(&a, 2, pts), 1);
  ASSERT_EQ(PwDupPoints3(&b, &a), 1);
  EXPECT_EQ(b.count, 2);
  EXPECT_EQ(b.points[1].z, 6);
  EXPECT_NE(a.points, b.points);
  PwFreePoints3(&a);
  PwFreePoints3(&b);
  EXPECT_EQ(a.points, nullptr);
  // A count without points copies nothing.
  PwPointList2 c;
  EXPECT_EQ(PwCopyPoints2(&c, 3, nullptr), 1);
  EXPECT_EQ(c.count, 0);
  EXPECT_EQ(c.points, nullptr);
}

TEST(Convexity, Table) {
  struct Case {
    const char* name;
    std::vector<PwVec2> pts;
    int convex;
  };
  const Case cases[] = {
      {"square closed by its first point", {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, 1},
      {"arrow head", {{0, 0}, {2, 1}, {0, 2}, {1, 1}}, 0},
      {"any three points", {{0, 0}, {5, 1}, {-3, 7}}, 1},
      {"repeats at both ends", {{0, 0}, {0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 1}}, 1},
      {"clockwise square", {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, 1},
      {"collinear points inside an edge", {{0, 0}, {1, 0}, {2, 0}, {2, 2}, {0, 2}}, 1},
  };
  for (const Case& c : cases) {
    PwPointList2 l2 = {static_cast<int>(c.pts.size()), const_cast<PwVec2*>(c.pts.data())};
    EXPECT_EQ(PwIsConvex2(&l2), c.convex) << c.name;
    std::vector<PwVec3> p3;
    for (const PwVec2& p : c.pts) p3.push_back({p.x, 0.5f * p.x, p.y});
    PwPointList3 l3 = {static_cast<int>(p3.size()), p3.data()};
    EXPECT_EQ(PwIsConvex3(&l3), c.convex) << c.name;
  }
}

}  // namespace
