// Flat and smooth polygons of the z-buffer renderer: coverage, depth,
// lighting, the near clip, culling and the poll.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/zbuffer/zbuffer_alloc.h"
#include "graphics/zbuffer/zbuffer_fixture.h"
#include "graphics/zbuffer/zbuffer_internal.h"

namespace {

using ZPolygonTest = ZBufferFixture;

// Camera-space square x, y in [-3, 3] at depth z: pixels 5..11 both ways.
std::vector<PwVec3> Square(float z, float half = 3.0f) {
  return {{-half, -half, z}, {half, -half, z}, {half, half, z}, {-half, half, z}};
}

const PwColor kGrey = {100, 100, 100};

TEST_F(ZPolygonTest, DefaultsAfterInit) {
  float a, d, s, n, mag, near_d;
  PwZGetLightingTerms(&a, &d, &s, &n);
  EXPECT_FLOAT_EQ(0.3f, a);
  EXPECT_FLOAT_EQ(0.8f, d);
  EXPECT_FLOAT_EQ(0.8f, s);
  EXPECT_FLOAT_EQ(60.0f, n);
  ASSERT_EQ(1, PwZInit());
  int v[6];
  PwZGetViewport(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
  EXPECT_EQ((std::vector<int>{0, 0, 639, 479, 320, 240}), std::vector<int>(v, v + 6));
  PwZGetMagnification(&mag, &near_d);
  EXPECT_FLOAT_EQ(64.0f, mag);
  EXPECT_FLOAT_EQ(5.0f, near_d);
  PwVec3 light;
  PwZGetLight(&light);
  EXPECT_FLOAT_EQ(10000.0f, light.y);
  int shading = -1;
  PwZGetShading(&shading);
  EXPECT_EQ(1, shading);
  PwZSetShading(2);
  PwZGetShading(&shading);
  EXPECT_EQ(1, shading);
  PwZSetShading(0);
  PwZGetShading(&shading);
  EXPECT_EQ(0, shading);
  PwZGetMagnification(nullptr, nullptr);  // null outs are skipped
}

TEST_F(ZPolygonTest, FlatSquareCoversItsPixelsAtItsDepth) {
  PwZSetShading(0);
  const auto sq = Square(10.0f);
  EXPECT_EQ(1, PwZPolygon(4, sq.data(), kGrey));
  // Left and top crossings included, right excluded.
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool inside = x >= 5 && x <= 10 && y >= 5 && y <= 11;
      ASSERT_EQ(inside ? 1 : 0, At(x, y).writes) << x << "," << y;
      if (inside) {
        EXPECT_FLOAT_EQ(10.0f, At(x, y).depth);
        EXPECT_EQ(100, At(x, y).red);
      }
    }
  }
}

TEST_F(ZPolygonTest, DepthComesFromThePixelRayAndThePlane) {
  PwZSetShading(0);
  // The plane z = 10 + x (tilted about y): the ray of pixel x cuts it where
  // t * (x - 8) / 10 * ... solves z = 10 + X.
  const std::vector<PwVec3> tilted = {{-3, -3, 7}, {3, -3, 13}, {3, 3, 13}, {-3, 3, 7}};
  PwZPolygon(4, tilted.data(), kGrey);
  for (int x = 0; x < kW; ++x) {
    const ZPixel& p = At(x, 8);
    if (p.writes == 0) continue;
    // Ray (x - 8, 0, 10) * t on z = 10 + X: 10 t = 10 + t (x - 8).
    const float t = 10.0f / (10.0f - (x - 8));
    EXPECT_NEAR(10.0f * t, p.depth, 1e-4f) << x;
  }
  EXPECT_GT(At(8, 8).writes, 0);
  EXPECT_FLOAT_EQ(10.0f, At(8, 8).depth);
}

TEST_F(ZPolygonTest, ARayAlongThePlaneTakesTheCentroid) {
  const std::vector<PwVec3> wall = {{0, -1, 5}, {0, 1, 5}, {0, 1, 9}, {0, -1, 9}};
  PwZSetPolygon(4, wall.data(), 4, wall.data());
  PwVec3 dir;
  const PwVec3 p = PwZPixelPoint(8, 8, &dir);  // ray (0, 0, 10) lies in x = 0
  EXPECT_FLOAT_EQ(7.0f, p.z);
  EXPECT_FLOAT_EQ(0.0f, p.x);
}

