// The polygon fill tiles: polygons that share edges paint every pixel of
// their union exactly once between them, counted pixel by pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "graphics/software/screen.h"
#include "guarded_pixels.h"
#include "screen_fixture.h"

namespace {

constexpr int kW = 64;
constexpr int kH = 48;
constexpr unsigned int kInk = 0x7ABC;

using Polygon = std::vector<PwPoint2>;

// How often each pixel is painted when the pieces are filled one by one.
std::vector<int> PaintCounts(const std::vector<Polygon>& pieces) {
  std::vector<int> counts(kW * kH, 0);
  GuardedPixels g(kW, kH, 16);
  for (const Polygon& p : pieces) {
    g.Clear(0);
    EXPECT_EQ(0, PwRasterPolygon(&g.buf, static_cast<int>(p.size()), p.data()));
    PwRasterFillRows(&g.buf, kInk);
    EXPECT_TRUE(g.GuardsIntact());
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) counts[y * kW + x] += g.At(x, y) == kInk;
  }
  return counts;
}

// Every pixel of the union (all) painted exactly once by the pieces
// (parts), none outside it.
void ExpectTileCounts(const std::vector<int>& parts, const std::vector<int>& all) {
  int holes = 0, twice = 0, outside = 0, area = 0;
  for (int i = 0; i < kW * kH; ++i) {
    area += all[i];
    holes += all[i] == 1 && parts[i] == 0;
    twice += parts[i] > 1;
    outside += all[i] == 0 && parts[i] != 0;
  }
  EXPECT_GT(area, 0);
  EXPECT_EQ(0, holes);
  EXPECT_EQ(0, twice);
  EXPECT_EQ(0, outside);
}

void ExpectTiles(const std::vector<Polygon>& pieces, const Polygon& whole) {
  ExpectTileCounts(PaintCounts(pieces), PaintCounts({whole}));
}

TEST(FillTilingTest, GridOfQuadsPaintsItsUnionOnce) {
  // A 6 x 4 mesh of quads over jittered vertices: shared edges run
  // horizontal, steep, shallow and vertical, walked both ways by the two
  // quads that share them; odd cells wind the other way round.
  const int cols = 6, rows = 4;
  auto vertex = [](int i, int j) {
    const int x = 2 + i * 10 + (i > 0 && i < 6 ? ((i * 7 + j * 3) % 5) - 2 : 0);
    const int y = 1 + j * 11 + (j > 0 && j < 4 ? ((i * 5 + j * 2) % 7) - 3 : 0);
    return PwPoint2{x, y};
  };
  std::vector<Polygon> quads;
  for (int j = 0; j < rows; ++j) {
    for (int i = 0; i < cols; ++i) {
      Polygon q = {vertex(i, j), vertex(i + 1, j), vertex(i + 1, j + 1), vertex(i, j + 1)};
      if ((i + j) % 2 == 1) q = {q[3], q[2], q[1], q[0]};
      quads.push_back(q);
    }
  }
  ExpectTiles(quads, {vertex(0, 0), vertex(cols, 0), vertex(cols, rows), vertex(0, rows)});
}

// Twelve triangles round a shared centre (each one's first vertex) out to a
// ring of uneven radius.
void Fan(std::vector<Polygon>* fan, Polygon* ring) {
  const PwPoint2 centre = {31, 23};
  for (int k = 0; k < 12; ++k) {
    const double a = k * 2 * 3.14159265358979 / 12 + 0.1;
    const double r = 14 + (k * 5) % 7;
    ring->push_back({centre.x + static_cast<int>(std::lround(r * std::cos(a))),
                     centre.y + static_cast<int>(std::lround(r * std::sin(a)))});
  }
  for (int k = 0; k < 12; ++k) fan->push_back({centre, (*ring)[k], (*ring)[(k + 1) % 12]});
}

TEST(FillTilingTest, FanOfTrianglesPaintsItsUnionOnce) {
  std::vector<Polygon> fan;
  Polygon ring;
  Fan(&fan, &ring);
  ExpectTiles(fan, ring);
}

// The same counts through the screen layer, which is what the flush calls:
// nothing it adds to the fill (a vertex's own pixel) may break the tiling.
class ScreenTilingTest : public ::testing::Test, public ScreenFixture {
 protected:
  void SetUp() override { Open(kW, kH, 16); }
  void TearDown() override { Close(); }

  std::vector<int> Counts(const std::vector<Polygon>& pieces) {
    const PwColor white = {255, 255, 255};
    const unsigned int ink = Ink(white);
    std::vector<int> counts(kW * kH, 0);
    for (const Polygon& p : pieces) {
      PwScreenClear();
      PwScreenPolygon(static_cast<int>(p.size()), p.data(), white);
      for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) counts[y * kW + x] += At(x, y) == ink;
    }
    EXPECT_TRUE(GuardsIntact());
    return counts;
  }

  void ExpectScreenTiles(const std::vector<Polygon>& pieces, const Polygon& whole) {
    ExpectTileCounts(Counts(pieces), PaintCounts({whole}));
  }
};

TEST_F(ScreenTilingTest, FanPaintsItsUnionOnce) {
  std::vector<Polygon> fan;
  Polygon ring;
  Fan(&fan, &ring);
  ExpectScreenTiles(fan, ring);
}

TEST_F(ScreenTilingTest, SplitQuadPaintsItsUnionOnce) {
  // Each triangle starts at a corner that is right or bottom of the quad
  // (outside it under the half-open rule); both diagonals, both windings.
  const PwPoint2 a = {6, 5}, b = {50, 8}, c = {44, 40}, d = {9, 37};
  const Polygon quad = {a, b, c, d};
  for (const auto& halves : std::vector<std::vector<Polygon>>{{{c, d, a}, {c, a, b}},
                                                              {{b, c, d}, {d, a, b}},
                                                              {{c, b, a}, {a, d, c}},
                                                              {{d, c, b}, {b, a, d}}}) {
    ExpectScreenTiles(halves, quad);
  }
}

}  // namespace
