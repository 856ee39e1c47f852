// Smooth (per-vertex lit) triangles and polygons: the lighting terms of the
// corners are blended by the pixel's area weights.
#include <cmath>

#include "graphics/geometry/polygon_geometry.h"
#include "graphics/math/vec_inline.h"
#include "graphics/zbuffer/zbuffer_internal.h"

namespace {

struct Triangle {
  PwColor colour;
  PwVec3 q[3];  // camera-space corners, before the near clip
};

PwVec3 Unit(PwVec3 v) {
  PwNormalize(&v, &v);
  return v;
}

float Area(const PwVec3& p, const PwVec3& a, const PwVec3& b) {
  const PwVec3 u = PwZSub(a, p), v = PwZSub(b, p);
  PwVec3 c;
  PwCross(&c, &u, &v);
  return std::sqrt(PwZDot(c, c));
}

void SmoothPixel(int x, int y, void* data) {
  const PwZState& s = PwZ();
  const Triangle& t = *static_cast<const Triangle*>(data);
  const PwVec3 p = PwZPixelPoint(x, y, nullptr);
  if (s.shading != 1) {
    s.depth_pixel(s.context, x, y, t.colour.red, t.colour.green, t.colour.blue, p.z);
    return;
  }
  float w1 = Area(p, t.q[1], t.q[2]);
  float w2 = Area(p, t.q[0], t.q[2]);
  float w3 = Area(p, t.q[0], t.q[1]);
  const float sum = w1 + w2 + w3;
  if (!(sum > 0.0f)) return;  // degenerate triangle: no weights
  w1 /= sum;
  w2 /= sum;
  w3 /= sum;
  const float* d = s.diffuse_terms;
  const float* sp = s.specular_terms;
  const float dd = (w1 * d[0] + w2 * d[1] + w3 * d[2]) * s.diffuse;
  const float ss = (w1 * sp[0] + w2 * sp[1] + w3 * sp[2]) * s.specular;
  int c[3];
  PwZShadeChannels(c, t.colour, dd, ss);
  s.depth_pixel(s.context, x, y, c[0], c[1], c[2], p.z);
}

int SmoothTriangle(const PwVec3 points[3], const PwVec3 normals[3], PwColor colour) {
  PwZState& s = PwZ();
  Triangle t;
  t.colour = colour;
  for (int i = 0; i < 3; ++i) t.q[i] = PwZToCamera(points[i]);
  int n = 0;
  PwClipPolygonNear(&n, s.clipped, 3, t.q, s.near_distance);
  if (n == 0) return 1;
  PwZSetPolygon(3, t.q, n, s.clipped);
  const bool highlight = PwZHighlightLit();
  const float exponent = PwZExponent();
  for (int i = 0; i < 3; ++i) {
    const PwVec3 nrm = PwZRotateToCamera(normals[i]);
    const PwVec3 l = PwZSub(s.camera_light, t.q[i]);
    const PwVec3& v = t.q[i];
    float d = 0.0f, sp = 0.0f;
    if (PwZDot(nrm, l) * PwZDot(nrm, v) < 0.0f) {
      const PwVec3 nu = Unit(PwWidenDirection(nrm)), lu = Unit(l), vu = Unit(v);
      d = std::fabs(PwZDot(nu, lu));
      if (highlight) sp = std::pow(std::fabs(PwZDot(nu, Unit(PwZSub(lu, vu)))), exponent);
    }
    s.diffuse_terms[i] = d;
    s.specular_terms[i] = sp;
  }
  for (int i = 0; i < n; ++i) s.projected[i] = PwZProject(s.clipped[i]);
  return PwZFill(n, SmoothPixel, &t);
}

}  // namespace

int PwZSmoothPolygon(int count, const PwVec3* points, const PwVec3* normals, PwColor colour) {
  if (!PwZReady() || points == nullptr || normals == nullptr || count < 1) return 1;
  if (count == 3) return SmoothTriangle(points, normals, colour);
  int triangles = 0;
  int triples[3 * (kPwTriangulateMaxVertices - 2)];
  if (count > kPwTriangulateMaxVertices || !PwTriangulate(&triangles, triples, count, points)) {
    return 1;
  }
  for (int k = 0; k < triangles; ++k) {
    const int* t = triples + 3 * k;
    const PwVec3 p[3] = {points[t[0]], points[t[1]], points[t[2]]};
    const PwVec3 nv[3] = {normals[t[0]], normals[t[1]], normals[t[2]]};
    if (SmoothTriangle(p, nv, colour) != 1) return 0;
  }
  return 1;
}

int PwZSmoothFacet(int count, const PwVec3* points, const PwVec3* normals, PwVec3 normal,
                   PwColor colour) {
  if (points == nullptr || count < 1) return 1;
  if (PwZFacesAway(count, points, normal)) return 1;
  return PwZSmoothPolygon(count, points, normals, colour);
}
