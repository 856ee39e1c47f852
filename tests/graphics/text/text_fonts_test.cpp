#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/formats/pict_picture.h"
#include "graphics/formats/srf_model.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/text/text_fonts.h"
#include "graphics/text/text_glyphs.h"
#include "graphics/guarded_surface.h"

namespace {

const PwColor kGold = {200, 250, 40};
const PwColor kBlue = {0, 0, 255};

// Positions of the queued glyph items, in drawing order.
std::vector<PwVec3> QueuedPositions(int type) {
  std::vector<PwVec3> out;
  for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) {
    if (it->type != type) continue;
    const PwFrame& f = type == kPwSortedSrf
                           ? static_cast<const PwSortedSrfData*>(it->payload)->frame
                           : static_cast<const PwSortedPictData*>(it->payload)->frame;
    out.push_back({f.x, f.y, f.z});
  }
  return out;
}

class TextFontsTest : public ::testing::Test {
 protected:
  TextFontsTest() : surface_(320, 240) {}
  void TearDown() override {
    PwFreeTextFont(&solid_);
    PwFreeTextFont(&flat_);
    EXPECT_TRUE(surface_.Intact());
  }
  GuardedSurface surface_;
  PwTextFont solid_ = {};
  PwTextFont flat_ = {};
};

TEST(TextGlyphsTest, SourcesAreWellFormedForTheReaders) {
  for (int i = 0; i < kPwGlyphCount; ++i) {
    const char* const* solid = PwSolidGlyphSource[i];
    const char* const* flat = PwFlatGlyphSource[i];
    ASSERT_NE(solid[0], nullptr) << i;
    ASSERT_NE(flat[0], nullptr) << i;
    EXPECT_EQ(std::strncmp(solid[0], "Surf|", 5), 0) << i;
    EXPECT_EQ(std::strncmp(flat[0], "Pict2|", 6), 0) << i;
    for (const char* const* s : {solid, flat}) {
      for (int k = 0; s[k] != nullptr; ++k) {
        EXPECT_LE(std::strlen(s[k]), 255u) << i;
        // Logical lines fit both readers (78 characters for PICT2).
        std::string text(s[k]);
        size_t start = 0;
        while (start <= text.size()) {
          size_t bar = text.find('|', start);
          if (bar == std::string::npos) bar = text.size();
          EXPECT_LE(bar - start, 78u) << i;
          start = bar + 1;
        }
      }
    }
    PwPict pict;
    ASSERT_EQ(PwLoadPictStrings(&pict, flat), 1) << i;
    EXPECT_GE(pict.min_x, -40.0f);
    EXPECT_LE(pict.max_x, 40.0f);
    EXPECT_GE(pict.min_y, -90.0f);
    EXPECT_LE(pict.max_y, 60.0f);
    PwFreePict(&pict);
    PwSrf srf;
    ASSERT_EQ(PwLoadSrfStrings(&srf, solid), 1) << i;
    EXPECT_GT(srf.face_count, 0);
    PwFreeSrf(&srf);
  }
}

TEST_F(TextFontsTest, FontsFillThePrintableSlots) {
  ASSERT_EQ(PwMakeSolidFont(&solid_, 2.0f, kGold), 1);
  ASSERT_EQ(PwMakeFlatFont(&flat_, 2.0f, kGold), 1);
  EXPECT_FLOAT_EQ(solid_.line_height, 3.0f);
  EXPECT_EQ(solid_.slot_count, 128);
  EXPECT_EQ(flat_.type, kPwFontFlat);
  for (int c = 0; c < 128; ++c) {
    const bool printable = c >= 33 && c <= 126;
    EXPECT_EQ(solid_.glyphs[c] != nullptr, printable) << c;
    EXPECT_EQ(flat_.glyphs[c] != nullptr, printable) << c;
  }
  const auto* a = static_cast<const PwSrf*>(solid_.glyphs['A']);
  EXPECT_EQ(a->faces[0].colour.red, kGold.red);
  // Scaled from the design advance of 8.5 to 2: the glyph stays within it.
  EXPECT_LT(a->corners[7].x - a->corners[0].x, 2.0f);
  const auto* fa = static_cast<const PwPict*>(flat_.glyphs['A']);
  EXPECT_LT(fa->width, 2.0f);
  EXPECT_EQ(fa->objects[0].colour.green, kGold.green);
}

TEST_F(TextFontsTest, TwoColoursSameShapes) {
  PwTextFont other = {};
  ASSERT_EQ(PwMakeSolidFont(&solid_, 3.0f, kGold), 1);
  ASSERT_EQ(PwMakeSolidFont(&other, 3.0f, kBlue), 1);
  const auto* g = static_cast<const PwSrf*>(solid_.glyphs['g']);
  const auto* b = static_cast<const PwSrf*>(other.glyphs['g']);
  ASSERT_EQ(g->vertex_count, b->vertex_count);
  for (int v = 0; v < g->vertex_count; ++v) EXPECT_FLOAT_EQ(g->vertices[v].y, b->vertices[v].y);
  EXPECT_EQ(b->faces[0].colour.blue, 255);
  EXPECT_EQ(g->faces[0].colour.blue, 40);
  PwFreeTextFont(&other);
}

