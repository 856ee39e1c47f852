// Flat polygons and facets with per-pixel Blinn-Phong lighting.
#include <cmath>

#include "graphics/zbuffer/image_output.h"
#include "graphics/math/vec_inline.h"
#include "graphics/zbuffer/zbuffer_internal.h"

namespace {

PwVec3 Unit(PwVec3 v) {
  PwNormalize(&v, &v);
  return v;
}

void FlatPixel(int x, int y, void* data) {
  const PwZState& s = PwZ();
  const PwColor colour = *static_cast<const PwColor*>(data);
  PwVec3 v;
  const PwVec3 p = PwZPixelPoint(x, y, &v);
  // Primitives written over the image are never lit.
  if (s.shading != 1 || PwImageDepthTestMode() != 1) {
    s.depth_pixel(s.context, x, y, colour.red, colour.green, colour.blue, p.z);
    return;
  }
  const PwVec3& n = s.plane_normal;
  const PwVec3 l = PwZSub(s.camera_light, p);
  float d = 0.0f, sp = 0.0f;
  if (PwZDot(n, l) * PwZDot(n, v) < 0.0f) {
    const PwVec3 nu = Unit(PwWidenDirection(n)), lu = Unit(l), vu = Unit(v);
    d = std::fabs(PwZDot(nu, lu));
    // A black highlight has no power to compute.
    if (PwZHighlightLit()) {
      const PwVec3 h = Unit(PwZSub(lu, vu));
      sp = std::pow(std::fabs(PwZDot(nu, h)), PwZExponent());
    }
  }
  int c[3];
  PwZShadeChannels(c, colour, s.diffuse * d, s.specular * sp);
  s.depth_pixel(s.context, x, y, c[0], c[1], c[2], p.z);
}

}  // namespace

int PwZPolygon(int count, const PwVec3* points, PwColor colour) {
  PwZState& s = PwZ();
  if (!PwZReady() || points == nullptr || count < 1 || count > kPwZMaxVertices) return 1;
  for (int i = 0; i < count; ++i) s.camera_points[i] = PwZToCamera(points[i]);
  int n = 0;
  PwClipPolygonNear(&n, s.clipped, count, s.camera_points, s.near_distance);
  if (n == 0) return 1;
  PwZSetPolygon(count, s.camera_points, n, s.clipped);
  for (int i = 0; i < n; ++i) s.projected[i] = PwZProject(s.clipped[i]);
  return PwZFill(n, FlatPixel, &colour);
}

bool PwZFacesAway(int count, const PwVec3* points, const PwVec3& normal) {
  const PwZState& s = PwZ();
  const PwVec3 eye = {s.camera.x, s.camera.y, s.camera.z};
  return PwZDot(normal, PwZSub(points[0], eye)) > 0.0f ||
         PwZDot(normal, PwZSub(points[count / 2], eye)) > 0.0f;
}

int PwZFacet(int count, const PwVec3* points, PwVec3 normal, PwColor colour) {
  if (points == nullptr || count < 1) return 1;
  if (PwZFacesAway(count, points, normal)) return 1;
  return PwZPolygon(count, points, colour);
}
