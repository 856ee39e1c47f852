// The screen layer: 2D drawing in pixel coordinates of the drawing area,
// and the rasteriser underneath it that writes the pixel buffer record.
#pragma once

#include "graphics/math/pw_types.h"
#include "graphics/software/pixel_buffer.h"

// Marker kinds of PwScreenMarker.
constexpr int kPwMarkerSquare = 0;  // filled 5 x 5 square
constexpr int kPwMarkerCircle = 1;  // filled circle of radius 3
constexpr int kPwMarkerCross = 2;   // diagonal cross 9 pixels wide

// Alignments of PwScreenTextLines; any other value centres.
constexpr int kPwAlignLeft = 1;
constexpr int kPwAlignRight = 2;
constexpr int kPwAlignTop = 3;
constexpr int kPwAlignBottom = 4;

// Most crossings a row keeps; later ones are dropped.
constexpr int kPwMaxRowCrossings = 14;

// ---- Screen layer: draws into the current surface; nothing without one.
// Every pixel it sets lies inside the drawing area [0, w-1] x [0, h-1].
void PwScreenClear();
void PwScreenLine(PwPoint2 a, PwPoint2 b, PwColor color);
void PwScreenPoint(PwPoint2 p, PwColor color);
void PwScreenEllipse(PwPoint2 centre, int rx, int ry, PwColor color);
void PwScreenPolygon(int count, const PwPoint2* points, PwColor color);
void PwScreenBox(PwPoint2 a, PwPoint2 b, PwColor color);
void PwScreenMarker(PwPoint2 p, int kind, PwColor color);
void PwScreenText(PwPoint2 p, const char* text, PwColor color);
// lines: null-terminated list of lines.
void PwScreenTextLines(PwPoint2 p, const char* const* lines, int halign, int valign,
                       PwColor color);
void PwScreenRect(PwPoint2 a, PwPoint2 b, PwColor color);
void PwScreenOutline(int count, const PwPoint2* points, PwColor color);
void PwScreenPolyline(int count, const PwPoint2* points, PwColor color);
void PwScreenEllipseOutline(PwPoint2 centre, int rx, int ry, PwColor color);
// Save the 2D clip rectangle and set it to the drawing area; put it back.
void PwSetScreenClip();
void PwRestoreScreenClip();

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
