// Lines, points, discs and the 2D primitives of the z-buffer renderer.
#include <gtest/gtest.h>

#include "graphics/draw2d/clip2d.h"
#include "graphics/zbuffer/zbuffer_fixture.h"

namespace {

using ZLinesTest = ZBufferFixture;

const PwColor kRed = {0, 200, 0};  // green, red, blue

TEST_F(ZLinesTest, HorizontalLinePlotsBothEndsAtItsDepth) {
  // Centre (0, 8): x = 1..6 at z = 10 -> pixels 1..6 of row 8.
  PwZSetViewport(0, 0, 15, 15, 0, 8);
  PwZLine({1, 0, 10}, {6, 0, 10}, kRed);  // pixels 1..6
  EXPECT_EQ(6, Written());
  for (int x = 1; x <= 6; ++x) {
    EXPECT_EQ(1, At(x, 8).writes) << x;
    EXPECT_NEAR(10.0f, At(x, 8).depth, 1e-4f);
    EXPECT_EQ(200, At(x, 8).red);  // unlit
    EXPECT_EQ(0, At(x, 8).green);
  }
}

TEST_F(ZLinesTest, HorizontalLineOfElevenPixels2D) {
  PwZLine2({2, 3}, {12, 3}, kRed);
  EXPECT_EQ(11, Written());
  EXPECT_EQ(1, At(2, 3).writes);
  EXPECT_EQ(1, At(12, 3).writes);
  EXPECT_EQ(-1.0f, At(7, 3).depth);  // plain pixels carry no depth
}

TEST_F(ZLinesTest, SlopedLineStopsBeforeItsEnd) {
  PwZLine2({1, 1}, {9, 4}, kRed);
  EXPECT_EQ(8, Written());
  EXPECT_EQ(1, At(1, 1).writes);
  EXPECT_EQ(0, At(9, 4).writes);
  Clear();
  PwZLine2({2, 1}, {4, 9}, kRed);  // steep
  EXPECT_EQ(8, Written());
  EXPECT_EQ(0, At(4, 9).writes);
  Clear();
  PwZLine2({2, 2}, {6, 6}, kRed);  // diagonal
  EXPECT_EQ(4, Written());
  EXPECT_EQ(1, At(5, 5).writes);
  Clear();
  PwZLine2({3, 2}, {3, 7}, kRed);  // vertical: both ends
  EXPECT_EQ(6, Written());
}

TEST_F(ZLinesTest, LinesAreClippedToTheShrunkViewportAndKeepTheClipper) {
  PwSetClip2({1, 2}, {3, 4});
  PwZLine2({-100, 5}, {100, 5}, kRed);
  EXPECT_EQ(15, Written());  // x 0..14: the right column stays free
  EXPECT_EQ(0, At(15, 5).writes);
  PwPoint2 a, b;
  PwGetClip2(&a, &b);
  EXPECT_EQ(1, a.x);
  EXPECT_EQ(4, b.y);
  PwResetClip2();
  Clear();
  PwZLine2({-100, -5}, {-50, -1}, kRed);
  EXPECT_EQ(0, Written());
}

TEST_F(ZLinesTest, LineDepthFollowsTheSegment) {
  // From (−2, 0, 10) to (2, 0, 20): the pixel rays cut it in the x/z plane.
  PwZLine({-2, 0, 10}, {2, 0, 20}, kRed);
  ASSERT_GT(Written(), 2);
  for (int x = 0; x < kW; ++x) {
    const ZPixel& p = At(x, 8);
    if (p.writes == 0) continue;
    // Ray (x - 8) t / 10 = X, z = t: on the segment X = -2 + (z - 10) * 0.4.
    const float k = (x - 8) / 10.0f;
    const float z = 6.0f / (0.4f - k);  // k z = -2 + 0.4 (z - 10)
    EXPECT_NEAR(z, p.depth, 1e-3f) << x;
  }
  // A line seen end-on has no extent on screen: depth 0.
  Clear();
  PwZSetViewport(0, 0, 15, 15, 8, 8);
  PwZLine({0, 0, 10}, {0, 0, 20}, kRed);
  for (const ZPixel& p : Pixels()) {
    if (p.writes) {
      EXPECT_EQ(0.0f, p.depth);
    }
  }
}

TEST_F(ZLinesTest, LineBehindTheNearPlaneIsFlattenedOntoIt) {
  PwZSetMagnification(10.0f, 5.0f);
  PwZLine({-2, 0, 1}, {2, 0, 1}, kRed);  // drawn at z = 5: pixels 4..12
  EXPECT_EQ(9, Written());
}

TEST_F(ZLinesTest, PointIsATwoByTwoBlockThatMustFit) {
  PwZPoint({0, 0, 10}, kRed);
  EXPECT_EQ(4, Written());
  for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(10.0f, At(8 + (k & 1), 8 + (k >> 1)).depth);
  Clear();
  PwZPoint({6, 0, 10}, kRed);  // x = 14 = x1 - 1
  EXPECT_EQ(0, Written());
  PwZPoint({5, 0, 10}, kRed);  // x = 13 = x1 - 2
  EXPECT_EQ(4, Written());
  Clear();
  PwZPoint({0, 0, 1}, kRed);  // at the near distance
  EXPECT_EQ(0, Written());
  PwZPoint2({14, 3}, kRed);
  EXPECT_EQ(0, Written());
  PwZPoint2({0, 0}, kRed);
  EXPECT_EQ(4, Written());
  EXPECT_EQ(-1.0f, At(1, 1).depth);  // plain pixel
}

TEST_F(ZLinesTest, DiscSpansAndDepth) {
  // Radius 3 at z = 10: 3 pixels; centre (8, 8).
  PwZDisc({0, 0, 10}, 3.0f, kRed);
  // Centre row 5..10, then the walk: rows 7, 9 (R 3), 6, 10 (R 2), 5, 11 (R 1).
  int rows[kH] = {};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) rows[y] += At(x, y).writes;
  EXPECT_EQ(6, rows[8]);
  EXPECT_EQ(rows[7], rows[9]);
  EXPECT_EQ(rows[6], rows[10]);
  EXPECT_GE(rows[8], rows[7]);
  EXPECT_GT(rows[7], 0);
  EXPECT_EQ(1, At(5, 8).writes);
  EXPECT_EQ(0, At(11, 8).writes);  // up to, not including, the right bound
  EXPECT_FLOAT_EQ(10.0f, At(8, 8).depth);
  Clear();
  PwZDisc({0, 0, 0.5f}, 1.0f, kRed);  // nearer than the near distance
  EXPECT_EQ(0, Written());
  PwZDisc({100, 0, 10}, 1.0f, kRed);  // off to the side
  EXPECT_EQ(0, Written());
}

