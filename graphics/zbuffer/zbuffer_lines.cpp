// Lines, points and discs: unlit, with the depth of the pixel's ray.
#include <cmath>
#include <initializer_list>

#include "graphics/draw2d/clip2d.h"
#include "graphics/geometry/polygon_geometry.h"
#include "graphics/draw2d/disc_rows.h"
#include "graphics/zbuffer/zbuffer_internal.h"

namespace {

long long Abs(long long v) { return v < 0 ? -v : v; }

struct LinePixels {
  PwColor colour;
  PwVec3 a, b;  // camera-space ends after the near clip
};

float LineDepth(const LinePixels& line, int x, int y) {
  const PwZState& s = PwZ();
  const PwVec3& a = line.a;
  const PwVec3& b = line.b;
  const float ex = std::fabs(b.x - a.x), ey = std::fabs(b.y - a.y);
  if (ex < 0.0001f && ey < 0.0001f) return 0.0f;
  PwRay2 ray, segment;
  ray.point = {0.0f, 0.0f};
  if (ex > ey) {
    ray.direction = {static_cast<float>(x - s.cx), s.magnification};
    segment = {{a.x, a.z}, {b.x - a.x, b.z - a.z}};
  } else {
    ray.direction = {static_cast<float>(s.cy - y), s.magnification};
    segment = {{a.y, a.z}, {b.y - a.y, b.z - a.z}};
  }
  PwVec2 cut;
  if (!PwSegmentCross2(&cut, &ray, &segment)) return 0.0f;
  return cut.y;
}

void PlotLine(int x, int y, void* data) {
  const PwZState& s = PwZ();
  const LinePixels& line = *static_cast<const LinePixels*>(data);
  s.depth_pixel(s.context, x, y, line.colour.red, line.colour.green, line.colour.blue,
                LineDepth(line, x, y));
}

struct DiscPixels {
  PwColor colour;
  float depth;
};

void PlotDisc(int x, int y, void* data) {
  const PwZState& s = PwZ();
  const DiscPixels& d = *static_cast<const DiscPixels*>(data);
  s.depth_pixel(s.context, x, y, d.colour.red, d.colour.green, d.colour.blue, d.depth);
}

}  // namespace

void PwZWalkLine(PwPoint2 a, PwPoint2 b, PwZPlotFunc plot, void* data) {
  const PwZState& s = PwZ();
  PwPoint2 saved_min, saved_max;
  PwGetClip2(&saved_min, &saved_max);
  PwSetClip2({s.x0, s.y0}, {s.x1 - 1, s.y1 - 1});
  PwPoint2 p, q;
  const int kept = PwClipLine2(&p, &q, a, b);
  PwSetClip2(saved_min, saved_max);
  if (!kept) return;
  long long x = p.x, y = p.y;
  const long long xe = q.x, ye = q.y;
  const long long dx = Abs(xe - x), dy = Abs(ye - y);
  PwZ().walked += static_cast<unsigned long long>(dx > dy ? dx : dy) + 1;
  const long long sx = xe < x ? -1 : 1, sy = ye < y ? -1 : 1;
  long long e = 0;
  if (dx == 0) {
    for (long long i = 0; i <= dy; ++i, y += sy)
      plot(static_cast<int>(x), static_cast<int>(y), data);
  } else if (dy == 0) {
    for (long long i = 0; i <= dx; ++i, x += sx)
      plot(static_cast<int>(x), static_cast<int>(y), data);
  } else if (dy < dx) {
    for (long long i = 0; i <= dx && !(x == xe && y == ye); ++i) {
      plot(static_cast<int>(x), static_cast<int>(y), data);
      if (e < 0) {
        x += sx;
        y += sy;
        e += dx - dy;
      } else {
        x += sx;
        e -= dy;
      }
    }
  } else if (dx < dy) {
    for (long long i = 0; i <= dy && !(x == xe && y == ye); ++i) {
      plot(static_cast<int>(x), static_cast<int>(y), data);
      if (e > 0) {
        x += sx;
        y += sy;
        e += dx - dy;
      } else {
        y += sy;
        e += dx;
      }
    }
  } else {
    for (; x != xe; x += sx, y += sy) plot(static_cast<int>(x), static_cast<int>(y), data);
  }
}

