#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/eps_output.h"
#include "graphics/formats/model_capture.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"
#include "graphics/formats/srf_model.h"
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

// A cube of side 2 about the origin, one colour a face, outward normals.
const int kCubeColours[6] = {31744, 992, 31, 32767, 1023, 31775};
std::vector<std::string> CubeText(bool with_normals = true) {
  std::vector<std::string> t = {"SURF"};
  for (int k = 0; k < 8; ++k) {
    t.push_back("VER " + std::to_string(k & 1 ? 1 : -1) + " " + std::to_string(k & 2 ? 1 : -1) +
                " " + std::to_string(k & 4 ? 1 : -1));
  }
  struct Side {
    int v[4];
    const char* normal;
  };
  const Side sides[6] = {{{0, 2, 6, 4}, "-1 0 0"}, {{1, 3, 7, 5}, "1 0 0"},
                         {{0, 1, 5, 4}, "0 -1 0"}, {{2, 3, 7, 6}, "0 1 0"},
                         {{0, 1, 3, 2}, "0 0 -1"}, {{4, 5, 7, 6}, "0 0 1"}};
  for (int s = 0; s < 6; ++s) {
    const Side& side = sides[s];
    t.push_back("FAC");
    t.push_back("COL " + std::to_string(kCubeColours[s]));
    if (with_normals) {
      std::string c;
      for (const char* p = side.normal; *p; ++p) c += *p;
      t.push_back("NOR " + c + " " + c);  // the centre lies along the normal
    }
    t.push_back("VER " + std::to_string(side.v[0]) + " " + std::to_string(side.v[1]) + " " +
                std::to_string(side.v[2]) + " " + std::to_string(side.v[3]));
    t.push_back("END");
  }
  t.push_back("END");
  return t;
}

int Items(int type) {
  int n = 0;
  for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next)
    n += it->type == type;
  return n;
}

class SrfDrawTest : public ::testing::Test {
 protected:
  SrfDrawTest() : surface_(320, 240) {}
  void TearDown() override {
    PwFreeSrf(&model_);
    EXPECT_TRUE(surface_.Intact());
  }
  void Load(std::vector<std::string> lines) {
    PwFreeSrf(&model_);
    Text t(std::move(lines));
    ASSERT_EQ(PwLoadSrfStrings(&model_, t.get()), 1);
  }
  int CubeColoursShown() {
    int shown = 0;
    for (int c : kCubeColours) shown += surface_.Count(PwSrfColour(c)) > 0;
    return shown;
  }
  GuardedSurface surface_;
  PwSrf model_ = {};
};

TEST_F(SrfDrawTest, CubeSeenFromOutsideShowsThreeFacesAtMost) {
  Load(CubeText());
  const PwPose pose = {0, 0, 10, 3000, 2500, 700};
  ASSERT_EQ(PwSrfSorted(&model_, &pose), 0);
  EXPECT_EQ(Items(kPwSortedSrf), 1);
  PwFlushSorted();
  EXPECT_EQ(CubeColoursShown(), 3);

  // Face by face: the same three faces become three polygon items.
  PwPose zero = {};
  PwSetEye(&zero);
  ASSERT_EQ(PwDrawSrf(&model_, &pose), 0);
  EXPECT_EQ(Items(kPwSortedPolygon), 3);
}

TEST_F(SrfDrawTest, FacesOfEqualDepthDrawTheLaterFirst) {
  // Two overlapping squares with the same centre, both facing the eye.
  Load({"SURF", "V -1 -1 0", "V 1 -1 0", "V 1 1 0", "V -1 1 0", "V -2 -2 0", "V 2 -2 0", "V 2 2 0",
        "V -2 2 0", "F|C 992|N 0 0 0 0 0 -1|V 0 1 2 3|E", "F|C 31744|N 0 0 0 0 0 -1|V 4 5 6 7|E",
        "E"});
  const PwPose pose = {0, 0, 10, 0, 0, 0};
  ASSERT_EQ(PwSrfSorted(&model_, &pose), 0);
  PwFlushSorted();
  const PwColor red = PwSrfColour(992), green = PwSrfColour(31744);
  EXPECT_EQ(surface_.At(160, 120), surface_.Value(red));  // the earlier face lies on top
  EXPECT_GT(surface_.Count(green), 0);
}

