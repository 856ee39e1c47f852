// The 2D clip rectangle and its line and polygon clippers.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/draw2d/clip2d.h"
#include "graphics/state3d/state3d.h"

namespace {

class Clip2dTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PwReset3D();
    PwStart3D(pool_.data(), pool_.size());
    PwResetClip2();
    PwSetClip2({0, 0}, {99, 99});
  }
  void TearDown() override {
    PwResetClip2();
    PwReset3D();
  }
  std::vector<unsigned char> pool_ = std::vector<unsigned char>(1 << 20);
};

constexpr int kBig = 1 << 30;

TEST_F(Clip2dTest, SetClipOrdersTheCorners) {
  PwSetClip2({50, 10}, {10, 50});
  PwPoint2 lo, hi;
  PwGetClip2(&lo, &hi);
  EXPECT_EQ(10, lo.x);
  EXPECT_EQ(10, lo.y);
  EXPECT_EQ(50, hi.x);
  EXPECT_EQ(50, hi.y);
}

TEST_F(Clip2dTest, LineClippingTable) {
  struct Case {
    PwPoint2 a, b;
    int result;
    PwPoint2 ca, cb;
  };
  const Case cases[] = {
      {{-10, 5}, {10, 5}, 1, {0, 5}, {10, 5}},
      {{10, 5}, {-10, 5}, 1, {10, 5}, {0, 5}},
      {{20, 30}, {40, 50}, 1, {20, 30}, {40, 50}},
      {{-50, -50}, {150, 150}, 1, {0, 0}, {99, 99}},
      {{50, -100}, {50, 200}, 1, {50, 0}, {50, 99}},
      {{-5, 5}, {5, -5}, 0, {}, {}},                 // touches only the corner pixel
      {{-5, 10}, {-1, 90}, 0, {}, {}},               // both left
      {{10, 100}, {90, 120}, 0, {}, {}},             // both below
      {{-20, 50}, {50, 130}, 1, {0, 73}, {22, 99}},  // start clipped against the clipped end
      {{40, 40}, {40, 40}, 0, {}, {}},               // a single point is no segment
      // Far-off ends: the crossings need more than 32 bits.
      {{-kBig, 50}, {kBig, 50}, 1, {0, 50}, {99, 50}},
      {{-kBig, -kBig}, {kBig, kBig}, 1, {0, 0}, {99, 99}},
  };
  for (const Case& c : cases) {
    PwPoint2 ca{-1, -1}, cb{-1, -1};
    const int r = PwClipLine2(&ca, &cb, c.a, c.b);
    EXPECT_EQ(c.result, r) << c.a.x << "," << c.a.y << " " << c.b.x << "," << c.b.y;
    if (r != 1 || c.result != 1) continue;
    EXPECT_EQ(c.ca.x, ca.x);
    EXPECT_EQ(c.ca.y, ca.y);
    EXPECT_EQ(c.cb.x, cb.x);
    EXPECT_EQ(c.cb.y, cb.y);
  }
}

std::vector<PwPoint2> Clip(const std::vector<PwPoint2>& in, int* result) {
  std::vector<PwPoint2> out(4 * in.size() + 1, PwPoint2{12345, 12345});
  int n = -1;
  *result = PwClipPolygon2(&n, out.data(), static_cast<int>(in.size()), in.data());
  EXPECT_EQ(12345, out.back().x);  // nothing beyond 4 * count
  out.resize(n < 0 ? 0 : n);
  return out;
}

bool Equal(const std::vector<PwPoint2>& a, const std::vector<PwPoint2>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].x != b[i].x || a[i].y != b[i].y) return false;
  return true;
}

TEST_F(Clip2dTest, PolygonClippingTable) {
  struct Case {
    std::vector<PwPoint2> in;
    int result;
    std::vector<PwPoint2> out;
  };
  const Case cases[] = {
      // A vertex left of xmin turns the triangle into a quadrilateral.
      {{{-10, 50}, {50, 10}, {50, 90}}, 1, {{0, 43}, {50, 10}, {50, 90}, {0, 56}}},
      {{{10, 10}, {20, 10}, {20, 20}}, 1, {{10, 10}, {20, 10}, {20, 20}}},
      {{{-30, -30}, {-10, -30}, {-10, -10}}, 0, {}},
      {{{-kBig, -kBig}, {kBig, -kBig}, {kBig, kBig}, {-kBig, kBig}},
       1,
       {{99, 99}, {0, 99}, {0, 0}, {99, 0}}},
      {{{5, 5}}, 1, {{5, 5}}},
  };
  for (const Case& c : cases) {
    int r = -1;
    const std::vector<PwPoint2> got = Clip(c.in, &r);
    EXPECT_EQ(c.result, r);
    EXPECT_TRUE(Equal(c.out, got)) << "first in " << c.in[0].x << "," << c.in[0].y;
  }
  int n = 7;
  EXPECT_EQ(0, PwClipPolygon2(&n, nullptr, 0, nullptr));
  EXPECT_EQ(0, n);
}

TEST_F(Clip2dTest, PolygonsGiveTheirScratchBackAndFailWhenItRunsOut) {
  const std::vector<PwPoint2> tri = {{-10, 50}, {50, 10}, {50, 90}};
  for (int i = 0; i < 10000; ++i) {
    int r = 0;
    Clip(tri, &r);
    ASSERT_EQ(1, r);
  }
  EXPECT_EQ(0u, PwScratchUsed(0));
  unsigned char tiny[16];
  PwReset3D();
  PwStart3D(tiny, sizeof tiny);
  int r = -1;
  EXPECT_TRUE(Clip(tri, &r).empty());
  EXPECT_EQ(0, r);
}

TEST_F(Clip2dTest, RandomPolygonsStayInsideAndWithinTheirArray) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> near(-60, 160);
  std::uniform_int_distribution<int> far(-kBig, kBig);
  for (int iter = 0; iter < 3000; ++iter) {
    std::vector<PwPoint2> in(1 + rng() % 40);
    for (PwPoint2& p : in)
      p = (rng() % 4 == 0) ? PwPoint2{far(rng), far(rng)} : PwPoint2{near(rng), near(rng)};
    int r = -1;
    for (const PwPoint2& p : Clip(in, &r)) {
      ASSERT_TRUE(p.x >= 0 && p.x <= 99 && p.y >= 0 && p.y <= 99) << p.x << "," << p.y;
    }
    PwPoint2 a, b;
    if (PwClipLine2(&a, &b, in[0], in[in.size() - 1]) == 1) {
      ASSERT_TRUE(a.x >= 0 && a.x <= 99 && a.y >= 0 && a.y <= 99);
      ASSERT_TRUE(b.x >= 0 && b.x <= 99 && b.y >= 0 && b.y <= 99);
    }
  }
}

}  // namespace
