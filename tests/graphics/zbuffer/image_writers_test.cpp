// The TIFF, BMP and PPM writers byte by byte, their path rules and their
// refusals (sizes the headers cannot hold, files that cannot be made).
#include "graphics/zbuffer/image_writers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "graphics/zbuffer/image_file_helpers.h"
#include "graphics/zbuffer/zbuffer_alloc.h"

#ifdef _WIN32
#include <direct.h>
#define LV_MKDIR(p) _mkdir(p)
#else
#include <sys/stat.h>
#define LV_MKDIR(p) mkdir(p, 0755)
#endif

namespace {

std::vector<std::size_t>& Asked() {
  static std::vector<std::size_t> asked;
  return asked;
}

void* RecordAndFail(std::size_t bytes) {
  Asked().push_back(bytes);
  return nullptr;
}

class ImageWritersTest : public ::testing::Test {
 protected:
  void SetUp() override { Asked().clear(); }
  void TearDown() override {
    PwZSetAllocFunc(nullptr);
    PwTiffClose();
    PwBmpClose();
    PwPpmClose();
  }
};

TEST_F(ImageWritersTest, TiffTwoByOneHeaderAndPixels) {
  const std::string path = ImageTempPath("zb_2x1.tif");
  ASSERT_EQ(1, PwTiffOpen(path.c_str(), 2, 1));
  const PwColor row[2] = {{20, 10, 30}, {50, 40, 60}};  // green, red, blue
  EXPECT_EQ(1, PwTiffRow(row));
  EXPECT_EQ(1, PwTiffClose());
  const auto b = ReadImageFile(path);
  ASSERT_EQ(518u, b.size());
  EXPECT_EQ('M', b[0]);
  EXPECT_EQ('M', b[1]);
  EXPECT_EQ(42u, Big16(b, 2));
  EXPECT_EQ(8u, Big32(b, 4));
  EXPECT_EQ(15u, Big16(b, 8));
  struct Entry {
    std::uint32_t tag, type, count, value;
    bool short_value;
  };
  const Entry want[15] = {{254, 4, 1, 0, false},   {256, 3, 1, 2, true},    {257, 3, 1, 1, true},
                          {258, 3, 3, 484, false}, {259, 3, 1, 1, true},    {262, 3, 1, 2, true},
                          {266, 3, 1, 1, true},    {273, 4, 1, 512, false}, {277, 3, 1, 3, true},
                          {278, 4, 1, 1, false},   {279, 4, 1, 6, false},   {281, 3, 3, 490, false},
                          {282, 5, 1, 496, false}, {283, 5, 1, 504, false}, {284, 3, 1, 1, true}};
  for (int i = 0; i < 15; ++i) {
    const std::size_t e = 10 + 12 * i;
    EXPECT_EQ(want[i].tag, Big16(b, e)) << i;
    EXPECT_EQ(want[i].type, Big16(b, e + 2)) << i;
    EXPECT_EQ(want[i].count, Big32(b, e + 4)) << i;
    if (want[i].short_value) {
      EXPECT_EQ(want[i].value, Big16(b, e + 8)) << i;
      EXPECT_EQ(0u, Big16(b, e + 10)) << i;
    } else {
      EXPECT_EQ(want[i].value, Big32(b, e + 8)) << i;
    }
  }
  // ImageWidth's value field reads 00 02 00 00.
  EXPECT_EQ(0x00020000u, Big32(b, 10 + 12 + 8));
  for (std::size_t i = 190; i < 484; ++i) ASSERT_EQ(0, b[i]) << i;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(8u, Big16(b, 484 + 2 * i));
    EXPECT_EQ(255u, Big16(b, 490 + 2 * i));
  }
  EXPECT_EQ(75u, Big32(b, 496));
  EXPECT_EQ(1u, Big32(b, 500));
  EXPECT_EQ(75u, Big32(b, 504));
  EXPECT_EQ(1u, Big32(b, 508));
  const std::vector<unsigned char> pixels(b.begin() + 512, b.end());
  EXPECT_EQ((std::vector<unsigned char>{10, 20, 30, 40, 50, 60}), pixels);  // R, G, B
  std::remove(path.c_str());
}

TEST_F(ImageWritersTest, BmpOneByOneIsPadded) {
  const std::string path = ImageTempPath("zb_1x1.bmp");
  ASSERT_EQ(1, PwBmpOpen(path.c_str(), 1, 1));
  const PwColor px = {2, 1, 3};
  EXPECT_EQ(1, PwBmpRow(&px));
  EXPECT_EQ(1, PwBmpClose());
  const auto b = ReadImageFile(path);
  ASSERT_EQ(58u, b.size());
  EXPECT_EQ('B', b[0]);
  EXPECT_EQ('M', b[1]);
  EXPECT_EQ(58u, Little32(b, 2));
  EXPECT_EQ(0u, Little32(b, 6));
  EXPECT_EQ(54u, Little32(b, 10));
  EXPECT_EQ(40u, Little32(b, 14));
  EXPECT_EQ(1u, Little32(b, 18));
  EXPECT_EQ(1u, Little32(b, 22));
  EXPECT_EQ(1u, Little16(b, 26));
  EXPECT_EQ(24u, Little16(b, 28));
  for (std::size_t i = 30; i < 54; ++i) EXPECT_EQ(0, b[i]) << i;
  EXPECT_EQ((std::vector<unsigned char>{3, 2, 1, 0}),
            std::vector<unsigned char>(b.begin() + 54, b.end()));  // B, G, R, pad
  std::remove(path.c_str());
}

