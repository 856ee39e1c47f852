#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "graphics/primitives/primitives3d.h"
#include "graphics/software/text_output.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/guarded_surface.h"

namespace {

class SortedListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PwReset3D();
    pool_.assign(1 << 23, 0);
    PwStart3D(pool_.data(), pool_.size());
  }
  void TearDown() override { PwReset3D(); }

  // Inserts point items tagged with their arrival number.
  void Insert(std::initializer_list<float> depths) {
    for (float d : depths) {
      PwSortedItem* it = PwSortedInsert(kPwSortedPoint, d);
      ASSERT_NE(it, nullptr);
      it->colour = {tag_++, 0, 0};
    }
  }
  std::vector<int> Order() {
    std::vector<int> tags;
    const PwSortedItem* prev = nullptr;
    for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) {
      EXPECT_EQ(it->prev, prev);
      prev = it;
      tags.push_back(it->colour.green);
    }
    return tags;
  }

  std::vector<unsigned char> pool_;
  int tag_ = 0;
};

TEST_F(SortedListTest, FarthestFirst) {
  Insert({5, 9, 1});
  EXPECT_EQ(Order(), (std::vector<int>{1, 0, 2}));
}

TEST_F(SortedListTest, EqualDepthsKeepTheirArrivalOrder) {
  Insert({5, 5, 7, 5, 5});
  EXPECT_EQ(Order(), (std::vector<int>{2, 0, 1, 3, 4}));
}

TEST_F(SortedListTest, ItemsArrivingAfterAWalkJoinInOrder) {
  Insert({5, 3});
  EXPECT_EQ(Order(), (std::vector<int>{0, 1}));
  Insert({5, 4, 9});
  EXPECT_EQ(Order(), (std::vector<int>{4, 0, 2, 3, 1}));
  PwSortedClear();
  EXPECT_EQ(PwSortedFirst(), nullptr);
}

// A walk that used only the order array (the flush's) leaves the items
// unlinked until the list is walked by its links; later arrivals must still
// merge into the whole list.
TEST_F(SortedListTest, ArrivalsAfterAnArrayWalkJoinTheWholeList) {
  Insert({5, 3, 8});
  std::size_t n = 0;
  ASSERT_NE(PwSortedOrdered(&n), nullptr);
  EXPECT_EQ(n, 3u);
  Insert({4, 9});
  EXPECT_EQ(Order(), (std::vector<int>{4, 2, 0, 3, 1}));
}

// Data copied behind the payload may come from scratch just given back,
// lying where the item's block now begins.
TEST_F(SortedListTest, CopiedDataSurvivesOverlappingTheNewBlock) {
  std::size_t mark = 0;
  auto* data = static_cast<PwVec3*>(PwScratchMark(&mark, 6 * sizeof(PwVec3)));
  ASSERT_NE(data, nullptr);
  for (int i = 0; i < 6; ++i) data[i] = {1.0f + i, -2.0f * i, 3.5f};
  const std::vector<PwVec3> want(data, data + 6);
  PwScratchRelease(mark);
  void* copy = nullptr;
  PwSortedItem* it =
      PwSortedInsertCopy(kPwSortedSmoothPolygon, 2.0f, data, 6 * sizeof(PwVec3), &copy);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(static_cast<void*>(it), static_cast<void*>(data));  // the block did overlap
  auto* got = static_cast<const PwVec3*>(copy);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(got[i].x, want[i].x) << i;
    EXPECT_EQ(got[i].y, want[i].y) << i;
    EXPECT_EQ(got[i].z, want[i].z) << i;
  }
  EXPECT_EQ(it->depth, 2.0f);
  EXPECT_EQ(static_cast<PwSortedSmoothData*>(it->payload)->points, nullptr);
}

