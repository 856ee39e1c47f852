#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "graphics/picking/picking.h"
#include "graphics/state3d/state3d.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

std::size_t Rounded(std::size_t n) {
  return (n + alignof(void*) - 1) / alignof(void*) * alignof(void*);
}

// A 640 x 480 perspective frame with the eye at the origin looking along +z
// (cx 320, cy 240, magnification 452.54834, near 2.5), and a pick pool.
class PickingTest : public ::testing::Test {
 protected:
  explicit PickingTest(std::size_t pool = 1 << 20) : scratch_(1 << 20), pool_(pool) {
    PwReset3D();
    PwStart3D(scratch_.data(), scratch_.size());
    const PwProjection proj = {640, 480, 320, 240, 452.54834f, 452.54834f, 2.5f, 10000.0f};
    PwSetProjection(&proj);
    const PwPose zero = {};
    PwSetEye(&zero);
    PwPickReset();
    PwPickSetPool(pool_.data(), pool_.size());
    PwPickClear();
  }
  ~PickingTest() override {
    PwPickReset();
    PwReset3D();
  }

  // A square of half-size h facing the eye at depth z (screen half-size
  // trunc(452.54834 h / z) around the centre).
  static int Square(float z, float h, int id, const PwVec3* normal = nullptr) {
    const PwVec3 pts[4] = {{-h, -h, z}, {h, -h, z}, {h, h, z}, {-h, h, z}};
    return PwPickPolygon(4, pts, normal, id, id + 1, id + 2, id + 3);
  }

  // The first id of the n-th hit at (x, y), or -1.
  static int Hit(int x, int y, int n = 1) {
    int id = -1;
    return PwPickFind(&id, nullptr, nullptr, nullptr, {x, y}, n) == 1 ? id : -1;
  }

  std::vector<unsigned char> scratch_;
  std::vector<unsigned char> pool_;
};

TEST_F(PickingTest, NthNearestPolygonUnderThePoint) {
  // Registered far first: the tree, not the order of calls, decides.
  ASSERT_EQ(Square(20, 1, 200), 1);
  ASSERT_EQ(Square(10, 1, 100), 1);
  int ids[4] = {0, 0, 0, 0};
  EXPECT_EQ(PwPickFind(&ids[0], &ids[1], &ids[2], &ids[3], {320, 240}, 1), 1);
  EXPECT_EQ(ids[0], 100);
  EXPECT_EQ(ids[1], 101);
  EXPECT_EQ(ids[2], 102);
  EXPECT_EQ(ids[3], 103);
  EXPECT_EQ(Hit(320, 240, 2), 200);
  EXPECT_EQ(Hit(320, 240, 3), -1);
  EXPECT_EQ(Hit(320, 240, 0), 100);
  EXPECT_EQ(Hit(320, 240, -7), 100);
  // The nearer square reaches 45 pixels out, the farther only 22.
  EXPECT_EQ(Hit(320 + 40, 240), 100);
  EXPECT_EQ(Hit(320 + 40, 240, 2), -1);
  EXPECT_EQ(Hit(320 + 60, 240), -1);
  // Bounding box included, the polygon's own edge not.
  EXPECT_EQ(Hit(320 + 45, 240), -1);
  EXPECT_EQ(Hit(320 + 44, 240), 100);
}

TEST_F(PickingTest, EqualDepthsAnswerInTheOrderOfRegistration) {
  for (int i = 0; i < 3; ++i) ASSERT_EQ(Square(10, 1, 10 * i), 1);
  EXPECT_EQ(Hit(320, 240, 1), 0);
  EXPECT_EQ(Hit(320, 240, 2), 10);
  EXPECT_EQ(Hit(320, 240, 3), 20);
}

TEST_F(PickingTest, QueryWithoutRegistrationsLeavesTheOutputsAlone) {
  int a = 7, b = 8, c = 9, d = 10;
  EXPECT_EQ(PwPickFind(&a, &b, &c, &d, {320, 240}, 1), 0);
  EXPECT_EQ(PwPickFindPoint(&a, &b, &c, &d, {320, 240}, 1), 0);
  EXPECT_EQ(a + b + c + d, 34);
  // All outputs may be null.
  ASSERT_EQ(Square(10, 1, 5), 1);
  EXPECT_EQ(PwPickFind(nullptr, nullptr, nullptr, nullptr, {320, 240}, 1), 1);
  // Cleared: gone.
  EXPECT_EQ(PwPickClear(), 1);
  EXPECT_EQ(Hit(320, 240), -1);
}

