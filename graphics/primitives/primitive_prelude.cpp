// What every 3D primitive's front half starts from: its points in eye space.
#include "graphics/primitives/primitive_prelude.h"

#include "graphics/primitives/primitives3d_internal.h"
#include "graphics/state3d/state3d.h"

PwVec3 PwPrimToEye(PwVec3 p) {
  PwVec3 e;
  PwModelToEye(&e, &p);
  return e;
}

void PwPrimFlattenForParallel(int n, PwVec3* p) {
  if (PwGetProjectionMode() != 1) return;
  for (int i = 0; i < n; ++i) p[i].z = PwGetParallelDistance();
}

bool PwPrimEyePoint(PwVec3 p, PwVec3* eye) {
  *eye = PwPrimToEye(p);
  return PwPrimCullEye(*eye);
}
