#include <gtest/gtest.h>

#include <cmath>

#include <vector>

#include "graphics/math/pw_math.h"
#include "graphics/software/surface.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace {

class State3DTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PwResetSurfaceState();
    PwReset3D();
    pool_.assign(4096, 0);
    PwStart3D(pool_.data(), pool_.size());
  }
  void TearDown() override {
    PwReset3D();
    PwResetSurfaceState();
  }
  std::vector<unsigned char> pool_;
};

TEST_F(State3DTest, StartDefaults) {
  PwSetLighting(1);
  PwSetProjectionMode(1);
  PwSetParallelDistance(5);
  PwStart3D(pool_.data(), pool_.size());
  const PwVec3* light = PwGetLightWorld();
  EXPECT_EQ(light->x, 0);
  EXPECT_EQ(light->y, 10000);
  EXPECT_EQ(light->z, -5000);
  EXPECT_EQ(PwGetLighting(), 0);
  EXPECT_EQ(PwGetProjectionMode(), 0);
  EXPECT_EQ(PwGetParallelDistance(), 128.0f);
  EXPECT_EQ(PwGetFrameDepth(), 0);
}

TEST_F(State3DTest, OutOfRangeSettingsAreIgnored) {
  EXPECT_EQ(PwSetProjectionMode(7), 7);
  EXPECT_EQ(PwGetProjectionMode(), 0);
  EXPECT_EQ(PwSetProjectionMode(1), 1);
  EXPECT_EQ(PwGetProjectionMode(), 1);
  PwSetLighting(2);
  EXPECT_EQ(PwGetLighting(), 0);
  PwSetParallelDistance(0);
  PwSetParallelDistance(-3);
  EXPECT_EQ(PwGetParallelDistance(), 128.0f);
}

TEST_F(State3DTest, DefaultProjectionOf640By480) {
  PwSetSurface(nullptr, 640, 480, kPwDepth16);
  PwProjection p;
  PwDefaultProjection(&p);
  EXPECT_EQ(p.width, 640);
  EXPECT_EQ(p.height, 480);
  EXPECT_EQ(p.cx, 320);
  EXPECT_EQ(p.cy, 240);
  EXPECT_FLOAT_EQ(p.magx, 452.54834f);
  EXPECT_FLOAT_EQ(p.magy, 452.54834f);
  EXPECT_EQ(p.near, 2.5f);
  EXPECT_EQ(p.far, 10000.0f);
  PwSetProjection(&p);
  float l, r, t, b;
  PwGetSlopes(&l, &r, &t, &b);
  EXPECT_FLOAT_EQ(l, 320 / 452.54834f);
  EXPECT_FLOAT_EQ(r, 320 / 452.54834f);
  EXPECT_FLOAT_EQ(t, 240 / 452.54834f);
  EXPECT_FLOAT_EQ(b, 240 / 452.54834f);
}

TEST_F(State3DTest, ProjectionTruncatesTowardZeroAndSaturates) {
  PwProjection p = {640, 480, 320, 240, 100, 100, 1, 1000};
  PwSetProjection(&p);
  PwPoint2 s;
  PwVec3 e = {1.5f, -0.39f, 10};
  ASSERT_EQ(PwProjectToScreen(&s, &e), 1);
  EXPECT_EQ(s.x, 335);  // 320 + trunc(15.0)
  EXPECT_EQ(s.y, 243);  // 240 - trunc(-3.9)
  e = {-1e30f, 1e30f, 0.001f};
  ASSERT_EQ(PwProjectToScreen(&s, &e), 1);
  EXPECT_EQ(s.x, 320 - (1 << 30));
  EXPECT_EQ(s.y, 240 - (1 << 30));
  e = {0, 0, 0};  // 0/0
  EXPECT_EQ(PwProjectToScreen(&s, &e), 0);
  PwSetProjectionMode(1);
  PwSetParallelDistance(50);
  e = {5, 5, 1};
  ASSERT_EQ(PwProjectToScreen(&s, &e), 1);
  EXPECT_EQ(s.x, 330);
  EXPECT_EQ(s.y, 230);
}

