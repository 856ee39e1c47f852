#include "graphics/math/pw_types.h"
#include "graphics/software/surface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

// A backend that puts the pixels between guard bytes and counts its calls.
constexpr size_t kGuard = 64;
constexpr unsigned char kGuardByte = 0xC5;

struct Fake {
  int display_bits = 32;
  int creates = 0;
  int destroys = 0;
  int fail_create = 0;
  int presents = 0;
  int present_width = 0;
  int present_height = 0;
  void* present_dc = nullptr;
  unsigned char* block = nullptr;
  size_t bytes = 0;
};

Fake& F() {
  static Fake fake;
  return fake;
}

const PwSurfaceBackend kFake = {
    [](void*) { return F().display_bits; },
    [](PwSurface* s, void*) -> int {
      if (F().fail_create) return 1;
      ++F().creates;
      F().bytes = static_cast<size_t>(s->pixels.pixel_width) * s->pixels.height *
                  (s->pixels.bits_per_pixel / 8);
      F().block = static_cast<unsigned char*>(std::malloc(F().bytes + 2 * kGuard));
      std::memset(F().block, kGuardByte, F().bytes + 2 * kGuard);
      s->pixels.bits = F().block + kGuard;
      s->memory_dc = &F();
      return 0;
    },
    [](PwSurface* s) {
      ++F().destroys;
      std::free(s->pixels.bits - kGuard);
      F().block = nullptr;
    },
    [](const PwSurface*, void* dc, int w, int h) {
      ++F().presents;
      F().present_dc = dc;
      F().present_width = w;
      F().present_height = h;
      return 1;
    },
};

bool GuardsIntact() {
  if (!F().block) return true;
  for (size_t i = 0; i < kGuard; ++i) {
    if (F().block[i] != kGuardByte || F().block[kGuard + F().bytes + i] != kGuardByte) return false;
  }
  return true;
}

class SurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PwResetSurfaceState();
    F() = Fake();
    PwSetSurfaceBackend(&kFake);
  }
  void TearDown() override {
    EXPECT_TRUE(GuardsIntact());
    PwResetSurfaceState();
    EXPECT_EQ(F().creates, F().destroys);
  }
  int dc_ = 0;  // stands for a window DC
};

TEST(SurfaceSizes, BitmapWidthsAndBits) {
  struct {
    int width, bitmap;
  } widths[] = {{0, 8}, {1, 8}, {8, 8}, {9, 16}, {16, 16}, {640, 1024}, {1024, 1024}, {1025, 2048}};
  for (auto w : widths) EXPECT_EQ(PwBitmapWidth(w.width), w.bitmap) << w.width;
  EXPECT_EQ(PwSurfaceBitsFor(kPwDepthDisplay, 32), 16);
  EXPECT_EQ(PwSurfaceBitsFor(kPwDepthDisplay, 24), 16);
  EXPECT_EQ(PwSurfaceBitsFor(kPwDepthDisplay, 16), 16);
  EXPECT_EQ(PwSurfaceBitsFor(kPwDepthDisplay, 8), 8);
  EXPECT_EQ(PwSurfaceBitsFor(kPwDepth8, 32), 8);
  EXPECT_EQ(PwSurfaceBitsFor(kPwDepth16, 8), 16);
}

TEST_F(SurfaceTest, SizeBeforeAnySurfaceIs16By16) {
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  EXPECT_EQ(PwCurrentPixels()->created, 0);
  EXPECT_EQ(PwPresent(), 0);
  EXPECT_EQ(F().presents, 0);
}

TEST_F(SurfaceTest, WindowSizedSurfaceAndPresent) {
  PwSetSurface(&dc_, 640, 480, kPwDepthDisplay);
  const PwPixelBuffer& p = *PwCurrentPixels();
  ASSERT_EQ(p.created, 1);
  EXPECT_EQ(p.bits_per_pixel, 16);
  EXPECT_EQ(p.pixel_width, 1024);
  EXPECT_EQ(p.height, 480);
  EXPECT_EQ(p.bottom_up, 0);
  for (int row : {0, 1, 479}) {
    EXPECT_EQ(p.rows[row], p.bits + row * 2048);
    EXPECT_EQ(p.crossings[row][0], 0);
  }
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  for (size_t i = 0; i < F().bytes; ++i) ASSERT_EQ(p.bits[i], 0) << i;  // black
  EXPECT_EQ(PwPresent(), 1);
  EXPECT_EQ(F().present_width, 640);
  EXPECT_EQ(F().present_height, 480);
  EXPECT_EQ(F().present_dc, &dc_);
  EXPECT_EQ(PwSurfaceMemoryDC(), &F());
  PwSurface copy;
  PwGetSurface(&copy);
  EXPECT_EQ(copy.pixels.bits, p.bits);
}

