// The GDI text output draws the system fixed font into the surface's DIB.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/software/screen.h"
#include "graphics/software/surface.h"
#include "graphics/software/text_output.h"

namespace {

class GdiTextTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    PwResetSurfaceState();
    screen_ = GetDC(nullptr);
    ASSERT_NE(nullptr, screen_);
    // The 8-bit DIB takes its colour table from the palette entries.
    PwPaletteEntry palette[kPwPaletteSize];
    PwLayoutPalette(palette, nullptr, 0);
    PwBuildColorTable(palette);
    PwSetSurfaceBackend(PwGdiSurfaceBackend());
    PwSetSurface(screen_, 96, 48, GetParam());
    ASSERT_EQ(1, PwCurrentPixels()->created);
    PwInstallGdiTextOutput();
  }
  void TearDown() override {
    PwSetTextOutput(nullptr);
    PwResetSurfaceState();
    if (screen_ != nullptr) ReleaseDC(nullptr, screen_);
  }
  // Pixels of rows [y0, y1] that differ from the black background.
  int Lit(int y0, int y1) const {
    GdiFlush();
    const PwPixelBuffer* p = PwCurrentPixels();
    const unsigned int black = PwPixelValue(p, PwColor{0, 0, 0});
    int n = 0;
    for (int y = y0; y <= y1; ++y) {
      for (int x = 0; x < 96; ++x) {
        unsigned int v = p->rows[y][x];
        if (p->bits_per_pixel == 16) {
          uint16_t w;
          std::memcpy(&w, p->rows[y] + 2 * x, 2);
          v = w;
        }
        n += v != black;
      }
    }
    return n;
  }
  HDC screen_ = nullptr;
};

TEST_P(GdiTextTest, TextLandsAboveItsPointAndOnlyInsideTheArea) {
  PwScreenClear();
  PwScreenText({4, 40}, "WW", PwColor{255, 255, 255});
  EXPECT_GT(Lit(24, 39), 10);
  EXPECT_EQ(0, Lit(40, 47));
  EXPECT_EQ(0, Lit(0, 20));
  PwScreenClear();
  PwScreenText({4, 48}, "WW", PwColor{255, 255, 255});  // y outside the area
  EXPECT_EQ(0, Lit(0, 47));
}

INSTANTIATE_TEST_SUITE_P(Depths, GdiTextTest, ::testing::Values(8, 16));

}  // namespace
