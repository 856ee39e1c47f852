// Holes bridged into outlines, convexity and convex pieces.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/geometry/polygon_geometry.h"
#include "graphics/files/pw_alloc.h"

namespace {

// Area of a polygon lying in a plane z = const.
double Area(const PwVec3* p, int n) {
  double s = 0;
  for (int i = 0; i < n; ++i) {
    const PwVec3& a = p[i];
    const PwVec3& b = p[(i + 1) % n];
    s += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return std::fabs(s) / 2;
}

struct Contour {
  std::vector<PwVec3> pts;
  PwPointList3 List() { return {static_cast<int>(pts.size()), pts.data()}; }
};

Contour Square(float x0, float y0, float x1, float y1, bool reverse = false) {
  Contour c;
  c.pts = {{x0, y0, 2}, {x1, y0, 2}, {x1, y1, 2}, {x0, y1, 2}};
  if (reverse) c.pts = {c.pts[0], c.pts[3], c.pts[2], c.pts[1]};
  return c;
}

Contour LShape() {
  Contour c;
  c.pts = {{0, 0, 2}, {30, 0, 2}, {30, 10, 2}, {10, 10, 2}, {10, 30, 2}, {0, 30, 2}};
  return c;
}

TEST(Contours, SquareWithAHoleMergesAndTriangulatesToTheRing) {
  Contour outer = Square(0, 0, 10, 10);
  Contour hole = Square(3, 3, 7, 7, true);
  PwPointList3 lists[] = {outer.List(), hole.List()};

  PwPointList3 merged{};
  ASSERT_EQ(1, PwMergeContours(&merged, 2, lists));
  EXPECT_EQ(4 + 4 + 2, merged.count);
  PwFreePoints3(&merged);

  int count = 0;
  PwVec3* tris = nullptr;
  ASSERT_EQ(1, PwTriangulateHoles(&count, &tris, 2, lists));
  EXPECT_EQ(8, count);
  double sum = 0;
  for (int t = 0; t < count; ++t) sum += Area(tris + 3 * t, 3);
  EXPECT_NEAR(100.0 - 16.0, sum, 1e-3);
  PwFree(tris);
}

TEST(Contours, ConvexityAndConvexPieces) {
  Contour sq = Square(0, 0, 10, 10);
  Contour l = LShape();
  PwPointList3 sql = sq.List();
  PwPointList3 ll = l.List();
  EXPECT_EQ(1, PwIsConvexPolygon(&sql));
  EXPECT_EQ(0, PwIsConvexPolygon(&ll));
  // A vertex in the middle of an edge makes no turn and is left out.
  Contour mid;
  mid.pts = {{0, 0, 2}, {5, 0, 2}, {10, 0, 2}, {10, 10, 2}, {0, 10, 2}};
  PwPointList3 midl = mid.List();
  EXPECT_EQ(1, PwIsConvexPolygon(&midl));

  int count = 0;
  PwPointList3* pieces = nullptr;
  ASSERT_EQ(1, PwConvexPieces(&count, &pieces, &ll));
  EXPECT_EQ(2, count);
  double sum = 0;
  for (int k = 0; k < count; ++k) {
    EXPECT_EQ(1, PwIsConvexPolygon(&pieces[k]));
    sum += Area(pieces[k].points, pieces[k].count);
    PwFreePoints3(&pieces[k]);
  }
  PwFree(pieces);
  EXPECT_NEAR(30 * 10 + 10 * 20, sum, 1e-3);

  ASSERT_EQ(1, PwConvexPieces(&count, &pieces, &sql));
  EXPECT_EQ(1, count);
  PwFreePoints3(&pieces[0]);
  PwFree(pieces);
}

TEST(Contours, DegenerateInputFails) {
  Contour line;
  line.pts = {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}};
  PwPointList3 ll = line.List();
  int count = 5;
  PwVec3* tris = nullptr;
  EXPECT_EQ(0, PwTriangulateHoles(&count, &tris, 1, &ll));
  EXPECT_EQ(0, count);
  EXPECT_EQ(0, PwTriangulateHoles(&count, &tris, 0, nullptr));
  PwPointList3 merged{};
  EXPECT_EQ(0, PwMergeContours(&merged, 1, &ll));
}

}  // namespace
