// Model points into eye space with the combined frame, with their box.
#include "graphics/math/frame_inline.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_internal.h"

void PwEyePoints(PwVec3* out, int n, const PwVec3* in, PwVec3* box_min, PwVec3* box_max) {
  const PwFrame& f = PwState().combined;
  PwVec3 lo = {0, 0, 0}, hi = {0, 0, 0};
  for (int i = 0; i < n; ++i) {
    const PwVec3 e = PwFrameApplied(f, in[i]);
    out[i] = e;
    if (i == 0) {
      lo = hi = e;
      continue;
    }
    if (e.x < lo.x) lo.x = e.x;
    if (e.y < lo.y) lo.y = e.y;
    if (e.z < lo.z) lo.z = e.z;
    if (e.x > hi.x) hi.x = e.x;
    if (e.y > hi.y) hi.y = e.y;
    if (e.z > hi.z) hi.z = e.z;
  }
  *box_min = lo;
  *box_max = hi;
}

void PwEyePointsCentroid(PwVec3* out, int n, const PwVec3* in, PwVec3* box_min, PwVec3* box_max,
                         PwVec3* centroid) {
  PwEyePoints(out, n, in, box_min, box_max);
  // Summed in double so that a mesh far from the origin keeps its centre.
  double sx = 0, sy = 0, sz = 0;
  for (int i = 0; i < n; ++i) {
    sx += out[i].x;
    sy += out[i].y;
    sz += out[i].z;
  }
  if (n > 0) {
    *centroid = {static_cast<float>(sx / n), static_cast<float>(sy / n), static_cast<float>(sz / n)};
  } else {
    *centroid = {0, 0, 0};
  }
}
