#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "graphics/state3d/culling.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/guarded_surface.h"

namespace {

const PwColor kWhite = {255, 255, 255};
const PwColor kBlack = {0, 0, 0};

int Queued() {
  int n = 0;
  for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) ++n;
  return n;
}

class Primitives3DTest : public ::testing::Test {
 protected:
  Primitives3DTest() : surface_(640, 480) {}
  GuardedSurface surface_;
};

TEST_F(Primitives3DTest, CullingDropsWhatLiesWhollyBeyondOnePlane) {
  struct Case {
    const char* name;
    std::vector<PwVec3> pts;
    int visible;
    int near_flag;
  };
  // 640 x 480 default projection: side slopes 0.707, top and bottom 0.530.
  const Case cases[] = {
      {"in front", {{0, 0, 10}, {1, 1, 10}}, 1, 0},
      {"behind the near plane", {{0, 0, 1}, {5, 0, -4}}, 0, 1},
      {"beyond far", {{0, 0, 20000}, {1, 0, 10001}}, 0, 0},
      {"wholly right", {{8, 0, 10}, {9, -1, 10}, {8, 1, 10}}, 0, 0},
      {"wholly left", {{-8, 0, 10}, {-9, 0, 10}}, 0, 0},
      {"wholly above", {{0, 6, 10}, {3, 7, 10}}, 0, 0},
      {"wholly below", {{0, -6, 10}, {3, -7, 10}}, 0, 0},
      {"straddles the left edge", {{-8, 0, 10}, {-6, 0, 10}, {0, 0, 10}}, 1, 0},
      {"right of one plane, above another", {{8, 0, 10}, {0, 8, 10}}, 1, 0},
      {"one end behind the eye", {{0, 0, -5}, {0, 0, 10}}, 1, 1},
      {"not a number", {{0, 0, 10}, {std::numeric_limits<float>::quiet_NaN(), 0, 10}}, 0, 0},
  };
  for (const Case& c : cases) {
    int near_flag = -1;
    EXPECT_EQ(PwCullPoints(static_cast<int>(c.pts.size()), c.pts.data(), &near_flag), c.visible)
        << c.name;
    EXPECT_EQ(near_flag, c.near_flag) << c.name;
  }
  // A box that straddles an edge is tested by its corners.
  PwVec3 lo = {-20, -1, 9}, hi = {-5, 1, 11};
  int near_flag;
  EXPECT_EQ(PwCullBox(&lo, &hi, &near_flag), 1);
  lo = {7.5f, -1, 9};
  hi = {20, 1, 10};
  EXPECT_EQ(PwCullBox(&lo, &hi, &near_flag), 0);
}

// A box's verdict and near flag are those of its eight corners, in both
// projection modes, on the planes' very edges and for boxes that are not
// numbers.
TEST_F(Primitives3DTest, BoxesCullAsTheirCorners) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  std::vector<std::pair<PwVec3, PwVec3>> boxes = {
      {{-20, -1, 9}, {-5, 1, 11}},       {{7.5f, -1, 9}, {20, 1, 10}},
      {{-1, -1, -5}, {1, 1, 2.5f}},      {{-1, -1, 2.5f}, {1, 1, 3}},
      {{-1, -1, -9}, {1, 1, -1}},        {{0, 0, 10000}, {1, 1, 10001}},
      {{7.0710678f, 0, 10}, {8, 1, 10}}, {{-3, 5.3033f, 10}, {3, 6, 10}},
      {{-inf, 0, 5}, {0, 1, 6}},         {{0, 0, 5}, {1, nan, 6}},
      {{-1, -1, -2}, {-0.5f, -0.5f, 0}}, {{100, -1, -4}, {200, 1, 1}},
  };
  std::mt19937 random(12);
  std::uniform_real_distribution<float> coordinate(-30.0f, 30.0f);
  for (int i = 0; i < 400; ++i) {
    PwVec3 a = {coordinate(random), coordinate(random), coordinate(random)};
    PwVec3 b = {coordinate(random), coordinate(random), coordinate(random)};
    boxes.push_back({{std::min(a.x, b.x), std::min(a.y, b.y), std::min(a.z, b.z)},
                     {std::max(a.x, b.x), std::max(a.y, b.y), std::max(a.z, b.z)}});
  }
  for (int mode : {0, 1}) {
    PwSetProjectionMode(mode);
    PwSetParallelDistance(20.0f);
    for (const auto& box : boxes) {
      const PwVec3 &lo = box.first, &hi = box.second;
      PwVec3 corners[8];
      for (int c = 0; c < 8; ++c) {
        corners[c] = {(c & 1) ? hi.x : lo.x, (c & 2) ? hi.y : lo.y, (c & 4) ? hi.z : lo.z};
      }
      int want_near = -1, got_near = -1;
      const int want = PwCullPoints(8, corners, &want_near);
      EXPECT_EQ(PwCullBox(&lo, &hi, &got_near), want)
          << "mode " << mode << " box " << lo.x << "," << lo.y << "," << lo.z << " .. " << hi.x
          << "," << hi.y << "," << hi.z;
      EXPECT_EQ(got_near, want_near);
    }
  }
  PwSetProjectionMode(0);
}

