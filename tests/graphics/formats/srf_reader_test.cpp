#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "graphics/formats/srf_model.h"
#include "graphics/files/line_source.h"

namespace {

// Holds the text's lines as a null-terminated string array.
struct Text {
  explicit Text(std::vector<std::string> lines) : lines_(std::move(lines)) {
    for (const std::string& l : lines_) ptrs_.push_back(l.c_str());
    ptrs_.push_back(nullptr);
  }
  const char* const* get() const { return ptrs_.data(); }
  std::vector<std::string> lines_;
  std::vector<const char*> ptrs_;
};

class SrfReaderTest : public ::testing::Test {
 protected:
  void TearDown() override {
    PwFreeSrf(&model_);
    EXPECT_EQ(PwLineSourceKind(), kPwSourceNone);
  }
  int Load(std::vector<std::string> lines) {
    PwFreeSrf(&model_);
    Text t(std::move(lines));
    return PwLoadSrfStrings(&model_, t.get());
  }
  PwSrf model_ = {};
};

// One triangle in the x/y plane, facing -z.
const std::vector<std::string> kTriangle = {
    "SURF",    "V 0 0 0", "V 1 0 0", "V 0 1 0", "F", "C 31", "N 0.3 0.3 0 0 0 -2",
    "V 0 1 2", "E",       "E"};

TEST_F(SrfReaderTest, ReadsAModelWithKeywordsByPrefix) {
  ASSERT_EQ(Load({"surf model", "# a comment", "", "VER 0 0 0", "VER 1 0 0 R", "VER 1 1 0",
                  "VERTEX 0 1 0 Rough", "BLK", "FAC|COL 32767|NOR 0.5 0.5 0 0 0 -1",
                  "# inside a face too", "VER 0 1|VER 2 3 0", "B", "END", "EBK", "END"}),
            1);
  EXPECT_EQ(model_.vertex_count, 4);
  ASSERT_EQ(model_.face_count, 1);
  EXPECT_EQ(model_.vertices[1].smooth, 1);
  EXPECT_EQ(model_.vertices[3].smooth, 1);
  EXPECT_EQ(model_.vertices[0].smooth, 0);
  const PwSrfFace& f = model_.faces[0];
  EXPECT_EQ(f.index_count, 4);  // "V 0 1 2 3 0": the closing repeat is dropped
  EXPECT_EQ(f.no_shading, 1);
  EXPECT_EQ(f.has_normal, 1);
  EXPECT_EQ(f.colour.green, 255);
  EXPECT_EQ(f.colour.red, 255);
  EXPECT_EQ(f.colour.blue, 255);
  EXPECT_FLOAT_EQ(f.normal.z, -1.0f);
  EXPECT_FLOAT_EQ(f.centre.x, 0.5f);
}

TEST_F(SrfReaderTest, RefusesBrokenText) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"header SRF", {"SRF", "E"}},
      {"empty text", {}},
      {"no top-level E", {"SURF", "V 0 0 0", "V 1 0 0"}},
      {"end inside a face", {"SURF", "V 0 0 0", "F", "V 0"}},
      {"unknown top keyword", {"SURF", "X 1", "E"}},
      {"lower-case keyword", {"SURF", "v 0 0 0", "E"}},
      {"unknown face keyword", {"SURF", "V 0 0 0", "F", "Q", "E", "E"}},
      {"index outside", {"SURF", "V 0 0 0", "F", "V 0 1", "E", "E"}},
      {"negative index", {"SURF", "V 0 0 0", "F", "V -1", "E", "E"}},
      {"short vertex", {"SURF", "V 0 0", "E"}},
      {"short normal", {"SURF", "V 0 0 0", "F", "N 0 0 0 1", "V 0", "E", "E"}},
      {"colour without value", {"SURF", "V 0 0 0", "F", "C", "V 0", "E", "E"}},
      {"not finite", {"SURF", "V 1e999 0 0", "E"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.lines), 0) << c.name;
    EXPECT_EQ(model_.vertices, nullptr) << c.name;
    EXPECT_EQ(model_.face_count, 0) << c.name;
  }
}

