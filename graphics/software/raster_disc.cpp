// Filled circles and ellipses as crossings, and the span fill of all fills.
#include <cstdint>

#include "graphics/draw2d/disc_rows.h"
#include "graphics/software/raster_internal.h"
#include "graphics/software/screen.h"

namespace {

// One row's pixels x0..x1 inclusive as a half-open pair; rows outside and
// spans wholly left or right of the area are skipped.
void AddPair(PwPixelBuffer* s, int64_t y, int64_t x0, int64_t x1) {
  const int width = PwRasterAreaWidth(s);
  if (y < 0 || y >= s->height || x1 < 0 || x0 >= width) return;
  PwRasterAddCrossing(s, static_cast<int>(y), x0 < 0 ? 0 : static_cast<int>(x0));
  PwRasterAddCrossing(s, static_cast<int>(y), x1 >= width ? width : static_cast<int>(x1 + 1));
}

// The midpoint walk over radius ry; row k from the centre has half-width
// rx * f / ry, f the walk's width there (f itself for a circle). Only the
// rows inside the buffer are computed, so a huge radius costs no more than
// the area's height, and the spans keep the true radii.
int RecordDisc(PwPixelBuffer* s, PwPoint2 c, int rx, int ry) {
  if (s == nullptr || s->created == 0) return 1;
  for (int y = 0; y < s->height; ++y) PwRasterClearRow(s, y);
  s->first_row = 0;
  s->last_row = -1;
  if (rx < 0 || ry < 0) return 0;
  const int64_t r = ry, wx = rx, cx = c.x, cy = c.y;
  const int64_t top = cy - r < 0 ? 0 : cy - r;
  const int64_t bottom = cy + r >= s->height ? s->height - 1 : cy + r;
  if (top > bottom) return 0;
  for (int64_t y = top; y <= bottom; ++y) {
    const int64_t k = y < cy ? cy - y : y - cy;
    int64_t half = wx;
    if (k > 0) {
      const int64_t f = PwDiscHalfWidth(r, k);
      half = rx == ry ? f : wx * f / r;
    }
    AddPair(s, y, cx - half, cx + half);
  }
  s->first_row = static_cast<int>(top);
  s->last_row = static_cast<int>(bottom);
  return 0;
}

}  // namespace

int PwRasterCircle(PwPixelBuffer* s, PwPoint2 centre, int radius) {
  return RecordDisc(s, centre, radius, radius);
}

int PwRasterEllipse(PwPixelBuffer* s, PwPoint2 centre, int rx, int ry) {
  return RecordDisc(s, centre, rx, ry);
}

int PwRasterFillRows(PwPixelBuffer* s, unsigned int pixel) {
  if (s == nullptr || s->created == 0) return 0;
  const int width = PwRasterAreaWidth(s);
  const int first = s->first_row < 0 ? 0 : s->first_row;
  const int last = s->last_row >= s->height ? s->height - 1 : s->last_row;
  int painted = 0;
  for (int y = first; y <= last; ++y) {
    const int* row = s->crossings[y];
    const int count = row[0];
    for (int k = 1; k + 1 <= count; k += 2) {
      const int x0 = row[k] < 0 ? 0 : row[k];
      const int x1 = row[k + 1] > width ? width : row[k + 1];
      if (x0 < x1) {
        PwRasterSpan(s, y, x0, x1 - 1, pixel);
        painted += x1 - x0;
      }
    }
  }
  return painted;
}