TEST_F(ZLinesTest, EnormousDiscsAndEllipsesFinishAndCover) {
  // Only the viewport's rows are visited, whatever the radius.
  unsigned long long walked = PwZWalked();
  auto rows = [&walked]() {
    const unsigned long long now = PwZWalked();
    const unsigned long long n = now - walked;
    walked = now;
    return n;
  };
  PwZDisc({0, 0, 1.0001f}, 1e8f, kRed);
  EXPECT_EQ((kW - 1) * (kH - 1), Written());  // spans stop before x1, rows before y1
  EXPECT_LE(rows(), static_cast<unsigned long long>(kH));
  Clear();
  PwZEllipse2({8, 8}, 2000000000, 2000000000, kRed);
  EXPECT_GT(Written(), 0);
  EXPECT_LE(rows(), static_cast<unsigned long long>(kH));
  Clear();
  PwZEllipse2({-1000000000, 8}, 2000000000, 5, kRed);
  EXPECT_LE(rows(), static_cast<unsigned long long>(kH));
}

TEST_F(ZLinesTest, LargeRadiiKeepTheirTrueWidthsOffTheViewport) {
  // Centres off the viewport with radii far beyond its size: the rows
  // inside take the true widths, which cover the whole viewport (spans stop
  // before x1, rows before y1; the 2D ellipse one short of each).
  PwZEllipse2({-60, 8}, 5000, 30, kRed);
  EXPECT_EQ((kW - 2) * (kH - 2), Written());
  Clear();
  PwZEllipse2({-2000, 8}, 2100, 2100, kRed);
  EXPECT_EQ((kW - 2) * (kH - 2), Written());
  Clear();
  // Radius 2100 pixels (magnification 10, depth 10), centre at x = -2000.
  PwZDisc({-2008.0f, 0, 10}, 2100.0f, kRed);
  EXPECT_EQ((kW - 1) * (kH - 1), Written());
}

TEST_F(ZLinesTest, Ellipse2Spans) {
  PwZEllipse2({8, 8}, 4, 2, kRed);
  // Centre row: 4..11 (up to, not including, 12); rows 7, 9: h = 4 * H / 2.
  int row8 = 0, row7 = 0, row9 = 0, row10 = 0, row6 = 0;
  for (int x = 0; x < kW; ++x) {
    row8 += At(x, 8).writes;
    row7 += At(x, 7).writes;
    row9 += At(x, 9).writes;
    row6 += At(x, 6).writes;
    row10 += At(x, 10).writes;
  }
  EXPECT_EQ(8, row8);
  EXPECT_EQ(row7, row9);
  EXPECT_EQ(row6, row10);
  EXPECT_EQ(0, At(8, 11).writes);
  Clear();
  PwZEllipse2({30, 8}, 4, 4, kRed);
  EXPECT_EQ(0, Written());
}

TEST_F(ZLinesTest, Polygon2AndBox2) {
  const PwPoint2 tri[] = {{2, 2}, {10, 2}, {2, 10}};
  PwZPolygon2(3, tri, kRed);
  EXPECT_EQ(1, At(2, 2).writes);
  EXPECT_EQ(0, At(10, 10).writes);
  EXPECT_EQ(-1.0f, At(3, 3).depth);
  Clear();
  PollLimit() = 0;
  PwZPolygon2(3, tri, kRed);
  EXPECT_EQ(0, Written());
  PollLimit() = -1;
  PwZBox2({5, 6}, {3, 2}, kRed);  // either corner order, inclusive
  EXPECT_EQ(3 * 5, Written());
  Clear();
  PwZBox2({-1000000000, -5}, {2000000000, 1}, kRed);  // clamped
  EXPECT_EQ(kW * 2, Written());
  Clear();
  const PwPoint2 far_tri[] = {{100, 100}, {200, 100}, {100, 200}};
  PwZPolygon2(3, far_tri, kRed);
  EXPECT_EQ(0, Written());
}

}  // namespace
