// The screen layer: shapes kept inside the drawing area of the surface.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "screen_fixture.h"

namespace {

const PwColor kWhite = {255, 255, 255};
const PwColor kRed = {0, 255, 0};

class ScreenTest : public ::testing::TestWithParam<int>, public ScreenFixture {
 protected:
  void SetUp() override { Open(20, 16, GetParam()); }
  void TearDown() override { Close(); }
  unsigned int White() const { return Ink(kWhite); }
};

TEST_P(ScreenTest, ClearPaintsTheAreaBlack) {
  PwScreenBox({0, 0}, {19, 15}, kWhite);
  PwScreenClear();
  EXPECT_EQ(20 * 16, Count(Ink({0, 0, 0})));
  EXPECT_NE(White(), Ink({0, 0, 0}));
  EXPECT_TRUE(GuardsIntact());
}

TEST_P(ScreenTest, PolygonOfTwoPointsDrawsOnlyItsFirstVertex) {
  const PwPoint2 two[] = {{3, 4}, {9, 9}};
  PwScreenPolygon(2, two, kWhite);
  EXPECT_EQ(1, Count(White()));
  EXPECT_EQ(White(), At(3, 4));
  PwScreenPolygon(0, two, kWhite);
  EXPECT_EQ(1, Count(White()));
}

TEST_P(ScreenTest, TriangleShowsItsFirstVertexAndTheEdgeSpans) {
  const PwPoint2 tri[] = {{0, 0}, {10, 0}, {5, 10}};
  PwScreenPolygon(3, tri, kWhite);
  EXPECT_EQ(
      "##########..\n"
      ".#########..\n"
      ".########...\n"
      "..#######...\n"
      "..######....\n"
      "...#####....\n"
      "...####.....\n"
      "....###.....\n"
      "....##......\n"
      ".....#......\n"
      "............\n",
      Picture(White(), 0, 0, 11, 10));
}

TEST_P(ScreenTest, PolygonsReachingPastTheAreaMeetWithoutACrack) {
  // Two triangles splitting a quad far larger than the area along diagonals
  // that cross it: neither is cut to the area first, so both fill up to the
  // same line and no background shows between them.
  const PwPoint2 b = {4000, -1500}, c = {3020, 2016}, d = {-2500, 3000};
  for (const PwPoint2 through : {PwPoint2{10, 8}, PwPoint2{3, 12}, PwPoint2{17, 2}}) {
    PwScreenClear();
    const PwPoint2 a = {2 * through.x - c.x, 2 * through.y - c.y};
    const PwPoint2 first[] = {a, b, c}, second[] = {a, c, d};
    PwScreenPolygon(3, first, kWhite);
    PwScreenPolygon(3, second, kRed);
    EXPECT_EQ(0, Count(Ink({0, 0, 0}))) << through.x;
    EXPECT_GT(Count(White()), 0);
    EXPECT_GT(Count(Ink(kRed)), 0);
  }
}

TEST_P(ScreenTest, ThinStrokesKeepAPixelOnEveryRow) {
  // A slanted stroke one pixel wide keeps exactly one pixel a row; one
  // that truncation has flattened to no width is drawn as its line.
  const PwPoint2 stroke[] = {{2, 1}, {3, 1}, {12, 14}, {11, 14}};
  PwScreenPolygon(4, stroke, kWhite);
  for (int y = 1; y < 14; ++y) {
    int n = 0;
    for (int x = 0; x < 20; ++x) n += At(x, y) == White();
    EXPECT_EQ(1, n) << y;
  }
  PwScreenClear();
  const PwPoint2 flat[] = {{15, 2}, {15, 12}, {15, 7}};
  PwScreenPolygon(3, flat, kWhite);
  EXPECT_EQ(11, Count(White()));
  EXPECT_EQ(White(), At(15, 12));
}

// A polygon that covers no pixel centre (most of a fine mesh's) is drawn as
// its outline, whether the ends of an edge are one pixel, neighbours or
// further apart, inside or at the area's edge.
TEST_P(ScreenTest, PolygonsCoveringNoPixelCentreDrawTheirEdges) {
  struct Case {
    std::vector<PwPoint2> polygon;
    std::vector<PwPoint2> pixels;
  };
  const Case cases[] = {
      {{{5, 5}, {6, 5}, {7, 5}}, {{5, 5}, {6, 5}, {7, 5}}},
      {{{3, 3}, {3, 3}, {4, 4}}, {{3, 3}, {4, 4}}},
      {{{8, 8}, {8, 8}, {8, 8}}, {{8, 8}}},
      {{{9, 2}, {10, 3}, {9, 2}}, {{9, 2}, {10, 3}}},
      {{{12, 6}, {12, 7}, {12, 9}}, {{12, 6}, {12, 7}, {12, 8}, {12, 9}}},
      {{{19, 15}, {18, 15}, {19, 14}}, {{19, 15}, {18, 15}, {19, 14}}},
      {{{19, 0}, {20, 0}, {18, 0}}, {{18, 0}, {19, 0}}},
  };
  for (const Case& c : cases) {
    PwScreenClear();
    PwScreenPolygon(static_cast<int>(c.polygon.size()), c.polygon.data(), kWhite);
    const std::string at = std::to_string(c.polygon[0].x) + "," + std::to_string(c.polygon[0].y);
    EXPECT_EQ(static_cast<int>(c.pixels.size()), Count(White())) << at;
    for (const PwPoint2& p : c.pixels) EXPECT_EQ(White(), At(p.x, p.y)) << at;
  }
  // A line between neighbouring pixels, or within one, is its ends.
  const PwPoint2 lines[][2] = {
      {{3, 3}, {4, 4}}, {{4, 4}, {3, 5}}, {{7, 1}, {7, 0}}, {{0, 15}, {1, 15}}, {{6, 6}, {6, 6}}};
  for (const auto& line : lines) {
    PwScreenClear();
    PwScreenLine(line[0], line[1], kWhite);
    const bool one = line[0].x == line[1].x && line[0].y == line[1].y;
    EXPECT_EQ(one ? 1 : 2, Count(White())) << line[1].x << "," << line[1].y;
    EXPECT_EQ(White(), At(line[0].x, line[0].y));
    EXPECT_EQ(White(), At(line[1].x, line[1].y));
  }
  EXPECT_TRUE(GuardsIntact());
}

TEST_P(ScreenTest, PointNeedsItsWholeBlockInside) {
  PwScreenPoint({19, 5}, kWhite);
  PwScreenPoint({5, 15}, kWhite);
  PwScreenPoint({-1, 5}, kWhite);
  EXPECT_EQ(0, Count(White()));
  PwScreenPoint({18, 14}, kWhite);
  EXPECT_EQ(4, Count(White()));
  EXPECT_EQ(White(), At(19, 15));
  EXPECT_TRUE(GuardsIntact());
}

TEST_P(ScreenTest, LinesLeavingTheAreaAreClipped) {
  PwScreenLine({-10, 5}, {10, 5}, kWhite);
  EXPECT_EQ("###########.........\n", Picture(White(), 0, 5, 19, 5));
  EXPECT_EQ(11, Count(White()));
  PwScreenLine({5, -1000000}, {5, 1000000}, kRed);
  EXPECT_EQ(16, Count(Ink(kRed)));
  EXPECT_TRUE(GuardsIntact());
}

TEST_P(ScreenTest, BoxesAreCutToTheArea) {
  PwScreenBox({25, 3}, {30, 9}, kWhite);
  EXPECT_EQ(0, Count(White()));
  PwScreenBox({15, 12}, {-4, 40}, kWhite);
  EXPECT_EQ(16 * 4, Count(White()));
  EXPECT_EQ(White(), At(0, 15));
  EXPECT_TRUE(GuardsIntact());
}

TEST_P(ScreenTest, MarkersOfEachKind) {
  PwScreenMarker({5, 5}, kPwMarkerSquare, kWhite);
  EXPECT_EQ(25, Count(White()));
  EXPECT_EQ(White(), At(3, 3));
  EXPECT_EQ(White(), At(7, 7));
  PwScreenClear();
  PwScreenMarker({8, 8}, kPwMarkerCircle, kWhite);
  EXPECT_EQ(
      ".#####.\n"
      ".#####.\n"
      "#######\n"
      "#######\n"
      "#######\n"
      ".#####.\n"
      ".#####.\n",
      Picture(White(), 5, 5, 11, 11));
  PwScreenClear();
  PwScreenMarker({8, 8}, kPwMarkerCross, kWhite);
  EXPECT_EQ(17, Count(White()));
  EXPECT_EQ(White(), At(4, 12));
  EXPECT_EQ(White(), At(12, 4));
  PwScreenClear();
  PwScreenMarker({8, 8}, 7, kWhite);
  EXPECT_EQ(0, Count(White()));
}

TEST_P(ScreenTest, EllipseNeedsItsCentreInsideAndFillsTheAreaWhenHuge) {
  PwScreenEllipse({-1, 5}, 10, 10, kWhite);
  EXPECT_EQ(0, Count(White()));
  PwScreenEllipse({10, 8}, 1 << 30, 1 << 30, kWhite);
  EXPECT_EQ(20 * 16, Count(White()));
  PwScreenClear();
  PwScreenEllipse({10, 8}, 2000000000, 1000000000, kWhite);
  EXPECT_EQ(20 * 16, Count(White()));
  EXPECT_TRUE(GuardsIntact());
}

TEST_P(ScreenTest, EllipseOutlineStepsAnEighthOfAQuadrant) {
  PwScreenEllipseOutline({10, 8}, 8, 6, kWhite);
  // Vertices of the 11.25-degree steps: (trunc(8 cos a), trunc(6 sin a)).
  EXPECT_EQ(White(), At(18, 8));
  EXPECT_EQ(White(), At(10 + 7, 8 + 1));
  EXPECT_EQ(White(), At(10 - 7, 8 - 1));
  EXPECT_EQ(White(), At(10 + 5, 8 + 4));
  EXPECT_EQ(White(), At(10, 14));
  EXPECT_EQ(White(), At(10, 2));
  EXPECT_EQ(White(), At(2, 8));
  EXPECT_EQ(Ink({0, 0, 0}), At(10, 8));
  PwScreenEllipseOutline({10, 8}, 1 << 30, 1 << 30, kWhite);
  EXPECT_TRUE(GuardsIntact());
}

TEST_P(ScreenTest, RectOutlineAndPolylineJoinTheirVertices) {
  PwScreenRect({2, 2}, {6, 5}, kWhite);
  EXPECT_EQ(
      "#####\n"
      "#...#\n"
      "#...#\n"
      "#####\n",
      Picture(White(), 2, 2, 6, 5));
  PwScreenClear();
  const PwPoint2 pts[] = {{1, 1}, {5, 1}, {5, 4}};
  PwScreenPolyline(3, pts, kWhite);
  EXPECT_EQ(8, Count(White()));
  PwScreenOutline(3, pts, kWhite);
  EXPECT_EQ(White(), At(3, 3));  // the closing edge (5,4)-(1,1)
  EXPECT_EQ(11, Count(White()));
}

TEST_P(ScreenTest, ScreenClipIsTheAreaAndIsPutBack) {
  PwSetClip2({3, 4}, {5, 6});
  PwSetScreenClip();
  PwPoint2 lo, hi;
  PwGetClip2(&lo, &hi);
  EXPECT_EQ(0, lo.x);
  EXPECT_EQ(0, lo.y);
  EXPECT_EQ(19, hi.x);
  EXPECT_EQ(15, hi.y);
  PwScreenLine({-5, 2}, {30, 2}, kWhite);  // clips inside the pair
  PwRestoreScreenClip();
  PwGetClip2(&lo, &hi);
  EXPECT_EQ(3, lo.x);
  EXPECT_EQ(6, hi.y);
  // Clipped drawing leaves the caller's rectangle alone too.
  const PwPoint2 big[] = {{-5, -5}, {30, -5}, {30, 30}};
  PwScreenPolygon(3, big, kWhite);
  PwGetClip2(&lo, &hi);
  EXPECT_EQ(3, lo.x);
  EXPECT_EQ(6, hi.y);
}

TEST_P(ScreenTest, WildShapesNeverWriteOutsideTheArea) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> near(-30, 50);
  std::uniform_int_distribution<int> far(-(1 << 30), 1 << 30);
  auto point = [&] {
    return (rng() % 3 == 0) ? PwPoint2{far(rng), far(rng)} : PwPoint2{near(rng), near(rng)};
  };
  for (int iter = 0; iter < 4000; ++iter) {
    std::vector<PwPoint2> pts(1 + rng() % 24);
    for (PwPoint2& p : pts) p = point();
    const int n = static_cast<int>(pts.size());
    const PwColor c = {static_cast<int>(rng() % 256), static_cast<int>(rng() % 256),
                       static_cast<int>(rng() % 256)};
    switch (iter % 7) {
      case 0: PwScreenPolygon(n, pts.data(), c); break;
      case 1: PwScreenLine(pts[0], point(), c); break;
      case 2: PwScreenEllipse(pts[0], near(rng) * 1000, far(rng) / 4, c); break;
      case 3: PwScreenBox(pts[0], point(), c); break;
      case 4: PwScreenOutline(n, pts.data(), c); break;
      case 5: PwScreenEllipseOutline(pts[0], far(rng), near(rng), c); break;
      default:
        PwScreenPoint(pts[0], c);
        PwScreenMarker(pts[0], iter % 3, c);
        break;
    }
    ASSERT_TRUE(GuardsIntact()) << "shape " << iter;
  }
  EXPECT_EQ(0u, PwScratchUsed(0));
}

