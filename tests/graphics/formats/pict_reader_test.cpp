#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "graphics/formats/pict_picture.h"
#include "graphics/files/line_source.h"

namespace {

struct Text {
  explicit Text(std::vector<std::string> lines) : lines_(std::move(lines)) {
    for (const std::string& l : lines_) ptrs_.push_back(l.c_str());
    ptrs_.push_back(nullptr);
  }
  const char* const* get() const { return ptrs_.data(); }
  std::vector<std::string> lines_;
  std::vector<const char*> ptrs_;
};

class PictReaderTest : public ::testing::Test {
 protected:
  void TearDown() override {
    PwFreePict(&pict_);
    EXPECT_EQ(PwLineSourceKind(), kPwSourceNone);
  }
  int Load(std::vector<std::string> lines) {
    PwFreePict(&pict_);
    Text t(std::move(lines));
    return PwLoadPictStrings(&pict_, t.get());
  }
  PwPict pict_ = {};
};

TEST_F(PictReaderTest, ReadsObjectsWithKeywordsByPrefix) {
  ASSERT_EQ(Load({"pict2 picture", "REM a comment", "", "PLL", "COLOR 0 0 255", "VERTEX 1 2",
                  "VER -3 4|VER 5 -6", "ENDOBJ", "PLG|VER 0 0|VER 10 0|VER 10 10|DST 50|ENDO",
                  "PST|ENDO", "ENDPICTURE"}),
            1);
  ASSERT_EQ(pict_.object_count, 3);
  const PwPictObject& a = pict_.objects[0];
  EXPECT_EQ(a.kind, kPwPictPolyline);
  EXPECT_EQ(a.point_count, 3);
  EXPECT_EQ(a.colour.blue, 255);
  EXPECT_EQ(a.colour.red, 0);
  EXPECT_EQ(a.colour.green, 0);
  EXPECT_FLOAT_EQ(a.distance, 8000.0f);
  EXPECT_FLOAT_EQ(a.cx, 1.0f);
  EXPECT_FLOAT_EQ(a.cy, 0.0f);
  EXPECT_FLOAT_EQ(a.points[2].y, -6.0f);
  const PwPictObject& b = pict_.objects[1];
  EXPECT_EQ(b.kind, kPwPictPolygon);
  EXPECT_EQ(b.colour.red, 255);  // white by default
  EXPECT_FLOAT_EQ(b.distance, 50.0f);
  EXPECT_EQ(b.points, a.points + 3);  // one block, in file order
  EXPECT_EQ(pict_.objects[2].kind, kPwPictPoints);
  EXPECT_EQ(pict_.objects[2].point_count, 0);
  EXPECT_FLOAT_EQ(pict_.min_x, -3.0f);
  EXPECT_FLOAT_EQ(pict_.max_x, 10.0f);
  EXPECT_FLOAT_EQ(pict_.min_y, -6.0f);
  EXPECT_FLOAT_EQ(pict_.max_y, 10.0f);
  EXPECT_FLOAT_EQ(pict_.width, 13.0f);
  EXPECT_FLOAT_EQ(pict_.height, 16.0f);
}

TEST_F(PictReaderTest, RefusesBrokenText) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"header PICT", {"PICT", "ENDPICT"}},
      {"no text", {}},
      {"lower-case keyword", {"PICT2", "pst", "ENDO", "ENDPICT"}},
      {"REM inside an object", {"PICT2", "PST", "REM x", "ENDO", "ENDPICT"}},
      {"short COL", {"PICT2", "PST", "COL 1 2", "ENDO", "ENDPICT"}},
      {"short VER", {"PICT2", "PST", "VER 1", "ENDO", "ENDPICT"}},
      {"short DST", {"PICT2", "PST", "DST", "ENDO", "ENDPICT"}},
      {"end inside an object", {"PICT2", "PST", "VER 1 2"}},
      {"no ENDPICT", {"PICT2", "PST", "ENDO"}},
      {"unknown top word", {"PICT2", "LINE", "ENDPICT"}},
      {"not finite", {"PICT2", "PST", "VER 1e99 0", "ENDO", "ENDPICT"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.lines), 0) << c.name;
    EXPECT_EQ(pict_.objects, nullptr) << c.name;
  }
}

TEST_F(PictReaderTest, EmptyPictureAndColourRange) {
  ASSERT_EQ(Load({"PICT2", "ENDPICT"}), 1);
  EXPECT_EQ(pict_.object_count, 0);
  EXPECT_FLOAT_EQ(pict_.width, 0.0f);
  EXPECT_FLOAT_EQ(pict_.min_x, 0.0f);
  // Channels outside 0..255 are held to the range a colour has.
  ASSERT_EQ(Load({"PICT2", "PST", "COL 300 -5 7", "VER 1 1", "ENDO", "ENDPICT"}), 1);
  EXPECT_EQ(pict_.objects[0].colour.red, 255);
  EXPECT_EQ(pict_.objects[0].colour.green, 0);
  EXPECT_EQ(pict_.objects[0].colour.blue, 7);
}

TEST_F(PictReaderTest, ReadsFiles) {
  const std::string path = ::testing::TempDir() + "pict_reader_test.pic";
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("PICT2\nLSQ\nVER 0 0\nVER 1 1\nENDO\nENDPICT\n", f);
  std::fclose(f);
  EXPECT_EQ(PwLoadPict(&pict_, path.c_str()), 1);
  EXPECT_EQ(pict_.object_count, 1);
  std::remove(path.c_str());
  PwFreePict(&pict_);
  EXPECT_EQ(PwLoadPict(&pict_, path.c_str()), 0);
}

TEST_F(PictReaderTest, RandomTextNeverCrashes) {
  const char* const words[] = {"PICT2", "PST",  "PLL", "LSQ",  "PLG", "ENDPICT", "REM",
                               "COL",   "VER",  "DST", "ENDO", "|",   "0",       "-1",
                               "3.5",   "1e30", "nan", "\"",   "x"};
  std::mt19937 rng(4321);
  int read = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> lines = {"PICT2"};
    const int n = static_cast<int>(rng() % 30);
    for (int i = 0; i < n; ++i) {
      std::string l;
      const int w = static_cast<int>(rng() % 6);
      for (int j = 0; j < w; ++j) l += std::string(words[rng() % 19]) + " ";
      lines.push_back(l);
    }
    if (round % 2) lines.push_back("ENDPICT");
    read += Load(lines);
    int points = 0;
    for (int i = 0; i < pict_.object_count; ++i) points += pict_.objects[i].point_count;
    ASSERT_GE(points, 0);
  }
  EXPECT_GT(read, 0);
}

}  // namespace
