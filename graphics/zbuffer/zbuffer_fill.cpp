// The pixel fill of projected polygons and the ray-plane depth of a pixel.
#include "graphics/geometry/polygon_geometry.h"
#include "graphics/zbuffer/zbuffer_internal.h"

PwVec3 PwZPixelPoint(int x, int y, PwVec3* direction) {
  const PwZState& s = PwZ();
  const PwRay3 ray = {
      {0.0f, 0.0f, 0.0f},
      {static_cast<float>(x - s.cx), static_cast<float>(s.cy - y), s.magnification}};
  if (direction) *direction = ray.direction;
  const PwRay3 plane = {s.plane_point, s.plane_normal};
  PwVec3 p;
  if (!PwIntersectLinePlane(&p, &ray, &plane)) return s.centroid;
  return p;
}

void PwZSetPolygon(int count, const PwVec3* camera_points, int n, const PwVec3* clipped) {
  PwZState& s = PwZ();
  s.camera_light = PwZToCamera(s.light);
  s.plane_point = camera_points[0];
  PwVec3 normal = {0.0f, 0.0f, 0.0f};
  if (!PwPolygonNormal(&normal, count, camera_points)) normal = {0.0f, 0.0f, 0.0f};
  s.plane_normal = normal;
  PwVec3 c = {0.0f, 0.0f, 0.0f};
  for (int i = 0; i < n; ++i) {
    c.x += clipped[i].x;
    c.y += clipped[i].y;
    c.z += clipped[i].z;
  }
  if (n > 0) c = {c.x / n, c.y / n, c.z / n};
  s.centroid = c;
}

void PwZShadeChannels(int out[3], PwColor colour, float d, float s) {
  const PwZState& z = PwZ();
  const int in[3] = {colour.red, colour.green, colour.blue};
  for (int k = 0; k < 3; ++k) {
    const float v =
        ((z.ambient + d) * static_cast<float>(in[k]) / 255.0f + s * z.highlight[k]) * 255.0f;
    int c;
    if (!(v > 0.0f)) {
      c = 0;
    } else if (v >= 255.0f) {
      c = 255;
    } else {
      c = static_cast<int>(v);
    }
    out[k] = c;
  }
}

int PwZFill(int n, PwZShadeFunc shade, void* data) {
  PwZState& s = PwZ();
  if (s.poll() != 0) return 0;
  if (n < 1 || n > kPwZMaxClipped) return 1;
  PwPoint2 pts[kPwZMaxClipped];
  int ok = 1;
  for (int i = 0; i < n; ++i) {
    pts[i].x = PwZTrunc(s.projected[i].x, &ok);
    pts[i].y = PwZTrunc(s.projected[i].y, &ok);
  }
  if (!ok) return 1;
  int left = pts[0].x, right = pts[0].x, top = pts[0].y, bottom = pts[0].y;
  for (int i = 1; i < n; ++i) {
    if (pts[i].x < left) left = pts[i].x;
    if (pts[i].x > right) right = pts[i].x;
    if (pts[i].y < top) top = pts[i].y;
    if (pts[i].y > bottom) bottom = pts[i].y;
  }
  if (right < s.x0 || left > s.x1 || bottom < s.y0 || top > s.y1) return 1;
  if (left < s.x0) left = s.x0;
  if (right > s.x1) right = s.x1;
  if (top < s.y0) top = s.y0;
  if (bottom > s.y1) bottom = s.y1;
  PwScanPolygon(n, pts);
  // 64-bit counters: a viewport may reach INT_MAX.
  for (long long y = top; y <= bottom; ++y) {
    for (long long x = left; x <= right; ++x) {
      if (s.poll() != 0) {
        PwScanEnd();
        return 0;
      }
      const int xi = static_cast<int>(x), yi = static_cast<int>(y);
      if (PwScanInside(xi, yi) == 1) shade(xi, yi, data);
    }
  }
  PwScanEnd();
  return 1;
}