TEST_F(State3DTest, FrameStackHoldsSixteen) {
  PwPose step = {1, 0, 0, 0, 0, 0};
  for (int i = 0; i < 16; ++i) ASSERT_EQ(PwPushFrame(&step), 0) << i;
  EXPECT_EQ(PwGetModelFrame()->x, 16);
  EXPECT_EQ(PwPushFrame(&step), 1);
  EXPECT_EQ(PwGetModelFrame()->x, 16);
  EXPECT_EQ(PwGetFrameDepth(), 16);
  for (int i = 0; i < 16; ++i) ASSERT_EQ(PwPopFrame(), 0);
  EXPECT_EQ(PwGetModelFrame()->x, 0);
  EXPECT_EQ(PwPopFrame(), 1);
  EXPECT_EQ(PwGetModelFrame()->x, 0);
}

TEST_F(State3DTest, PushedFramesNestWithinEachOther) {
  PwPose turn = {0, 0, 10, 16384, 0, 0};  // 10 ahead, then a quarter turn
  PwSetFrame(&turn);
  PwPose ahead = {0, 0, 2, 0, 0, 0};
  ASSERT_EQ(PwPushFrame(&ahead), 0);
  // 2 along the turned forward (-x) from (0, 0, 10).
  EXPECT_NEAR(PwGetModelFrame()->x, -2, 1e-4f);
  EXPECT_NEAR(PwGetModelFrame()->z, 10, 1e-4f);
  EXPECT_NEAR(PwGetModelFrame()->heading, 16384, 0.5f);
  PwVec3 origin = {0, 0, 0}, e;
  PwModelToEye(&e, &origin);
  EXPECT_NEAR(e.x, -2, 1e-4f);
  EXPECT_NEAR(e.z, 10, 1e-4f);
  PwPopFrame();
}

TEST_F(State3DTest, EyeCarriesWorldIntoEyeSpace) {
  PwVec3 light = {0, 0, 20};
  PwSetLight(&light);
  PwPose eye = {0, 0, 10, 16384, 0, 0};  // at z 10 looking along -x
  PwSetEye(&eye);
  const PwVec3* le = PwGetLightEye();
  EXPECT_NEAR(le->x, 10, 1e-4f);  // +z world lies to the right
  EXPECT_NEAR(le->z, 0, 1e-4f);
  PwVec3 p = {-5, 0, 10}, e;  // straight ahead
  PwModelToEye(&e, &p);
  EXPECT_NEAR(e.x, 0, 1e-4f);
  EXPECT_NEAR(e.z, 5, 1e-4f);
}

TEST_F(State3DTest, ScratchPoolsRoundAndServeThirdSecondMain) {
  unsigned char second[64], third[8];
  PwSetExtraDrawBuffer(second, sizeof second);
  PwSetExtraDrawBuffer2(third, sizeof third);
  EXPECT_EQ(PwScratchAlloc(5), third);
  EXPECT_EQ(PwScratchUsed(2), 8u);
  EXPECT_EQ(PwScratchAlloc(5), second);
  EXPECT_EQ(PwScratchUsed(1), 8u);
  // Bigger than what is left in every pool, though they hold it together.
  PwSetExtraDrawBuffer(second, 16);
  PwStart3D(pool_.data(), 16);
  EXPECT_EQ(PwScratchAlloc(24), nullptr);
  EXPECT_EQ(PwScratchAlloc(16), second);
  EXPECT_EQ(PwScratchAlloc(16), pool_.data());
  EXPECT_EQ(PwScratchAlloc(1), nullptr);
  // Huge requests neither wrap nor succeed.
  EXPECT_EQ(PwScratchAlloc(static_cast<std::size_t>(-1)), nullptr);
  PwPose zero = {};
  PwSetEye(&zero);
  EXPECT_EQ(PwScratchUsed(0), 0u);
  EXPECT_EQ(PwScratchUsed(1), 0u);
  EXPECT_EQ(PwScratchUsed(2), 0u);
}

