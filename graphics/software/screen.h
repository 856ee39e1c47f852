// The software build's screen layer (declared in draw2d/screen_layer.h) and
// the rasteriser underneath it that writes the pixel buffer record.
#pragma once

#include "graphics/draw2d/screen_layer.h"
#include "graphics/math/pw_types.h"
#include "graphics/software/pixel_buffer.h"

// Most crossings a row keeps; later ones are dropped.
constexpr int kPwMaxRowCrossings = 14;

// The pixel value of a colour in the buffer's format (palette index at
// 8 bits, 5-5-5 at 16).
unsigned int PwPixelValue(const PwPixelBuffer* s, PwColor color);

// ---- Rasteriser: pixels, lines and rectangles must lie inside the
// buffer. The fills are two steps: record crossings, then PwRasterFillRows;
// they take shapes of any size and position and draw only their rows and
// spans inside the drawing area (the record's width, or pixel_width when
// that is 0). Polygon fills tile (rows [top, bottom), pixels [left, right)
// sampled at pixel centres); circles and ellipses include both ends of each
// row.
void PwRasterPixel(PwPixelBuffer* s, int x, int y, unsigned int pixel);
void PwRasterLine(PwPixelBuffer* s, int x0, int y0, int x1, int y1, unsigned int pixel);
void PwRasterRect(PwPixelBuffer* s, int x0, int y0, int x1, int y1, unsigned int pixel);
// 1 without a buffer or with fewer than 3 points; else 0 with the crossings
// recorded.
int PwRasterPolygon(PwPixelBuffer* s, int count, const PwPoint2* points);
int PwRasterCircle(PwPixelBuffer* s, PwPoint2 centre, int radius);
int PwRasterEllipse(PwPixelBuffer* s, PwPoint2 centre, int rx, int ry);
// Fills each recorded pair [x0, x1) of the touched rows; the pixels painted.
int PwRasterFillRows(PwPixelBuffer* s, unsigned int pixel);

// Whole-surface test paintings of an 8-bit buffer (nothing otherwise).
void PwRasterPaintIndexGrid(PwPixelBuffer* s);
void PwRasterPaintGradient(PwPixelBuffer* s);
void PwRasterPaintBands(PwPixelBuffer* s);
