// Lit colour of a surface point: ambient 0.3, white diffuse, white highlight.
#include <cmath>
#include <cstring>

#include "graphics/math/fast_normalize.h"
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"

namespace {

// The polygons of a mesh mostly share their normals: the last normal's
// normalisation is kept (compared bit for bit, so the result is the same).
const PwVec3& UnitNormal(const PwVec3* table, const PwVec3* normal) {
  static PwVec3 last_in = {0, 0, 0}, last_out = {0, 0, 0};
  static bool held = false;
  if (!held || std::memcmp(&last_in, normal, sizeof last_in) != 0) {
    last_in = *normal;
    PwFastNormalizeWith(table, &last_out, normal);
    held = true;
  }
  return last_out;
}

}  // namespace

void PwShadeColor(PwColor* out, PwColor colour, const PwVec3* point, const PwVec3* normal) {
  const PwVec3* table = PwUnitTable();
  const PwVec3* le = PwGetLightEye();
  PwVec3 l, v, n, h;
  PwFastNormalizeWith(table, &v, point);
  if (le->x == 0.0f && le->y == 0.0f && le->z == 0.0f) {
    // A light at the eye (the usual headlight) lies straight back along the
    // view: the table normalisation is odd, so this is its result exactly.
    l = {-v.x, -v.y, -v.z};
  } else {
    const PwVec3 to_light = {le->x - point->x, le->y - point->y, le->z - point->z};
    PwFastNormalizeWith(table, &l, &to_light);
  }
  n = UnitNormal(table, normal);
  PwVec3 half = {l.x - v.x, l.y - v.y, l.z - v.z};
  PwFastNormalizeWith(table, &h, &half);
  float nl = n.x * l.x + n.y * l.y + n.z * l.z;
  float nh = n.x * h.x + n.y * h.y + n.z * h.z;
  int a = static_cast<int>((0.3f + (nl > 0.0f ? nl : 0.0f)) * 256.0f);
  int s = static_cast<int>(PwPow60(std::fabs(nh)) * 0.8f * 256.0f);
  auto channel = [a, s](int k) {
    int v2 = s + a * k / 256;
    return v2 > 255 ? 255 : v2;
  };
  out->green = channel(colour.green);
  out->red = channel(colour.red);
  out->blue = channel(colour.blue);
}
