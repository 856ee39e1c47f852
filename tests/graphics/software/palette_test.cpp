#include "graphics/math/pw_types.h"
#include "graphics/software/surface.h"

#include <gtest/gtest.h>

namespace {

PwPaletteEntry Entry(int r, int g, int b, int flags = 0) {
  return PwPaletteEntry{static_cast<unsigned char>(r), static_cast<unsigned char>(g),
                        static_cast<unsigned char>(b), static_cast<unsigned char>(flags)};
}

bool Same(const PwPaletteEntry& e, int r, int g, int b) {
  return e.red == r && e.green == g && e.blue == b && e.flags == 0;
}

class PaletteTest : public ::testing::Test {
 protected:
  void TearDown() override { PwResetSurfaceState(); }
  PwPaletteEntry halftone_[kPwPaletteSize];
  PwPaletteEntry layout_[kPwPaletteSize];
  void SetUp() override {
    for (int i = 0; i < kPwPaletteSize; ++i) halftone_[i] = Entry(1, 2, 3, 4);
  }
};

TEST_F(PaletteTest, LayoutForHalftoneCounts) {
  for (int given : {0, 20, 40, 256}) {
    const int n = given > 40 ? 40 : given;
    PwLayoutPalette(layout_, halftone_, given);
    for (int i = 0; i < n; ++i) ASSERT_TRUE(Same(layout_[i], 1, 2, 3)) << given << " " << i;
    for (int g = 0; g < 6; ++g)
      for (int r = 0; r < 6; ++r)
        for (int b = 0; b < 6; ++b)
          ASSERT_TRUE(Same(layout_[n + 36 * g + 6 * r + b], 51 * r, 51 * g, 51 * b))
              << given << " " << g << r << b;
    for (int k = 0; k < 40 - n; ++k) {
      int grey = k * 255 / (40 - n);
      ASSERT_TRUE(Same(layout_[n + 216 + k], grey, grey, grey)) << given << " " << k;
    }
  }
  PwLayoutPalette(layout_, halftone_, 0);
  EXPECT_TRUE(Same(layout_[255], 248, 248, 248));  // 39 * 255 / 40
  PwLayoutPalette(layout_, halftone_, 20);
  EXPECT_TRUE(Same(layout_[255], 242, 242, 242));  // 19 * 255 / 20
}

TEST_F(PaletteTest, BlackAndWhiteMapToLowestExactEntry) {
  PwLayoutPalette(layout_, halftone_, 0);
  PwBuildColorTable(layout_);
  EXPECT_EQ(PwColorTable()[0], 0);      // cube black, before the ramp's black at 216
  EXPECT_EQ(PwColorTable()[511], 215);  // cube white; the ramp stops at 248

  halftone_[3] = Entry(255, 255, 255);
  halftone_[5] = Entry(0, 0, 0);
  PwLayoutPalette(layout_, halftone_, 20);
  PwBuildColorTable(layout_);
  EXPECT_EQ(PwColorTable()[0], 5);
  EXPECT_EQ(PwColorTable()[511], 3);
}

TEST_F(PaletteTest, EqualDistancesGoToTheLowerIndex) {
  for (int i = 0; i < kPwPaletteSize; ++i) layout_[i] = Entry(255, 255, 255);
  layout_[10] = Entry(0, 9, 0);
  layout_[7] = Entry(9, 0, 0);
  layout_[200] = Entry(0, 0, 9);
  PwBuildColorTable(layout_);
  EXPECT_EQ(PwColorTable()[0], 7);
  EXPECT_EQ(PwPaletteEntries()[10].green, 9);
}

TEST_F(PaletteTest, KeysUseLevelTimes255Over7) {
  PwLayoutPalette(layout_, halftone_, 0);
  PwBuildColorTable(layout_);
  // key = green level << 6 | red level << 3 | blue level
  EXPECT_EQ(PwColorTable()[7 << 6], 36 * 5);  // pure green
  EXPECT_EQ(PwColorTable()[7 << 3], 6 * 5);   // pure red
  EXPECT_EQ(PwColorTable()[7], 5);            // pure blue
  EXPECT_EQ(PwColorTable()[3 << 3], 6 * 2);   // 109 is nearest 102
  EXPECT_EQ(PwColorTable()[4 << 3], 6 * 3);   // 145 is nearest 153
}

TEST_F(PaletteTest, PixelFormats) {
  PwLayoutPalette(layout_, halftone_, 0);
  PwBuildColorTable(layout_);
  struct Case {
    PwColor color;  // green, red, blue
    int index8;
    int rgb555;
  } cases[] = {
      {{0, 0, 0}, 0, 0},
      {{255, 255, 255}, 215, 0x7FFF},
      {{255, 0, 0}, 180, 0x03E0},
      {{0, 255, 0}, 30, 0x7C00},
      {{0, 0, 255}, 5, 0x001F},
      {{8, 16, 7}, 0, (2 << 10) | (1 << 5)},
      {{31, 31, 31}, 0, (3 << 10) | (3 << 5) | 3},
      {{32, 0, 0}, PwColorTable()[1 << 6], 4 << 5},
      {{-40, 300, 1000}, PwColorTable()[(7 << 3) | 7], 0x7C1F},  // held to 0..255
  };
  for (const Case& c : cases) {
    int v8 = -1, v16 = -1;
    EXPECT_EQ(PwColorIndex8(&v8, &c.color), 0);
    EXPECT_EQ(PwColor555(&v16, &c.color), 0);
    EXPECT_EQ(v8, c.index8) << c.color.green << " " << c.color.red << " " << c.color.blue;
    EXPECT_EQ(v16, c.rgb555) << c.color.green << " " << c.color.red << " " << c.color.blue;
  }
}

}  // namespace
