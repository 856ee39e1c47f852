#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/opengl/gl_logic.h"
#include "graphics/opengl/gl_modes.h"

namespace {

TEST(GlColorCache, KeyOrderAndCacheSendsOnlyChanges) {
  EXPECT_EQ(PwGlColorKey({1, 2, 3}), 1 * 65536 + 2 * 256 + 3);
  PwGlResetColorCache();
  EXPECT_EQ(PwGlColorCacheTake({10, 20, 30}), 1);
  EXPECT_EQ(PwGlColorCacheTake({10, 20, 30}), 0);
  EXPECT_EQ(PwGlColorCacheTake({10, 30, 20}), 1);  // same channels, other order
  PwGlResetColorCache();
  EXPECT_EQ(PwGlColorCacheTake({0, 0, 0}), 1);  // key 0 differs from the start key -1
}

TEST(GlUnitNormal, FaceSizeDoesNotScaleTheNormal) {
  struct Case {
    PwVec3 in, want;
  } cases[] = {
      {{0, 0, 4}, {0, 0, 1}},                      // a large face's cross product
      {{0.0048f, -0.0064f, 0}, {0.6f, -0.8f, 0}},  // small enough to fall under the 0.05 test
      {{1e-30f, 0, 0}, {1, 0, 0}},                 // squares below float's range
      {{0, 0, 0}, {0, 0, 0}},                      // no normal stays none
  };
  for (const Case& c : cases) {
    const PwVec3 u = PwGlUnitNormal(c.in);
    EXPECT_NEAR(u.x, c.want.x, 1e-6f);
    EXPECT_NEAR(u.y, c.want.y, 1e-6f);
    EXPECT_NEAR(u.z, c.want.z, 1e-6f);
  }
  const PwVec3 inf = PwGlUnitNormal({INFINITY, 0, 0});
  EXPECT_TRUE(std::isinf(inf.x));
}

TEST(GlConvexity, Cases) {
  struct Case {
    const char* name;
    std::vector<PwPoint2> points;
    int convex;
  };
  const Case cases[] = {
      {"triangle", {{0, 0}, {10, 0}, {0, 10}}, 1},
      {"square", {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 1},
      {"repeated first, last and closing", {{0, 0}, {0, 0}, {10, 0}, {0, 10}, {0, 10}, {0, 0}}, 1},
      {"L hexagon", {{0, 0}, {20, 0}, {20, 10}, {10, 10}, {10, 20}, {0, 20}}, 0},
      {"collinear middle point", {{0, 0}, {5, 0}, {10, 0}, {10, 10}, {0, 10}}, 1},
      {"bow tie", {{0, 0}, {10, 10}, {10, 0}, {0, 10}}, 0},
      {"clockwise square", {{0, 0}, {0, 10}, {10, 10}, {10, 0}}, 1},
      {"duplicates inside", {{0, 0}, {10, 0}, {10, 0}, {10, 10}, {0, 10}}, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PwGlIsConvex(static_cast<int>(c.points.size()), c.points.data()), c.convex) << c.name;
  }
  // A 200-vertex star is not convex.
  std::vector<PwPoint2> star;
  for (int i = 0; i < 200; ++i) {
    double t = i * 6.283185307179586 / 200;
    int r = i % 2 ? 100 : 300;
    star.push_back(
        {500 + static_cast<int>(r * std::cos(t)), 500 + static_cast<int>(r * std::sin(t))});
  }
  EXPECT_EQ(PwGlIsConvex(200, star.data()), 0);
}

TEST(GlTextLines, OriginByAlignment) {
  const char* lines[] = {"ab", "abcd", nullptr};
  struct Case {
    int h, v;
    PwPoint2 want;
  } cases[] = {
      {1, 3, {100, 215}},                // left, top
      {2, 4, {100 - 32, 200 - 32}},      // right, bottom
      {0, 0, {100 - 16, 200 - 16 + 8}},  // centred
  };
  for (const Case& c : cases) {
    PwPoint2 o = PwGlTextLinesOrigin({100, 200}, lines, c.h, c.v);
    EXPECT_EQ(o.x, c.want.x) << c.h << "," << c.v;
    EXPECT_EQ(o.y, c.want.y) << c.h << "," << c.v;
  }
}

TEST(GlPaletteLevel, ScalesChannelBits) {
  // 3-3-2 pixel format: red bits 0-2, green 3-5, blue 6-7.
  EXPECT_EQ(PwGlPaletteLevel(0x07, 3, 0), 255);
  EXPECT_EQ(PwGlPaletteLevel(0x03, 3, 0), 3 * 255 / 7);
  EXPECT_EQ(PwGlPaletteLevel(0xC0, 2, 6), 255);
  EXPECT_EQ(PwGlPaletteLevel(0x40, 2, 6), 85);
  EXPECT_EQ(PwGlPaletteLevel(0xFF, 0, 0), 0);  // no bits: no division by zero
}

TEST(GlEllipse, PointsTruncateTowardZero) {
  PwPoint2 c = {50, 60};
  PwPoint2 p0 = PwGlEllipsePoint(c, 10, 5, 0);
  EXPECT_EQ(p0.x, 60);
  EXPECT_EQ(p0.y, 60);
  PwPoint2 p8 = PwGlEllipsePoint(c, 10, 5, 8);  // a quarter turn
  EXPECT_EQ(p8.x, 50);
  EXPECT_EQ(p8.y, 65);
  PwPoint2 p4 = PwGlEllipsePoint(c, 10, 10, 4);  // 45 degrees: 7.07 -> 7
  EXPECT_EQ(p4.x, 57);
  EXPECT_EQ(p4.y, 67);
  PwPoint2 p32 = PwGlEllipsePoint(c, 10, 5, 32);  // full turn closes the outline
  EXPECT_EQ(p32.x, 60);
  EXPECT_EQ(p32.y, 60);
}

TEST(GlViewBounds, PerspectiveUsesNearParallelUsesDistance) {
  PwProjection p = {640, 480, 320, 240, 400.0f, 400.0f, 2.0f, 1000.0f};
  double b[4];
  PwGlViewBounds(b, &p, p.near, 640, 480);
  EXPECT_DOUBLE_EQ(b[0], -1.6);
  EXPECT_DOUBLE_EQ(b[1], 1.6);
  EXPECT_DOUBLE_EQ(b[2], -1.2);
  EXPECT_DOUBLE_EQ(b[3], 1.2);
  PwGlViewBounds(b, &p, 128.0, 640, 480);
  EXPECT_DOUBLE_EQ(b[0], -320 * 128.0 / 400);
  EXPECT_DOUBLE_EQ(b[3], 240 * 128.0 / 400);
  // Off-centre: the drawing area's size, not the projection's.
  PwProjection q = {100, 100, 10, 20, 50.0f, 25.0f, 1.0f, 10.0f};
  PwGlViewBounds(b, &q, 1.0, 200, 60);
  EXPECT_DOUBLE_EQ(b[0], -0.2);
  EXPECT_DOUBLE_EQ(b[1], 190.0 / 50);
  EXPECT_DOUBLE_EQ(b[2], (20 - 60) / 25.0);
  EXPECT_DOUBLE_EQ(b[3], 20 / 25.0);
}

// Records the OpenGL steps of the mode machine.
std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}
void RecLighting(int on) { Log().push_back(on ? "light on" : "light off"); }
void RecDepth(int overlay) { Log().push_back(overlay ? "depth always" : "depth lequal"); }
void RecPush(int w, int h) {
  Log().push_back("push " + std::to_string(w) + "x" + std::to_string(h));
}
void RecPop() { Log().push_back("pop"); }
const PwGlModeOps kRecorder = {RecLighting, RecDepth, RecPush, RecPop};

class GlModes : public ::testing::Test {
 protected:
  void SetUp() override {
    PwGlResetModes();
    PwGlSetModeOps(&kRecorder);
    Log().clear();
  }
  void TearDown() override { PwGlResetModes(); }
};

TEST_F(GlModes, TwoDThenThreeDPopsBothMatricesOnce) {
  PwGlEnter2D();
  PwGlEnter2D();  // already there: nothing
  EXPECT_EQ(PwGlDrawMode(), kPwGlMode2D);
  PwGlEnterDepth3D();
  EXPECT_EQ(PwGlDrawMode(), kPwGlModeDepth3D);
  const std::vector<std::string> want = {"depth always", "push 32x32", "light off", "pop",
                                         "depth lequal", "light on",   "light off"};
  EXPECT_EQ(Log(), want);
}

TEST_F(GlModes, AreaSizeReachesTheOrthoProjection) {
  PwGlSetAreaSize(640, 480);
  PwGlEnter2D();
  EXPECT_EQ(Log()[1], "push 640x480");
}

TEST_F(GlModes, RestoreLitAppliesTheLightingSwitch) {
  PwGlRestoreLit();  // already lit: nothing
  EXPECT_TRUE(Log().empty());
  PwGlSetLightingSwitch(0);
  PwGlEnterOverlay3D();
  Log().clear();
  PwGlRestoreLit();
  std::vector<std::string> want = {"depth lequal", "light on", "light off"};
  EXPECT_EQ(Log(), want);
  EXPECT_EQ(PwGlDrawMode(), kPwGlModeLit);

  PwGlSetLightingSwitch(1);
  PwGlEnterDepth3D();
  Log().clear();
  PwGlRestoreLit();  // leaving depth mode touches nothing, then the switch
  want = {"light on"};
  EXPECT_EQ(Log(), want);

  PwGlSetLightingSwitch(7);  // neither: lighting left as it is
  PwGlEnterDepth3D();
  Log().clear();
  PwGlRestoreLit();
  EXPECT_TRUE(Log().empty());
}

TEST_F(GlModes, OverlayKeepsMatrices) {
  PwGlEnterOverlay3D();
  PwGlEnter2D();
  PwGlEnterOverlay3D();
  int pushes = 0, pops = 0;
  for (const std::string& s : Log()) {
    pushes += s.rfind("push", 0) == 0;
    pops += s == "pop";
  }
  EXPECT_EQ(pushes, 1);
  EXPECT_EQ(pops, 1);
}

}  // namespace
