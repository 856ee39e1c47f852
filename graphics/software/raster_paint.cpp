// Whole-surface paintings for checking an 8-bit surface and its palette.
#include "graphics/math/pw_types.h"
#include "graphics/software/raster_internal.h"
#include "graphics/software/screen.h"
#include "graphics/software/surface.h"

static bool Paintable(const PwPixelBuffer* s) {
  return s != nullptr && s->created != 0 && s->bits_per_pixel == 8 && s->height > 0;
}

static unsigned int Index8(PwColor c) {
  int index = 0;
  PwColorIndex8(&index, &c);
  return static_cast<unsigned int>(index);
}

void PwRasterPaintIndexGrid(PwPixelBuffer* s) {
  if (!Paintable(s)) return;
  const int w = PwRasterAreaWidth(s);
  for (int y = 0; y < s->height; ++y) {
    for (int x = 0; x < w; ++x) {
      PwRasterPixel(s, x, y, static_cast<unsigned int>(16 * (16 * y / s->height) + 16 * x / w));
    }
  }
}

void PwRasterPaintGradient(PwPixelBuffer* s) {
  if (!Paintable(s)) return;
  const int w = PwRasterAreaWidth(s);
  for (int y = 0; y < s->height; ++y) {
    for (int x = 0; x < w; ++x) {
      const PwColor c = {255 - 255 * x / w, 255 * y / s->height, 255 * x / w};
      PwRasterPixel(s, x, y, Index8(c));
    }
  }
}

void PwRasterPaintBands(PwPixelBuffer* s) {
  if (!Paintable(s)) return;
  const int w = PwRasterAreaWidth(s);
  for (int y = 0; y < s->height; ++y) {
    const int k = 8 * y / s->height;
    const PwColor c = {(k & 4) ? 255 : 0, (k & 2) ? 255 : 0, (k & 1) ? 255 : 0};
    const unsigned int pixel = Index8(c);
    PwRasterSpan(s, y, 0, w - 1, pixel);
  }
}
