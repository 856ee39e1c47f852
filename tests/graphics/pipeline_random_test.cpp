// Hostile geometry through the whole pipeline: coordinates up to +-1e6,
// infinities and NaNs, under random eyes and frames. Nothing may write
// outside the pixels (guard bytes intact; ASan watches the rest).
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/guarded_surface.h"

namespace {

class Hostile {
 public:
  explicit Hostile(unsigned seed) : rng_(seed) {}
  float Coord() {
    switch (rng_() % 16) {
      case 0: return std::numeric_limits<float>::quiet_NaN();
      case 1: return std::numeric_limits<float>::infinity();
      case 2: return -std::numeric_limits<float>::infinity();
      case 3: return 0.0f;
      case 4: return Uniform(-3, 3);  // close to the eye, through the near plane
      default: return Uniform(-1e6f, 1e6f);
    }
  }
  float Uniform(float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng_); }
  int Angle() { return static_cast<int>(rng_() % 65536) - 32768; }
  int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  PwVec3 Point() {
    // Mostly finite and in view, so that the clipping paths get exercised.
    if (rng_() % 4 == 0) return {Coord(), Coord(), Coord()};
    float s = rng_() % 2 ? 1e6f : 50.0f;
    return {Uniform(-s, s), Uniform(-s, s), Uniform(-10, s)};
  }
  PwColor Colour() { return {Below(256), Below(256), Below(256)}; }
  PwPose Pose(float reach) {
    return {Uniform(-reach, reach),
            Uniform(-reach, reach),
            Uniform(-reach, reach),
            Angle(),
            Angle(),
            Angle()};
  }

 private:
  std::mt19937 rng_;
};

void Frame(Hostile& h) {
  PwSetLighting(h.Below(2));
  PwSetProjectionMode(h.Below(8) == 0 ? 1 : 0);
  PwVec3 light = h.Point();
  PwSetLight(&light);
  PwPose eye = h.Below(3) == 0 ? PwPose{} : h.Pose(100);
  PwSetEye(&eye);
  std::vector<PwVec3> pts(130), normals(130);
  for (int k = 0; k < 200; ++k) {
    if (h.Below(10) == 0) {
      PwPose f = h.Pose(1e6f);
      if (h.Below(2)) {
        if (PwPushFrame(&f) == 0) PwPopFrame();
      }
      PwSetFrame(&f);
    }
    if (h.Below(20) == 0) PwResetFrame();
    int n = h.Below(12) == 0 ? h.Below(130) : 3 + h.Below(6);
    for (int i = 0; i < n; ++i) {
      pts[i] = h.Point();
      normals[i] = h.Point();
    }
    PwColor c = h.Colour();
    switch (h.Below(12)) {
      case 0: PwPolygon3(n, pts.data(), h.Below(2) ? &pts[0] : nullptr, normals[0], c); break;
      case 1: PwPolygon3TwoSided(n, pts.data(), c); break;
      case 2: PwSmoothPolygon3(n, pts.data(), normals.data(), c); break;
      case 3: PwDrawPolygon3(n, pts.data(), c); break;
      case 4: PwLine3(pts[0], pts[1], c); break;
      case 5: PwDrawLine3(pts[0], pts[1], c); break;
      case 6:
        PwPoint3(pts[0], c);
        PwDrawPoint3(pts[1], c);
        break;
      case 7: PwDisc3(pts[0], h.Coord(), c); break;
      case 8:
        PwMarker3(pts[0], c, h.Below(4));
        PwDrawMarker3(pts[1], c, h.Below(4));
        break;
      case 9: {
        const char* lines[] = {"label", "two", nullptr};
        PwLabel3(pts[0], lines, c, h.Below(5), h.Below(5));
        PwDrawLabel3(pts[1], lines, c, h.Below(5), h.Below(5));
        break;
      }
      case 10: PwDrawShadowPolygon3(n, pts.data(), c); break;
      default: PwDrawShadowLine3(pts[0], pts[1], c); break;
    }
  }
  PwFlushSorted();
}

class PipelineRandomTest : public ::testing::TestWithParam<int> {};

TEST_P(PipelineRandomTest, HostileGeometryStaysInsideTheBuffer) {
  GuardedSurface surface(200, 150, GetParam(), 1 << 21);
  Hostile h(1234u + static_cast<unsigned>(GetParam()));
  for (int frame = 0; frame < 60; ++frame) {
    Frame(h);
    ASSERT_TRUE(surface.Intact()) << "frame " << frame;
  }
  EXPECT_EQ(PwGetFrameDepth(), 0);
  EXPECT_LT(surface.Count(PwColor{0, 0, 0}), 200 * 150 * 9 / 10);  // it did draw
}

INSTANTIATE_TEST_SUITE_P(Depths, PipelineRandomTest, ::testing::Values(kPwDepth8, kPwDepth16));

}  // namespace
