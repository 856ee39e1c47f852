// 2D primitives of the renderer: plain pixels, no depth, no lighting.
#include <initializer_list>

#include "graphics/draw2d/disc_rows.h"
#include "graphics/geometry/polygon_geometry.h"
#include "graphics/zbuffer/zbuffer_internal.h"

namespace {

void PlotPlain(int x, int y, void* data) {
  const PwZState& s = PwZ();
  const PwColor& c = *static_cast<const PwColor*>(data);
  s.plain_pixel(s.context, x, y, c.red, c.green, c.blue);
}

int Hold(int v) {
  return v > kPwZCoordLimit ? kPwZCoordLimit : (v < -kPwZCoordLimit ? -kPwZCoordLimit : v);
}

}  // namespace

void PwZLine2(PwPoint2 p0, PwPoint2 p1, PwColor colour) { PwZWalkLine(p0, p1, PlotPlain, &colour); }

void PwZPoint2(PwPoint2 p, PwColor colour) {
  const PwZState& s = PwZ();
  if (p.x < s.x0 || p.x > static_cast<long long>(s.x1) - 2 || p.y < s.y0 ||
      p.y > static_cast<long long>(s.y1) - 2) {
    return;
  }
  for (int k = 0; k < 4; ++k) PlotPlain(p.x + (k & 1), p.y + (k >> 1), &colour);
}

// Row k from the centre has half-width a * H / b, H the midpoint walk's
// width there; only rows inside the viewport are computed, so the radii
// stay true whatever their size.
void PwZEllipse2(PwPoint2 centre, int rx, int ry, PwColor colour) {
  const PwZState& s = PwZ();
  const long long x = centre.x, y = centre.y;
  const long long a = rx, b = ry;
  const long long right = static_cast<long long>(s.x1) - 1;
  const long long bottom = static_cast<long long>(s.y1) - 1;
  if (x + a < s.x0 || x - a >= right || y + b < s.y0 || y - b >= bottom) return;
  const int right_end = static_cast<int>(right);
  const long long first = y - b > s.y0 ? y - b : s.y0;
  const long long end = y + b + 1 < bottom ? y + b + 1 : bottom;  // exclusive
  for (long long row = first; row < end; ++row) {
    ++PwZ().walked;
    const long long k = row < y ? y - row : row - y;
    const long long h = k == 0 ? a : a * PwDiscHalfWidth(b, k) / b;
    PwZSpan(row, static_cast<double>(x - h), static_cast<double>(x + h), s.x0, right_end, PlotPlain,
            &colour);
  }
}

void PwZPolygon2(int count, const PwPoint2* points, PwColor colour) {
  PwZState& s = PwZ();
  if (s.poll() != 0) return;
  if (count < 1 || points == nullptr) return;
  int left = points[0].x, right = points[0].x, top = points[0].y, bottom = points[0].y;
  for (int i = 1; i < count; ++i) {
    if (points[i].x < left) left = points[i].x;
    if (points[i].x > right) right = points[i].x;
    if (points[i].y < top) top = points[i].y;
    if (points[i].y > bottom) bottom = points[i].y;
  }
  if (right < s.x0 || left > s.x1 || bottom < s.y0 || top > s.y1) return;
  if (left < s.x0) left = s.x0;
  if (right > s.x1) right = s.x1;
  if (top < s.y0) top = s.y0;
  if (bottom > s.y1) bottom = s.y1;
  // More vertices than the row scan holds leave it empty: nothing is inside.
  PwPoint2 held[kPwScanMaxVertices];
  const int n = count <= kPwScanMaxVertices ? count : 0;
  for (int i = 0; i < n; ++i) held[i] = {Hold(points[i].x), Hold(points[i].y)};
  PwScanPolygon(n, held);
  for (long long y = top; y <= bottom; ++y) {
    for (long long x = left; x <= right; ++x) {
      if (s.poll() != 0) {
        PwScanEnd();
        return;
      }
      const int xi = static_cast<int>(x), yi = static_cast<int>(y);
      if (PwScanInside(xi, yi) == 1) PlotPlain(xi, yi, &colour);
    }
  }
  PwScanEnd();
}

void PwZBox2(PwPoint2 p0, PwPoint2 p1, PwColor colour) {
  const PwZState& s = PwZ();
  long long left = p0.x < p1.x ? p0.x : p1.x, right = p0.x < p1.x ? p1.x : p0.x;
  long long top = p0.y < p1.y ? p0.y : p1.y, bottom = p0.y < p1.y ? p1.y : p0.y;
  if (left < s.x0) left = s.x0;
  if (right > s.x1) right = s.x1;
  if (top < s.y0) top = s.y0;
  if (bottom > s.y1) bottom = s.y1;
  for (long long y = top; y <= bottom; ++y) {
    for (long long x = left; x <= right; ++x) {
      PlotPlain(static_cast<int>(x), static_cast<int>(y), &colour);
    }
  }
}
