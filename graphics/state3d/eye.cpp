// Start-up of the 3D state, the eye, the light and the lighting switch.
#include "graphics/state3d/image_output_state.h"
#include "graphics/math/pw_math.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_backend.h"
#include "graphics/state3d/state3d_internal.h"

namespace {

void UpdateEyeLight() {
  PwState3D& s = PwState();
  PwWorldToEye(&s.light_eye, &s.light_world);
}

}  // namespace

PwState3D& PwState() {
  static PwState3D state = [] {
    PwState3D s{};
    s.parallel_distance = 128.0f;
    s.light_world = {0.0f, 10000.0f, -5000.0f};
    s.light_eye = s.light_world;
    PwFrameFromPose(&s.eye, PwZeroPose());
    s.model = s.combined = s.shadow = s.eye;
    return s;
  }();
  return state;
}

const PwPose* PwZeroPose() {
  static const PwPose zero = {0.0f, 0.0f, 0.0f, 0, 0, 0};
  return &zero;
}

void PwStart3D(void* base, std::size_t size) {
  PwState3D& s = PwState();
  s.pools[0] = {size, 0, static_cast<unsigned char*>(base)};
  s.flush_room = 0;
  s.temp_pool = 0;
  s.left_out = 0;
  s.projection_mode = 0;
  s.lighting = 0;
  s.highlight = 0;
  s.model_tinted = 0;
  s.parallel_distance = 128.0f;
  PwSortedClear();
  PwFrameFromPose(&s.eye, PwZeroPose());
  s.model = s.combined = s.shadow = s.eye;
  s.depth = 0;
  s.light_world = {0.0f, 10000.0f, -5000.0f};
  UpdateEyeLight();
}

void PwReset3D() {
  PwState3D& s = PwState();
  s.pools[1] = {0, 0, nullptr};
  s.pools[2] = {0, 0, nullptr};
  s.projection = PwProjection{};
  s.slope_left = s.slope_right = s.slope_top = s.slope_bottom = 0.0f;
  PwStart3D(nullptr, 0);
}

void PwSetLighting(int on) {
  if (on == 0 || on == 1) {
    PwState().lighting = on;
    PwBackendSetLighting();
  }
}

int PwGetLighting() { return PwState().lighting; }

void PwSetEye(const PwPose* pose) {
  PwState3D& s = PwState();
  PwFrameFromPose(&s.eye, pose);
  UpdateEyeLight();
  PwScratchNewFrame();
  PwSortedClear();
  PwResetFrame();
  if (PwImageIsActive()) {
    PwImageSetLight();
    PwImageClearDepth();
  }
  PwBackendSetEye();
}

void PwSetLight(const PwVec3* world_position) {
  PwState().light_world = *world_position;
  UpdateEyeLight();
  if (PwImageIsActive()) PwImageSetLight();
  PwBackendSetLight(world_position);
}

const PwFrame* PwGetEyeFrame() { return &PwState().eye; }
const PwVec3* PwGetLightWorld() { return &PwState().light_world; }
const PwVec3* PwGetLightEye() { return &PwState().light_eye; }

void PwWorldToEye(PwVec3* out, const PwVec3* world) { PwFrameUnapply(out, &PwState().eye, world); }

void PwModelToEye(PwVec3* out, const PwVec3* model) {
  PwFrameApply(out, &PwState().combined, model);
}

void PwModelDirToEye(PwVec3* out, const PwVec3* model) {
  PwFrameRotate(out, &PwState().combined, model);
}