TEST_F(SortedListTest, PayloadsAreSizedByTheirRecords) {
  EXPECT_EQ(PwSortedPayloadSize(kPwSortedNone), 0u);
  EXPECT_EQ(PwSortedPayloadSize(kPwSortedPolygon), sizeof(PwSortedPolygonData));
  EXPECT_EQ(PwSortedPayloadSize(kPwSortedSrf), sizeof(PwSortedSrfData));
  EXPECT_EQ(PwSortedPayloadSize(4), 40u);
  EXPECT_EQ(PwSortedPayloadSize(12), 0u);
  EXPECT_EQ(PwSortedInsert(12, 1.0f), nullptr);
  EXPECT_EQ(PwSortedInsert(-1, 1.0f), nullptr);
  PwSortedItem* it = PwSortedInsert(kPwSortedLabel, 1.0f);
  ASSERT_NE(it, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(it->payload) % alignof(void*), 0u);
}

TEST_F(SortedListTest, NaNDepthsAreNeverQueued) {
  EXPECT_EQ(PwSortedInsert(kPwSortedPoint, std::numeric_limits<float>::quiet_NaN()), nullptr);
  Insert({std::numeric_limits<float>::infinity(), 1, -std::numeric_limits<float>::infinity()});
  EXPECT_EQ(Order(), (std::vector<int>{0, 1, 2}));
}

// Depths of either sign and every magnitude sort as numbers: -0 ties with 0.
TEST_F(SortedListTest, SignedDepthsSortAsNumbersAndTheOrderArrayMatchesTheWalk) {
  const std::vector<float> depths = {-1.0f, 0.0f,  -0.0f,   1e-30f, -1e30f, 0.0f,
                                     2.5f,  -0.0f, -1e-40f, 3e38f,  -2.5f,  1e-40f};
  for (float d : depths) {
    PwSortedItem* it = PwSortedInsert(kPwSortedPoint, d);
    ASSERT_NE(it, nullptr);
    it->colour = {tag_++, 0, 0};
  }
  std::vector<int> want(depths.size());
  for (std::size_t i = 0; i < want.size(); ++i) want[i] = static_cast<int>(i);
  std::stable_sort(want.begin(), want.end(), [&](int a, int b) { return depths[a] > depths[b]; });
  EXPECT_EQ(Order(), want);
  std::size_t n = 0;
  PwSortedItem* const* order = PwSortedOrdered(&n);
  ASSERT_NE(order, nullptr);
  ASSERT_EQ(n, depths.size());
  const PwSortedItem* it = PwSortedFirst();
  for (std::size_t i = 0; i < n; ++i, it = it->next) EXPECT_EQ(order[i], it) << i;
  // Arrivals after a walk join the list; the array no longer stands for it.
  Insert({1});
  EXPECT_EQ(PwSortedOrdered(&n), nullptr);
  EXPECT_EQ(Order().size(), depths.size() + 1);
}

TEST_F(SortedListTest, ExhaustedPoolsQueueNothing) {
  // A main pool without the flush's working memory queues nothing at all.
  PwStart3D(pool_.data(), 64);
  EXPECT_EQ(nullptr, PwSortedInsert(kPwSortedPoint, 1.0f));
  EXPECT_EQ(1, PwFrameLeftPrimitivesOut());
  PwStart3D(pool_.data(), PwSortedFlushRoom(0) + 64);
  EXPECT_EQ(0, PwFrameLeftPrimitivesOut());
  int made = 0;
  while (PwSortedInsert(kPwSortedPoint, 1.0f) != nullptr) ++made;
  EXPECT_GE(made, 1);
  int n = 0;
  for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) ++n;
  EXPECT_EQ(n, made);
}

