// Clipping of eye-space lines and polygons to the part beyond the near depth.
#include "graphics/math/pw_math.h"

namespace {

PwVec3 Along(const PwVec3& a, const PwVec3& b, float t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

}  // namespace

void PwClipLineNear(PwVec3 out[2], const PwVec3 in[2], float near_z) {
  PwVec3 p0 = in[0], p1 = in[1];
  bool b0 = p0.z > near_z, b1 = p1.z > near_z;
  if (b0 && b1) {
    out[0] = p0;
    out[1] = p1;
  } else if (!b0 && !b1) {
    out[0] = {p0.x, p0.y, near_z};
    out[1] = {p1.x, p1.y, near_z};
  } else if (b1) {
    out[0] = Along(p0, p1, (near_z - p0.z) / (p1.z - p0.z));
    out[1] = p1;
  } else {
    out[0] = p0;
    out[1] = Along(p1, p0, (near_z - p1.z) / (p0.z - p1.z));
  }
}

void PwClipPolygonNear(int* out_count, PwVec3* out, int n, const PwVec3* in, float near_z) {
  int count = 0;
  for (int i = 0; i < n; ++i) {
    const PwVec3& a = in[i];
    const PwVec3& b = in[i + 1 < n ? i + 1 : 0];
    bool a_beyond = near_z < a.z;
    bool b_beyond = near_z < b.z;
    if (a_beyond) {
      out[count++] = a;
      if (!b_beyond) out[count++] = Along(a, b, (near_z - a.z) / (b.z - a.z));
    } else if (b_beyond) {
      out[count++] = Along(a, b, (near_z - a.z) / (b.z - a.z));
    }
  }
  *out_count = count;
}