TEST_F(State3DTest, MarkAndReleaseGiveBackTheMainPoolTail) {
  unsigned char second[64];
  PwSetExtraDrawBuffer(second, sizeof second);
  void* kept = PwScratchAlloc(8);
  EXPECT_EQ(kept, second);
  std::size_t mark = 99;
  void* a = PwScratchMark(&mark, 101);  // 104 with 4- or 8-byte rounding
  EXPECT_EQ(mark, 0u);
  EXPECT_EQ(a, pool_.data());  // the main pool only
  std::size_t inner;
  EXPECT_NE(PwScratchMark(&inner, 30), nullptr);
  EXPECT_EQ(inner, 104u);
  PwScratchRelease(mark);
  EXPECT_EQ(PwScratchUsed(0), 0u);
  EXPECT_EQ(PwScratchUsed(1), 8u);
  // Marked temporaries do not exhaust the pool, however many there are.
  for (int i = 0; i < 10000; ++i) {
    ASSERT_NE(PwScratchMark(&mark, 1000), nullptr);
    PwScratchRelease(mark);
  }
  EXPECT_EQ(PwScratchMark(&mark, 5000), nullptr);
}

TEST_F(State3DTest, ShadingTowardAndAwayFromTheLight) {
  PwVec3 light = {0, 0, 0};  // at the eye, as the viewer places it
  PwSetLight(&light);
  PwPose zero = {};
  PwSetEye(&zero);
  PwVec3 p = {0, 0, 10};
  PwVec3 facing = {0, 0, -1};
  PwColor out;
  PwShadeColor(&out, PwColor{100, 0, 255}, &p, &facing);
  EXPECT_EQ(out.green, 255);  // 204 + 332 * 100 / 256, clamped
  EXPECT_EQ(out.red, 204);
  EXPECT_EQ(out.blue, 255);
  // Away from the light: ambient only (76), and no highlight.
  PwVec3 away = {0, 0, 1};
  PwShadeColor(&out, PwColor{100, 0, 200}, &p, &away);
  EXPECT_EQ(out.green, 76 * 100 / 256 + 204);  // |n.H| = 1 still highlights
  PwVec3 side_light = {0, 100, 10};
  PwSetLight(&side_light);
  PwVec3 down = {0, -1, 0};
  PwShadeColor(&out, PwColor{100, 0, 200}, &p, &down);
  EXPECT_EQ(out.green, 76 * 100 / 256);
  EXPECT_EQ(out.blue, 76 * 200 / 256);
  EXPECT_EQ(out.red, 0);
  // A fine mesh's corner normal, far too short for the table, still faces
  // the light: lit as the unit normal is.
  PwSetLight(&light);
  PwColor unit, tiny;
  const PwVec3 short_facing = {0, 0, -2e-5f};
  PwShadeColor(&unit, PwColor{100, 0, 100}, &p, &facing);
  PwShadeColor(&tiny, PwColor{100, 0, 100}, &p, &short_facing);
  EXPECT_EQ(tiny.green, unit.green);
  EXPECT_EQ(tiny.red, unit.red);
  PwSetLight(&side_light);
  // Degenerate input gives ambient, never garbage.
  PwVec3 none = {0, 0, 0};
  PwShadeColor(&out, PwColor{100, 100, 100}, &p, &none);
  EXPECT_EQ(out.green, 29);
}

