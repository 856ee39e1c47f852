// Helpers shared by the rasteriser's files.
#pragma once

#include "graphics/software/pixel_buffer.h"

// The drawing-area width of a buffer.
inline int PwRasterAreaWidth(const PwPixelBuffer* s) {
  return (s->width > 0 && s->width <= s->pixel_width) ? s->width : s->pixel_width;
}

// Fills x0..x1 (x0 <= x1, both inside) of one row.
void PwRasterSpan(PwPixelBuffer* s, int y, int x0, int x1, unsigned int pixel);

// Sets a row's crossing count to 0.
inline void PwRasterClearRow(PwPixelBuffer* s, int y) { s->crossings[y][0] = 0; }

// Inserts x into row y's ascending list; a full row (14) ignores it, and so
// does a row outside the buffer.
void PwRasterAddCrossing(PwPixelBuffer* s, int y, int x);
