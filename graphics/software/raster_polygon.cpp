// Polygon edge crossings, per row, for the even-odd fill of PwRasterFillRows.
#include <cstdint>
#include <cstdlib>

#include "graphics/software/raster_internal.h"
#include "graphics/software/screen.h"

void PwRasterAddCrossing(PwPixelBuffer* s, int y, int x) {
  if (y < 0 || y >= s->height) return;
  int* row = s->crossings[y];
  int count = row[0];
  if (count >= kPwMaxRowCrossings) return;
  int i = count;
  while (i > 0 && row[i] > x) {
    row[i + 1] = row[i];
    --i;
  }
  row[i + 1] = x;
  row[0] = count + 1;
}

static int Sign(int v) { return (v > 0) - (v < 0); }

// Records one non-horizontal edge on rows y0 + sy .. y1. Every walk starts
// at the edge's left end so that the crossings follow the edge's line
// pixels whichever way the edge runs.
static void AddEdge(PwPixelBuffer* s, int x0, int y0, int x1, int y1) {
  const int sy = Sign(y1 - y0);
  const int sx = Sign(x1 - x0);
  const int n = std::abs(x1 - x0);
  const int m = std::abs(y1 - y0);
  if (n == 0) {
    for (int r = y0 + sy, k = 0; k < m; ++k, r += sy) PwRasterAddCrossing(s, r, x0);
    return;
  }
  if (4 * static_cast<int64_t>(m) < n) {
    for (int r = y0 + sy, k = 0; k < m; ++k, r += sy) {
      int64_t x;
      if (sx < 0) {
        x = x1 + static_cast<int64_t>(x0 - x1) * (r - y1) / (y0 - y1);
      } else {
        x = x0 + static_cast<int64_t>(x1 - x0) * (r - y0) / (y1 - y0);
      }
      PwRasterAddCrossing(s, r, static_cast<int>(x));
    }
    return;
  }
  if (n == m) {
    for (int k = 1; k <= m; ++k) PwRasterAddCrossing(s, y0 + k * sy, x0 + k * sx);
    return;
  }
  // Rising x: from the start vertex over rows y0+sy .. y1. Falling x: from
  // the end vertex, whose row is recorded first, back to row y0+sy.
  const int x_left = sx > 0 ? x0 : x1;
  const int row_first = sx > 0 ? y0 + sy : y1;
  const int row_step = sx > 0 ? sy : -sy;
  int x = x_left;
  int e = 0;
  if (m > n) {
    int r = row_first;
    for (int k = 0; k < m; ++k, r += row_step) {
      if (e > 0) {
        ++x;
        e += n - m;
      } else {
        e += n;
      }
      PwRasterAddCrossing(s, r, x);
    }
    return;
  }
  // n/4 <= m < n: walk along x; each entry into a new row records x.
  int r;
  int recorded = 0;
  if (sx > 0) {
    r = y0;
  } else {
    r = y1;
    e += n - m;
    PwRasterAddCrossing(s, r, x);
    recorded = 1;
  }
  for (int step = 0; step < n && recorded < m; ++step) {
    ++x;
    if (e >= 0) {
      e -= m;
    } else {
      r += row_step;
      e += n - m;
      PwRasterAddCrossing(s, r, x);
      ++recorded;
    }
  }
}

int PwRasterPolygon(PwPixelBuffer* s, int count, const PwPoint2* points) {
  if (s == nullptr || s->created == 0 || count < 3 || points == nullptr) return 1;
  int top = points[0].y;
  int bottom = points[0].y;
  for (int i = 1; i < count; ++i) {
    if (points[i].y < top) top = points[i].y;
    if (points[i].y > bottom) bottom = points[i].y;
  }
  const int first = top < 0 ? 0 : top;
  const int last = bottom >= s->height ? s->height - 1 : bottom;
  if (count <= 15) {
    for (int y = first; y <= last; ++y) PwRasterClearRow(s, y);
  } else {
    for (int y = 0; y < s->height; ++y) PwRasterClearRow(s, y);
  }

  // Where the vertical direction reverses, the end of the earlier
  // non-horizontal edge (the one whose crossing is already on that row)
  // gets a second crossing, so that a top or bottom vertex makes a pair.
  int first_dir = 0;
  int prev_dir = 0;
  PwPoint2 prev_end = {0, 0};
  for (int i = 0; i < count; ++i) {
    const PwPoint2 a = points[i];
    const PwPoint2 b = points[i + 1 < count ? i + 1 : 0];
    const int dir = Sign(b.y - a.y);
    if (dir == 0) continue;
    if (prev_dir == 0) {
      first_dir = dir;
    } else if (dir != prev_dir) {
      PwRasterAddCrossing(s, prev_end.y, prev_end.x);
    }
    AddEdge(s, a.x, a.y, b.x, b.y);
    prev_dir = dir;
    prev_end = b;
  }
  if (prev_dir != 0 && prev_dir != first_dir) {
    PwRasterAddCrossing(s, prev_end.y, prev_end.x);
  }

  s->first_row = first;
  s->last_row = last;
  return 0;
}