TEST_F(State3DTest, HighlightFollowsTheSpecularColour) {
  // Facing a headlight: diffuse 332/256 of each channel. The library's own
  // highlight is 204 at full strength, a material's 229 (0.9 of 255, as the
  // OpenGL build's light gives it); black has none; a coloured one adds its
  // channels' share; a low shininess spreads it.
  PwVec3 light = {0, 0, 0};
  PwSetLight(&light);
  PwPose zero = {};
  PwSetEye(&zero);
  const PwVec3 p = {0, 0, 10}, facing = {0, 0, -1};
  const PwVec3 aside = {0.3f, 0, -1};  // about 17 degrees off the light
  const PwColor orange = {127, 255, 0};
  struct Case {
    PwColor specular;
    float shininess;
    int green, red, blue;
  } cases[] = {
      {{255, 255, 255}, 60.0f / 128, 255, 255, 229},
      {{0, 0, 0}, 0.2f, 127 * 332 / 256, 255, 0},
      {{0, 255, 0}, 60.0f / 128, 127 * 332 / 256, 255, 0},
      {{255, 0, 0}, 60.0f / 128, 255, 255, 0},
      {{0, 0, 128}, 60.0f / 128, 127 * 332 / 256, 255, 229 * 128 / 255},
  };
  PwColor library;
  PwShadeColor(&library, orange, &p, &facing);
  EXPECT_EQ(library.blue, 204);
  for (const Case& c : cases) {
    PwSetHighlight(c.specular, c.shininess);
    PwColor out;
    PwShadeColor(&out, orange, &p, &facing);
    EXPECT_EQ(out.green, c.green) << c.specular.blue;
    EXPECT_EQ(out.red, c.red) << c.specular.blue;
    EXPECT_EQ(out.blue, c.blue) << c.specular.blue;
    PwColor with;
    PwShadeColorWith(&with, orange, &p, &facing, PwGetHighlight());
    EXPECT_EQ(with.blue, out.blue);
  }
  PwColor sharp, broad;
  PwSetHighlight({255, 255, 255}, 1.0f);
  PwShadeColor(&sharp, orange, &p, &aside);
  PwSetHighlight({255, 255, 255}, 0.05f);
  PwShadeColor(&broad, orange, &p, &aside);
  EXPECT_GT(broad.blue, sharp.blue + 50);
  // Items queued without a caller's highlight keep the library's own.
  PwColor own;
  PwShadeColorWith(&own, orange, &p, &facing, 0);
  EXPECT_EQ(own.blue, library.blue);
}

TEST_F(State3DTest, HighlightStaysWithTheLightAnywhereInTheView) {
  // A headlight and a viewer far off along the view, as OpenGL lights:
  // H halves the light direction and the view axis, so a face turned to the
  // eye keeps a highlight away from the line of sight (where the direction
  // to the point alone would put almost none off the centre).
  PwVec3 light = {0, 0, 0};
  PwSetLight(&light);
  PwPose zero = {};
  PwSetEye(&zero);
  const PwVec3 facing = {0, 0, -1};
  const PwVec3 points[] = {{0, 0, 10}, {4, 0, 10}, {0, -3, 10}, {-5, 4, 10}, {2, 2, 4}};
  for (float shininess : {60.0f / 128, 1.0f}) {
    PwSetHighlight({255, 255, 255}, shininess);
    const double e = shininess >= 1.0f ? 128.0 : 60.0;
    for (const PwVec3& p : points) {
      const double d = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
      const double l[3] = {-p.x / d, -p.y / d, -p.z / d};
      const double h[3] = {l[0], l[1], l[2] - 1.0};
      const double nh = -h[2] / std::sqrt(h[0] * h[0] + h[1] * h[1] + h[2] * h[2]);
      const int s = static_cast<int>(std::pow(nh, e) * 0.9 * 255);
      PwColor out;
      PwShadeColor(&out, PwColor{0, 0, 0}, &p, &facing);
      EXPECT_NEAR(out.red, s, 3) << p.x << " " << p.y << " exponent " << e;
    }
  }
  PwSetHighlightCode(0);
}

}  // namespace