TEST_F(SrfReaderTest, FifteenBitColours) {
  struct Case {
    int value;
    PwColor colour;
  };
  const Case cases[] = {{32767, {255, 255, 255}}, {1024, {8, 0, 0}}, {31744, {255, 0, 0}},
                        {992, {0, 255, 0}},       {31, {0, 0, 255}}, {0, {0, 0, 0}}};
  for (const Case& c : cases) {
    PwColor got = PwSrfColour(c.value);
    EXPECT_EQ(got.green, c.colour.green) << c.value;
    EXPECT_EQ(got.red, c.colour.red) << c.value;
    EXPECT_EQ(got.blue, c.colour.blue) << c.value;
  }
}

TEST_F(SrfReaderTest, ZeroNormalIsComputedAndTwoSided) {
  ASSERT_EQ(Load({"SURF", "V 0 0 0", "V 2 0 0", "V 0 2 0", "F", "N 0 0 0 0 0 0", "V 0 1 2", "E",
                  "F", "V 0 1 2", "E", "E"}),
            1);
  ASSERT_EQ(model_.face_count, 2);
  for (int i = 0; i < 2; ++i) {
    const PwSrfFace& f = model_.faces[i];
    EXPECT_EQ(f.has_normal, 0);
    EXPECT_NEAR(std::fabs(f.normal.z), 1.0f, 1e-5f);
  }
  // Without an N line the centre is the mean of the face's vertices.
  EXPECT_NEAR(model_.faces[1].centre.x, 2.0f / 3.0f, 1e-5f);
  EXPECT_FLOAT_EQ(model_.faces[0].centre.x, 0.0f);
  // Vertex normals gather only explicit face normals.
  EXPECT_FLOAT_EQ(model_.vertices[0].nz, 0.0f);
}

TEST_F(SrfReaderTest, BoxAndVertexNormals) {
  // Three faces of a unit cube meeting at the origin, outward normals.
  ASSERT_EQ(
      Load({"SURF", "V 0 0 0", "V 1 0 0", "V 1 1 0", "V 0 1 0", "V 0 0 1", "V 1 0 1", "V 0 1 1",
            "FAC|NOR 0.5 0.5 0 0 0 -1|V 0 1 2 3|E", "FAC|NOR 0.5 0 0.5 0 -1 0|V 0 1 5 4|E",
            "FAC|NOR 0 0.5 0.5 -1 0 0|V 0 3 6 4|E", "FAC|NOR 0.5 0.5 0 0 0 -1|V 0 1 2|E", "E"}),
      1);
  EXPECT_FLOAT_EQ(model_.corners[0].x, 0.0f);
  EXPECT_FLOAT_EQ(model_.corners[7].x, 1.0f);
  EXPECT_FLOAT_EQ(model_.corners[7].y, 1.0f);
  EXPECT_FLOAT_EQ(model_.corners[7].z, 1.0f);
  EXPECT_FLOAT_EQ(model_.corners[5].x, 1.0f);  // bits 0 and 2: max x, min y, max z
  EXPECT_FLOAT_EQ(model_.corners[5].y, 0.0f);
  EXPECT_FLOAT_EQ(model_.corners[5].z, 1.0f);
  const float k = -1.0f / std::sqrt(3.0f);  // the repeated -z normal is passed over
  EXPECT_NEAR(model_.vertices[0].nx, k, 1e-5f);
  EXPECT_NEAR(model_.vertices[0].ny, k, 1e-5f);
  EXPECT_NEAR(model_.vertices[0].nz, k, 1e-5f);
  EXPECT_NEAR(model_.vertices[2].nz, -1.0f, 1e-5f);  // only the two -z faces
  float r;
  PwSrfRadius(&r, &model_);
  EXPECT_NEAR(r, std::sqrt(3.0f), 1e-5f);
}

TEST_F(SrfReaderTest, WindingFollowsTheExplicitNormal) {
  ASSERT_EQ(Load({"SURF", "V 0 0 0", "V 1 0 0", "V 0 1 0", "FAC|NOR 0 0 0 0 0 1|V 0 1 2|E",
                  "FAC|NOR 0 0 0 0 0 -1|V 0 1 2|E", "E"}),
            1);
  // Opposite normals over the same outline: exactly one of them is reversed.
  const int* a = model_.faces[0].indices;
  const int* b = model_.faces[1].indices;
  EXPECT_EQ(a[0], b[2]);
  EXPECT_EQ(a[2], b[0]);
  EXPECT_NE(a[0], b[0]);
}