struct TextCall {
  int left, top;
  std::string text;
};

std::vector<TextCall>& Calls() {
  static std::vector<TextCall> calls;
  return calls;
}

void Record(int left, int top, const char* text, PwColor) { Calls().push_back({left, top, text}); }

TEST_P(ScreenTest, TextGoesToTheHookWithItsTopSixteenAbove) {
  Calls().clear();
  PwScreenText({5, 20}, "outside", kWhite);  // y beyond the area
  EXPECT_TRUE(Calls().empty());
  PwSetTextOutput(Record);
  PwScreenText({5, 20}, "outside", kWhite);
  PwScreenText({-1, 3}, "outside", kWhite);
  EXPECT_TRUE(Calls().empty());
  PwScreenText({5, 12}, "hi", kWhite);
  ASSERT_EQ(1u, Calls().size());
  EXPECT_EQ(5, Calls()[0].left);
  EXPECT_EQ(-4, Calls()[0].top);
  EXPECT_EQ("hi", Calls()[0].text);
}

TEST_P(ScreenTest, TextLinesAreAlignedOnTheirBlock) {
  const char* lines[] = {"ab", "abcd", nullptr};
  struct Case {
    int halign, valign, x, y;  // first line's point
  };
  // Point (10, 8); L = 4, n = 2.
  const Case cases[] = {
      {kPwAlignLeft, kPwAlignTop, 10, 23},
      {kPwAlignRight, kPwAlignBottom, 10 - 32, 8 - 32},
      {0, 0, 10 - 16, 8 - 16 + 8},
  };
  PwSetTextOutput(Record);
  for (const Case& c : cases) {
    Calls().clear();
    PwScreenTextLines({10, 8}, lines, c.halign, c.valign, kWhite);
    // Only lines whose point lies inside reach the hook.
    std::vector<TextCall> want;
    for (int i = 0; i < 2; ++i) {
      const int y = c.y + 16 * i;
      if (c.x >= 0 && c.x < 20 && y >= 0 && y < 16) want.push_back({c.x, y - 16, lines[i]});
    }
    ASSERT_EQ(want.size(), Calls().size()) << c.halign << " " << c.valign;
    for (size_t i = 0; i < want.size(); ++i) {
      EXPECT_EQ(want[i].left, Calls()[i].left);
      EXPECT_EQ(want[i].top, Calls()[i].top);
    }
  }
}

TEST(ScreenNoSurface, DrawsNothingAndFillsReportFailure) {
  PwResetSurfaceState();
  PwSetTextOutput(Record);
  Calls().clear();
  PwScreenBox({0, 0}, {5, 5}, kWhite);
  PwScreenText({1, 1}, "x", kWhite);
  const PwPoint2 tri[] = {{0, 0}, {4, 0}, {2, 3}};
  PwScreenPolygon(3, tri, kWhite);
  EXPECT_TRUE(Calls().empty());
  EXPECT_EQ(1, PwRasterPolygon(PwCurrentPixels(), 3, tri));
  PwSetTextOutput(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Depths, ScreenTest, ::testing::Values(8, 16),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "Bits" + std::to_string(info.param);
                         });

}  // namespace
