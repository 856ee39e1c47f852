// The integer row scan.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/geometry/polygon_geometry.h"

namespace {

class RowScanTest : public ::testing::Test {
 protected:
  void SetUp() override { PwResetScan(); }
  void TearDown() override { PwResetScan(); }
  std::vector<int> Row(int y) {
    std::vector<int> out(kPwScanMaxVertices);
    int n = -1;
    EXPECT_EQ(1, PwScanRow(&n, out.data(), y));
    out.resize(n);
    return out;
  }
};

TEST_F(RowScanTest, SquareIncludesItsLeftAndExcludesItsRightCrossing) {
  const PwPoint2 sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  ASSERT_EQ(1, PwScanPolygon(4, sq));
  EXPECT_EQ(1, PwScanInside(0, 5));
  EXPECT_EQ(0, PwScanInside(10, 5));
  EXPECT_EQ(1, PwScanInside(5, 0));
  EXPECT_EQ(1, PwScanInside(9, 10));
  EXPECT_EQ(0, PwScanInside(-1, 5));
  EXPECT_EQ(0, PwScanInside(5, 11));
  EXPECT_EQ(std::vector<int>({0, 10}), Row(5));
  EXPECT_TRUE(Row(11).empty());
  EXPECT_EQ(1, PwScanEnd());
  EXPECT_EQ(0, PwScanInside(5, 5));
}

TEST_F(RowScanTest, ApexRowHasTwoEqualCrossings) {
  // The pair is empty under the left-included, right-excluded rule, so the
  // apex pixel itself is not inside.
  const PwPoint2 tri[] = {{5, 0}, {10, 10}, {0, 10}};
  ASSERT_EQ(1, PwScanPolygon(3, tri));
  EXPECT_EQ(std::vector<int>({5, 5}), Row(0));
  EXPECT_EQ(0, PwScanInside(5, 0));
  EXPECT_EQ(1, PwScanInside(5, 5));
  // A vertex that the outline passes through counts once.
  const PwPoint2 kite[] = {{5, 0}, {10, 5}, {5, 10}, {0, 5}};
  ASSERT_EQ(1, PwScanPolygon(4, kite));
  EXPECT_EQ(std::vector<int>({0, 10}), Row(5));
  EXPECT_EQ(1, PwScanInside(0, 5));
}

TEST_F(RowScanTest, FlatPolygonCoversItsBox) {
  const PwPoint2 flat[] = {{2, 7}, {9, 7}, {5, 7}};
  ASSERT_EQ(1, PwScanPolygon(3, flat));
  EXPECT_EQ(1, PwScanInside(2, 7));
  EXPECT_EQ(1, PwScanInside(9, 7));
  EXPECT_EQ(0, PwScanInside(10, 7));
}

TEST_F(RowScanTest, TooFewPointsLeaveNothingHeld) {
  const PwPoint2 sq[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  ASSERT_EQ(1, PwScanPolygon(4, sq));
  EXPECT_EQ(0, PwScanPolygon(2, sq));
  EXPECT_EQ(0, PwScanInside(5, 5));
}

TEST_F(RowScanTest, NearClippedPolygonsOfUpTo128VerticesFit) {
  // A zigzag of 96 vertices crosses its middle row 94 times, beyond the 64
  // a smaller table would hold.
  std::vector<PwPoint2> zig;
  for (int k = 0; k <= 94; ++k) zig.push_back({2 * k, k % 2 == 0 ? 0 : 20});
  zig.push_back({94, -10});
  ASSERT_EQ(96u, zig.size());
  ASSERT_EQ(1, PwScanPolygon(96, zig.data()));
  const std::vector<int> row = Row(10);
  ASSERT_EQ(94u, row.size());
  EXPECT_EQ(1, row.front());
  EXPECT_EQ(187, row.back());
  EXPECT_EQ(1, PwScanInside(2, 10));
  EXPECT_EQ(0, PwScanInside(4, 10));
  EXPECT_EQ(1, PwScanInside(186, 10));
  EXPECT_EQ(1, PwScanInside(100, -5));
  // A convex 65-gon (a 64-gon gaining a vertex at the near clip).
  std::vector<PwPoint2> disc;
  for (int k = 0; k < 65; ++k) {
    const double a = 6.283185307179586 * k / 65;
    disc.push_back({static_cast<int>(100 * std::cos(a)), static_cast<int>(100 * std::sin(a))});
  }
  ASSERT_EQ(1, PwScanPolygon(65, disc.data()));
  EXPECT_EQ(1, PwScanInside(0, 0));
  EXPECT_EQ(0, PwScanInside(99, 99));
  std::vector<PwPoint2> too_many(kPwScanMaxVertices + 1, PwPoint2{0, 0});
  for (int k = 0; k < kPwScanMaxVertices + 1; ++k) too_many[k] = {k, k % 2};
  EXPECT_EQ(0, PwScanPolygon(kPwScanMaxVertices + 1, too_many.data()));
  EXPECT_EQ(0, PwScanInside(0, 0));
}

}  // namespace
