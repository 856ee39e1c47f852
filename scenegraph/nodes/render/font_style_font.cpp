// The font cache of FontStyle: the graphics library's solid font, built on
// behalf of the text that uses the style and freed with it.
#include <new>

#include "graphics/text/text_fonts.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"

KsFontStyle::~KsFontStyle() { FreeFont(); }

void* KsFontStyle::MakeFont(float size) {
  PwTextFont* font = new (std::nothrow) PwTextFont();
  if (font == nullptr) return nullptr;
  if (PwMakeSolidFont(font, size * 0.5f, PwColor{255, 255, 255}) == 0) {
    delete font;  // nothing of it was allocated
    return nullptr;
  }
  return font;
}

void KsFontStyle::ReleaseFont(void* font) {
  PwTextFont* f = static_cast<PwTextFont*>(font);
  if (f == nullptr) return;
  PwFreeTextFont(f);
  delete f;
}

int KsFontStyle::BuildFont() {
  if (fontStale_ == 0) return font_ ? 0 : KS_ERR;
  void* font = MakeFont(size.Get());
  if (font == nullptr) return KS_ERR;
  font_ = font;
  fontStale_ = 0;
  return 0;
}

void KsFontStyle::FreeFont() {
  ReleaseFont(font_);
  font_ = nullptr;
  fontStale_ = 1;
}
