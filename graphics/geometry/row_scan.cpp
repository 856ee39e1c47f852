// The integer row scan: which pixels a projected polygon covers, one row's
// sorted crossings at a time, the last row cached.
#include <cmath>

#include "graphics/geometry/polygon_geometry.h"

namespace {

struct ScanState {
  int count = 0;  // 0: no polygon held
  PwPoint2 points[kPwScanMaxVertices];
  int xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  int direction = 0;  // y direction (-1, 1) of the last non-horizontal edge
  bool cached = false;
  int cached_row = 0;
  int crossing_count = 0;
  int crossings[kPwScanMaxVertices];
};

ScanState& State() {
  static ScanState state;
  return state;
}

void Insert(ScanState& s, int x) {
  int i = s.crossing_count;
  while (i > 0 && s.crossings[i - 1] > x) {
    s.crossings[i] = s.crossings[i - 1];
    --i;
  }
  s.crossings[i] = x;
  ++s.crossing_count;
}

// A vertex the outline passes through counts once, a peak or valley twice:
// an edge starting on the row is skipped when it keeps the direction.
void BuildRow(ScanState& s, int y) {
  s.crossing_count = 0;
  s.cached = true;
  s.cached_row = y;
  int running = s.direction;
  for (int i = 0; i < s.count; ++i) {
    const PwPoint2 a = s.points[i];
    const PwPoint2 b = s.points[i + 1 < s.count ? i + 1 : 0];
    const int dy = (b.y > a.y) - (b.y < a.y);  // sign only: differences can overflow
    if (dy == 0) continue;
    if ((a.y < y && b.y < y) || (a.y > y && b.y > y)) continue;
    if (a.y == y && dy * running >= 0) continue;
    const PwPoint2 lo = a.y < b.y ? a : b;
    const PwPoint2 hi = a.y < b.y ? b : a;
    const double x = lo.x + (static_cast<double>(hi.x) - lo.x) * (static_cast<double>(y) - lo.y) /
                                (static_cast<double>(hi.y) - lo.y);
    Insert(s, static_cast<int>(std::trunc(x)));
    running = dy;
  }
}

}  // namespace

int PwScanPolygon(int count, const PwPoint2* points) {
  ScanState& s = State();
  s.count = 0;
  s.cached = false;
  s.crossing_count = 0;
  if (count < 3 || count > kPwScanMaxVertices || points == nullptr) return 0;
  s.xmin = s.xmax = points[0].x;
  s.ymin = s.ymax = points[0].y;
  s.direction = 0;
  for (int i = 0; i < count; ++i) {
    const PwPoint2 p = points[i];
    s.points[i] = p;
    if (p.x < s.xmin) s.xmin = p.x;
    if (p.x > s.xmax) s.xmax = p.x;
    if (p.y < s.ymin) s.ymin = p.y;
    if (p.y > s.ymax) s.ymax = p.y;
    const PwPoint2 q = points[i + 1 < count ? i + 1 : 0];
    if (q.y != p.y) s.direction = q.y > p.y ? 1 : -1;
  }
  s.count = count;
  return 1;
}

int PwScanInside(int x, int y) {
  ScanState& s = State();
  if (s.count == 0) return 0;
  if (x < s.xmin || x > s.xmax || y < s.ymin || y > s.ymax) return 0;
  if (s.direction == 0) return 1;
  if (!(s.cached && s.cached_row == y && s.crossing_count > 0)) BuildRow(s, y);
  for (int i = 0; i + 1 < s.crossing_count; i += 2) {
    if (s.crossings[i] <= x && x < s.crossings[i + 1]) return 1;
  }
  return 0;
}

int PwScanRow(int* out_count, int* out_crossings, int row) {
  ScanState& s = State();
  *out_count = 0;
  if (s.count == 0 || row < s.ymin || row > s.ymax) return 1;
  BuildRow(s, row);
  for (int i = 0; i < s.crossing_count; ++i) out_crossings[i] = s.crossings[i];
  *out_count = s.crossing_count;
  return 1;
}

int PwScanEnd() {
  ScanState& s = State();
  s.count = 0;
  s.crossing_count = 0;
  s.cached = false;
  return 1;
}

void PwResetScan() { State() = ScanState(); }
