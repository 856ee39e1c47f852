// Model points into eye space with the combined frame, with their box.
#include "graphics/math/frame_inline.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_internal.h"

// Written a coordinate at a time: copying whole records through the stack
// stalls on reading back what was just stored.
void PwEyePoints(PwVec3* out, int n, const PwVec3* in, PwVec3* box_min, PwVec3* box_max) {
  const PwFrame& f = PwState().combined;
  float lox = 0, loy = 0, loz = 0, hix = 0, hiy = 0, hiz = 0;
  for (int i = 0; i < n; ++i) {
    const PwVec3 e = PwFrameApplied(f, in[i]);
    const float x = e.x, y = e.y, z = e.z;
    out[i].x = x;
    out[i].y = y;
    out[i].z = z;
    if (i == 0) {
      lox = hix = x;
      loy = hiy = y;
      loz = hiz = z;
      continue;
    }
    if (x < lox) lox = x;
    if (y < loy) loy = y;
    if (z < loz) loz = z;
    if (x > hix) hix = x;
    if (y > hiy) hiy = y;
    if (z > hiz) hiz = z;
  }
  box_min->x = lox;
  box_min->y = loy;
  box_min->z = loz;
  box_max->x = hix;
  box_max->y = hiy;
  box_max->z = hiz;
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
    *centroid = {static_cast<float>(sx / n), static_cast<float>(sy / n),
                 static_cast<float>(sz / n)};
  } else {
    *centroid = {0, 0, 0};
  }
}