TEST_F(SortedListTest, LargeFramesMatchAStableSortInAnyArrivalOrder) {
  std::mt19937 rng(7);
  for (int pass = 0; pass < 3; ++pass) {
    PwPose zero = {};
    PwSetEye(&zero);
    tag_ = 0;
    const int n = 50000;
    std::vector<float> depths(n);
    for (int i = 0; i < n; ++i) {
      if (pass == 0) depths[i] = static_cast<float>(n - i);        // already far to near
      if (pass == 1) depths[i] = static_cast<float>(i);            // near to far
      if (pass == 2) depths[i] = static_cast<float>(rng() % 100);  // many ties
    }
    const std::uint64_t steps = PwSortedSteps();
    for (float d : depths) {
      PwSortedItem* it = PwSortedInsert(kPwSortedPoint, d);
      ASSERT_NE(it, nullptr);
      it->colour = {tag_++, 0, 0};
    }
    std::vector<int> got = Order();
    const std::uint64_t visited = PwSortedSteps() - steps;
    std::vector<int> want(n);
    for (int i = 0; i < n; ++i) want[i] = i;
    std::stable_sort(want.begin(), want.end(), [&](int a, int b) { return depths[a] > depths[b]; });
    EXPECT_EQ(got, want) << pass;
    // A few visits per item; a walk of the list per insertion makes n * n / 2.
    EXPECT_LE(visited, 8u * n) << pass;
  }
}

// Squares centred on the view axis at depths 5, 9 and 1, each smaller on the
// screen than the one behind it.
TEST(SortedFlushTest, PainterDrawsFarToNear) {
  GuardedSurface surface(640, 480);
  PwProjection p = *PwGetProjection();
  p.near = 0.5f;
  PwSetProjection(&p);
  const PwColor colours[3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  const float depths[3] = {5, 9, 1};
  const float pixels[3] = {90, 150, 45};  // half sizes on the screen
  for (int i = 0; i < 3; ++i) {
    float h = pixels[i] * depths[i] / p.magx;
    const PwVec3 sq[4] = {
        {-h, -h, depths[i]}, {h, -h, depths[i]}, {h, h, depths[i]}, {-h, h, depths[i]}};
    ASSERT_EQ(PwPolygon3TwoSided(4, sq, colours[i]), 0);
  }
  PwFlushSorted();
  EXPECT_EQ(surface.At(320, 240), surface.Value(colours[2]));
  EXPECT_EQ(surface.At(320 + 60, 240), surface.Value(colours[0]));
  EXPECT_EQ(surface.At(320 + 120, 240), surface.Value(colours[1]));
  EXPECT_EQ(surface.At(320 + 160, 240), surface.Value(PwColor{0, 0, 0}));
  EXPECT_TRUE(surface.Intact());
}

TEST(SortedFlushTest, EmptyListDrawsNothingAndFlushRepeats) {
  GuardedSurface surface(64, 48);
  PwFlushSorted();
  EXPECT_EQ(surface.Count(PwColor{0, 0, 0}), 64 * 48);
  const PwVec3 tri[3] = {{-1, -1, 10}, {1, -1, 10}, {0, 1, 10}};
  ASSERT_EQ(PwPolygon3TwoSided(3, tri, PwColor{255, 255, 255}), 0);
  PwFlushSorted();
  int once = surface.Count(PwColor{255, 255, 255});
  EXPECT_GT(once, 0);
  PwFlushSorted();
  EXPECT_EQ(surface.Count(PwColor{255, 255, 255}), once);
}

TEST(SortedFlushTest, LightingShadesItemsWithNormalsOnly) {
  GuardedSurface surface(64, 48);
  PwVec3 light = {0, 0, 0};
  PwSetLight(&light);
  PwPose zero = {};
  PwSetEye(&zero);
  PwSetLighting(1);
  const PwColor base = {100, 50, 0};
  const PwVec3 tri[3] = {{-1, -1, 10}, {1, -1, 10}, {0, 1, 10}};
  // Facing the eye with its normal: ambient + diffuse + highlight.
  const PwVec3 toward = {0, 0, -1};
  ASSERT_EQ(PwPolygon3(3, tri, nullptr, toward, base), 0);
  PwVec3 centre = {0, -1.0f / 3, 10};
  PwColor lit;
  PwShadeColor(&lit, base, &centre, &toward);
  PwFlushSorted();
  EXPECT_EQ(surface.At(32, 24), surface.Value(lit));

  // A degenerate two-sided polygon has no normal and keeps its colour.
  PwSetEye(&zero);
  const PwVec3 flat[3] = {{-1, 0, 10}, {0, 0, 10}, {1, 0, 10}};
  ASSERT_EQ(PwPolygon3TwoSided(3, flat, base), 0);
  ASSERT_NE(PwSortedFirst(), nullptr);
  auto* d = static_cast<PwSortedPolygonData*>(PwSortedFirst()->payload);
  EXPECT_EQ(d->has_normal, 0);

  // A smooth polygon takes the shade of its first vertex's normal.
  PwSetEye(&zero);
  PwScreenClear();
  const PwVec3 normals[3] = {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}};
  ASSERT_EQ(PwSmoothPolygon3(3, tri, normals, base), 0);
  PwFlushSorted();
  EXPECT_EQ(surface.At(32, 24), surface.Value(lit));
}