TEST_F(PickingTest, PointTargetIsASquareOfItsPixelRadius) {
  struct Case {
    const char* name;
    float z;
    float radius;
    int min_radius;
    int parallel;
    int pixels;  // expected pixel radius
  };
  const Case cases[] = {
      {"trunc(905 x 0.5 / 100)", 100, 1, 0, 0, 4},
      {"the minimum wins", 100, 1, 6, 0, 6},
      {"world radius 0 with a minimum of 3", 50, 0, 3, 0, 3},
      {"parallel: sized at the parallel distance", 1000, 1, 0, 1, 3},
  };
  for (const Case& c : cases) {
    PwPickClear();
    PwSetProjectionMode(c.parallel);
    ASSERT_EQ(PwPickPoint({0, 0, c.z}, c.radius, c.min_radius, 1, 2, 3, 4), 1) << c.name;
    const int r = c.pixels;
    EXPECT_EQ(Hit(320 + r - 1, 240 - (r - 1)), 1) << c.name;
    EXPECT_EQ(Hit(320 - (r - 1), 240 + r - 1), 1) << c.name;
    EXPECT_EQ(Hit(320 + r, 240), -1) << c.name << ": one radius off misses";
    EXPECT_EQ(Hit(320, 240 - r), -1) << c.name;
  }
  PwSetProjectionMode(0);
  // At or behind the eye, or wholly outside the view: not kept, still 1.
  PwPickClear();
  EXPECT_EQ(PwPickPoint({0, 0, 0}, 1, 3, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickPoint({0, 0, -5}, 1, 3, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickPoint({500, 0, 10}, 1, 3, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickUsed(), 0u);
}

TEST_F(PickingTest, LineReachesTwoPixels) {
  // Screen (275, 240) to (365, 240).
  ASSERT_EQ(PwPickLine({-1, 0, 10}, {1, 0, 10}, 9, 0, 0, 0), 1);
  EXPECT_EQ(Hit(320, 242), 9);
  EXPECT_EQ(Hit(320, 238), 9);
  EXPECT_EQ(Hit(320, 243), -1);
  EXPECT_EQ(Hit(367, 240), 9);
  EXPECT_EQ(Hit(368, 240), -1) << "past the end by more than 2";
  EXPECT_EQ(Hit(273, 241), 9);
  // A line of one pixel is reached around its point.
  PwPickClear();
  ASSERT_EQ(PwPickLine({0, 0, 10}, {0, 0, 10}, 4, 0, 0, 0), 1);
  EXPECT_EQ(Hit(322, 240), 4);
  EXPECT_EQ(Hit(321, 242), -1);
}

TEST_F(PickingTest, KindFiltersCountOnlyTheirKind) {
  ASSERT_EQ(PwPickPoint({0, 0, 5}, 0, 3, 1, 0, 0, 0), 1);
  ASSERT_EQ(PwPickLine({-1, 0, 10}, {1, 0, 10}, 2, 0, 0, 0), 1);
  ASSERT_EQ(Square(20, 1, 3), 1);
  int id = 0;
  EXPECT_EQ(PwPickFindPolygon(&id, nullptr, nullptr, nullptr, {320, 240}, 1), 1);
  EXPECT_EQ(id, 3);
  EXPECT_EQ(PwPickFindLine(&id, nullptr, nullptr, nullptr, {320, 240}, 1), 1);
  EXPECT_EQ(id, 2);
  EXPECT_EQ(PwPickFindPoint(&id, nullptr, nullptr, nullptr, {320, 240}, 1), 1);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(PwPickFindPoint(&id, nullptr, nullptr, nullptr, {320, 240}, 2), 0);
  EXPECT_EQ(Hit(320, 240, 1), 1);
  EXPECT_EQ(Hit(320, 240, 2), 2);
  EXPECT_EQ(Hit(320, 240, 3), 3);
}

TEST_F(PickingTest, BackFacingPolygonIsNeverFound) {
  const PwVec3 toward = {0, 0, -1};
  const PwVec3 away = {0, 0, 1};
  EXPECT_EQ(Square(10, 1, 1, &away), 1);
  EXPECT_EQ(PwPickUsed(), 0u) << "nothing kept of a dropped polygon";
  EXPECT_EQ(Hit(320, 240), -1);
  EXPECT_EQ(Square(10, 1, 2, &toward), 1);
  EXPECT_EQ(Hit(320, 240), 2);
  // Parallel projection tests the normal's z alone.
  PwPickClear();
  PwSetProjectionMode(1);
  const PwVec3 sideways_away = {0.5f, 0, 0.1f};
  EXPECT_EQ(Square(10, 1, 3, &sideways_away), 1);
  EXPECT_EQ(Hit(320, 240), -1);
  PwSetProjectionMode(0);
}

TEST_F(PickingTest, ShapesThroughTheNearPlaneAreClippedThere) {
  // A floor strip from depth 1 to 11 below the eye: clipped at 2.5 its near
  // edge is at row 240 + 181; unclipped it would reach row 692.
  const PwVec3 floor[4] = {{-1, -1, 1}, {1, -1, 1}, {1, -1, 11}, {-1, -1, 11}};
  ASSERT_EQ(PwPickPolygon(4, floor, nullptr, 6, 0, 0, 0), 1);
  EXPECT_EQ(Hit(320, 350), 6);
  EXPECT_EQ(Hit(320, 600), -1);
  PwPickClear();
  ASSERT_EQ(PwPickLine({0, -1, 1}, {0, -1, 11}, 7, 0, 0, 0), 1);
  EXPECT_EQ(Hit(320, 400), 7);
  EXPECT_EQ(Hit(320, 500), -1);
  // Wholly behind the eye: nothing, and the pool goes back.
  PwPickClear();
  const PwVec3 behind[3] = {{0, 0, -1}, {1, 0, -2}, {0, 1, -3}};
  EXPECT_EQ(PwPickPolygon(3, behind, nullptr, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickUsed(), 0u);
}

TEST_F(PickingTest, PolygonKeepsOnlyItsRecordAndVertices) {
  ASSERT_EQ(Square(10, 1, 1), 1);
  EXPECT_EQ(PwPickUsed(), Rounded(sizeof(PwPickItem)) + Rounded(4 * sizeof(PwVec2)));
  const std::size_t before = PwPickUsed();
  const PwVec3 floor[4] = {{-1, -1, 1}, {1, -1, 1}, {1, -1, 11}, {-1, -1, 11}};
  ASSERT_EQ(PwPickPolygon(4, floor, nullptr, 2, 0, 0, 0), 1);
  // Clipped to 4 vertices again (2 cut off, 2 cuts added).
  EXPECT_EQ(PwPickUsed() - before, Rounded(sizeof(PwPickItem)) + Rounded(4 * sizeof(PwVec2)));
}

TEST_F(PickingTest, DegenerateAndNonFiniteInputKeepsNothing) {
  EXPECT_EQ(PwPickPolygon(0, nullptr, nullptr, 1, 0, 0, 0), 1);
  const PwVec3 one[1] = {{0, 0, 10}};
  EXPECT_EQ(PwPickPolygon(0, one, nullptr, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickPolygon(-3, one, nullptr, 1, 0, 0, 0), 1);
  const PwVec3 bad[3] = {{0, 0, 10}, {kNaN, 0, 10}, {0, 1, 10}};
  EXPECT_EQ(PwPickPolygon(3, bad, nullptr, 1, 0, 0, 0), 1);
  const PwVec3 inf[3] = {{0, 0, 10}, {kInf, 0, 10}, {0, 1, 10}};
  EXPECT_EQ(PwPickPolygon(3, inf, nullptr, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickPoint({kNaN, 0, 10}, 1, 3, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickPoint({0, 0, 10}, kNaN, 3, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickLine({0, 0, kNaN}, {0, 0, 10}, 1, 0, 0, 0), 1);
  EXPECT_EQ(PwPickUsed(), 0u);
  EXPECT_EQ(Hit(320, 240), -1);
}

TEST_F(PickingTest, FarOffShapesSaturateInsteadOfOverflowing) {
  // Just past the near plane and far to the side: offsets beyond 2^31.
  ASSERT_EQ(PwPickPoint({1e7f, 0, 2.6f}, 1e7f, 0, 1, 0, 0, 0), 1);
  ASSERT_EQ(PwPickLine({-1e9f, 0, 2.6f}, {1e9f, 0, 2.6f}, 2, 0, 0, 0), 1);
  const PwVec3 wide[3] = {{-1e9f, -1e9f, 2.6f}, {1e9f, -1e9f, 2.6f}, {0, 1e9f, 2.6f}};
  ASSERT_EQ(PwPickPolygon(3, wide, nullptr, 3, 0, 0, 0), 1);
  int id = 0;
  EXPECT_EQ(PwPickFindLine(&id, nullptr, nullptr, nullptr, {320, 241}, 1), 1);
  EXPECT_EQ(PwPickFindPolygon(&id, nullptr, nullptr, nullptr, {320, 240}, 1), 1);
  EXPECT_EQ(id, 3);
  PwPickFind(&id, nullptr, nullptr, nullptr, {INT32_MAX, INT32_MIN}, 1);
}

TEST_F(PickingTest, LongChainsOfOrderedDepthsAnswerInOrder) {
  // Depths arriving in order make the tree a chain; the walk is iterative.
  const int n = 3000;
  for (int i = 0; i < n; ++i) {
    ASSERT_EQ(PwPickPoint({0, 0, 10.0f + static_cast<float>(i)}, 0, 3, i, 0, 0, 0), 1);
  }
  EXPECT_EQ(Hit(320, 240, 1), 0);
  EXPECT_EQ(Hit(320, 240, 1234), 1233);
  EXPECT_EQ(Hit(320, 240, n), n - 1);
  EXPECT_EQ(Hit(320, 240, n + 1), -1);
}

TEST_F(PickingTest, PoolAllocationRoundsAndGivesBack) {
  std::size_t pos = 99;
  void* a = PwPickAlloc(&pos, 5);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(pos, 0u);
  EXPECT_EQ(PwPickUsed(), Rounded(5));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % alignof(void*), 0u);
  void* b = PwPickAlloc(nullptr, 1);
  EXPECT_EQ(static_cast<unsigned char*>(b) - static_cast<unsigned char*>(a),
            static_cast<std::ptrdiff_t>(Rounded(5)));
  PwPickRelease(pos);
  EXPECT_EQ(PwPickUsed(), 0u);
  EXPECT_EQ(PwPickAlloc(nullptr, pool_.size() + 1), nullptr);
  EXPECT_EQ(PwPickAlloc(nullptr, static_cast<std::size_t>(-1)), nullptr);
  EXPECT_EQ(PwPickUsed(), 0u);
}

class SmallPoolPickingTest : public PickingTest {
 protected:
  SmallPoolPickingTest() : PickingTest(sizeof(PwPickItem) + 4 * sizeof(PwVec2) + 64) {}
};

TEST_F(SmallPoolPickingTest, ExhaustedPoolRegistersNothing) {
  ASSERT_EQ(Square(10, 1, 1), 1);
  const std::size_t used = PwPickUsed();
  EXPECT_EQ(Square(20, 2, 2), 0);
  EXPECT_EQ(PwPickPoint({0, 0, 30}, 1, 3, 3, 0, 0, 0), 0);
  EXPECT_EQ(PwPickLine({-1, 0, 5}, {1, 0, 5}, 4, 0, 0, 0), 0);
  EXPECT_EQ(PwPickUsed(), used);
  EXPECT_EQ(Hit(320, 240, 1), 1);
  EXPECT_EQ(Hit(320, 240, 2), -1);
  // Without a pool nothing is ever kept.
  PwPickReset();
  EXPECT_EQ(Square(10, 1, 1), 0);
  EXPECT_EQ(Hit(320, 240), -1);
}

TEST_F(PickingTest, HostileShapesNeverBreakThePool) {
  std::mt19937 rng(1234);
  std::uniform_real_distribution<float> coord(-1e6f, 1e6f);
  const float specials[] = {kNaN, kInf, -kInf, 0.0f, 2.5f, 1e-30f};
  auto value = [&]() { return rng() % 8 == 0 ? specials[rng() % 6] : coord(rng); };
  for (int round = 0; round < 300; ++round) {
    PwVec3 pts[8];
    for (PwVec3& p : pts) p = {value(), value(), value()};
    const int count = static_cast<int>(rng() % 9);
    const PwVec3 normal = {value(), value(), value()};
    PwPickPolygon(count, pts, rng() % 2 ? &normal : nullptr, round, 0, 0, 0);
    PwPickPoint(pts[0], value(), static_cast<int>(rng() % 10), round, 0, 0, 0);
    PwPickLine(pts[1], pts[2], round, 0, 0, 0);
    ASSERT_LE(PwPickUsed(), pool_.size());
  }
  for (int q = 0; q < 200; ++q) {
    const PwPoint2 p = {static_cast<int>(rng() % 1000) - 200, static_cast<int>(rng() % 800) - 200};
    PwPickFind(nullptr, nullptr, nullptr, nullptr, p, static_cast<int>(rng() % 4));
  }
}

}  // namespace