TEST_F(SrfReaderTest, ColourGroupingPullsLaterFacesForward) {
  // Colours A B C A B with A=1, B=2, C=3: the last A moves up after the first.
  std::vector<std::string> lines = {"SURF", "V 0 0 0", "V 1 0 0", "V 0 1 0"};
  const int colours[] = {1, 2, 3, 1, 2};
  for (int i = 0; i < 5; ++i) {
    lines.push_back("F|C " + std::to_string(colours[i]) + "|N " + std::to_string(i) +
                    " 0 0 0 0 -1|V 0 1 2|E");
  }
  lines.push_back("E");
  ASSERT_EQ(Load(lines), 1);
  const int expect_blue[] = {8, 8, 24, 16, 16};
  const float expect_centre[] = {0, 3, 2, 1, 4};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(model_.faces[i].colour.blue, expect_blue[i]) << i;
    EXPECT_FLOAT_EQ(model_.faces[i].centre.x, expect_centre[i]) << i;
  }
}

TEST_F(SrfReaderTest, ScaleInsideAndFiles) {
  ASSERT_EQ(Load(kTriangle), 1);
  PwScaleSrf(&model_, 2.0f);
  EXPECT_FLOAT_EQ(model_.vertices[1].x, 2.0f);
  EXPECT_FLOAT_EQ(model_.corners[7].y, 2.0f);
  EXPECT_FLOAT_EQ(model_.faces[0].centre.x, 0.6f);
  EXPECT_FLOAT_EQ(model_.faces[0].normal.z, -1.0f);
  PwPose pose = {10, 0, 0, 0, 0, 0};
  PwVec3 in = {11, 1, 0}, out = {9, 1, 0};
  EXPECT_EQ(PwSrfInside(&model_, &pose, &in, 0.0f), 1);
  EXPECT_EQ(PwSrfInside(&model_, &pose, &out, 0.0f), 0);
  EXPECT_EQ(PwSrfInside(&model_, &pose, &out, 1.5f), 1);
  PwPose turned = {10, 0, 0, 16384, 0, 0};  // a quarter turn: model x along world z
  PwVec3 ahead = {10, 1, 1.5f}, behind = {10, 1, -1.5f};
  EXPECT_EQ(PwSrfInside(&model_, &turned, &ahead, 0.01f), 1);
  EXPECT_EQ(PwSrfInside(&model_, &turned, &behind, 0.01f), 0);
  EXPECT_EQ(PwSrfInside(&model_, &turned, &in, 0.01f), 0);

  const std::string path = ::testing::TempDir() + "srf_reader_test.srf";
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  for (const std::string& l : kTriangle) std::fprintf(f, "%s\n", l.c_str());
  std::fclose(f);
  PwFreeSrf(&model_);
  EXPECT_EQ(PwLoadSrf(&model_, path.c_str()), 1);
  EXPECT_EQ(model_.face_count, 1);
  std::remove(path.c_str());
  PwFreeSrf(&model_);
  EXPECT_EQ(PwLoadSrf(&model_, path.c_str()), 0);
}

TEST_F(SrfReaderTest, RandomTextNeverCrashes) {
  const char* const words[] = {"SURF", "V",     "VER",  "F",   "FAC", "C",  "N", "E", "END",
                               "B",    "BLK",   "EBK",  "R",   "#",   "|",  "0", "1", "-3",
                               "2.5",  "99999", "1e30", "nan", "x",   "\"", "\t"};
  std::mt19937 rng(1234);
  int read = 0;
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> lines = {round % 3 ? "SURF" : "surf"};
    const int n = static_cast<int>(rng() % 40);
    for (int i = 0; i < n; ++i) {
      std::string l;
      const int w = static_cast<int>(rng() % 9);
      for (int j = 0; j < w; ++j) l += std::string(words[rng() % 25]) + " ";
      lines.push_back(l);
    }
    if (round % 2) lines.push_back("E");
    read += Load(lines);
    for (int f = 0; f < model_.face_count; ++f) {
      for (int i = 0; i < model_.faces[f].index_count; ++i) {
        ASSERT_GE(model_.faces[f].indices[i], 0);
        ASSERT_LT(model_.faces[f].indices[i], model_.vertex_count);
      }
    }
  }
  EXPECT_GT(read, 0);
}

}  // namespace
