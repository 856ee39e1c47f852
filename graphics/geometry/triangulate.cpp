// Triangulation of a planar 3D polygon by shortest valid diagonals.
#include <cmath>
#include <vector>

#include "graphics/geometry/plane_frame.h"
#include "graphics/geometry/polygon_geometry.h"

namespace {

constexpr float kTol = 0.0001f;
// Largest extent the integer inside test takes; larger polygons are shrunk
// to it, so that their points stay within int.
constexpr float kMaxExtent = 1048576.0f;

bool Within(float v, float a, float b) {
  const float lo = a < b ? a : b;
  const float hi = a < b ? b : a;
  return v >= lo - kTol && v <= hi + kTol;
}

// Two segments cut when their lines' cut point lies within the x and y
// ranges of both, ends included; parallel segments never cut.
bool SegmentsCut(PwVec2 a, PwVec2 b, PwVec2 c, PwVec2 d) {
  const float ux = b.x - a.x, uy = b.y - a.y;
  const float vx = d.x - c.x, vy = d.y - c.y;
  const float det = ux * vy - uy * vx;
  if (std::fabs(det) <= kTol) return false;
  const float t = ((c.x - a.x) * vy - (c.y - a.y) * vx) / det;
  const float x = a.x + ux * t;
  const float y = a.y + uy * t;
  return Within(x, a.x, b.x) && Within(y, a.y, b.y) && Within(x, c.x, d.x) && Within(y, c.y, d.y);
}

struct Triangulator {
  const std::vector<PwVec2>& pts;
  int* out;
  int capacity;  // count - 2
  int triangles = 0;

  bool Valid(const std::vector<int>& list, int i, int j) const {
    const int n = static_cast<int>(list.size());
    if (j - i < 2 || (i == 0 && j == n - 1)) return false;
    const PwVec2 a = pts[list[i]];
    const PwVec2 b = pts[list[j]];
    for (int k = 0; k < n; ++k) {
      const int k1 = k + 1 < n ? k + 1 : 0;
      if (k == i || k == j || k1 == i || k1 == j) continue;
      if (SegmentsCut(a, b, pts[list[k]], pts[list[k1]])) return false;
    }
    std::vector<PwPoint2> poly(n);
    for (int k = 0; k < n; ++k) {
      poly[k] = {static_cast<int>(pts[list[k]].x), static_cast<int>(pts[list[k]].y)};
    }
    const int mx = static_cast<int>((a.x + b.x) / 2);
    const int my = static_cast<int>((a.y + b.y) / 2);
    PwScanPolygon(n, poly.data());
    const int inside = PwScanInside(mx, my);
    PwScanEnd();
    return inside == 1;
  }

  // Depth is bounded by the vertex count (at most 64).
  bool Split(std::vector<int> list) {
    if (list.size() >= 2 && list.front() == list.back()) list.pop_back();
    const int n = static_cast<int>(list.size());
    if (n <= 2) return false;
    if (n == 3) {
      if (triangles >= capacity) return false;
      out[3 * triangles] = list[0];
      out[3 * triangles + 1] = list[1];
      out[3 * triangles + 2] = list[2];
      ++triangles;
      return true;
    }
    int best_i = -1, best_j = -1;
    float best = 0.0f;
    for (int i = 0; i < n; ++i) {
      for (int j = i + 2; j < n; ++j) {
        if (!Valid(list, i, j)) continue;
        const PwVec2 a = pts[list[i]];
        const PwVec2 b = pts[list[j]];
        const float len = PwLength2(b.x - a.x, b.y - a.y);
        if (best_i < 0 || len < best) {
          best = len;
          best_i = i;
          best_j = j;
        }
      }
    }
    if (best_i < 0) return false;
    std::vector<int> first(list.begin() + best_i, list.begin() + best_j + 1);
    std::vector<int> second(list.begin() + best_j, list.end());
    second.insert(second.end(), list.begin(), list.begin() + best_i + 1);
    return Split(first) && Split(second);
  }
};

}  // namespace

int PwTriangulate(int* out_count, int* out_triples, int count, const PwVec3* points) {
  *out_count = 0;
  if (count < 3 || count > kPwTriangulateMaxVertices || points == nullptr) return 0;
  PwVec3 normal;
  if (PwPolygonNormal(&normal, count, points) == 0) return 0;
  PwVec3 centre = {0.0f, 0.0f, 0.0f};
  for (int i = 0; i < count; ++i) {
    centre.x += points[i].x;
    centre.y += points[i].y;
    centre.z += points[i].z;
  }
  centre.x /= count;
  centre.y /= count;
  centre.z /= count;
  const PwVec3 forward = {points[1].x - points[0].x, points[1].y - points[0].y,
                          points[1].z - points[0].z};
  PwPlaneFrame frame;
  PwMakePlaneFrame(&frame, &forward, &normal, &centre);
  std::vector<PwVec2> pts(count);
  for (int i = 0; i < count; ++i) pts[i] = PwToPlane(&frame, &points[i]);

  float xmin = pts[0].x, xmax = pts[0].x, ymin = pts[0].y, ymax = pts[0].y;
  for (const PwVec2& p : pts) {
    xmin = std::fmin(xmin, p.x);
    xmax = std::fmax(xmax, p.x);
    ymin = std::fmin(ymin, p.y);
    ymax = std::fmax(ymax, p.y);
  }
  const float w = xmax - xmin;
  const float h = ymax - ymin;
  if (!(w > 0.0f) || !(h > 0.0f) || !std::isfinite(w) || !std::isfinite(h)) return 0;
  // Small polygons are stretched so that the integer midpoint test
  // resolves, large ones shrunk so that it holds them.
  const float sx = w < 256.0f ? 256.0f / w : (w > kMaxExtent ? kMaxExtent / w : 1.0f);
  const float sy = h < 256.0f ? 256.0f / h : (h > kMaxExtent ? kMaxExtent / h : 1.0f);
  for (PwVec2& p : pts) {
    p.x *= sx;
    p.y *= sy;
  }

  std::vector<int> list(count);
  for (int i = 0; i < count; ++i) list[i] = i;
  Triangulator t{pts, out_triples, count - 2};
  if (!t.Split(list)) return 0;
  *out_count = t.triangles;
  return 1;
}