TEST_F(Primitives3DTest, PolygonsStraddlingAnEdgeAreQueuedOthersDropped) {
  const PwVec3 straddle[3] = {{-9, -1, 10}, {-5, 1, 10}, {-12, 0, 10}};
  EXPECT_EQ(PwPolygon3TwoSided(3, straddle, kWhite), 0);
  EXPECT_EQ(Queued(), 1);
  const PwVec3 right[3] = {{9, -1, 10}, {12, 1, 10}, {10, 0, 10}};
  EXPECT_EQ(PwPolygon3TwoSided(3, right, kWhite), 0);
  EXPECT_EQ(Queued(), 1);
  EXPECT_EQ(PwPolygon3(3, right, nullptr, PwVec3{0, 0, -1}, kWhite), 0);
  EXPECT_EQ(Queued(), 1);
}

TEST_F(Primitives3DTest, EmptyPolygonsQueueNothing) {
  const PwVec3 one[1] = {{0, 0, 10}};
  EXPECT_EQ(PwPolygon3(0, one, nullptr, PwVec3{0, 0, -1}, kWhite), 0);
  EXPECT_EQ(PwPolygon3TwoSided(0, one, kWhite), 0);
  EXPECT_EQ(PwPolygon3TwoSided(-3, one, kWhite), 0);
  EXPECT_EQ(PwSmoothPolygon3(0, one, one, kWhite), 0);
  EXPECT_EQ(PwDrawPolygon3(0, one, kWhite), 0);
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(PwScratchUsed(0), 0u);
}

TEST_F(Primitives3DTest, OneSidedBackFaces) {
  const PwVec3 tri[3] = {{-1, -1, 10}, {1, -1, 10}, {0, 1, 10}};
  const PwVec3 away = {0, 0, 1};
  EXPECT_EQ(PwPolygon3(3, tri, nullptr, away, kWhite), 0);
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(PwScratchUsed(0), 0u);
  PwModelSetActive(1);  // a capture keeps every face
  EXPECT_EQ(PwPolygon3(3, tri, nullptr, away, kWhite), 0);
  PwModelSetActive(0);
  EXPECT_EQ(Queued(), 1);
  // Parallel mode: the normal's z alone decides, wherever the polygon is.
  PwPose zero = {};
  PwSetEye(&zero);
  PwSetProjectionMode(1);
  const PwVec3 side = {1, 0, -0.01f};  // faces the eye in perspective here
  const PwVec3 left_tri[3] = {{-3, -1, 10}, {-3, 1, 10}, {-3, 0, 12}};
  EXPECT_EQ(PwPolygon3(3, left_tri, nullptr, side, kWhite), 0);
  EXPECT_EQ(Queued(), 1);
  const PwVec3 tilted = {-1, 0, 0.01f};
  EXPECT_EQ(PwPolygon3(3, left_tri, nullptr, tilted, kWhite), 0);
  EXPECT_EQ(Queued(), 1);
}

TEST_F(Primitives3DTest, TwoSidedFromBehindTurnsItsNormalToTheEye) {
  PwSetLighting(1);
  const PwVec3 ccw[3] = {{-1, -1, 10}, {0, 1, 10}, {1, -1, 10}};
  const PwVec3 cw[3] = {{-1, -1, 10}, {1, -1, 10}, {0, 1, 10}};
  for (const PwVec3* tri : {ccw, cw}) {
    PwPose zero = {};
    PwSetEye(&zero);
    ASSERT_EQ(PwPolygon3TwoSided(3, tri, kWhite), 0);
    ASSERT_EQ(Queued(), 1);
    auto* d = static_cast<PwSortedPolygonData*>(PwSortedFirst()->payload);
    EXPECT_EQ(d->has_normal, 1);
    EXPECT_LT(d->normal.z, 0);
    EXPECT_EQ(d->count, 3);
    EXPECT_FLOAT_EQ(PwSortedFirst()->depth, 10);
  }
}