TEST(SortedFlushTest, ParallelModeProjectsAtTheParallelDistance) {
  GuardedSurface surface(640, 480);
  PwSetProjectionMode(1);
  PwSetParallelDistance(452.54834f);  // one unit is one pixel
  const PwColor white = {255, 255, 255};
  ASSERT_EQ(PwPoint3(PwVec3{100, 50, 3000}, white), 0);
  ASSERT_EQ(PwLine3(PwVec3{-100, -50, 10}, PwVec3{-100, -60, 7000}, white), 0);
  PwFlushSorted();
  EXPECT_EQ(surface.At(420, 190), surface.Value(white));
  EXPECT_EQ(surface.At(220, 290), surface.Value(white));
  EXPECT_EQ(surface.At(220, 300), surface.Value(white));
}

struct TextRecord {
  int left, top;
  std::string text;
};
std::vector<TextRecord>& Texts() {
  static std::vector<TextRecord> texts;
  return texts;
}
void RecordText(int left, int top, const char* text, PwColor) {
  Texts().push_back({left, top, text});
}

TEST(SortedFlushTest, DiscsMarkersAndLabelsDrawAtTheirProjections) {
  GuardedSurface surface(640, 480);
  Texts().clear();
  PwSetTextOutput(RecordText);
  const PwColor red = {0, 255, 0}, green = {255, 0, 0};
  // Radius 10 pixels at depth 45.254834: 1 unit.
  ASSERT_EQ(PwDisc3(PwVec3{0, 0, 45.254834f}, 1.0f, red), 0);
  ASSERT_EQ(PwMarker3(PwVec3{-10, 0, 20}, green, kPwMarkerSquare), 0);
  const char* lines[] = {"hi", "there", nullptr};
  ASSERT_EQ(PwLabel3(PwVec3{1, 1, 10}, lines, red, kPwAlignLeft, kPwAlignTop), 0);
  PwFlushSorted();
  PwSetTextOutput(nullptr);
  int disc = surface.Count(red);
  EXPECT_GT(disc, 280);  // about pi * 10 * 10
  EXPECT_LT(disc, 400);
  EXPECT_EQ(surface.At(320, 240), surface.Value(red));
  EXPECT_EQ(surface.At(320, 251), surface.Value(PwColor{0, 0, 0}));
  // The marker: a 5 x 5 square centred on (320 - 226, 240).
  EXPECT_EQ(surface.Count(green), 25);
  EXPECT_EQ(surface.At(94 - 2, 238), surface.Value(green));
  ASSERT_EQ(Texts().size(), 2u);
  EXPECT_EQ(Texts()[0].text, "hi");
  EXPECT_EQ(Texts()[0].left, 320 + 45);
  EXPECT_EQ(Texts()[1].text, "there");
  EXPECT_EQ(Texts()[1].top, Texts()[0].top + 16);
  EXPECT_TRUE(surface.Intact());
}

}  // namespace
