// Triangulation, winding, point in polygon and the 2D line cut.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/geometry/polygon_geometry.h"

namespace {

// Twice the signed area of a polygon in the plane z = c (x, y).
double Area2(const std::vector<PwVec3>& p) {
  double s = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const PwVec3& a = p[i];
    const PwVec3& b = p[(i + 1) % p.size()];
    s += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return s;
}

std::vector<PwVec3> Flat(std::initializer_list<std::pair<float, float>> xy) {
  std::vector<PwVec3> out;
  for (auto [x, y] : xy) out.push_back({x, y, 3.0f});
  return out;
}

// Triangulates and checks the pieces cover the polygon exactly once.
void ExpectTiles(const std::vector<PwVec3>& poly) {
  const int n = static_cast<int>(poly.size());
  std::vector<int> tri(3 * (n - 2), -1);
  int count = -1;
  ASSERT_EQ(1, PwTriangulate(&count, tri.data(), n, poly.data()));
  ASSERT_EQ(n - 2, count);
  double sum = 0;
  for (int t = 0; t < count; ++t) {
    std::vector<PwVec3> piece;
    for (int k = 0; k < 3; ++k) {
      ASSERT_GE(tri[3 * t + k], 0);
      ASSERT_LT(tri[3 * t + k], n);
      piece.push_back(poly[tri[3 * t + k]]);
    }
    sum += std::fabs(Area2(piece));
  }
  EXPECT_NEAR(std::fabs(Area2(poly)), sum, 1e-3 * std::fabs(Area2(poly)));
}

TEST(Triangulate, ConvexQuadSplitsAlongItsShorterDiagonal) {
  const auto quad = Flat({{0, 0}, {4, 0}, {5, 3}, {0, 2}});
  int tri[6];
  int count = 0;
  ASSERT_EQ(1, PwTriangulate(&count, tri, 4, quad.data()));
  ASSERT_EQ(2, count);
  EXPECT_EQ(std::vector<int>({1, 2, 3, 3, 0, 1}), std::vector<int>(tri, tri + 6));
}

TEST(Triangulate, PiecesCoverTheirPolygons) {
  ExpectTiles(Flat({{0, 0}, {10, 0}, {10, 10}, {0, 10}}));
  ExpectTiles(Flat({{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}}));  // L
  ExpectTiles(Flat({{0, 0},
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
                    {0, 6}}));                                                      // comb
  ExpectTiles(Flat({{0, 0}, {0.5f, 0.1f}, {1, 0}, {0.6f, 0.5f}, {1, 1}, {0, 1}}));  // small
  std::vector<PwVec3> star;
  for (int k = 0; k < 20; ++k) {
    const double a = 6.283185307179586 * k / 20;
    const double r = k % 2 == 0 ? 50 : 20;
    star.push_back(
        {static_cast<float>(r * std::cos(a)), static_cast<float>(r * std::sin(a)), 0.0f});
  }
  ExpectTiles(star);
  // Tilted out of every axis plane.
  std::vector<PwVec3> tilted;
  for (const PwVec3& p : Flat({{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}}))
    tilted.push_back({p.x, p.y * 0.6f, p.y * 0.8f + p.x * 0.1f});
  const int n = static_cast<int>(tilted.size());
  std::vector<int> tri(3 * (n - 2));
  int count = 0;
  EXPECT_EQ(1, PwTriangulate(&count, tri.data(), n, tilted.data()));
  EXPECT_EQ(n - 2, count);
}

TEST(Triangulate, HugePolygonsTileToo) {
  // Plane coordinates far beyond int: a quad 2e10 wide and the L and the
  // comb at a billion times their size.
  ExpectTiles(Flat({{-1e10f, 0}, {1e10f, 0}, {1e10f, 5}, {-1e10f, 5}}));
  const float s = 1e9f;
  ExpectTiles(Flat(
      {{0, 0}, {30 * s, 0}, {30 * s, 10 * s}, {10 * s, 10 * s}, {10 * s, 30 * s}, {0, 30 * s}}));
  ExpectTiles(Flat({{0, 0},
                    {10 * s, 0},
                    {10 * s, 6 * s},
                    {8 * s, 6 * s},
                    {8 * s, 2 * s},
                    {6 * s, 2 * s},
                    {6 * s, 6 * s},
                    {4 * s, 6 * s},
                    {4 * s, 2 * s},
                    {2 * s, 2 * s},
                    {2 * s, 6 * s},
                    {0, 6 * s}}));
  // Coordinates whose extent is not finite are refused.
  std::vector<int> tri(2);
  int count = -1;
  const std::vector<PwVec3> wide = Flat({{-3e38f, 0}, {3e38f, 0}, {0, 1}});
  EXPECT_EQ(0, PwTriangulate(&count, tri.data(), 3, wide.data()));
}

TEST(Triangulate, RefusesTooFewTooManyAndDegenerate) {
  std::vector<PwVec3> many;
  for (int k = 0; k < 65; ++k) {
    const double a = 6.283185307179586 * k / 65;
    many.push_back({static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)), 0.0f});
  }
  std::vector<int> tri(3 * 65);
  int count = 7;
  EXPECT_EQ(0, PwTriangulate(&count, tri.data(), 65, many.data()));
  EXPECT_EQ(0, count);
  count = 7;
  EXPECT_EQ(0, PwTriangulate(&count, tri.data(), 2, many.data()));
  EXPECT_EQ(0, count);
  const auto line = Flat({{0, 0}, {1, 1}, {2, 2}, {3, 3}});
  EXPECT_EQ(0, PwTriangulate(&count, tri.data(), 4, line.data()));
  EXPECT_EQ(0, count);
  // 64 vertices is the most; the integer midpoint test needs room between
  // neighbouring chords, so the disc is large.
  for (PwVec3& p : many) p = {p.x * 10000, p.y * 10000, 0.0f};
  EXPECT_EQ(1, PwTriangulate(&count, tri.data(), 64, many.data()));
  EXPECT_EQ(62, count);
}