TEST_F(Primitives3DTest, LinesThroughTheNearPlaneAreClippedWhenDrawn) {
  EXPECT_EQ(PwLine3(PwVec3{0, 0, 1}, PwVec3{0, 0, -3}, kWhite), 0);
  EXPECT_EQ(Queued(), 0);
  // From behind the eye to the right of the view axis in front of it.
  EXPECT_EQ(PwLine3(PwVec3{-1, 0, -10}, PwVec3{1, 0, 10}, kWhite), 0);
  ASSERT_EQ(Queued(), 1);
  auto* d = static_cast<PwSortedLineData*>(PwSortedFirst()->payload);
  EXPECT_EQ(d->near_flag, 1);
  EXPECT_FLOAT_EQ(PwSortedFirst()->depth, 0);
  PwFlushSorted();
  // Clipped at z 2.5 (x 0.25): from column 320 + 45 to 320 + 45 at row 240.
  int lit = surface_.Count(kWhite);
  EXPECT_GT(lit, 0);
  EXPECT_EQ(surface_.At(365, 240), surface_.Value(kWhite));
  for (int x = 0; x < 360; ++x) EXPECT_EQ(surface_.At(x, 240), surface_.Value(kBlack)) << x;
  EXPECT_TRUE(surface_.Intact());
  // The immediate line does the same at once.
  PwScreenClear();
  EXPECT_EQ(PwDrawLine3(PwVec3{-1, 0, -10}, PwVec3{1, 0, 10}, kWhite), 0);
  EXPECT_EQ(surface_.Count(kWhite), lit);
}

TEST_F(Primitives3DTest, ShapesCrossingTheNearPlaneAreClippedInBothPaths) {
  // A line along the view axis at x 2, y 1 and a floor quad at y -1, each
  // from z 10 to z -10. Unclipped, their points behind the eye project
  // mirrored through the centre, so the shape wraps round over a pixel
  // that the part in front never reaches.
  struct Case {
    const char* name;
    bool line, sorted;
    int must_x, must_y, wrap_x, wrap_y;
  };
  const std::vector<PwVec3> line = {{2, 1, 10}, {2, 1, -10}};
  const std::vector<PwVec3> floor = {{-2, -1, 10}, {2, -1, 10}, {2, -1, -10}, {-2, -1, -10}};
  const Case cases[] = {
      {"sorted line", true, true, 410, 195, 320, 240},
      {"immediate line", true, false, 410, 195, 320, 240},
      {"sorted polygon", false, true, 320, 320, 320, 210},
      {"immediate polygon", false, false, 320, 320, 320, 210},
  };
  for (const Case& c : cases) {
    PwPose zero = {};
    PwSetEye(&zero);
    PwScreenClear();
    int r = 0;
    if (c.line) {
      r = c.sorted ? PwLine3(line[0], line[1], kWhite) : PwDrawLine3(line[0], line[1], kWhite);
    } else {
      r = c.sorted ? PwPolygon3TwoSided(4, floor.data(), kWhite)
                   : PwDrawPolygon3(4, floor.data(), kWhite);
    }
    ASSERT_EQ(0, r) << c.name;
    PwFlushSorted();
    EXPECT_EQ(surface_.Value(kWhite), surface_.At(c.must_x, c.must_y)) << c.name;
    EXPECT_EQ(surface_.Value(kBlack), surface_.At(c.wrap_x, c.wrap_y)) << c.name;
  }
  EXPECT_TRUE(surface_.Intact());
}

TEST_F(Primitives3DTest, LabelsOutliveTheCallersText) {
  std::string text = "hello";
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  const char* lines[] = {buffer.data(), "second", nullptr};
  ASSERT_EQ(PwLabel3(PwVec3{0, 0, 10}, lines, kWhite, 1, 3), 0);
  std::memset(buffer.data(), 'x', buffer.size() - 1);
  ASSERT_EQ(Queued(), 1);
  auto* d = static_cast<PwSortedLabelData*>(PwSortedFirst()->payload);
  EXPECT_EQ(d->count, 2);
  EXPECT_STREQ(d->lines[0], "hello");
  EXPECT_STREQ(d->lines[1], "second");
  EXPECT_EQ(d->lines[2], nullptr);
  EXPECT_EQ(d->halign, 1);
  EXPECT_EQ(d->valign, 3);
  EXPECT_EQ(PwLabelLine3(PwVec3{0, 0, 10}, "one", kWhite, 0, 0), 0);
  EXPECT_EQ(Queued(), 2);
}