struct LightCase {
  const char* name;
  PwVec3 light;
  int channel;
  int expected;
};

class ZLightingTest : public ZBufferFixture, public ::testing::WithParamInterface<LightCase> {};

TEST_P(ZLightingTest, CentrePixel) {
  const LightCase& c = GetParam();
  PwZSetLight(c.light);
  const auto sq = Square(10.0f);
  PwZPolygon(4, sq.data(), {c.channel, c.channel, c.channel});
  const ZPixel& p = At(8, 8);
  ASSERT_EQ(1, p.writes);
  EXPECT_EQ(c.expected, p.red);
  EXPECT_EQ(c.expected, p.green);
  EXPECT_EQ(c.expected, p.blue);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZLightingTest,
    ::testing::Values(
        // Head-on, light behind the viewer: (0.3 + 0.8) * 100 + 0.8 * 255 -> 255.
        LightCase{"behind_viewer", {0, 0, -1000}, 100, 255},
        // Diffuse only, highlight negligible: light at 60 degrees, far away.
        LightCase{"light_beyond_plane", {0, 0, 1000}, 200, 60},
        LightCase{"black_stays_dark_without_highlight", {0, 0, 1000}, 0, 0}),
    [](const ::testing::TestParamInfo<LightCase>& i) { return i.param.name; });

TEST_F(ZPolygonTest, HighlightColourAndExponent) {
  float r, g, b, e;
  PwZGetHighlight(&r, &g, &b, &e);
  EXPECT_EQ((std::vector<float>{1, 1, 1, 60}), (std::vector<float>{r, g, b, e}));
  // Head-on with the light behind the viewer: the highlight is 1 at the
  // centre, so each channel is 1.1 * 100 + 0.8 * 255 * its colour.
  PwZSetLight({0, 0, -1000});
  const auto sq = Square(10.0f);
  PwZSetHighlight(0.0f, 0.5f, 0.0f, 26.0f);
  PwZPolygon(4, sq.data(), kGrey);
  EXPECT_EQ(110, At(8, 8).red);
  EXPECT_EQ(212, At(8, 8).green);  // 110 + 102
  EXPECT_EQ(110, At(8, 8).blue);
  // Hostile values are held to 0..1 and a non-negative exponent; 0 gives the
  // full highlight wherever the surface is lit.
  PwZSetHighlight(std::nanf(""), 7.0f, -1.0f, std::nanf(""));
  PwZGetHighlight(&r, &g, &b, &e);
  EXPECT_EQ((std::vector<float>{0, 1, 0, 0}), (std::vector<float>{r, g, b, e}));
  Clear();
  PwZPolygon(4, sq.data(), kGrey);
  EXPECT_EQ(255, At(5, 5).green);
  EXPECT_LE(At(5, 5).red, 110);
  // Cleared, it is white again with the shininess term, whatever it is.
  PwZClearHighlight();
  PwZSetLightingTerms(0.3f, 0.8f, 0.8f, 5.0f);
  PwZGetHighlight(&r, &g, &b, &e);
  EXPECT_EQ((std::vector<float>{1, 1, 1, 5}), (std::vector<float>{r, g, b, e}));
}

TEST_F(ZPolygonTest, DiffuseTermFollowsTheAngle) {
  // Light at 60 degrees from the normal, on the viewer's side: d = 0.5;
  // the half vector is 30 degrees off, cos^60 is about 1.8e-4.
  PwZSetLight({0.0f, 1e6f * std::sqrt(3.0f), 10.0f - 1e6f});
  const auto sq = Square(10.0f);
  PwZPolygon(4, sq.data(), {200, 200, 200});
  // ((0.3 + 0.8 * 0.5) * 200 / 255 + 0.8 * s) * 255 = 140.03..
  EXPECT_EQ(140, At(8, 8).red);
}

