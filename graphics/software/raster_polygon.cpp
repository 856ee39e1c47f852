// Polygon edge crossings, per row, for the even-odd fill of PwRasterFillRows.
// Fills tile: rows are sampled at their pixel centres (integer y) and an
// edge counts on rows [top, bottom); each crossing is the first pixel centre
// at or right of the edge, and a span runs up to but not including the
// next crossing. Two polygons sharing an edge thus paint every pixel along
// it exactly once between them, whichever way each walks the edge.
#include <cstdint>

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

namespace {

// Crossings far outside the area are held just beyond it; the clamp keeps
// their order, so the spans inside stay what they were.
int HoldX(int64_t x, int width) {
  if (x < -1) return -1;
  if (x > width) return width;
  return static_cast<int>(x);
}

// Vertices beyond +-2^30 (nothing projects there) are held to it, so the
// edge arithmetic below stays inside 64 bits.
PwPoint2 HoldPoint(PwPoint2 p) {
  constexpr int kLimit = 1 << 30;
  if (p.x > kLimit) p.x = kLimit;
  if (p.x < -kLimit) p.x = -kLimit;
  if (p.y > kLimit) p.y = kLimit;
  if (p.y < -kLimit) p.y = -kLimit;
  return p;
}

// ceil(a / b) for b > 0. Nearly every edge of a drawing fits 32 bits,
// whose division is several times quicker.
int64_t CeilDiv(int64_t a, int64_t b) {
  if (a >= INT32_MIN + 1 && a <= INT32_MAX && b <= INT32_MAX) {
    const int32_t a32 = static_cast<int32_t>(a), b32 = static_cast<int32_t>(b);
    if (a32 >= 0) return a32 / b32 + (a32 % b32 != 0);
    return -((-a32) / b32);
  }
  return a >= 0 ? (a + b - 1) / b : -((-a) / b);
}

// Records a non-horizontal edge on the rows of [top, bottom) that lie in
// the buffer. The crossing on row r is ceil(x(r)), stepped exactly with a
// quotient and remainder (one division per edge).
void AddEdge(PwPixelBuffer* s, PwPoint2 a, PwPoint2 b, int width) {
  if (a.y > b.y) {
    const PwPoint2 t = a;
    a = b;
    b = t;
  }
  const int64_t dy = static_cast<int64_t>(b.y) - a.y;
  const int64_t dx = static_cast<int64_t>(b.x) - a.x;
  const int64_t first = a.y < 0 ? 0 : a.y;
  const int64_t end = b.y < s->height ? b.y : s->height;  // exclusive
  if (first >= end) return;
  // x(r) = (a.x * dy + dx * (r - a.y)) / dy; keep q = ceil, rem = q*dy - N.
  const int64_t n0 = static_cast<int64_t>(a.x) * dy + dx * (first - a.y);
  int64_t q = CeilDiv(n0, dy);
  if (end - first == 1) {  // one row: most edges of small polygons
    PwRasterAddCrossing(s, static_cast<int>(first), HoldX(q, width));
    return;
  }
  int64_t rem = q * dy - n0;
  int64_t step_q = dx >= 0 ? dx / dy : -CeilDiv(-dx, dy);  // floor(dx / dy)
  const int64_t step_r = dx - step_q * dy;                 // 0 <= step_r < dy
  for (int64_t r = first; r < end; ++r) {
    PwRasterAddCrossing(s, static_cast<int>(r), HoldX(q, width));
    q += step_q;
    rem -= step_r;
    if (rem < 0) {
      q += 1;
      rem += dy;
    }
  }
}

}  // namespace

int PwRasterPolygon(PwPixelBuffer* s, int count, const PwPoint2* points) {
  if (s == nullptr || s->created == 0 || count < 3 || points == nullptr) return 1;
  int top = HoldPoint(points[0]).y;
  int bottom = top;
  for (int i = 1; i < count; ++i) {
    const int y = HoldPoint(points[i]).y;
    if (y < top) top = y;
    if (y > bottom) bottom = y;
  }
  // The last row sampled is the one above the lowest vertex.
  const int first = top < 0 ? 0 : top;
  const int last = bottom > s->height ? s->height - 1 : bottom - 1;
  if (count <= 15) {
    for (int y = first; y <= last; ++y) PwRasterClearRow(s, y);
  } else {
    for (int y = 0; y < s->height; ++y) PwRasterClearRow(s, y);
  }
  const int width = PwRasterAreaWidth(s);
  for (int i = 0; i < count && first <= last; ++i) {  // no sampled row: no crossing
    const PwPoint2 a = HoldPoint(points[i]);
    const PwPoint2 b = HoldPoint(points[i + 1 < count ? i + 1 : 0]);
    if (a.y != b.y) AddEdge(s, a, b, width);
  }
  s->first_row = first;
  s->last_row = last;
  return 0;
}