TEST_F(Primitives3DTest, ExhaustedPoolsReturnOneAndGiveTheirScratchBack) {
  std::vector<unsigned char> small(160);
  PwStart3D(small.data(), small.size());
  PwPose zero = {};
  PwSetEye(&zero);
  std::vector<PwVec3> many(40, PwVec3{0, 0, 10});
  many[1].x = 1;
  many[2].y = 1;
  EXPECT_EQ(PwPolygon3TwoSided(40, many.data(), kWhite), 1);
  EXPECT_EQ(PwDrawPolygon3(40, many.data(), kWhite), 1);
  EXPECT_EQ(PwScratchUsed(0), 0u);
  const PwVec3 tri[3] = {{-1, -1, 10}, {1, -1, 10}, {0, 1, 10}};
  int queued = 0;
  while (PwPolygon3TwoSided(3, tri, kWhite) == 0) ++queued;
  EXPECT_EQ(Queued(), queued);
  std::size_t used = PwScratchUsed(0);
  EXPECT_EQ(PwPolygon3TwoSided(3, tri, kWhite), 1);
  EXPECT_EQ(PwScratchUsed(0), used);
  const char* lines[] = {"a long label that will not fit", nullptr};
  EXPECT_EQ(PwLabel3(PwVec3{0, 0, 10}, lines, kWhite, 0, 0), 1);
  EXPECT_EQ(PwScratchUsed(0), used);
}

TEST_F(Primitives3DTest, ImmediateCallsDrawAtOnceAndGiveTheirScratchBack) {
  const PwVec3 tri[3] = {{-1, -1, 10}, {1, -1, 10}, {0, 1, 10}};
  EXPECT_EQ(PwDrawPolygon3(3, tri, kWhite), 0);
  EXPECT_EQ(PwScratchUsed(0), 0u);
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(surface_.At(320, 240), surface_.Value(kWhite));
  PwScreenClear();
  EXPECT_EQ(PwDrawPoint3(PwVec3{0, 0, 10}, kWhite), 0);
  EXPECT_EQ(surface_.Count(kWhite), 4);
  PwScreenClear();
  EXPECT_EQ(PwDrawMarker3(PwVec3{0, 0, 10}, kWhite, 0), 0);
  EXPECT_EQ(surface_.Count(kWhite), 25);
  // A polygon through the near plane is clipped, not wrapped around.
  PwScreenClear();
  const PwVec3 through[3] = {{-1, 0, -10}, {1, 0, -10}, {0, 0.1f, 10}};
  EXPECT_EQ(PwDrawPolygon3(3, through, kWhite), 0);
  EXPECT_EQ(PwScratchUsed(0), 0u);
  EXPECT_TRUE(surface_.Intact());
}

TEST_F(Primitives3DTest, ShadowsLieOnTheShadowPlane) {
  PwPose ground = {0, -2, 0, 0, 0, 0};
  PwSetShadowFrame(&ground);
  PwPose placed = {0, 1, 0, 0, 0, 0};
  PwSetFrame(&placed);
  // A vertical line at x 0, z 10 flattens to the point (0, -2, 10) in the world.
  EXPECT_EQ(PwDrawShadowLine3(PwVec3{0, 0, 10}, PwVec3{0, 3, 10}, kWhite), 0);
  int y = 240 + static_cast<int>(2 * 452.54834f / 10);
  EXPECT_EQ(surface_.At(320, y), surface_.Value(kWhite));
  EXPECT_EQ(surface_.Count(kWhite), 1);
  const PwVec3 sq[4] = {{-1, 5, 9}, {1, 5, 9}, {1, 5, 11}, {-1, 5, 11}};
  EXPECT_EQ(PwDrawShadowPolygon3(4, sq, kWhite), 0);
  EXPECT_EQ(PwScratchUsed(0), 0u);
  EXPECT_GT(surface_.Count(kWhite), 1);
  EXPECT_TRUE(surface_.Intact());
}

TEST_F(Primitives3DTest, NonFiniteGeometryIsNotVisible) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const PwVec3 tri[3] = {{-1, -1, 10}, {1, nan, 10}, {0, 1, 10}};
  const PwVec3 far_tri[3] = {{-1, -1, inf}, {1, -1, 10}, {0, 1, 10}};
  EXPECT_EQ(PwPolygon3TwoSided(3, tri, kWhite), 0);
  EXPECT_EQ(PwPolygon3TwoSided(3, far_tri, kWhite), 0);
  EXPECT_EQ(PwPolygon3(3, tri, nullptr, PwVec3{0, 0, -1}, kWhite), 0);
  EXPECT_EQ(PwLine3(PwVec3{0, 0, 10}, PwVec3{nan, 0, 10}, kWhite), 0);
  EXPECT_EQ(PwPoint3(PwVec3{inf, 0, 10}, kWhite), 0);
  EXPECT_EQ(PwDisc3(PwVec3{0, nan, 10}, 1, kWhite), 0);
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(PwDrawPolygon3(3, tri, kWhite), 0);
  EXPECT_EQ(surface_.Count(kBlack), 640 * 480);
  EXPECT_EQ(PwScratchUsed(0), 0u);
}

}  // namespace