TEST_F(ImageWritersTest, PpmHeaderAndRows) {
  const std::string path = ImageTempPath("zb_3x2.ppm");
  ASSERT_EQ(1, PwPpmOpen(path.c_str(), 3, 2));
  const PwColor r0[3] = {{0, 1, 2}, {3, 4, 5}, {6, 7, 8}};
  const PwColor r1[3] = {{9, 10, 11}, {12, 13, 14}, {15, 16, 17}};
  EXPECT_EQ(1, PwPpmRow(r0));
  EXPECT_EQ(1, PwPpmRow(r1));
  EXPECT_EQ(1, PwPpmClose());
  const auto b = ReadImageFile(path);
  const std::string head = "P6\n3 2\n255\n";
  ASSERT_EQ(head.size() + 18, b.size());
  EXPECT_EQ(head, std::string(b.begin(), b.begin() + head.size()));
  EXPECT_EQ(1, b[head.size()]);      // first pixel's red
  EXPECT_EQ(0, b[head.size() + 1]);  // its green
  EXPECT_EQ(16, b[head.size() + 15]);
  std::remove(path.c_str());
}

TEST_F(ImageWritersTest, ChannelsOutsideTheByteRangeAreClamped) {
  const std::string path = ImageTempPath("zb_clamp.ppm");
  ASSERT_EQ(1, PwPpmOpen(path.c_str(), 1, 1));
  const PwColor px = {-5, 300, 256};
  PwPpmRow(&px);
  PwPpmClose();
  const auto b = ReadImageFile(path);
  ASSERT_EQ(14u, b.size());
  EXPECT_EQ((std::vector<unsigned char>{255, 0, 255}),
            std::vector<unsigned char>(b.end() - 3, b.end()));
  std::remove(path.c_str());
}

TEST_F(ImageWritersTest, BackslashesAndColonsBecomeSlashes) {
  const std::string dir = ImageTempPath("zb_sub");
  LV_MKDIR(dir.c_str());
  // "zb_sub\a.ppm" and "zb_sub:b.tif" both land in the folder.
  const std::string back = dir + "\\a.ppm", colon = dir + ":b.tif";
  ASSERT_EQ(1, PwPpmOpen(back.c_str(), 1, 1));
  EXPECT_EQ(1, PwPpmClose());
  EXPECT_TRUE(ImageFileExists(dir + "/a.ppm"));
  ASSERT_EQ(1, PwTiffOpen(colon.c_str(), 1, 1));
  EXPECT_EQ(1, PwTiffClose());
  EXPECT_TRUE(ImageFileExists(dir + "/b.tif"));
  std::remove((dir + "/a.ppm").c_str());
  std::remove((dir + "/b.tif").c_str());
}

TEST_F(ImageWritersTest, PathsOfUpTo255CharactersOpen) {
  const std::string dir = ImageTempPath("");
  ASSERT_LT(dir.size(), 200u);
  std::string fits = dir + "zb_";
  fits += std::string(255 - fits.size() - 4, 'p') + ".bmp";
  ASSERT_EQ(255u, fits.size());
  ASSERT_EQ(1, PwBmpOpen(fits.c_str(), 1, 1));
  EXPECT_EQ(1, PwBmpClose());
  EXPECT_TRUE(ImageFileExists(fits));
  std::remove(fits.c_str());
  const std::string longer = dir + "zb_" + std::string(256 - dir.size() - 7, 'q') + ".bmp";
  ASSERT_EQ(256u, longer.size());
  EXPECT_EQ(0, PwBmpOpen(longer.c_str(), 1, 1));
  EXPECT_EQ(0, PwTiffOpen(longer.c_str(), 1, 1));
  EXPECT_EQ(0, PwPpmOpen(longer.c_str(), 1, 1));
  EXPECT_FALSE(ImageFileExists(longer));
  EXPECT_EQ(0, PwPpmOpen(nullptr, 1, 1));
  EXPECT_EQ(0, PwPpmOpen("", 1, 1));
}

TEST_F(ImageWritersTest, FilesThatCannotBeMadeFailWithNothingOpen) {
  const std::string path = ImageTempPath("zb_no_such_folder/x.tif");
  EXPECT_EQ(0, PwTiffOpen(path.c_str(), 4, 4));
  const PwColor row[4] = {};
  EXPECT_EQ(0, PwTiffRow(row));
  EXPECT_EQ(0, PwTiffClose());
  EXPECT_EQ(0, PwBmpOpen(path.c_str(), 4, 4));
  EXPECT_EQ(0, PwBmpRow(row));
  EXPECT_EQ(0, PwPpmOpen(path.c_str(), 4, 4));
  EXPECT_EQ(0, PwPpmClose());
}