TEST_F(TextFontsTest, LayoutAdvancesByOneSizeAndSkipsBlanks) {
  ASSERT_EQ(PwMakeSolidFont(&solid_, 2.0f, kGold), 1);
  const PwPose pose = {1, 0, 30, 0, 0, 0};
  struct Case {
    const char* text;
    int halign;
    std::vector<float> xs;
  };
  const Case cases[] = {
      {"AB", 1, {2, 4}},   // begins at the pose: first centre size/2 along
      {"AB", 2, {-2, 0}},  // ends at the pose: last centre size/2 before
      {"AB", 0, {0, 2}},   // centred
      {"A B", 1, {2, 6}},  // the blank advances and draws nothing
      {"A\xC3"
       "B",
       1,
       {2, 6}},  // so does a byte of 128 and above
      {"", 1, {}},
  };
  for (const Case& c : cases) {
    PwPose zero = {};
    PwSetEye(&zero);
    PwDrawFontText(&pose, &solid_, c.text, c.halign, 0);
    std::vector<PwVec3> got = QueuedPositions(kPwSortedSrf);
    ASSERT_EQ(got.size(), c.xs.size()) << c.text;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_NEAR(got[i].x, c.xs[i], 1e-4f) << c.text;
      EXPECT_NEAR(got[i].z, 30.0f, 1e-4f) << c.text;
    }
  }
  // A turned pose lays the baseline along its own x axis.
  PwPose zero = {};
  PwSetEye(&zero);
  const PwPose turned = {0, 0, 30, 16384, 0, 0};
  PwDrawFontText(&turned, &solid_, "AB", 1, 3);
  std::vector<PwVec3> got = QueuedPositions(kPwSortedSrf);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_NEAR(got[0].z, 33.0f, 1e-4f);  // the farther glyph is drawn first
  EXPECT_NEAR(got[1].z, 31.0f, 1e-4f);
  EXPECT_NEAR(got[0].y, -1.5f, 1e-4f);  // half a line down
}

TEST_F(TextFontsTest, LinesStackAsABlock) {
  ASSERT_EQ(PwMakeFlatFont(&flat_, 2.0f, kGold), 1);  // line height 3
  const char* const lines[] = {"A", "B", "C", nullptr};
  const struct {
    int valign;
    float first_y;
  } cases[] = {{0, 3.0f}, {4, 6.0f + 1.5f}, {1, 0.0f}, {3, -1.5f}};
  for (const auto& c : cases) {
    PwPose zero = {};
    PwSetEye(&zero);
    const PwPose pose = {0, 0, 30, 0, 0, 0};
    PwDrawFontLines(&pose, &flat_, lines, 1, c.valign);
    std::vector<PwVec3> got = QueuedPositions(kPwSortedPict);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_NEAR(got[0].y, c.first_y, 1e-4f) << c.valign;
    EXPECT_NEAR(got[1].y - got[0].y, -3.0f, 1e-4f) << c.valign;
  }
}

// An 'L' drawn facing the eye: its upright at the left, its foot reaching
// right, so a mirrored glyph fails.
void ExpectReadableL(const GuardedSurface& s, PwColor colour) {
  const unsigned int v = s.Value(colour);
  int top_right = 0, top_left = 0, bottom_right = 0;
  for (int y = 0; y < 240; ++y) {
    for (int x = 0; x < 320; ++x) {
      if (s.At(x, y) != v) continue;
      if (y < 105) (x < 160 ? top_left : top_right)++;
      if (y > 135 && x > 170) ++bottom_right;
    }
  }
  EXPECT_GT(top_left, 0);
  EXPECT_EQ(top_right, 0);
  EXPECT_GT(bottom_right, 0);
}

TEST_F(TextFontsTest, GlyphsFaceTheEyeUnmirrored) {
  ASSERT_EQ(PwMakeSolidFont(&solid_, 8.5f, kGold), 1);
  ASSERT_EQ(PwMakeFlatFont(&flat_, 8.5f, kBlue), 1);
  const PwPose pose = {0, 0, 20, 0, 0, 0};  // glyphs are centred on their pose
  PwDrawFontText(&pose, &solid_, "L", 0, 0);
  PwFlushSorted();
  ExpectReadableL(surface_, kGold);
  PwPose zero = {};
  PwSetEye(&zero);
  PwDrawFontText(&pose, &flat_, "L", 0, 0);
  PwFlushSorted();
  ExpectReadableL(surface_, kBlue);
}

}  // namespace