TEST(Winding, OrderDecidesAndAClosingRepeatChangesNothing) {
  const PwVec3 up = {0, 1, 0};
  // In the plane frame of (0, 1, 0) the point (x, 0, z) maps to (-z, x):
  // this order turns counter-clockwise there.
  std::vector<PwVec3> sq = {{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}};
  EXPECT_EQ(2, PwWinding(4, sq.data(), &up));
  std::vector<PwVec3> rev(sq.rbegin(), sq.rend());
  EXPECT_EQ(1, PwWinding(4, rev.data(), &up));
  sq.push_back(sq[0]);
  EXPECT_EQ(2, PwWinding(5, sq.data(), &up));
  const std::vector<PwVec3> dot = {{1, 0, 1}, {1, 0, 1}, {1, 0, 1}};
  EXPECT_EQ(0, PwWinding(3, dot.data(), &up));
}

TEST(InsidePolygon2, InsideOutsideAndOnTheEdge) {
  // An L, so that some inside points lie on the extension of an edge.
  PwVec2 pts[] = {{0, 0}, {30, 0}, {30, 10}, {10, 10}, {10, 30}, {0, 30}};
  const PwPointList2 l = {6, pts};
  struct Case {
    PwVec2 q;
    int inside;
  };
  const Case cases[] = {
      {{5, 5}, 1},  {{20, 5}, 1},  {{5, 20}, 1}, {{20, 20}, 0}, {{-1, 5}, 0},
      {{15, 0}, 0}, {{30, 5}, 0},  {{5, 10}, 1},  // on the line y = 10 beyond its edge
      {{10, 5}, 1}, {{10, 20}, 0}, {{0, 0}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.inside, PwInsidePolygon2(&l, &c.q)) << c.q.x << "," << c.q.y;
  }
}

TEST(SegmentCross2, MeetingPointAndParallelLines) {
  const PwRay2 a = {{0, 0}, {1, 1}};
  const PwRay2 b = {{0, 2}, {1, -1}};
  PwVec2 out{};
  ASSERT_EQ(1, PwSegmentCross2(&out, &a, &b));
  EXPECT_FLOAT_EQ(1.0f, out.x);
  EXPECT_FLOAT_EQ(1.0f, out.y);
  const PwRay2 c = {{5, 0}, {2, 2}};
  EXPECT_EQ(0, PwSegmentCross2(&out, &a, &c));
}

}  // namespace
