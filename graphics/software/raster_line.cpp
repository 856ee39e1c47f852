// Pixels, integer lines, rectangles and spans.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "graphics/software/raster_internal.h"
#include "graphics/software/screen.h"

void PwRasterPixel(PwPixelBuffer* s, int x, int y, unsigned int pixel) {
  unsigned char* row = s->rows[y];
  if (s->bits_per_pixel == 16) {
    const uint16_t v = static_cast<uint16_t>(pixel);
    std::memcpy(row + 2 * x, &v, sizeof v);
  } else {
    row[x] = static_cast<unsigned char>(pixel);
  }
}

void PwRasterSpan(PwPixelBuffer* s, int y, int x0, int x1, unsigned int pixel) {
  unsigned char* row = s->rows[y];
  if (s->bits_per_pixel == 16) {
    uint16_t* p = reinterpret_cast<uint16_t*>(row) + x0;
    uint16_t* end = reinterpret_cast<uint16_t*>(row) + x1 + 1;
    const uint16_t v = static_cast<uint16_t>(pixel);
    if ((reinterpret_cast<uintptr_t>(p) & 3) != 0 && p < end) *p++ = v;
    const uint32_t word = (static_cast<uint32_t>(v) << 16) | v;
    for (; end - p >= 2; p += 2) std::memcpy(p, &word, sizeof word);
    if (p < end) *p = v;
  } else {
    unsigned char* p = row + x0;
    unsigned char* end = row + x1 + 1;
    const unsigned char v = static_cast<unsigned char>(pixel);
    while ((reinterpret_cast<uintptr_t>(p) & 3) != 0 && p < end) *p++ = v;
    const uint32_t word = 0x01010101u * v;
    for (; end - p >= 4; p += 4) std::memcpy(p, &word, sizeof word);
    while (p < end) *p++ = v;
  }
}

static int Sign(int v) { return (v > 0) - (v < 0); }

void PwRasterLine(PwPixelBuffer* s, int x0, int y0, int x1, int y1, unsigned int pixel) {
  const int sx = Sign(x1 - x0);
  const int sy = Sign(y1 - y0);
  const int n = std::abs(x1 - x0);
  const int m = std::abs(y1 - y0);
  int x = x0;
  int y = y0;
  if (n == 0) {
    for (int i = 0; i <= m; ++i, y += sy) PwRasterPixel(s, x, y, pixel);
    return;
  }
  if (m == 0) {
    for (int i = 0; i <= n; ++i, x += sx) PwRasterPixel(s, x, y, pixel);
    return;
  }
  // Each walk reaches the end after exactly max(n, m) steps.
  int e = 0;
  if (n > m) {
    for (int i = 0; i < n; ++i) {
      PwRasterPixel(s, x, y, pixel);
      x += sx;
      if (e < 0) {
        y += sy;
        e += n - m;
      } else {
        e -= m;
      }
    }
  } else if (m > n) {
    for (int i = 0; i < m; ++i) {
      PwRasterPixel(s, x, y, pixel);
      y += sy;
      if (e > 0) {
        x += sx;
        e += n - m;
      } else {
        e += n;
      }
    }
  } else {
    for (int i = 0; i < n; ++i, x += sx, y += sy) PwRasterPixel(s, x, y, pixel);
  }
  PwRasterPixel(s, x1, y1, pixel);
}

void PwRasterRect(PwPixelBuffer* s, int x0, int y0, int x1, int y1, unsigned int pixel) {
  const int left = x0 < x1 ? x0 : x1;
  const int right = x0 < x1 ? x1 : x0;
  const int top = y0 < y1 ? y0 : y1;
  const int bottom = y0 < y1 ? y1 : y0;
  for (int y = top; y <= bottom; ++y) PwRasterSpan(s, y, left, right, pixel);
}
