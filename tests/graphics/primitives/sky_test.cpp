#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/draw2d/clip2d.h"
#include "graphics/primitives/sky.h"
#include "graphics/state3d/state3d.h"
#include "graphics/guarded_surface.h"

namespace {

const PwColor kGround = {120, 60, 0};
const PwColor kSky = {80, 40, 250};

class SkyTest : public ::testing::Test {
 protected:
  SkyTest() : surface_(640, 480) { PwResetClip2(); }
  void TearDown() override {
    PwResetClip2();
    EXPECT_TRUE(surface_.Intact());
  }
  void Paint(int pitch, int bank, int heading = 0) {
    PwPose eye = {0, 0, 0, heading, pitch, bank};
    PwSetEye(&eye);
    PwScreenClear();
    PwBackground(kGround, kSky);
  }
  bool Is(int x, int y, PwColor c) const { return surface_.At(x, y) == surface_.Value(c); }
  GuardedSurface surface_;
};

TEST_F(SkyTest, LevelEyeSplitsAtTheCentreRow) {
  Paint(0, 0);
  for (int y = 0; y < 480; y += 3) {
    for (int x = 0; x < 640; x += 7) {
      if (y <= 238) {
        EXPECT_TRUE(Is(x, y, kSky)) << x << "," << y;
      } else if (y >= 241) {
        EXPECT_TRUE(Is(x, y, kGround)) << x << "," << y;
      }
    }
  }
  EXPECT_TRUE(Is(639, 1, kSky));
  EXPECT_TRUE(Is(639, 479, kGround));
  // The 2D clip rectangle is the caller's again.
  PwPoint2 lo, hi;
  PwGetClip2(&lo, &hi);
  EXPECT_EQ(hi.x, 0);
  EXPECT_EQ(hi.y, 0);
}

TEST_F(SkyTest, SteepAndOffScreenHorizonsPaintOneColour) {
  struct Case {
    int pitch;
    PwColor colour;
  };
  const Case cases[] = {
      {15474, kSky},      // 85 degrees up
      {-15474, kGround},  // 85 degrees down
      {10923, kSky},      // 60 up: the horizon 784 pixels below the centre
      {-10923, kGround},
  };
  for (const Case& c : cases) {
    Paint(c.pitch, 0);
    EXPECT_EQ(surface_.Count(c.colour), 640 * 480) << c.pitch;
  }
}

TEST_F(SkyTest, BankOfNinetyDegreesSplitsAlongTheVerticalCentre) {
  Paint(0, 16384);
  const bool sky_right = Is(600, 240, kSky);
  const PwColor right = sky_right ? kSky : kGround;
  const PwColor left = sky_right ? kGround : kSky;
  for (int y = 1; y < 480; y += 5) {
    for (int x = 0; x < 640; x += 5) {
      if (x <= 318) {
        EXPECT_TRUE(Is(x, y, left)) << x << "," << y;
      } else if (x >= 322) {
        EXPECT_TRUE(Is(x, y, right)) << x << "," << y;
      }
    }
  }
}

TEST_F(SkyTest, SidesWalkTheBorderClockwise) {
  PwSetClip2({0, 0}, {640, 480});
  struct Case {
    PwPoint2 from, to;
    std::vector<PwPoint2> expect;
  };
  const Case cases[] = {
      {{0, 240}, {640, 240}, {{0, 240}, {0, 0}, {640, 0}, {640, 240}}},
      {{640, 240}, {0, 240}, {{640, 240}, {640, 480}, {0, 480}, {0, 240}}},
      {{100, 0}, {300, 0}, {{100, 0}, {300, 0}}},
      {{100, 0}, {50, 0}, {{100, 0}, {640, 0}, {640, 480}, {0, 480}, {0, 0}, {50, 0}}},
      {{320, 0}, {320, 480}, {{320, 0}, {640, 0}, {640, 480}, {320, 480}}},
  };
  for (const Case& c : cases) {
    PwPoint2 pts[kPwHorizonSidePoints];
    int n = 0;
    PwHorizonSide(&n, pts, c.from, c.to);
    ASSERT_EQ(n, static_cast<int>(c.expect.size()));
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(pts[i].x, c.expect[i].x) << i;
      EXPECT_EQ(pts[i].y, c.expect[i].y) << i;
    }
  }
}

TEST_F(SkyTest, EveryAttitudePaintsTheWholeArea) {
  std::mt19937 rng(5);
  for (int round = 0; round < 60; ++round) {
    const int pitch = static_cast<int>(rng() % 40000) - 20000;
    const int bank = static_cast<int>(rng() % 65536) - 32768;
    Paint(pitch, bank, static_cast<int>(rng() % 65536));
    // The two fills tile: nothing stays unpainted, the horizon included.
    int bare = 0;
    for (int y = 0; y < 480; ++y) {
      for (int x = 0; x < 640; ++x) bare += !Is(x, y, kSky) && !Is(x, y, kGround);
    }
    ASSERT_EQ(0, bare) << pitch << " " << bank;
    ASSERT_TRUE(surface_.Intact());
  }
}

TEST_F(SkyTest, SkyAndGroundOfOneColourLeaveNoLine) {
  struct Case {
    int pitch, bank;
  };
  for (const Case& c : {Case{0, 0}, Case{1200, 0}, Case{-900, 3000}, Case{0, 16384},
                        Case{2500, -7000}, Case{-3000, 20000}}) {
    PwPose eye = {0, 0, 0, 0, c.pitch, c.bank};
    PwSetEye(&eye);
    PwScreenClear();
    PwBackground(kSky, kSky);
    EXPECT_EQ(640 * 480, surface_.Count(kSky)) << c.pitch << " " << c.bank;
  }
}

}  // namespace