TEST_F(SurfaceTest, SmallRequestRaisedAndRepeatKeepsDrawing) {
  PwSetSurface(&dc_, 10, 10, kPwDepthDisplay);
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  EXPECT_EQ(PwCurrentPixels()->pixel_width, 16);
  PwCurrentPixels()->rows[3][5] = 0x5A;
  PwSetSurface(&dc_, 10, 10, kPwDepthDisplay);
  PwSetSurface(&dc_, 16, 12, kPwDepthDisplay);
  EXPECT_EQ(F().creates, 1);
  EXPECT_EQ(PwCurrentPixels()->rows[3][5], 0x5A);
  PwSetSurface(&dc_, 17, 10, kPwDepthDisplay);
  EXPECT_EQ(F().creates, 2);
  EXPECT_EQ(F().destroys, 1);
}

TEST_F(SurfaceTest, DepthModesAndDisplayBits) {
  PwPaletteEntry entries[kPwPaletteSize];
  for (auto& e : entries) e = PwPaletteEntry{200, 200, 200, 0};
  entries[9] = PwPaletteEntry{0, 0, 0, 0};
  PwBuildColorTable(entries);

  PwSetSurface(&dc_, 100, 50, kPwDepth8);
  ASSERT_EQ(PwCurrentPixels()->created, 1);
  EXPECT_EQ(PwCurrentPixels()->bits_per_pixel, 8);
  EXPECT_EQ(PwCurrentPixels()->rows[1], PwCurrentPixels()->bits + 128);
  for (size_t i = 0; i < F().bytes; ++i) ASSERT_EQ(PwCurrentPixels()->bits[i], 9) << i;

  PwSetSurface(&dc_, 100, 50, kPwDepth16);
  EXPECT_EQ(PwCurrentPixels()->bits_per_pixel, 16);
  F().display_bits = 8;
  PwSetSurface(&dc_, 100, 50, kPwDepthDisplay);
  EXPECT_EQ(PwCurrentPixels()->bits_per_pixel, 8);
  EXPECT_EQ(F().creates, 3);
}

TEST_F(SurfaceTest, FailedCreationLeavesNoSurfaceAndRetries) {
  F().fail_create = 1;
  PwSetSurface(&dc_, 64, 64, kPwDepthDisplay);
  EXPECT_EQ(PwCurrentPixels()->created, 0);
  EXPECT_EQ(PwCurrentPixels()->bits, nullptr);
  EXPECT_EQ(PwPresent(), 0);
  F().fail_create = 0;
  PwSetSurface(&dc_, 64, 64, kPwDepthDisplay);  // the same size is tried again
  EXPECT_EQ(PwCurrentPixels()->created, 1);
}

TEST_F(SurfaceTest, FailureAfterPlatformPartFreesIt) {
  PwSurface surface;
  EXPECT_EQ(PwSurfaceCreate(&surface, &dc_, 32, 0, kPwDepthDisplay), 1);
  EXPECT_EQ(F().creates, 1);
  EXPECT_EQ(F().destroys, 1);
  EXPECT_EQ(surface.pixels.created, 0);
  EXPECT_EQ(surface.memory_dc, nullptr);
  EXPECT_EQ(PwSurfaceDestroy(&surface), 0);
  EXPECT_EQ(F().destroys, 1);
}

TEST_F(SurfaceTest, FreeSurface) {
  PwSetSurface(&dc_, 64, 64, kPwDepthDisplay);
  PwFreeSurface();
  EXPECT_EQ(PwCurrentPixels()->created, 0);
  EXPECT_EQ(F().destroys, 1);
  PwFreeSurface();
  EXPECT_EQ(F().destroys, 1);
}

TEST(HeapSurface, DefaultBackendGivesPlainPixels) {
  PwResetSurfaceState();
  PwSetSurface(nullptr, 20, 20, kPwDepthDisplay);
  ASSERT_EQ(PwCurrentPixels()->created, 1);
  EXPECT_EQ(PwCurrentPixels()->bits_per_pixel, 16);
  EXPECT_EQ(PwCurrentPixels()->pixel_width, 32);
  PwCurrentPixels()->rows[19][63] = 1;  // last byte of the last row
  EXPECT_EQ(PwPresent(), 1);
  EXPECT_EQ(PwSurfaceMemoryDC(), nullptr);
  PwResetSurfaceState();
  EXPECT_EQ(PwCurrentPixels()->created, 0);
}

TEST(PixelBuffer, AttachAndDetach) {
  unsigned char bits[16 * 4 * 2];
  PwPixelBuffer p;
  ASSERT_EQ(PwPixelBufferAttach(&p, bits, 16, 4, 16), 0);
  EXPECT_EQ(p.rows[3], bits + 3 * 32);
  EXPECT_EQ(p.created, 0);
  PwPixelBufferDetach(&p);
  EXPECT_EQ(p.rows, nullptr);
  EXPECT_EQ(PwPixelBufferAttach(&p, bits, 16, 0, 16), 1);
  EXPECT_EQ(p.rows, nullptr);
}

}  // namespace
