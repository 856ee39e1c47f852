// The 2D clip rectangle and its line and polygon clippers. Crossings are
// computed in double: the screen points of near-clipped geometry reach
// +-2^30, whose differences and products overflow int.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "graphics/draw2d/clip2d.h"
#include "graphics/state3d/state3d.h"

namespace {

struct ClipRect {
  int xmin = 0, ymin = 0, xmax = 0, ymax = 0;
};

ClipRect& Rect() {
  static ClipRect rect;
  return rect;
}

// trunc of a value that lies between two ints.
int Trunc(double v) {
  if (!(v > -2147483648.0)) return -2147483647 - 1;
  if (v >= 2147483647.0) return 2147483647;
  return static_cast<int>(v);
}

// The other coordinate where the line from a through b meets the bound.
int Cross(int a_along, int a_other, int b_along, int b_other, int bound) {
  const double d_along = static_cast<double>(b_along) - a_along;
  const double d_other = static_cast<double>(b_other) - a_other;
  return Trunc(a_other + (static_cast<double>(bound) - a_along) * d_other / d_along);
}

bool BothOutside(const ClipRect& r, PwPoint2 a, PwPoint2 b) {
  return (a.y < r.ymin && b.y < r.ymin) || (a.y > r.ymax && b.y > r.ymax) ||
         (a.x < r.xmin && b.x < r.xmin) || (a.x > r.xmax && b.x > r.xmax);
}

bool Inside(const ClipRect& r, PwPoint2 p) {
  return p.x >= r.xmin && p.x <= r.xmax && p.y >= r.ymin && p.y <= r.ymax;
}

// Moves p along the line from the fixed point q onto the rectangle's x
// bound, then its y bound, where p lies beyond them.
void ClipEnd(const ClipRect& r, PwPoint2* p, PwPoint2 q) {
  const int xbound = p->x < r.xmin ? r.xmin : (p->x > r.xmax ? r.xmax : p->x);
  if (xbound != p->x && std::fabs(static_cast<double>(p->x) - q.x) > 0.0001) {
    p->y = Cross(q.x, q.y, p->x, p->y, xbound);
    p->x = xbound;
  }
  const int ybound = p->y < r.ymin ? r.ymin : (p->y > r.ymax ? r.ymax : p->y);
  if (ybound != p->y && std::fabs(static_cast<double>(p->y) - q.y) > 0.0001) {
    p->x = Cross(q.y, q.x, p->y, p->x, ybound);
    p->y = ybound;
  }
}

// One Sutherland-Hodgman pass against one bound; returns the output count,
// or -1 when it would not fit in cap points.
// edge 0: y >= ymin, 1: y <= ymax, 2: x >= xmin, 3: x <= xmax.
int ClipPass(const ClipRect& r, int edge, const PwPoint2* in, int n, PwPoint2* out,
             std::size_t cap) {
  auto inside = [&](PwPoint2 p) {
    switch (edge) {
      case 0: return p.y >= r.ymin;
      case 1: return p.y <= r.ymax;
      case 2: return p.x >= r.xmin;
      default: return p.x <= r.xmax;
    }
  };
  auto crossing = [&](PwPoint2 v, PwPoint2 w) {
    PwPoint2 c;
    if (edge < 2) {
      c.y = edge == 0 ? r.ymin : r.ymax;
      c.x = Cross(v.y, v.x, w.y, w.x, c.y);
    } else {
      c.x = edge == 2 ? r.xmin : r.xmax;
      c.y = Cross(v.x, v.y, w.x, w.y, c.x);
    }
    return c;
  };
  int count = 0;
  for (int i = 0; i < n; ++i) {
    const PwPoint2 v = in[i];
    const PwPoint2 w = in[i + 1 < n ? i + 1 : 0];
    const bool vin = inside(v);
    const bool win = inside(w);
    if (static_cast<std::size_t>(count) + 2 > cap) return -1;
    if (vin) out[count++] = v;
    if (vin != win) out[count++] = crossing(v, w);
  }
  return count;
}

}  // namespace

void PwGetClip2(PwPoint2* min, PwPoint2* max) {
  const ClipRect& r = Rect();
  if (min != nullptr) *min = {r.xmin, r.ymin};
  if (max != nullptr) *max = {r.xmax, r.ymax};
}

void PwSetClip2(PwPoint2 a, PwPoint2 b) {
  ClipRect& r = Rect();
  r.xmin = a.x < b.x ? a.x : b.x;
  r.xmax = a.x < b.x ? b.x : a.x;
  r.ymin = a.y < b.y ? a.y : b.y;
  r.ymax = a.y < b.y ? b.y : a.y;
}

void PwResetClip2() { Rect() = ClipRect(); }

int PwClipLine2(PwPoint2* out_start, PwPoint2* out_end, PwPoint2 start, PwPoint2 end) {
  const ClipRect& r = Rect();
  if (BothOutside(r, start, end)) return 0;
  ClipEnd(r, &end, start);
  if (BothOutside(r, start, end) || (start.x == end.x && start.y == end.y)) return 0;
  ClipEnd(r, &start, end);
  if (!Inside(r, start) || !Inside(r, end) || (start.x == end.x && start.y == end.y)) return 0;
  *out_start = start;
  *out_end = end;
  return 1;
}

int PwClipPolygon2(int* out_count, PwPoint2* out_points, int count, const PwPoint2* points) {
  *out_count = 0;
  if (count < 1 || points == nullptr) return 0;
  const ClipRect& r = Rect();
  // A pass adds at most half its count (a crossing pair per run of outside
  // vertices), so the passes stay within 4 * count + 8; a result that would
  // not fit the caller's 4 * count fails rather than overrun it.
  if (static_cast<std::size_t>(count) > SIZE_MAX / (16 * sizeof(PwPoint2))) return 0;
  const std::size_t cap = static_cast<std::size_t>(count) * 4 + 8;
  std::size_t mark = 0;
  auto* a = static_cast<PwPoint2*>(PwScratchMark(&mark, 2 * cap * sizeof(PwPoint2)));
  if (a == nullptr) return 0;
  PwPoint2* bufs[2] = {a, a + cap};
  int n = count;
  const PwPoint2* in = points;
  for (int edge = 0; edge < 4 && n > 0; ++edge) {
    PwPoint2* out = bufs[edge & 1];
    n = ClipPass(r, edge, in, n, out, cap);
    in = out;
  }
  int result = 0;
  if (n > 0 && n <= 4 * count) {
    for (int i = 0; i < n; ++i) out_points[i] = in[i];
    *out_count = n;
    result = 1;
  }
  PwScratchRelease(mark);
  return result;
}
