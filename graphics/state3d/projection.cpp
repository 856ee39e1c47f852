// Projection record, its slopes, projection mode and screen projection.
#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/window/drawing_area.h"
#include "graphics/state3d/project_inline.h"
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_backend.h"
#include "graphics/state3d/state3d_internal.h"

namespace {

float Slope(float extent, float mag) { return mag != 0.0f ? extent / mag : 0.0f; }

}  // namespace

int PwSetProjectionMode(int mode) {
  if (mode == 0 || mode == 1) {
    PwState().projection_mode = mode;
    PwBackendSetProjectionMode();
  }
  return mode;
}

int PwGetProjectionMode() { return PwState().projection_mode; }

void PwSetParallelDistance(float d) {
  if (d > 0) {
    PwState().parallel_distance = d;
    PwBackendSetParallelDistance();
  }
}

float PwGetParallelDistance() { return PwState().parallel_distance; }

void PwSetProjection(const PwProjection* projection) {
  PwState3D& s = PwState();
  s.projection = *projection;
  const PwProjection& p = s.projection;
  s.slope_left = Slope(static_cast<float>(p.cx), p.magx);
  s.slope_right = Slope(static_cast<float>(p.width - p.cx), p.magx);
  s.slope_top = Slope(static_cast<float>(p.cy), p.magy);
  s.slope_bottom = Slope(static_cast<float>(p.height - p.cy), p.magy);
  if (PwImageIsActive()) PwImageSetProjection(&s.projection);
  if (PwEpsIsActive()) PwEpsSetProjection(&s.projection);
  PwBackendSetProjection();
}

void PwDefaultProjection(PwProjection* out) {
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  out->width = w;
  out->height = h;
  out->cx = w / 2;
  out->cy = h / 2;
  out->magx = static_cast<float>(w) * 0.70710677f;
  out->magy = out->magx;
  out->near = 2.5f;
  out->far = 10000.0f;
}

const PwProjection* PwGetProjection() { return &PwState().projection; }

void PwGetSlopes(float* left, float* right, float* top, float* bottom) {
  const PwState3D& s = PwState();
  *left = s.slope_left;
  *right = s.slope_right;
  *top = s.slope_top;
  *bottom = s.slope_bottom;
}

int PwSaturateToInt(double v, int* ok) { return PwSaturatedInt(v, ok); }

int PwProjectToScreen(PwPoint2* out, const PwVec3* eye) {
  const PwState3D& s = PwState();
  return PwProjectAt(s.projection, *eye, s.projection_mode == 1 ? s.parallel_distance : eye->z,
                     out);
}
