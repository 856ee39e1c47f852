// A small pixel buffer behind the renderer's callbacks: every write is
// recorded, so tests see exactly which pixels a primitive produced.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "graphics/zbuffer/zbuffer.h"

struct ZPixel {
  int writes = 0;
  int red = -1, green = -1, blue = -1;
  float depth = 0.0f;
};

class ZBufferFixture : public ::testing::Test {
 protected:
  static constexpr int kW = 16, kH = 16;

  void SetUp() override {
    ASSERT_EQ(1, PwZInit());
    Pixels().assign(kW * kH, ZPixel());
    Stray() = 0;
    Polls() = 0;
    PollLimit() = -1;
    PwZSetPixelFuncs(DepthPixel);
    PwZSetPlainPixelFunc(PlainPixel);
    PwZSetPollFunc(Poll);
    // Camera-space points map to pixels as sx = 8 + x * 10 / z.
    PwZSetViewport(0, 0, kW - 1, kH - 1, 8, 8);
    PwZSetMagnification(10.0f, 1.0f);
  }
  void TearDown() override {
    PwZInit();
    EXPECT_EQ(0, Stray()) << "a pixel outside the viewport was produced";
  }

  static std::vector<ZPixel>& Pixels() {
    static std::vector<ZPixel> p;
    return p;
  }
  static int& Stray() {
    static int n = 0;
    return n;
  }
  static int& Polls() {
    static int n = 0;
    return n;
  }
  // The poll answers 1 once this many polls have been made (-1: never).
  static int& PollLimit() {
    static int n = -1;
    return n;
  }
  static ZPixel& At(int x, int y) { return Pixels()[y * kW + x]; }
  static int Written() {
    int n = 0;
    for (const ZPixel& p : Pixels()) n += p.writes > 0;
    return n;
  }
  static void Clear() { Pixels().assign(kW * kH, ZPixel()); }

 private:
  static void Store(int x, int y, int r, int g, int b, float d) {
    if (x < 0 || y < 0 || x >= kW || y >= kH) {
      ++Stray();
      return;
    }
    ZPixel& p = At(x, y);
    ++p.writes;
    p.red = r;
    p.green = g;
    p.blue = b;
    p.depth = d;
  }
  static void DepthPixel(int, int x, int y, int r, int g, int b, float d) {
    Store(x, y, r, g, b, d);
  }
  static void PlainPixel(int, int x, int y, int r, int g, int b) { Store(x, y, r, g, b, -1.0f); }
  static int Poll() {
    ++Polls();
    return PollLimit() >= 0 && Polls() > PollLimit() ? 1 : 0;
  }
};