TEST_F(ZPolygonTest, NearClipKeepsOnlyThePartBeyond) {
  PwZSetShading(0);
  PwZSetMagnification(10.0f, 9.0f);
  const auto behind = Square(5.0f);
  EXPECT_EQ(1, PwZPolygon(4, behind.data(), kGrey));
  EXPECT_EQ(0, Written());
  // Depth 8 at the left edge, 12 at the right: only x > -1 survives.
  const std::vector<PwVec3> tilted = {{-3, -3, 8}, {3, -3, 12}, {3, 3, 12}, {-3, 3, 8}};
  EXPECT_EQ(1, PwZPolygon(4, tilted.data(), kGrey));
  EXPECT_GT(Written(), 0);
  for (const ZPixel& p : Pixels()) {
    if (p.writes) {
      EXPECT_GT(p.depth, 8.5f);
    }
  }
  EXPECT_EQ(0, At(5, 8).writes);
}

TEST_F(ZPolygonTest, TooManyVerticesOrNoneDrawNothing) {
  std::vector<PwVec3> ring;
  for (int i = 0; i < 65; ++i) {
    const double a = i * 2 * 3.14159265358979 / 65;
    ring.push_back({static_cast<float>(3 * std::cos(a)), static_cast<float>(3 * std::sin(a)), 10});
  }
  EXPECT_EQ(1, PwZPolygon(65, ring.data(), kGrey));
  EXPECT_EQ(1, PwZPolygon(0, ring.data(), kGrey));
  EXPECT_EQ(1, PwZPolygon(-3, ring.data(), kGrey));
  EXPECT_EQ(0, Written());
  EXPECT_EQ(1, PwZPolygon(64, ring.data(), kGrey));
  EXPECT_GT(Written(), 0);
}

TEST_F(ZPolygonTest, PollAbandonsTheFill) {
  const auto sq = Square(10.0f);
  PollLimit() = 0;
  EXPECT_EQ(0, PwZPolygon(4, sq.data(), kGrey));
  EXPECT_EQ(0, Written());
  // Allowed the first poll and a few pixels: stops part way.
  Polls() = 0;
  PollLimit() = 1 + 7 * 2;
  EXPECT_EQ(0, PwZPolygon(4, sq.data(), kGrey));
  EXPECT_GT(Written(), 0);
  EXPECT_LT(Written(), 36);
  // One poll up front and one per pixel of the 7 x 7 box.
  Clear();
  Polls() = 0;
  PollLimit() = -1;
  EXPECT_EQ(1, PwZPolygon(4, sq.data(), kGrey));
  EXPECT_EQ(1 + 49, Polls());
}

TEST_F(ZPolygonTest, OutsideTheViewportDrawsNothing) {
  const std::vector<PwVec3> right = {{20, -1, 10}, {30, -1, 10}, {30, 1, 10}};
  EXPECT_EQ(1, PwZPolygon(3, right.data(), kGrey));
  const std::vector<PwVec3> huge = {{-1e9f, -1e9f, 10}, {1e9f, -1e9f, 10}, {0, 1e9f, 10}};
  EXPECT_EQ(1, PwZPolygon(3, huge.data(), kGrey));  // box clamped to the viewport
  EXPECT_GT(Written(), 0);
  const std::vector<PwVec3> bad = {{NAN, 0, 10}, {1, 0, 10}, {0, 1, 10}};
  Clear();
  EXPECT_EQ(1, PwZPolygon(3, bad.data(), kGrey));
  EXPECT_EQ(0, Written());
}

TEST_F(ZPolygonTest, FacetsFacingAwayAreCulled) {
  PwZSetShading(0);
  const auto sq = Square(10.0f);
  EXPECT_EQ(1, PwZFacet(4, sq.data(), {0, 0, 1}, kGrey));
  EXPECT_EQ(0, Written());
  EXPECT_EQ(1, PwZFacet(4, sq.data(), {0, 0, -1}, kGrey));
  EXPECT_EQ(42, Written());
  const std::vector<PwVec3> normals(4, PwVec3{0, 0, -1});
  Clear();
  EXPECT_EQ(1, PwZSmoothFacet(4, sq.data(), normals.data(), {0, 0, 1}, kGrey));
  EXPECT_EQ(0, Written());
}

TEST_F(ZPolygonTest, CameraPoseMovesTheWorld) {
  // Heading 90 degrees: the world's +x lies straight ahead.
  PwZSetCamera({0, 0, 0, 16384, 0, 0});
  const PwVec3 c = PwZToCamera({10, 0, 0});
  EXPECT_NEAR(0.0f, c.x, 1e-4f);
  EXPECT_NEAR(-10.0f, c.z, 1e-4f);
  PwZSetCamera({1, 2, 3, 0, 0, 0});
  const PwVec3 d = PwZToCamera({1, 2, 13});
  EXPECT_FLOAT_EQ(10.0f, d.z);
  EXPECT_FLOAT_EQ(0.0f, d.x);
}

