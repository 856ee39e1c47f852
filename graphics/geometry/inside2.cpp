// 2D point in polygon by ray parity, and the cut of two 2D lines.
#include <cmath>

#include "graphics/geometry/polygon_geometry.h"

namespace {

constexpr float kTol = 0.0001f;

bool Near(float a, float b) { return std::fabs(a - b) <= kTol; }

bool WithinEdge(float x, float y, PwVec2 a, PwVec2 b) {
  const float xl = std::fmin(a.x, b.x), xh = std::fmax(a.x, b.x);
  const float yl = std::fmin(a.y, b.y), yh = std::fmax(a.y, b.y);
  return x >= xl - kTol && x <= xh + kTol && y >= yl - kTol && y <= yh + kTol;
}

}  // namespace

int PwInsidePolygon2(const PwPointList2* polygon, const PwVec2* q) {
  if (polygon == nullptr || q == nullptr || polygon->points == nullptr || polygon->count < 1)
    return 0;
  const int n = polygon->count;
  const PwVec2* p = polygon->points;
  for (int k = 0; k < 256; ++k) {
    const double theta = 16640.0 * k * kPwRadiansPerUnit;
    const float dx = static_cast<float>(std::cos(theta));
    const float dy = static_cast<float>(std::sin(theta));
    int crossings = 0;
    bool abandoned = false;
    for (int i = 0; i < n && !abandoned; ++i) {
      const PwVec2 a = p[i];
      const PwVec2 b = p[i + 1 < n ? i + 1 : 0];
      const float ex = b.x - a.x, ey = b.y - a.y;
      if (std::fabs(ex) < kTol && std::fabs(ey) < kTol) continue;
      const float det = dx * ey - dy * ex;
      const float wx = a.x - q->x, wy = a.y - q->y;
      if (std::fabs(det) <= kTol) {
        if (std::fabs(wx * dy - wy * dx) <= kTol) abandoned = true;  // same line
        continue;
      }
      const float t = (wx * ey - wy * ex) / det;
      const float x = q->x + dx * t;
      const float y = q->y + dy * t;
      // The point itself on the edge: not inside. (A cut on the edge's line
      // beyond its ends says nothing about q.)
      if (Near(x, q->x) && Near(y, q->y) && WithinEdge(x, y, a, b)) return 0;
      if ((Near(x, a.x) && Near(y, a.y)) || (Near(x, b.x) && Near(y, b.y))) {
        abandoned = true;
        continue;
      }
      const bool ahead = (x - q->x) * dx + (y - q->y) * dy > 0.0f;
      const bool between = (a.x - x) * (b.x - x) + (a.y - y) * (b.y - y) < 0.0f;
      if (ahead && between) ++crossings;
    }
    if (!abandoned) return crossings % 2 == 1 ? 1 : 0;
  }
  return 0;
}

int PwSegmentCross2(PwVec2* out, const PwRay2* a, const PwRay2* b) {
  const PwVec2 u = a->direction;
  const PwVec2 v = b->direction;
  const float k = u.y * v.x - u.x * v.y;
  if (std::fabs(k) <= kTol) return 0;
  const float t = (u.y * (a->point.x - b->point.x) + u.x * (b->point.y - a->point.y)) / k;
  out->x = b->point.x + t * v.x;
  out->y = b->point.y + t * v.y;
  return 1;
}