TEST_F(SrfDrawTest, ShadingRespectsTheNoShadingFlag) {
  Load({"SURF", "V -1 -1 0", "V 1 -1 0", "V 1 1 0", "V -1 1 0", "V 3 -1 0", "V 5 -1 0", "V 5 1 0",
        "V 3 1 0", "F|C 10570|N 0 0 0 0 0 -1|V 0 1 2 3|B|E", "F|C 10570|N 4 0 0 0 0 -1|V 4 5 6 7|E",
        "E"});
  PwSetLighting(1);
  const PwPose pose = {-2, 0, 10, 0, 0, 0};
  ASSERT_EQ(PwSrfSorted(&model_, &pose), 0);
  PwFlushSorted();
  const PwColor plain = PwSrfColour(10570);
  EXPECT_GT(surface_.Count(plain), 0);
  PwVec3 centre = {2, 0, 10}, normal = {0, 0, -1};
  PwColor lit;
  PwShadeColor(&lit, plain, &centre, &normal);
  EXPECT_GT(surface_.Count(lit), 0);
}

TEST_F(SrfDrawTest, ModelColourAndHighlightGoWithTheQueuedModel) {
  // A model placed under a model colour and a black highlight draws its
  // faces in that colour, unlit by a highlight, even though both are gone
  // by the flush; the next model keeps its own colour.
  Load({"SURF", "V -1 -1 0", "V 1 -1 0", "V 1 1 0", "V -1 1 0",
        "F|C 32767|N 0 0 0 0 0 -1|V 0 1 2 3|E", "E"});
  PwSetLighting(1);
  PwVec3 light = {0, 0, 0};
  PwSetLight(&light);
  PwPose zero = {};
  PwSetEye(&zero);
  const PwColor green = {200, 20, 40};
  PwSetModelColour(&green);
  PwSetHighlight({0, 0, 0}, 0.2f);
  const PwPose left = {-3, 0, 10, 0, 0, 0}, right = {3, 0, 10, 0, 0, 0};
  ASSERT_EQ(PwSrfSorted(&model_, &left), 0);
  PwSetModelColour(nullptr);
  PwSetHighlightCode(0);
  ASSERT_EQ(PwSrfSorted(&model_, &right), 0);
  PwFlushSorted();
  // The tinted face as the shading makes it without a highlight: 1.3 times
  // each channel at most.
  const PwVec3 centre = {-3, 0, 10}, normal = {0, 0, -1};
  PwColor tinted;
  PwSetHighlight({0, 0, 0}, 0.2f);
  PwShadeColor(&tinted, green, &centre, &normal);
  EXPECT_LE(tinted.red, green.red * 14 / 10);
  EXPECT_GT(surface_.Count(tinted), 100);
  EXPECT_EQ(surface_.At(160 - 68, 120), surface_.Value(tinted));
  // The right one: the model's own white, not the tint, not background.
  EXPECT_NE(surface_.At(160 + 68, 120), surface_.Value(tinted));
  EXPECT_NE(surface_.At(160 + 68, 120), surface_.Value({0, 0, 0}));
}

TEST_F(SrfDrawTest, CulledModelsQueueNothing) {
  Load(CubeText());
  const PwPose behind = {0, 0, -10, 0, 0, 0};
  const PwPose aside = {1000, 0, 10, 0, 0, 0};
  EXPECT_EQ(PwSrfSorted(&model_, &behind), 0);
  EXPECT_EQ(PwSrfSorted(&model_, &aside), 0);
  EXPECT_EQ(PwDrawSrf(&model_, &behind), 0);
  EXPECT_EQ(PwSortedFirst(), nullptr);
}

TEST_F(SrfDrawTest, NearPlaneCrossingDrawsInsideTheArea) {
  Load(CubeText(false));  // two-sided faces
  PwScaleSrf(&model_, 50.0f);
  const PwPose around = {45, 45, 0, 0, 0, 0};  // the eye inside, near two walls
  ASSERT_EQ(PwSrfSorted(&model_, &around), 0);
  const PwSortedItem* it = PwSortedFirst();
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(static_cast<const PwSortedSrfData*>(it->payload)->near_flag, 1);
  PwFlushSorted();
  EXPECT_GE(CubeColoursShown(), 3);
}

TEST_F(SrfDrawTest, FlatDrawingIsBlackAndKeepsTheFrameStack) {
  Load(CubeText());
  const PwPose pose = {0, 0, 10, 3000, 2500, 0};
  PwDrawSrfFlat(&model_, &pose);
  EXPECT_EQ(PwGetFrameDepth(), 0);
  EXPECT_GT(surface_.Count({0, 0, 0}), 0);
  EXPECT_EQ(CubeColoursShown(), 0);
}

