// Drawing of Text: one glyph per character, each placed by its own pose so
// that no string is built per frame.
#include <cstring>

#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"
#include "graphics/text/text_fonts.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"
#include "scenegraph/nodes/geometry/text_node.h"

namespace {

// What a Text takes from its FontStyle.
struct Layout {
  const PwTextFont* font;
  float size, spacing;
  bool horizontal, leftToRight, topToBottom;
  const char* justify;  // the first justify string
};

// The font of texts without a FontStyle: a default style's (size 1), built
// on first use and kept for the process.
struct DefaultFont {
  void* font = nullptr;
  ~DefaultFont() { KsFontStyle::ReleaseFont(font); }
};

DefaultFont& TheDefaultFont() {
  static DefaultFont font;
  return font;
}

constexpr float kDefaultSize = 1.0f;

bool DefaultLayout(Layout* out) {
  DefaultFont& d = TheDefaultFont();
  if (d.font == nullptr) d.font = KsFontStyle::MakeFont(kDefaultSize);
  if (d.font == nullptr) return false;
  *out = {static_cast<const PwTextFont*>(d.font), kDefaultSize, 1.0f, true, true, true, "BEGIN"};
  return true;
}

bool StyleLayout(KsFontStyle* style, Layout* out) {
  if (style->BuildFont() != 0 || style->GetFont() == nullptr) return false;
  const char* justify = "BEGIN";
  if (style->justify.GetCount() > 0 && style->justify.GetElements()[0].GetText() != nullptr)
    justify = style->justify.GetElements()[0].GetText();
  *out = {static_cast<const PwTextFont*>(style->GetFont()),
          style->size.Get(),
          style->spacing.Get(),
          style->horizontal.Get() == KS_TRUE,
          style->leftToRight.Get() != KS_FALSE,
          style->topToBottom.Get() != KS_FALSE,
          justify};
  return true;
}

}  // namespace

void KsFreeDefaultTextFont() {
  DefaultFont& d = TheDefaultFont();
  KsFontStyle::ReleaseFont(d.font);
  d.font = nullptr;
}

int KsText::ExecTraverse(KsMatrix*) {
  KsNode* node = fontStyle.Get();
  Layout style;
  if (node == nullptr) {
    if (!DefaultLayout(&style)) return 1;
  } else if (std::strcmp(node->GetClassName(), "KsFontStyle") != 0) {
    return 0;
  } else if (!StyleLayout(static_cast<KsFontStyle*>(node), &style)) {
    return 1;
  }
  const PwTextFont* font = style.font;

  const PwVec3 forward = KsToLibrary(KsCurrentMatrix(), KsVec3f(0, 0, -1), 0.0f);
  const PwVec3 up = KsToLibrary(KsCurrentMatrix(), KsVec3f(0, 1, 0), 0.0f);
  PwAttitude attitude = {0, 0, 0};
  PwVectorsToAttitude(&attitude, &forward, &up);

  const float g = style.leftToRight ? 1.0f : -1.0f;
  const float v = style.topToBottom ? -1.0f : 1.0f;
  KsVec3f line(0, v, 0);
  KsVec3f step(g, 0, 0);
  if (!style.horizontal) {
    line = KsVec3f(g, 0, 0);
    step = KsVec3f(0, v, 0);
  }
  step = step * (style.size * style.spacing * 0.8f);
  line = line * style.size;

  const bool middle = std::strcmp(style.justify, "MIDDLE") == 0;
  const bool end = std::strcmp(style.justify, "END") == 0;

  const int lines = string.GetCount();
  KsVec3f origin(0, 0, 0);
  if (middle) origin = origin - line * (static_cast<float>(lines) / 2.0f);
  if (end) origin = origin - line * static_cast<float>(lines);

  // The glyphs are white models: they take the material's colour (white
  // without one) as the shape's other geometry does.
  const PwColor ink = KsGetDrawingColor();
  PwSetModelColour(&ink);
  for (int k = 0; k < lines; ++k) {
    const char* text = string.GetElements()[k].GetText();
    const int n = text ? static_cast<int>(std::strlen(text)) : 0;
    KsVec3f p = origin;
    if (middle) p = p - step * (static_cast<float>(n) / 2.0f);
    if (end) p = p - step * static_cast<float>(n);
    for (int j = 0; j < n; ++j) {
      const PwVec3 at = KsToLibrary(KsCurrentMatrix(), p + step * static_cast<float>(j), 1.0f);
      const PwPose pose = {at.x, at.y, at.z, attitude.heading, attitude.pitch, attitude.bank};
      const char one[2] = {text[j], '\0'};
      PwDrawFontText(&pose, font, one, 1, 3);
    }
    origin = origin + line;
  }
  PwSetModelColour(nullptr);
  return 0;
}
