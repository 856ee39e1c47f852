#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include <cstdio>

#include "graphics/draw2d/clip2d.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/eps_output.h"
#include "graphics/formats/model_capture.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"
#include "graphics/formats/pict_picture.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "tests/graphics/guarded_surface.h"

namespace {

struct Text {
  explicit Text(std::vector<std::string> lines) : lines_(std::move(lines)) {
    for (const std::string& l : lines_) ptrs_.push_back(l.c_str());
    ptrs_.push_back(nullptr);
  }
  const char* const* get() const { return ptrs_.data(); }
  std::vector<std::string> lines_;
  std::vector<const char*> ptrs_;
};

const PwColor kWhite = {255, 255, 255};

class PictDrawTest : public ::testing::Test {
 protected:
  PictDrawTest() : surface_(320, 240) {
    PwPictResetState();
    PwSetClip2({0, 0}, {319, 239});
  }
  void TearDown() override {
    PwFreePict(&pict_);
    PwResetClip2();
    EXPECT_TRUE(surface_.Intact());
  }
  void Load(std::vector<std::string> lines) {
    PwFreePict(&pict_);
    Text t(std::move(lines));
    ASSERT_EQ(PwLoadPictStrings(&pict_, t.get()), 1);
  }
  bool Lit(int x, int y) const { return surface_.At(x, y) == surface_.Value(kWhite); }
  GuardedSurface surface_;
  PwPict pict_ = {};
};

TEST_F(PictDrawTest, TwoDimensionalPointsLieYUp) {
  Load({"PICT2", "PST", "VER 10 20", "ENDO", "ENDPICT"});
  EXPECT_EQ(PwDrawPict(&pict_, {100, 100}), 1);
  EXPECT_TRUE(Lit(110, 80));
  EXPECT_EQ(surface_.Count(kWhite), 4);  // a point is 2 x 2 pixels
}

TEST_F(PictDrawTest, SegmentPairsIgnoreTheLastUnpairedPoint) {
  Load({"PICT2", "LSQ", "VER 0 0", "VER 20 0", "VER 0 -10", "VER 20 -10", "VER 0 -20", "ENDO",
        "ENDPICT"});
  PwDrawPict(&pict_, {50, 50});
  EXPECT_TRUE(Lit(60, 50));
  EXPECT_TRUE(Lit(60, 60));
  EXPECT_FALSE(Lit(50, 70));  // the fifth point
  EXPECT_FALSE(Lit(50, 55));  // no line joins the pairs
  EXPECT_EQ(surface_.Count(kWhite), 42);
}

TEST_F(PictDrawTest, RectangleMapsTheBox) {
  Load({"PICT2", "PST", "VER -5 -5", "VER 5 5", "VER 0 0", "ENDO", "ENDPICT"});
  EXPECT_EQ(PwDrawPictInRect(&pict_, {10, 10}, {110, 60}), 1);
  EXPECT_TRUE(Lit(10, 60));   // min corner at the bottom left
  EXPECT_TRUE(Lit(110, 10));  // max corner at the top right
  EXPECT_TRUE(Lit(60, 35));
  // The far corner lands on the far edge: 49 * (99 / 49) alone would fall
  // a pixel short.
  Load({"PICT2", "PST", "VER 0 0", "VER 49 49", "ENDO", "ENDPICT"});
  PwScreenClear();
  PwDrawPictInRect(&pict_, {10, 10}, {109, 109});
  EXPECT_TRUE(Lit(10, 109));
  EXPECT_TRUE(Lit(109, 10));
  // A point is 2 x 2 pixels from its corner: one a pixel short on x would
  // still light (109, 10), so look just past the far edge and before it.
  EXPECT_TRUE(Lit(110, 10));
  EXPECT_FALSE(Lit(108, 10));
  EXPECT_FALSE(Lit(109, 12));
  // A picture without extent stands at the corner instead of dividing by 0.
  Load({"PICT2", "PST", "VER 3 3", "ENDO", "ENDPICT"});
  PwDrawPictInRect(&pict_, {200, 100}, {250, 150});
  EXPECT_TRUE(Lit(200, 150));
}

TEST_F(PictDrawTest, PolygonsFill) {
  Load({"PICT2", "PLG", "COL 255 255 255", "VER 0 0", "VER 30 0", "VER 30 30", "VER 0 30", "ENDO",
        "ENDPICT"});
  PwDrawPict(&pict_, {100, 100});
  EXPECT_TRUE(Lit(115, 85));
  EXPECT_GT(surface_.Count(kWhite), 800);
}

TEST_F(PictDrawTest, ObjectDistanceLimitsDrawing) {
  for (const char* dst : {"DST 100", "DST 8000"}) {
    PwPose zero = {};
    PwSetEye(&zero);
    PwScreenClear();
    Load({"PICT2", "PLL", dst, "VER -10 0", "VER 10 0", "ENDO", "ENDPICT"});
    const PwPose ahead = {0, 0, 150, 0, 0, 0};
    ASSERT_EQ(PwPict3Sorted(&pict_, &ahead), 0);
    ASSERT_NE(PwSortedFirst(), nullptr);
    EXPECT_EQ(PwSortedFirst()->type, kPwSortedPict);
    PwFlushSorted();
    EXPECT_EQ(surface_.Count(kWhite) > 0, std::string(dst) == "DST 8000") << dst;
  }
}

TEST_F(PictDrawTest, PlacedAtOnceAndCulled) {
  Load({"PICT2", "PLG", "VER -1 -1", "VER 1 -1", "VER 1 1", "VER -1 1", "ENDO", "ENDPICT"});
  const PwPose ahead = {0, 0, 10, 0, 0, 0};
  EXPECT_EQ(PwDrawPict3(&pict_, &ahead), 0);
  EXPECT_EQ(PwGetFrameDepth(), 0);
  EXPECT_TRUE(Lit(160, 120));
  EXPECT_EQ(PwSortedFirst(), nullptr);
  const PwPose behind = {0, 0, -10, 0, 0, 0};
  EXPECT_EQ(PwPict3Sorted(&pict_, &behind), 0);
  EXPECT_EQ(PwSortedFirst(), nullptr);
  int near_flag = -1;
  EXPECT_EQ(PwCullPict3(&pict_, &near_flag), 0);  // the frame of the last placement
  EXPECT_EQ(near_flag, 1);
}

TEST_F(PictDrawTest, NearPlaneCrossingStaysInsideTheArea) {
  Load({"PICT2", "PLG", "VER -100 -100", "VER 100 -100", "VER 100 100", "VER -100 100", "ENDO",
        "PLL", "VER -100 0", "VER 100 0", "ENDO", "LSQ", "VER 0 -100", "VER 0 100", "ENDO", "PST",
        "VER 0 1", "ENDO", "ENDPICT"});
  const PwPose tilted = {0, -3, 20, 0, 14000, 0};  // leans back through the eye plane
  ASSERT_EQ(PwPict3Sorted(&pict_, &tilted), 0);
  ASSERT_NE(PwSortedFirst(), nullptr);
  EXPECT_EQ(static_cast<const PwSortedPictData*>(PwSortedFirst()->payload)->near_flag, 1);
  PwFlushSorted();
  EXPECT_GT(surface_.Count(kWhite), 1000);
}

TEST_F(PictDrawTest, EpsShareOfASortedPictureDrawsNothingOnTheScreen) {
  // A back end that drew the picture at once hands the queued item to the
  // page alone: the screen keeps what it had, the page gets the polygon.
  Load({"PICT2", "PLG", "VER -1 -1", "VER 1 -1", "VER 1 1", "VER -1 1", "ENDO", "ENDPICT"});
  const std::string path = ::testing::TempDir() + "pict_eps_share.eps";
  ASSERT_EQ(PwEpsBegin(path.c_str(), 320, 240), 1);
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  const PwPose zero = {};
  PwSetEye(&zero);
  PwScreenClear();
  const PwPose ahead = {0, 0, 10, 0, 0, 0};
  ASSERT_EQ(PwPict3Sorted(&pict_, &ahead), 0);
  ASSERT_NE(PwSortedFirst(), nullptr);
  const auto* d = static_cast<const PwSortedPictData*>(PwSortedFirst()->payload);
  PwFeedSortedPictEps(d->picture, &d->frame, d->near_flag);
  EXPECT_EQ(surface_.Count(kWhite), 0);
  ASSERT_EQ(PwEpsEnd(), 1);
  std::FILE* f = std::fopen(path.c_str(), "r");
  ASSERT_NE(f, nullptr);
  std::string text;
  char buf[512];
  while (std::fgets(buf, sizeof buf, f) != nullptr) text += buf;
  std::fclose(f);
  std::remove(path.c_str());
  EXPECT_NE(text.find("fill"), std::string::npos) << text;
  // The software flush draws the same item on the screen as well.
  PwFlushSorted();
  EXPECT_GT(surface_.Count(kWhite), 100);
}

TEST_F(PictDrawTest, RoomOfAHugePolygonDoesNotWrap) {
  // 17,602,325 points need gigabytes of flush room; summed in a 32-bit
  // size_t that came to a few hundred bytes and the item was queued.
  for (const int eps : {0, 1}) {
    PwEpsSetActive(eps);
    for (const int n : {17602325, 107374183, 1 << 30}) {
      PwPictObject o = {};
      o.kind = kPwPictPolygon;
      o.point_count = n;
      PwPict huge = {};
      huge.object_count = 1;
      huge.objects = &o;
      PwPose zero = {};
      PwSetEye(&zero);
      EXPECT_EQ(PwQueuePict3(&huge), 1) << n << " eps " << eps;
      EXPECT_EQ(PwSortedFirst(), nullptr);
      EXPECT_EQ(PwFrameLeftPrimitivesOut(), 1);
    }
  }
  PwEpsSetActive(0);
}

TEST_F(PictDrawTest, OutputsGetThePassingObjects) {
  Load({"PICT2", "PLG", "COL 0 255 0", "VER -1 -1", "VER 1 -1", "VER 1 1", "VER -1 1", "ENDO",
        "PLL", "VER -1 0", "VER 1 0", "ENDO", "PLG", "DST 1", "VER 0 0", "VER 1 0", "VER 0 1",
        "ENDO", "ENDPICT"});
  ASSERT_EQ(PwZInit(), 1);
  PwZSetShading(0);
  PwImageReset();
  PwModelResetState();
  const std::string image = ::testing::TempDir() + "pict_draw_image.ppm";
  const std::string model = ::testing::TempDir() + "pict_draw_model.srf";
  ASSERT_EQ(PwImageBegin(image.c_str(), kPwImagePpm, 320, 240), 1);
  ASSERT_EQ(PwSrfBegin(model.c_str()), 1);
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  PwPose zero = {};
  PwSetEye(&zero);
  const PwPose pose = {0, 0, 10, 0, 0, 0};
  ASSERT_EQ(PwPict3Sorted(&pict_, &pose), 0);
  // The third object lies beyond its distance: one polygon, two sided, and
  // one line are captured.
  EXPECT_EQ(PwModelFaceCount(), 3);
  PwColor c;
  float depth;
  ASSERT_EQ(PwImageGetPixel(170, 130, &c, &depth), 1);
  EXPECT_EQ(c.green, 255);
  EXPECT_EQ(c.red, 0);
  EXPECT_NEAR(depth, 10.0f, 0.01f);
  EXPECT_EQ(PwSrfEnd(), 1);
  PwImageReset();
  PwZInit();
  PwModelResetState();
  std::remove(image.c_str());
  std::remove(model.c_str());
}

TEST_F(PictDrawTest, RandomPicturesStayInsideTheBuffer) {
  std::mt19937 rng(77);
  std::uniform_real_distribution<float> coord(-1e6f, 1e6f), small(-30.0f, 30.0f);
  const char* const kinds[] = {"PST", "PLL", "LSQ", "PLG"};
  for (int round = 0; round < 80; ++round) {
    std::vector<std::string> t = {"PICT2"};
    const int objects = 1 + static_cast<int>(rng() % 5);
    for (int o = 0; o < objects; ++o) {
      t.push_back(kinds[rng() % 4]);
      if (rng() % 3 == 0) t.push_back("DST " + std::to_string(small(rng) + 30.0f));
      const int n = static_cast<int>(rng() % 9);
      for (int i = 0; i < n; ++i) {
        auto c = [&] { return std::to_string(round % 3 ? small(rng) : coord(rng)); };
        t.push_back("VER " + c() + " " + c());
      }
      t.push_back("ENDO");
    }
    t.push_back("ENDPICT");
    Load(t);
    PwSetProjectionMode(round % 5 == 0 ? 1 : 0);
    const std::string eps = ::testing::TempDir() + "pict_draw_random.eps";
    if (round % 4 == 1) PwEpsBegin(eps.c_str(), 320, 240);
    PwPose zero = {};
    PwSetEye(&zero);
    for (int k = 0; k < 3; ++k) {
      PwPose pose = {small(rng),
                     small(rng),
                     small(rng),
                     static_cast<int>(rng() % 65536),
                     static_cast<int>(rng() % 65536),
                     static_cast<int>(rng() % 65536)};
      PwPict3Sorted(&pict_, &pose);
      PwDrawPict3(&pict_, &pose);
      PwDrawPict(&pict_, {static_cast<int>(rng() % 400) - 40, static_cast<int>(rng() % 300) - 30});
      PwDrawPictInRect(&pict_, {-50, -50}, {static_cast<int>(rng() % 500), 300});
    }
    PwFlushSorted();
    if (PwEpsIsActive()) {
      PwEpsEnd();
      std::remove(eps.c_str());
    }
    ASSERT_TRUE(surface_.Intact()) << round;
  }
  PwSetProjectionMode(0);
}

}  // namespace
