// Small line and plane helpers; a PwRay3 doubles as a plane (point, normal).
#include <cmath>

#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"

namespace {

PwVec3 AddScaled(const PwVec3& a, const PwVec3& d, float s) {
  return {a.x + d.x * s, a.y + d.y * s, a.z + d.z * s};
}

}  // namespace

void PwLineFootOffset(PwVec3* out, const PwVec3* point, const PwRay3* line) {
  const PwVec3& p0 = line->point;
  const PwVec3& d = line->direction;
  PwVec3 foot = AddScaled(p0, d, PwDot(PwSub(*point, p0), d) / PwDot(d, d));
  *out = PwSub(foot, *point);
}

float PwDistanceToLine2(const PwRay2* line, const PwVec2* point) {
  PwVec2 d = line->direction;
  PwNormalize2(&d, &d);
  PwVec2 w = {point->x - line->point.x, point->y - line->point.y};
  float s = d.x * w.x + d.y * w.y;
  return PwLength2(d.x * s - w.x, d.y * s - w.y);
}

float PwDistanceToLine3(const PwRay3* line, const PwVec3* point) {
  PwVec3 d = line->direction;
  PwNormalize(&d, &d);
  PwVec3 w = PwSub(*point, line->point);
  PwVec3 r = PwSub(AddScaled({0, 0, 0}, d, PwDot(d, w)), w);
  return std::sqrt(PwDot(r, r));
}

int PwPlaneFromPolygon(PwRay3* out, int n, const PwVec3* points) {
  PwVec3 normal;
  if (n < 1 || !PwPolygonNormal(&normal, n, points)) return 0;
  out->point = points[0];
  out->direction = normal;
  return 1;
}

void PwProjectOnPlane(PwVec3* out, const PwRay3* plane, const PwVec3* point) {
  const PwVec3& n = plane->direction;
  float nn = PwDot(n, n);
  if (nn == 0.0f) return;
  *out = AddScaled(*point, n, PwDot(n, PwSub(plane->point, *point)) / nn);
}

int PwIntersectLinePlane(PwVec3* out, const PwRay3* line, const PwRay3* plane) {
  const PwVec3& n = plane->direction;
  float nd = PwDot(n, line->direction);
  if (!(std::fabs(nd) >= 0.0001f)) return 0;
  *out = AddScaled(line->point, line->direction, PwDot(n, PwSub(plane->point, line->point)) / nd);
  return 1;
}
