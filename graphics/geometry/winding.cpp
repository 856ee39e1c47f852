// Which way a planar polygon's vertices turn about a normal: a ray from an
// edge's midpoint to its left counts the other edges it crosses.
#include <cmath>

#include "graphics/geometry/plane_frame.h"
#include "graphics/geometry/polygon_geometry.h"
#include "graphics/files/pw_alloc.h"

namespace {

constexpr float kTol = 0.0001f;

bool Same3(const PwVec3& a, const PwVec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// 1 hit, 0 no hit, -1 when the crossing lies at an end of the other edge.
int Classify(PwVec2 m, PwVec2 r, PwVec2 c, PwVec2 e) {
  const float sx = e.x - c.x, sy = e.y - c.y;
  const float cross = r.x * sy - r.y * sx;
  if (std::fabs(cross) <= kTol) return 0;
  // m + t r = c + u s
  const float wx = c.x - m.x, wy = c.y - m.y;
  const float t_cramer = (wx * sy - wy * sx) / cross;
  const float u = (wx * r.y - wy * r.x) / cross;
  const float px = m.x + r.x * t_cramer;
  const float py = m.y + r.y * t_cramer;
  float t;
  if (std::fabs(r.x) > kTol) {
    t = (px - m.x) / r.x;
  } else if (std::fabs(r.y) > kTol) {
    t = (py - m.y) / r.y;
  } else {
    return 0;
  }
  if (t <= 0.0f) return 0;
  if (std::fabs(u) <= kTol || std::fabs(u - 1.0f) <= kTol) return -1;
  if (u < kTol || u > 1.0f - kTol) return 0;
  return 1;
}

}  // namespace

int PwWinding(int count, const PwVec3* points, const PwVec3* normal) {
  if (points == nullptr || normal == nullptr) return 0;
  if (count > 1 && Same3(points[count - 1], points[0])) --count;
  if (count < 3) return 0;
  PwVec3 forward;
  PwPerpendicular(&forward, normal);
  PwPlaneFrame frame;
  PwMakePlaneFrame(&frame, &forward, normal, &points[0]);
  auto* p = static_cast<PwVec2*>(PwAlloc(sizeof(PwVec2) * static_cast<size_t>(count)));
  if (p == nullptr) return 0;
  for (int i = 0; i < count; ++i) p[i] = PwToPlane(&frame, &points[i]);
  int n = count;
  if (n > 1 && p[n - 1].x == p[0].x && p[n - 1].y == p[0].y) --n;

  int result = 0;
  for (int i = 0; i < n && result == 0; ++i) {
    const PwVec2 a = p[i];
    const PwVec2 b = p[i + 1 < n ? i + 1 : 0];
    const PwVec2 d = {b.x - a.x, b.y - a.y};
    if (std::fabs(d.x) + std::fabs(d.y) <= kTol) continue;
    const PwVec2 m = {a.x + d.x / 2, a.y + d.y / 2};
    const PwVec2 r = {-d.y, d.x};
    int hits = 0;
    bool decides = true;
    for (int j = 0; j < n && decides; ++j) {
      if (j == i) continue;
      const int c = Classify(m, r, p[j], p[j + 1 < n ? j + 1 : 0]);
      if (c < 0) decides = false;
      hits += c > 0;
    }
    if (decides) result = (hits % 2 == 1) ? 2 : 1;
  }
  PwFree(p);
  return result;
}