TEST_F(ZPolygonTest, SmoothPolygonLightsItsCorners) {
  const auto sq = Square(10.0f);
  const std::vector<PwVec3> normals(4, PwVec3{0, 0, -1});
  PwZSetLight({0, 0, -1000});
  EXPECT_EQ(1, PwZSmoothPolygon(4, sq.data(), normals.data(), kGrey));
  const int smooth_count = Written();
  // Every corner (+-3, +-3, 10) has the same terms, so every pixel gets
  // them: d = n.L, s = (n.H)^60 with V the ray to the corner.
  const double lx = 3, lz = 1010, ll = std::sqrt(2 * lx * lx + lz * lz);
  const double vl = std::sqrt(3.0 * 3 + 3 * 3 + 100);
  const double h[3] = {-lx / ll - 3 / vl, -lx / ll - 3 / vl, -lz / ll - 10 / vl};
  const double hl = std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
  const double d = lz / ll, s = std::pow(-h[2] / hl, 60.0);
  const double expected = ((0.3 + 0.8 * d) * 100 / 255 + 0.8 * s) * 255;
  EXPECT_NEAR(expected, At(8, 8).red, 1.0);
  EXPECT_NEAR(expected, At(6, 10).red, 1.0);
  EXPECT_FLOAT_EQ(10.0f, At(8, 8).depth);
  Clear();
  PwZPolygon(4, sq.data(), kGrey);
  EXPECT_EQ(Written(), smooth_count);  // same coverage as the flat fill
}

TEST_F(ZPolygonTest, SmoothTriangleBlendsCornerTerms) {
  // Two corners lit head-on, one edge-on to the light (unlit).
  const std::vector<PwVec3> tri = {{-6, -6, 10}, {6, -6, 10}, {0, 6, 10}};
  const std::vector<PwVec3> normals = {{0, 0, -1}, {0, 0, -1}, {1, 0, 0}};
  PwZSetLight({0, 0, -1000});
  PwZSetLightingTerms(0.3f, 0.8f, 0.0f, 60.0f);
  PwZSmoothPolygon(3, tri.data(), normals.data(), {200, 200, 200});
  ASSERT_GT(At(8, 13).writes, 0);
  ASSERT_GT(At(8, 4).writes, 0);
  EXPECT_GT(At(8, 13).red, At(8, 4).red);
  // Near the unlit corner the blend comes close to ambient (60).
  EXPECT_LT(At(8, 3).red, 90);
  PwZSetShading(0);
  Clear();
  PwZSmoothPolygon(3, tri.data(), normals.data(), {200, 200, 200});
  EXPECT_EQ(200, At(8, 13).red);
}

TEST_F(ZPolygonTest, SmoothPolygonFailuresAndAbort) {
  const std::vector<PwVec3> line = {{0, 0, 10}, {1, 0, 10}, {2, 0, 10}, {3, 0, 10}};
  const std::vector<PwVec3> normals(4, PwVec3{0, 0, -1});
  EXPECT_EQ(1, PwZSmoothPolygon(4, line.data(), normals.data(), kGrey));  // no triangulation
  EXPECT_EQ(0, Written());
  const auto sq = Square(10.0f);
  PollLimit() = 0;
  EXPECT_EQ(0, PwZSmoothPolygon(4, sq.data(), normals.data(), kGrey));
}

TEST_F(ZPolygonTest, FailedInitLeavesTheRendererInert) {
  PwZSetAllocFunc([](std::size_t) -> void* { return nullptr; });
  EXPECT_EQ(0, PwZInit());
  PwZSetAllocFunc(nullptr);
  PwZSetPixelFuncs(nullptr);
  const auto sq = Square(10.0f);
  const std::vector<PwVec3> normals(4, PwVec3{0, 0, -1});
  EXPECT_EQ(1, PwZPolygon(4, sq.data(), kGrey));
  EXPECT_EQ(1, PwZSmoothPolygon(4, sq.data(), normals.data(), kGrey));
  EXPECT_EQ(1, PwZInit());
}

}  // namespace
