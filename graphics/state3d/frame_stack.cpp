// The model frame, its stack of 16, the combined frame and the shadow frame.
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_backend.h"
#include "graphics/state3d/state3d_internal.h"

void PwRebuildTransform() {
  PwState3D& s = PwState();
  PwBuildTransform(&s.combined, &s.model, &s.eye);
  PwBackendFrameChanged();
}

void PwSetFrame(const PwPose* pose) {
  PwFrameFromPose(&PwState().model, pose);
  PwRebuildTransform();
}

void PwResetFrame() { PwSetFrame(PwZeroPose()); }

int PwPushFrame(const PwPose* pose) {
  PwState3D& s = PwState();
  if (s.depth >= kPwFrameStackSize) return 1;
  s.stack[s.depth++] = s.model;
  PwFrame local;
  PwFrameFromPose(&local, pose);
  PwFrame parent = s.model;
  PwComposePose(&s.model, &local, &parent);
  PwRebuildTransform();
  return 0;
}

int PwPopFrame() {
  PwState3D& s = PwState();
  if (s.depth <= 0) return 1;
  s.model = s.stack[--s.depth];
  PwRebuildTransform();
  return 0;
}

int PwSetShadowFrame(const PwPose* pose) {
  PwFrameFromPose(&PwState().shadow, pose);
  return 0;
}

const PwFrame* PwGetModelFrame() { return &PwState().model; }
const PwFrame* PwGetCombinedFrame() { return &PwState().combined; }
const PwFrame* PwGetShadowFrame() { return &PwState().shadow; }
int PwGetFrameDepth() { return PwState().depth; }
