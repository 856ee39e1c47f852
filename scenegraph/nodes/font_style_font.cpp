// The font cache of FontStyle: the graphics library's solid font, built on
// behalf of the text that uses the style and freed with it.
#include <new>

#include "graphics/text_fonts.h"
#include "scenegraph/nodes/shape_nodes.h"

KsFontStyle::~KsFontStyle() { FreeFont(); }

int KsFontStyle::BuildFont() {
    if (fontStale_ == 0) return font_ ? 0 : KS_ERR;
    PwTextFont* font = new (std::nothrow) PwTextFont();
    if (font == nullptr) return KS_ERR;
    if (PwMakeSolidFont(font, size.Get() * 0.5f, PwColor{255, 255, 255}) == 0) {
        delete font;  // nothing of it was allocated
        return KS_ERR;
    }
    font_ = font;
    fontStale_ = 0;
    return 0;
}

void KsFontStyle::FreeFont() {
    PwTextFont* font = static_cast<PwTextFont*>(font_);
    if (font != nullptr) {
        PwFreeTextFont(font);
        delete font;
    }
    font_ = nullptr;
    fontStale_ = 1;
}