void PwZSpan(long long y, double lo, double hi, int left, int right_end, PwZPlotFunc plot,
             void* data) {
  // Bounds beyond the viewport are cut before the conversion to integers.
  lo = std::trunc(lo);
  hi = std::trunc(hi);
  const double start = lo > left ? lo : static_cast<double>(left);
  const double end = hi < right_end ? hi : static_cast<double>(right_end);
  if (!(start < end)) return;
  for (long long x = static_cast<long long>(start); x < static_cast<long long>(end); ++x) {
    plot(static_cast<int>(x), static_cast<int>(y), data);
  }
}

unsigned long long PwZWalked() { return PwZ().walked; }

int PwZLine(PwVec3 p0, PwVec3 p1, PwColor colour) {
  const PwZState& s = PwZ();
  const PwVec3 in[2] = {PwZToCamera(p0), PwZToCamera(p1)};
  LinePixels line;
  line.colour = colour;
  PwVec3 out[2];
  PwClipLineNear(out, in, s.near_distance);
  line.a = out[0];
  line.b = out[1];
  const PwVec2 a = PwZProject(line.a), b = PwZProject(line.b);
  int ok = 1;
  const PwPoint2 pa = {PwZTrunc(a.x, &ok), PwZTrunc(a.y, &ok)};
  const PwPoint2 pb = {PwZTrunc(b.x, &ok), PwZTrunc(b.y, &ok)};
  if (ok) PwZWalkLine(pa, pb, PlotLine, &line);
  return 1;
}

int PwZPoint(PwVec3 p, PwColor colour) {
  const PwZState& s = PwZ();
  const PwVec3 c = PwZToCamera(p);
  if (!(c.z > s.near_distance)) return 1;
  const PwVec2 f = PwZProject(c);
  int ok = 1;
  const int x = PwZTrunc(f.x, &ok), y = PwZTrunc(f.y, &ok);
  if (!ok) return 1;
  if (x < s.x0 || x > static_cast<long long>(s.x1) - 2 || y < s.y0 ||
      y > static_cast<long long>(s.y1) - 2) {
    return 1;
  }
  for (int k = 0; k < 4; ++k) {
    s.depth_pixel(s.context, x + (k & 1), y + (k >> 1), colour.red, colour.green, colour.blue, c.z);
  }
  return 1;
}

// Row k from the centre row spans the midpoint walk's width of radius
// trunc(r) there (the centre row r itself); the walk's last row is the one
// ceil(r) away. Only rows inside the viewport are computed.
int PwZDisc(PwVec3 centre, float radius, PwColor colour) {
  const PwZState& s = PwZ();
  const PwVec3 c = PwZToCamera(centre);
  if (!(c.z > s.near_distance)) return 1;
  const PwVec2 f = PwZProject(c);
  int ok = 1;
  const long long px = PwZTrunc(f.x, &ok), py = PwZTrunc(f.y, &ok);
  const double r = static_cast<double>(radius) * s.magnification / c.z;
  if (!ok || std::isnan(r)) return 1;
  if (px + r < s.x0 || px - r >= s.x1 || py + r < s.y0 || py - r >= s.y1) return 1;
  DiscPixels d = {colour, c.z};
  const double reach = std::ceil(r);
  const long long first = py - reach > s.y0 ? static_cast<long long>(py - reach) : s.y0;
  const long long end = py + reach + 1 < s.y1 ? static_cast<long long>(py + reach + 1) : s.y1;
  const double whole = std::trunc(r);
  const long long big_r = whole < 4e18 ? static_cast<long long>(whole) : 4000000000000000000LL;
  for (long long row = first; row < end; ++row) {
    ++PwZ().walked;
    const long long k = row < py ? py - row : row - py;
    const double h = k == 0 ? r : static_cast<double>(PwDiscHalfWidth(big_r, k));
    PwZSpan(row, static_cast<double>(px) - h, static_cast<double>(px) + h, s.x0, s.x1, PlotDisc,
            &d);
  }
  return 1;
}
