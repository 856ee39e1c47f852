// The software surface's pixels as plain data: the rasteriser writes through
// this record, the Win32 surface fills it from its DIB section and tests
// fill it from a heap buffer.
#pragma once

#include <cstdint>

// A count and up to 15 x positions of the edges crossing one row.
constexpr int kPwCrossingSlots = 16;

struct PwPixelBuffer {
  int created = 0;                 // 1 once bits and tables are in place
  unsigned char* bits = nullptr;   // first byte of row 0 (top-down)
  unsigned char** rows = nullptr;  // one pointer per row to its first pixel
  int bottom_up = 0;               // always 0: rows run top to bottom
  int bits_per_pixel = 8;          // 8 (palette index) or 16 (5-5-5)
  int pixel_width = 0;             // bitmap width: power of two, at least 8
  int height = 0;                  // rows
  int first_row = 0;               // rows touched by the current fill
  int last_row = 0;
  int (*crossings)[kPwCrossingSlots] = nullptr;  // one entry per row
  int width = 0;                                 // drawing-area width; 0 means pixel_width
};
