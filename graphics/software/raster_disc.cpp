// Filled circles and ellipses as crossings, and the span fill of all fills.
#include <cstdint>

#include "graphics/software/raster_internal.h"
#include "graphics/software/screen.h"

static int ClampX(int64_t x, int width) {
  if (x < 0) return 0;
  if (x > width - 1) return width - 1;
  return static_cast<int>(x);
}

// One row's pair, x clamped to the area; rows outside are skipped.
static void AddPair(PwPixelBuffer* s, int64_t y, int64_t x0, int64_t x1) {
  if (y < 0 || y >= s->height) return;
  const int width = PwRasterAreaWidth(s);
  PwRasterAddCrossing(s, static_cast<int>(y), ClampX(x0, width));
  PwRasterAddCrossing(s, static_cast<int>(y), ClampX(x1, width));
}

// The midpoint walk over radius ry; each row's half-width is rx * f / ry
// (f itself for a circle, rx == ry). Radii beyond the area's width plus
// height change nothing visible for a centre inside the area, so the walk
// is held to that many rows.
static int RecordDisc(PwPixelBuffer* s, PwPoint2 c, int rx, int ry) {
  if (s == nullptr || s->created == 0) return 1;
  for (int y = 0; y < s->height; ++y) PwRasterClearRow(s, y);
  s->first_row = 0;
  s->last_row = -1;
  if (rx < 0 || ry < 0) return 0;
  const int width = PwRasterAreaWidth(s);
  const int64_t limit = static_cast<int64_t>(width) + s->height;
  const bool circle = rx == ry;
  int64_t r = ry < limit ? ry : limit;
  const int64_t wx = circle ? r : rx;
  if (c.y + r < 0 || c.y - r >= s->height || c.x + wx < 0 || c.x - wx >= width) return 0;

  AddPair(s, c.y, static_cast<int64_t>(c.x) - wx, static_cast<int64_t>(c.x) + wx);
  int64_t f = r;
  int64_t g = 2 * r;
  int64_t e = 0;
  for (int64_t i = 0; i < r;) {
    if (e > 0) {
      f -= 1;
      e += 1 - g;
      g -= 2;
    } else {
      const int64_t half = circle ? f : wx * f / r;
      AddPair(s, c.y - (i + 1), c.x - half, c.x + half);
      AddPair(s, c.y + (i + 1), c.x - half, c.x + half);
      e += 2 * i + 1;
      i += 1;
    }
  }
  const int64_t top = c.y - r;
  const int64_t bottom = c.y + r;
  s->first_row = top < 0 ? 0 : static_cast<int>(top);
  s->last_row = bottom >= s->height ? s->height - 1 : static_cast<int>(bottom);
  return 0;
}

int PwRasterCircle(PwPixelBuffer* s, PwPoint2 centre, int radius) {
  return RecordDisc(s, centre, radius, radius);
}

int PwRasterEllipse(PwPixelBuffer* s, PwPoint2 centre, int rx, int ry) {
  return RecordDisc(s, centre, rx, ry);
}

void PwRasterFillRows(PwPixelBuffer* s, unsigned int pixel) {
  if (s == nullptr || s->created == 0) return;
  const int width = PwRasterAreaWidth(s);
  const int first = s->first_row < 0 ? 0 : s->first_row;
  const int last = s->last_row >= s->height ? s->height - 1 : s->last_row;
  for (int y = first; y <= last; ++y) {
    const int* row = s->crossings[y];
    const int count = row[0];
    for (int k = 1; k + 1 <= count; k += 2) {
      const int x0 = row[k] < 0 ? 0 : row[k];
      const int x1 = row[k + 1] >= width ? width - 1 : row[k + 1];
      if (x0 <= x1) PwRasterSpan(s, y, x0, x1, pixel);
    }
  }
}