TEST_F(ImageWritersTest, NoRowBufferMeansNoFile) {
  const std::string path = ImageTempPath("zb_noalloc.ppm");
  std::remove(path.c_str());
  PwZSetAllocFunc(RecordAndFail);
  EXPECT_EQ(0, PwPpmOpen(path.c_str(), 5, 2));
  EXPECT_EQ(0, PwTiffOpen(path.c_str(), 5, 2));
  EXPECT_EQ(0, PwBmpOpen(path.c_str(), 5, 2));
  EXPECT_EQ((std::vector<std::size_t>{15, 15, 16}), Asked());  // BMP pads its row
  EXPECT_FALSE(ImageFileExists(path));
}

struct SizeCase {
  const char* name;
  int format;  // 0 TIFF, 1 BMP, 2 PPM
  int width, height;
};

class ImageWriterSizeTest : public ImageWritersTest,
                            public ::testing::WithParamInterface<SizeCase> {};

// Sizes the headers cannot hold are refused before any file or buffer
// exists; the products are computed in 64 bits.
TEST_P(ImageWriterSizeTest, IsRefused) {
  const SizeCase& c = GetParam();
  const std::string path = ImageTempPath(std::string("zb_size_") + c.name);
  std::remove(path.c_str());
  PwZSetAllocFunc(RecordAndFail);
  int r = -1;
  switch (c.format) {
    case 0: r = PwTiffOpen(path.c_str(), c.width, c.height); break;
    case 1: r = PwBmpOpen(path.c_str(), c.width, c.height); break;
    default: r = PwPpmOpen(path.c_str(), c.width, c.height); break;
  }
  EXPECT_EQ(0, r);
  EXPECT_FALSE(ImageFileExists(path));
  if (c.format == 2 && c.width == INT_MAX) {
    // PPM has no size fields: the row buffer of 3 * width bytes is asked
    // for where it fits in size_t, and refused where it does not.
    if (sizeof(std::size_t) >= 8) {
      ASSERT_EQ(1u, Asked().size());
      EXPECT_EQ(3ull * INT_MAX, static_cast<unsigned long long>(Asked()[0]));
    } else {
      EXPECT_TRUE(Asked().empty());
    }
  } else {
    EXPECT_TRUE(Asked().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageWriterSizeTest,
                         ::testing::Values(SizeCase{"tiff_zero_width", 0, 0, 5},
                                           SizeCase{"tiff_neg_height", 0, 5, -1},
                                           SizeCase{"tiff_65536_wide", 0, 65536, 1},
                                           SizeCase{"tiff_65536_tall", 0, 1, 65536},
                                           SizeCase{"tiff_over_4GB", 0, 65535, 65535},
                                           SizeCase{"bmp_zero", 1, 0, 0},
                                           SizeCase{"bmp_over_4GB", 1, 30000, 50000},
                                           SizeCase{"bmp_int_max", 1, INT_MAX, INT_MAX},
                                           SizeCase{"ppm_zero_height", 2, 3, 0},
                                           SizeCase{"ppm_int_max_wide", 2, INT_MAX, 1}),
                         [](const ::testing::TestParamInfo<SizeCase>& i) { return i.param.name; });

TEST_F(ImageWritersTest, LargestTiffThatFitsIsAccepted) {
  // 512 + 3 * 65535 * 21845 < 2^32: the header takes it; no buffer here.
  PwZSetAllocFunc(RecordAndFail);
  EXPECT_EQ(0, PwTiffOpen(ImageTempPath("zb_big.tif").c_str(), 65535, 21845));
  EXPECT_EQ((std::vector<std::size_t>{3 * 65535}), Asked());
}

#ifndef _WIN32
TEST_F(ImageWritersTest, WriteFailureIsReported) {
  // /dev/full accepts the open and fails the writes.
  if (!ImageFileExists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  ASSERT_EQ(1, PwTiffOpen("/dev/full", 64, 64));
  const std::vector<PwColor> row(64, PwColor{1, 2, 3});
  int ok = 1;
  for (int y = 0; y < 64; ++y) ok &= PwTiffRow(row.data());
  ok &= PwTiffClose();
  EXPECT_EQ(0, ok);
}
#endif

TEST_F(ImageWritersTest, ReopeningClosesTheEarlierFile) {
  const std::string a = ImageTempPath("zb_first.ppm"), b = ImageTempPath("zb_second.ppm");
  ASSERT_EQ(1, PwPpmOpen(a.c_str(), 1, 1));
  ASSERT_EQ(1, PwPpmOpen(b.c_str(), 2, 1));
  const PwColor row[2] = {};
  EXPECT_EQ(1, PwPpmRow(row));
  EXPECT_EQ(1, PwPpmClose());
  EXPECT_EQ(std::string("P6\n1 1\n255\n").size(), ReadImageFile(a).size());
  EXPECT_EQ(std::string("P6\n2 1\n255\n").size() + 6, ReadImageFile(b).size());
  std::remove(a.c_str());
  std::remove(b.c_str());
}

}  // namespace