TEST_F(SrfDrawTest, CaptureRoundTripsThroughTheReader) {
  Load(CubeText());
  const std::string path = ::testing::TempDir() + "srf_draw_capture.srf";
  PwModelResetState();
  ASSERT_EQ(PwSrfBegin(path.c_str()), 1);
  const PwPose pose = {0, 0, 10, 3000, 0, 0};
  EXPECT_EQ(PwSrfSorted(&model_, &pose), 0);
  ASSERT_EQ(PwSrfEnd(), 1);
  PwSrf back = {};
  ASSERT_EQ(PwLoadSrf(&back, path.c_str()), 1);
  EXPECT_EQ(back.vertex_count, 8);
  EXPECT_EQ(back.face_count, 6);  // capture keeps the hidden faces too
  PwFreeSrf(&back);
  std::remove(path.c_str());
  PwModelResetState();
}

TEST_F(SrfDrawTest, ImageAndEpsOutputsGetTheFaces) {
  Load(CubeText());
  ASSERT_EQ(PwZInit(), 1);
  PwImageReset();
  PwEpsResetState();
  const std::string image = ::testing::TempDir() + "srf_draw_image.ppm";
  const std::string eps = ::testing::TempDir() + "srf_draw_page.eps";
  ASSERT_EQ(PwImageBegin(image.c_str(), kPwImagePpm, 320, 240), 1);
  ASSERT_EQ(PwEpsBegin(eps.c_str(), 320, 240), 1);
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  PwPose zero = {};
  PwSetEye(&zero);
  PwZSetShading(1);
  const PwPose pose = {0, 0, 10, 3000, 2500, 700};
  ASSERT_EQ(PwSrfSorted(&model_, &pose), 0);
  PwFlushSorted();
  EXPECT_EQ(CubeColoursShown(), 3);  // the EPS path clips every face first
  PwColor c;
  float depth;
  ASSERT_EQ(PwImageGetPixel(160, 120, &c, &depth), 1);
  EXPECT_GT(c.red + c.green + c.blue, 0);  // lit by the renderer
  EXPECT_LT(depth, 11.0f);
  int shading = 0;
  PwZGetShading(&shading);
  EXPECT_EQ(shading, 1);
  EXPECT_EQ(PwEpsEnd(), 1);
  PwImageReset();
  PwZInit();
  // The page holds the three faces the screen shows: three filled paths
  // ("B"), each after a fill colour ("k") of its own.
  std::ifstream page(eps);
  ASSERT_TRUE(page.good());
  std::string line, fill;
  std::set<std::string> fills;
  int paths = 0;
  while (std::getline(page, line)) {
    if (line.size() > 2 && line.compare(line.size() - 2, 2, " k") == 0) fill = line;
    if (line == "B") {
      ++paths;
      fills.insert(fill);
    }
  }
  EXPECT_EQ(3, paths);
  EXPECT_EQ(3u, fills.size());
  page.close();
  std::remove(eps.c_str());
  std::remove(image.c_str());
}

TEST_F(SrfDrawTest, RandomModelsAndPosesStayInsideTheBuffer) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<float> coord(-1e6f, 1e6f), small(-20.0f, 20.0f);
  for (int round = 0; round < 60; ++round) {
    std::vector<std::string> t = {"SURF"};
    const int vc = 3 + static_cast<int>(rng() % 12);
    for (int v = 0; v < vc; ++v) {
      auto c = [&] { return std::to_string(round % 3 ? small(rng) : coord(rng)); };
      t.push_back("V " + c() + " " + c() + " " + c() + (rng() % 2 ? " R" : ""));
    }
    const int fc = 1 + static_cast<int>(rng() % 8);
    for (int f = 0; f < fc; ++f) {
      t.push_back("F|C " + std::to_string(rng() % 32768));
      if (rng() % 2) t.push_back("N 0 0 0 " + std::to_string(small(rng)) + " 1 0");
      std::string v = "V";
      const int n = 1 + static_cast<int>(rng() % 7);
      for (int i = 0; i < n; ++i) v += " " + std::to_string(rng() % vc);
      t.push_back(v);
      if (rng() % 3 == 0) t.push_back("B");
      t.push_back("E");
    }
    t.push_back("E");
    Load(t);
    PwSetLighting(static_cast<int>(rng() % 2));
    PwSetProjectionMode(round % 5 == 0 ? 1 : 0);
    const std::string eps = ::testing::TempDir() + "srf_draw_random.eps";
    if (round % 4 == 1) PwEpsBegin(eps.c_str(), 320, 240);
    PwPose zero = {};
    PwSetEye(&zero);
    for (int k = 0; k < 4; ++k) {
      PwPose pose = {small(rng),
                     small(rng),
                     small(rng) + 10.0f,
                     static_cast<int>(rng() % 65536),
                     static_cast<int>(rng() % 65536),
                     static_cast<int>(rng() % 65536)};
      PwSrfSorted(&model_, &pose);
      PwDrawSrf(&model_, &pose);
      PwDrawSrfFlat(&model_, &pose);
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
