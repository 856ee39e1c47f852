// The rasteriser, pixel by pixel in a guarded buffer at 8 and 16 bits.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <string>
#include <vector>
#include <utility>

#include "graphics/software/screen.h"
#include "guarded_pixels.h"

namespace {

class RasterTest : public ::testing::TestWithParam<int> {
 protected:
  int Bits() const { return GetParam(); }
  unsigned int Ink() const { return Bits() == 16 ? 0x7ABCu : 0xC3u; }
  // The pixels holding ink, as (x, y) pairs.
  std::set<std::pair<int, int>> Inked(const GuardedPixels& g, int w, int h) const {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (g.At(x, y) == Ink()) s.insert({x, y});
    return s;
  }
  void Fill(GuardedPixels& g, std::initializer_list<PwPoint2> pts) {
    ASSERT_EQ(0, PwRasterPolygon(&g.buf, static_cast<int>(pts.size()), pts.begin()));
    PwRasterFillRows(&g.buf, Ink());
  }
};

using Pixels = std::set<std::pair<int, int>>;

TEST_P(RasterTest, LinesSetTheStepsOfEachSlopeClass) {
  struct Case {
    int x0, y0, x1, y1;
    Pixels want;
  };
  const Case cases[] = {
      {0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
      {5, 2, 0, 0, {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
      {0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
      {3, 1, 3, 4, {{3, 1}, {3, 2}, {3, 3}, {3, 4}}},
      {4, 3, 1, 3, {{1, 3}, {2, 3}, {3, 3}, {4, 3}}},
      {1, 4, 4, 1, {{1, 4}, {2, 3}, {3, 2}, {4, 1}}},
      {6, 6, 6, 6, {{6, 6}}},
  };
  for (const Case& c : cases) {
    GuardedPixels g(16, 8, Bits());
    PwRasterLine(&g.buf, c.x0, c.y0, c.x1, c.y1, Ink());
    EXPECT_EQ(c.want, Inked(g, 16, 8)) << c.x0 << "," << c.y0 << " -> " << c.x1 << "," << c.y1;
    EXPECT_TRUE(g.GuardsIntact());
  }
}

TEST_P(RasterTest, RectanglesFillTheSameColumnsWhicheverCornersComeFirst) {
  for (auto corners : {std::make_pair(PwPoint2{10, 20}, PwPoint2{5, 30}),
                       std::make_pair(PwPoint2{5, 30}, PwPoint2{10, 20})}) {
    GuardedPixels g(20, 40, Bits());
    PwRasterRect(&g.buf, corners.first.x, corners.first.y, corners.second.x, corners.second.y,
                 Ink());
    Pixels want;
    for (int y = 20; y <= 30; ++y)
      for (int x = 5; x <= 10; ++x) want.insert({x, y});
    EXPECT_EQ(want, Inked(g, 20, 40));
    EXPECT_TRUE(g.GuardsIntact());
  }
}

TEST_P(RasterTest, SpansOfEveryLengthAndAlignmentStayInside) {
  // Word stores must not spill past either end of a span.
  GuardedPixels g(40, 1, Bits(), 40);
  for (int x0 = 0; x0 < 9; ++x0) {
    for (int x1 = x0; x1 < 40; ++x1) {
      g.Clear(0);
      PwRasterRect(&g.buf, x0, 0, x1, 0, Ink());
      Pixels want;
      for (int x = x0; x <= x1; ++x) want.insert({x, 0});
      ASSERT_EQ(want, Inked(g, 40, 1)) << x0 << ".." << x1;
      ASSERT_TRUE(g.GuardsIntact());
    }
  }
}

TEST_P(RasterTest, TriangleFillsBetweenItsSlantedEdges) {
  GuardedPixels g(16, 12, Bits());
  Fill(g, {{0, 0}, {10, 0}, {5, 10}});
  // Rows 0..9 at their pixel centres, each from the first centre at or
  // right of the left edge up to the right edge; the bottom vertex's row
  // belongs to whatever lies below it.
  EXPECT_EQ(
      "##########......\n"
      ".#########......\n"
      ".########.......\n"
      "..#######.......\n"
      "..######........\n"
      "...#####........\n"
      "...####.........\n"
      "....###.........\n"
      "....##..........\n"
      ".....#..........\n"
      "................\n"
      "................\n",
      g.Picture(Ink(), 0, 0, 15, 11));
  EXPECT_TRUE(g.GuardsIntact());
}

TEST_P(RasterTest, CombFillsItsTeethEvenOdd) {
  GuardedPixels g(12, 8, Bits());
  Fill(g, {{0, 0},
           {10, 0},
           {10, 6},
           {8, 6},
           {8, 2},
           {6, 2},
           {6, 6},
           {4, 6},
           {4, 2},
           {2, 2},
           {2, 6},
           {0, 6}});
  EXPECT_EQ(
      "##########..\n"
      "##########..\n"
      "##..##..##..\n"
      "##..##..##..\n"
      "##..##..##..\n"
      "##..##..##..\n"
      "............\n"
      "............\n",
      g.Picture(Ink(), 0, 0, 11, 7));
  EXPECT_TRUE(g.GuardsIntact());
}

TEST_P(RasterTest, ShallowAndMediumEdgesFollowTheirLines) {
  // Parallelograms of area 4 whose slanted sides are medium in one case and
  // shallow in the other: each row takes the centres from its left edge up
  // to its right edge, so each paints exactly its area.
  struct Case {
    PwPoint2 a, b, c, d;
    const char* picture;
  };
  const Case cases[] = {
      {{0, 0},
       {3, 0},
       {8, 2},
       {5, 2},
       "###.........\n"
       "...###......\n"
       "............\n"},
      {{0, 0},
       {2, 0},
       {11, 2},
       {9, 2},
       "##..........\n"
       ".....##.....\n"
       "............\n"},
  };
  for (const Case& c : cases) {
    GuardedPixels g(12, 3, Bits());
    Fill(g, {c.a, c.b, c.c, c.d});
    EXPECT_EQ(c.picture, g.Picture(Ink(), 0, 0, 11, 2));
    EXPECT_TRUE(g.GuardsIntact());
  }
}

TEST_P(RasterTest, RowKeepsItsFirstFourteenCrossingsInArrivalOrder) {
  // Eight teeth cross the middle rows sixteen times. The edges arrive from
  // right to left, so the two leftmost crossings are dropped and with them
  // the leftmost tooth.
  const int teeth = 8;
  std::vector<PwPoint2> comb = {{0, 0}, {4 * (teeth - 1) + 2, 0}};
  for (int t = teeth - 1; t >= 0; --t) {
    comb.push_back({4 * t + 2, 6});
    comb.push_back({4 * t, 6});
    if (t > 0) {
      comb.push_back({4 * t, 2});
      comb.push_back({4 * t - 2, 2});
    }
  }
  GuardedPixels g(32, 8, Bits());
  ASSERT_EQ(0, PwRasterPolygon(&g.buf, static_cast<int>(comb.size()), comb.data()));
  EXPECT_EQ(kPwMaxRowCrossings, g.buf.crossings[4][0]);
  PwRasterFillRows(&g.buf, Ink());
  std::string want;
  for (int x = 0; x < 32; ++x) want += (x >= 4 && x <= 29 && x % 4 < 2) ? '#' : '.';
  EXPECT_EQ(want + "\n", g.Picture(Ink(), 0, 4, 31, 4));
  EXPECT_TRUE(g.GuardsIntact());
}

TEST_P(RasterTest, CircleOfRadiusThreeHasItsMidpointShape) {
  GuardedPixels g(12, 12, Bits());
  ASSERT_EQ(0, PwRasterCircle(&g.buf, {5, 5}, 3));
  PwRasterFillRows(&g.buf, Ink());
  EXPECT_EQ(
      "...#####...\n"
      "...#####...\n"
      "..#######..\n"
      "..#######..\n"
      "..#######..\n"
      "...#####...\n"
      "...#####...\n",
      g.Picture(Ink(), 0, 2, 10, 8));
  EXPECT_EQ(2, g.buf.first_row);
  EXPECT_EQ(8, g.buf.last_row);
}

TEST_P(RasterTest, HugeDiscsNeitherOverflowNorLeaveTheArea) {
  // rx * f overflows 32 bits for these radii; only the rows inside the
  // area are computed, so each ends at once.
  struct Case {
    int rx, ry;
  };
  for (const Case& c :
       {Case{1 << 30, 1 << 30}, Case{100000, 50000}, Case{2000000000, 3}, Case{3, 2000000000}}) {
    GuardedPixels g(20, 16, Bits());
    const int r = c.rx == c.ry ? PwRasterCircle(&g.buf, {10, 8}, c.rx)
                               : PwRasterEllipse(&g.buf, {10, 8}, c.rx, c.ry);
    ASSERT_EQ(0, r);
    PwRasterFillRows(&g.buf, Ink());
    EXPECT_TRUE(g.GuardsIntact()) << c.rx << " " << c.ry;
    if (c.rx >= 100000 && c.ry >= 50000) {
      EXPECT_EQ(20 * 16, g.Count(Ink()));
    }
    if (c.ry == 3) {
      EXPECT_EQ(20 * 7, g.Count(Ink()));
    }
  }
}

TEST_P(RasterTest, DiscsPartlyOrWhollyOutsideAreClamped) {
  GuardedPixels g(20, 16, Bits(), 32);
  ASSERT_EQ(0, PwRasterCircle(&g.buf, {-2, 3}, 6));
  PwRasterFillRows(&g.buf, Ink());
  EXPECT_TRUE(g.GuardsIntact());
  EXPECT_EQ(Ink(), g.At(0, 3));
  ASSERT_EQ(0, PwRasterCircle(&g.buf, {100, 100}, 5));
  EXPECT_GT(g.buf.first_row, g.buf.last_row);  // nothing recorded
  ASSERT_EQ(0, PwRasterEllipse(&g.buf, {19, 15}, 40, 2));
  PwRasterFillRows(&g.buf, Ink());
  EXPECT_TRUE(g.GuardsIntact());
}

TEST_P(RasterTest, LargeRadiiKeepTheirTrueWidthsOffTheArea) {
  // A disc centred far left of the area and a long flat ellipse whose
  // centre is off the area too: the rows inside are as wide as the true
  // radii make them, which here covers the whole area.
  struct Case {
    PwPoint2 centre;
    int rx, ry;
  };
  for (const Case& c :
       {Case{{-2000, 20}, 2100, 2100}, Case{{-60, 20}, 5000, 30}, Case{{20, 2060}, 2100, 2100}}) {
    GuardedPixels g(64, 40, Bits());
    ASSERT_EQ(0, c.rx == c.ry ? PwRasterCircle(&g.buf, c.centre, c.rx)
                              : PwRasterEllipse(&g.buf, c.centre, c.rx, c.ry));
    PwRasterFillRows(&g.buf, Ink());
    EXPECT_EQ(64 * 40, g.Count(Ink())) << c.centre.x << "," << c.centre.y;
    EXPECT_TRUE(g.GuardsIntact());
  }
  // Rows whose span lies wholly left of the area paint nothing there.
  GuardedPixels g(64, 40, Bits());
  ASSERT_EQ(0, PwRasterCircle(&g.buf, {-30, 20}, 31));
  PwRasterFillRows(&g.buf, Ink());
  EXPECT_EQ(Ink(), g.At(0, 20));
  EXPECT_EQ(0u, g.At(0, 0));
  EXPECT_EQ(0u, g.At(0, 39));
}

TEST_P(RasterTest, FillsWithoutABufferOrWithTooFewPointsReportFailure) {
  const PwPoint2 two[] = {{0, 0}, {5, 5}};
  GuardedPixels g(16, 8, Bits());
  EXPECT_EQ(1, PwRasterPolygon(&g.buf, 2, two));
  EXPECT_EQ(1, PwRasterPolygon(nullptr, 2, two));
  EXPECT_EQ(1, PwRasterCircle(nullptr, {1, 1}, 2));
  EXPECT_EQ(1, PwRasterEllipse(nullptr, {1, 1}, 2, 3));
  g.buf.created = 0;
  EXPECT_EQ(1, PwRasterCircle(&g.buf, {1, 1}, 2));
}

INSTANTIATE_TEST_SUITE_P(Depths, RasterTest, ::testing::Values(8, 16),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Bits" + std::to_string(info.param);
                         });

}  // namespace

namespace {

TEST(RasterPaint, TestPaintingsCoverAn8BitAreaOnly) {
  GuardedPixels g(32, 16, 8);
  PwRasterPaintIndexGrid(&g.buf);
  EXPECT_EQ(0u, g.At(0, 0));
  EXPECT_EQ(15u, g.At(31, 0));
  EXPECT_EQ(16u * 15 + 15, g.At(31, 15));
  EXPECT_EQ(16u * 8 + 8, g.At(16, 8));
  PwRasterPaintBands(&g.buf);
  PwRasterPaintGradient(&g.buf);
  EXPECT_TRUE(g.GuardsIntact());
  GuardedPixels deep(8, 8, 16);
  PwRasterPaintIndexGrid(&deep.buf);
  EXPECT_EQ(64, deep.Count(0));  // nothing at 16 bits
}

}  // namespace

namespace {

// Distance from (px, py) to the segment a-b.
double SegmentDistance(double px, double py, PwPoint2 a, PwPoint2 b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0;
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  const double ex = a.x + t * dx - px, ey = a.y + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

bool InsideConvex(double px, double py, const std::vector<PwPoint2>& p) {
  int sign = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const PwPoint2 a = p[i], b = p[(i + 1) % p.size()];
    const double c = (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
    if (c == 0) continue;
    const int s = c > 0 ? 1 : -1;
    if (sign != 0 && s != sign) return false;
    sign = s;
  }
  return true;
}

TEST(RasterFill, RandomTrianglesCoverTheirInteriorAndNothingFarOutside) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<int> coord(0, 63);
  for (int iter = 0; iter < 600; ++iter) {
    std::vector<PwPoint2> tri = {
        {coord(rng), coord(rng)}, {coord(rng), coord(rng)}, {coord(rng), coord(rng)}};
    const long area2 = static_cast<long>(tri[1].x - tri[0].x) * (tri[2].y - tri[0].y) -
                       static_cast<long>(tri[2].x - tri[0].x) * (tri[1].y - tri[0].y);
    if (area2 == 0) continue;
    GuardedPixels g(64, 64, 16);
    ASSERT_EQ(0, PwRasterPolygon(&g.buf, 3, tri.data()));
    PwRasterFillRows(&g.buf, 1);
    for (int y = 0; y < 64; ++y) {
      for (int x = 0; x < 64; ++x) {
        double edge = 1e9;
        for (int i = 0; i < 3; ++i) {
          edge = std::fmin(edge, SegmentDistance(x, y, tri[i], tri[(i + 1) % 3]));
        }
        const bool inside = InsideConvex(x, y, tri);
        const bool filled = g.At(x, y) == 1;
        if (inside && edge > 1.5) {
          ASSERT_TRUE(filled) << iter << " at " << x << "," << y;
        }
        if (filled) {
          ASSERT_TRUE(inside || edge <= 1.5) << iter << " at " << x << "," << y;
        }
      }
    }
    ASSERT_TRUE(g.GuardsIntact());
  }
}

}  // namespace
