#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "graphics/state3d/state3d.h"
#include "graphics/text/text_fonts.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"
#include "scenegraph/nodes/geometry/text_node.h"

namespace {

struct Glyph {
  float x, y, z;
};
struct Spot {
  float x, y;
};

class TextTest : public kstest::RenderTest {
 protected:
  // One frame; the glyph models queued on the sorted list, left to right
  // then top to bottom.
  std::vector<Glyph> Frame() {
    PwPose zero = {};
    PwSetEye(&zero);
    err = Draw();
    std::vector<Glyph> out;
    for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) {
      if (it->type != kPwSortedSrf) continue;
      const PwFrame& f = static_cast<const PwSortedSrfData*>(it->payload)->frame;
      out.push_back({f.x, f.y, f.z});
    }
    std::sort(out.begin(), out.end(),
              [](const Glyph& a, const Glyph& b) { return a.y != b.y ? a.y > b.y : a.x < b.x; });
    return out;
  }
  std::string err;
};

// Text ten units in front of the eye, with a font style body.
std::string Scene(const std::string& strings, const std::string& style) {
  return "Transform { translation 0 0 -10 children Shape { geometry Text { string [ " + strings +
         " ] fontStyle FontStyle { " + style + " } } } }";
}

TEST_F(TextTest, MembersDefaultsAndMissingStyle) {
  ASSERT_EQ(Read("Text { } Text { string \"abc\" fontStyle Material { } }"), "");
  KsNode* node = scene->GetNode(0);
  EXPECT_STREQ(node->GetClassName(), "KsText");
  const char* names[] = {"string", "fontStyle", "length", "maxExtent"};
  ASSERT_EQ(node->GetMemberCount(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_STREQ(node->GetMember(i)->name, names[i]);
    EXPECT_EQ(node->GetMember(i)->noEventIn, 0) << i;
  }
  auto* t = static_cast<KsText*>(node);
  EXPECT_EQ(t->string.GetCount(), 0);
  EXPECT_EQ(t->fontStyle.Get(), nullptr);
  EXPECT_EQ(t->length.GetCount(), 0);
  EXPECT_EQ(t->maxExtent.Get(), 0.0f);
  KsVec3f lo, hi;
  EXPECT_EQ(t->GetBoundingBox(&lo, &hi), 1);
  // No string, or a node that is not a style: nothing drawn and the walk
  // goes on.
  for (int i = 0; i < 2; ++i) {
    KsMatrix m;
    EXPECT_EQ(scene->GetNode(i)->ExecTraverse(&m), 0) << i;
  }
  EXPECT_TRUE(Frame().empty());
}

TEST_F(TextTest, MiddleCentresEachStringOnItsLengthAndTheLinesOnTheStep) {
  Read(Scene("\"abc\" \"defgh\"", "justify \"MIDDLE\""));
  std::vector<Glyph> g = Frame();
  EXPECT_EQ(err, "");
  ASSERT_EQ(g.size(), 8u);
  // Step 0.8 along x, lines 1 apart; a glyph sits half its font size (0.5)
  // along and half a line (0.75) below the point it is drawn at.
  const float xs[] = {-1.2f, -0.4f, 0.4f, -2.0f, -1.2f, -0.4f, 0.4f, 1.2f};
  for (int i = 0; i < 8; ++i) {
    EXPECT_NEAR(g[i].x, xs[i] + 0.25f, 1e-4f) << i;
    EXPECT_NEAR(g[i].y, (i < 3 ? 1.0f : 0.0f) - 0.375f, 1e-4f) << i;
    EXPECT_NEAR(g[i].z, 10.0f, 1e-4f) << i;
  }
}

TEST_F(TextTest, FontStyleDirectionsSizeSpacingAndJustify) {
  struct Case {
    const char* style;
    std::vector<Spot> expect;  // "ab" then "c"
  };
  const Case cases[] = {
      {"", {{0.25f, -0.375f}, {1.05f, -0.375f}, {0.25f, -1.375f}}},
      {"size 2 spacing 1.5", {{0.5f, -0.75f}, {2.9f, -0.75f}, {0.5f, -2.75f}}},
      {"leftToRight FALSE", {{-0.55f, -0.375f}, {0.25f, -0.375f}, {0.25f, -1.375f}}},
      {"topToBottom FALSE", {{0.25f, 0.625f}, {0.25f, -0.375f}, {1.05f, -0.375f}}},
      {"horizontal FALSE", {{0.25f, -0.375f}, {1.25f, -0.375f}, {0.25f, -1.175f}}},
      {"justify \"END\"", {{-1.35f, 1.625f}, {-0.55f, 1.625f}, {-0.55f, 0.625f}}},
      {"justify [ \"BEGIN\" \"END\" ]", {{0.25f, -0.375f}, {1.05f, -0.375f}, {0.25f, -1.375f}}},
      {"justify [ ]", {{0.25f, -0.375f}, {1.05f, -0.375f}, {0.25f, -1.375f}}},
  };
  for (const Case& c : cases) {
    Read(Scene("\"ab\" \"c\"", c.style));
    std::vector<Glyph> g = Frame();
    ASSERT_EQ(g.size(), c.expect.size()) << c.style;
    for (size_t i = 0; i < g.size(); ++i) {
      EXPECT_NEAR(g[i].x, c.expect[i].x, 1e-4f) << c.style << " " << i;
      EXPECT_NEAR(g[i].y, c.expect[i].y, 1e-4f) << c.style << " " << i;
    }
  }
  // Blanks and empty strings advance or step without a glyph.
  Read(Scene("\"a b\" \"\" \"c\"", ""));
  std::vector<Glyph> g = Frame();
  ASSERT_EQ(g.size(), 3u);
  EXPECT_NEAR(g[1].x, 1.85f, 1e-4f);
  EXPECT_NEAR(g[2].y, -2.375f, 1e-4f);
}

// Without a FontStyle the text is drawn as with a default one: size 1,
// left to right, top to bottom, begin-justified.
TEST_F(TextTest, MissingFontStyleDrawsAsTheDefaultStyle) {
  Read(
      "Transform { translation 0 0 -10 children Shape {"
      " geometry Text { string [ \"ab\" \"c\" ] } } }");
  std::vector<Glyph> g = Frame();
  EXPECT_EQ(err, "");
  const Spot want[] = {{0.25f, -0.375f}, {1.05f, -0.375f}, {0.25f, -1.375f}};
  ASSERT_EQ(g.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(g[i].x, want[i].x, 1e-4f) << i;
    EXPECT_NEAR(g[i].y, want[i].y, 1e-4f) << i;
    EXPECT_NEAR(g[i].z, 10.0f, 1e-4f) << i;
  }
  // The one default font serves every frame until it is freed.
  EXPECT_EQ(Frame().size(), 3u);
  KsFreeDefaultTextFont();
  EXPECT_EQ(Frame().size(), 3u);
}

TEST_F(TextTest, TurnedFrameTurnsTheBaseline) {
  // A quarter turn about y: the baseline runs along -z of the scene, away
  // from the eye in the graphics library's space.
  Read(
      "Transform { translation 0 0 -10 rotation 0 1 0 1.5708 children Shape {"
      " geometry Text { string \"ab\" fontStyle FontStyle { } } } }");
  std::vector<Glyph> g = Frame();
  ASSERT_EQ(g.size(), 2u);
  std::sort(g.begin(), g.end(), [](const Glyph& a, const Glyph& b) { return a.z < b.z; });
  // The glyphs' own offset turns with the attitude: along the baseline too.
  for (const Glyph& e : g) {
    EXPECT_NEAR(e.x, 0.0f, 1e-3f);
    EXPECT_NEAR(e.y, -0.375f, 1e-3f);
  }
  EXPECT_NEAR(g[0].z, 10.25f, 1e-3f);
  EXPECT_NEAR(g[1].z, 11.05f, 1e-3f);
}

TEST_F(TextTest, FontIsBuiltOnceFreedOnChangeAndRebuilt) {
  Read(Scene("\"a\"", "size 2"));
  auto* text = static_cast<KsText*>(
      static_cast<KsShape*>(scene->GetNode(0)->GetChildren()->GetElements()[0])->geometry.Get());
  auto* style = static_cast<KsFontStyle*>(text->fontStyle.Get());
  EXPECT_EQ(style->IsFontStale(), 1);
  EXPECT_EQ(style->GetFont(), nullptr);
  ASSERT_EQ(Frame().size(), 1u);
  const auto* font = static_cast<const PwTextFont*>(style->GetFont());
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(style->IsFontStale(), 0);
  EXPECT_FLOAT_EQ(font->size, 1.0f);  // half the style's size
  EXPECT_EQ(font->colour.red, 255);
  EXPECT_EQ(font->colour.green, 255);
  Frame();
  EXPECT_EQ(style->GetFont(), font);  // kept between frames
  // A change frees the built font (the leak checker holds the old one to
  // account) and the next frame builds it at the new size.
  style->size.Set(4.0f);
  EXPECT_EQ(style->GetFont(), nullptr);
  EXPECT_EQ(style->IsFontStale(), 1);
  ASSERT_EQ(Frame().size(), 1u);
  ASSERT_NE(style->GetFont(), nullptr);
  EXPECT_FLOAT_EQ(static_cast<const PwTextFont*>(style->GetFont())->size, 2.0f);
  style->FreeFont();
  style->FreeFont();  // freeing twice is harmless
  EXPECT_EQ(style->GetFont(), nullptr);
}

TEST_F(TextTest, GlyphsTakeTheMaterialColourAndHighlight) {
  // Each text's glyphs carry its own shape's colour (white without a
  // material) and highlight to the flush, whatever is drawn after them.
  Read(
      "Transform { translation 0 0 -10 children [ "
      "Shape { appearance Appearance { material Material { diffuseColor 0 1 0 "
      "specularColor 1 1 1 } } geometry Text { string \"a\" } } "
      "Shape { geometry Text { string \"b\" } } ] }");
  PwPose zero = {};
  PwSetEye(&zero);
  err = Draw();
  EXPECT_EQ(err, "");
  std::vector<const PwSortedSrfData*> glyphs;
  for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) {
    if (it->type == kPwSortedSrf)
      glyphs.push_back(static_cast<const PwSortedSrfData*>(it->payload));
  }
  ASSERT_EQ(glyphs.size(), 2u);
  int green = 0, white = 0;
  for (const PwSortedSrfData* d : glyphs) {
    ASSERT_EQ(d->tinted, 1);
    if (d->tint.green == 255 && d->tint.red == 0 && d->tint.blue == 0) {
      ++green;
      EXPECT_EQ(d->highlight & 0xffffffu, 0xffffffu);  // white specular
    }
    if (d->tint.green == 255 && d->tint.red == 255 && d->tint.blue == 255) {
      ++white;
      EXPECT_EQ(d->highlight & 0xffffffu, 0u);  // no material, no highlight
    }
  }
  EXPECT_EQ(green, 1);
  EXPECT_EQ(white, 1);
  PwColor after;
  EXPECT_EQ(PwGetModelColour(&after), 0);  // other models keep their own colours
}

}  // namespace
