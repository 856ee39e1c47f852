// Placing an SRF model in the current frame: its eye frame and box test,
// shared by the sorted, immediate and output paths.
#pragma once

#include <cmath>

#include "graphics/state3d/culling.h"
#include "graphics/formats/srf_model.h"
#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"
#include "graphics/state3d/state3d.h"

// The pose placed within the current combined (model-to-eye) frame.
inline void PwSrfEyeFrame(PwFrame* out, const PwPose* pose) {
  PwFrame local;
  PwFrameFromPose(&local, pose);
  PwComposePose(out, &local, PwGetCombinedFrame());
}

// The 8 corners in eye space through the view-volume test: 1 may be
// visible, 0 wholly outside (or not a number).
inline int PwSrfCullBox(const PwSrf* m, const PwFrame* frame, int* near_flag) {
  PwVec3 c[8];
  for (int k = 0; k < 8; ++k) PwFrameApply(&c[k], frame, &m->corners[k]);
  *near_flag = 0;
  if (!std::isfinite(frame->x) || !std::isfinite(frame->y) || !std::isfinite(frame->z)) return 0;
  return PwCullPoints(8, c, near_flag);
}

// A face faces away: in perspective its normal points away from the eye
// (normal . centre > 0), in parallel projection along the view (z > 0).
inline bool PwSrfFacesAway(const PwVec3& centre, const PwVec3& normal) {
  if (PwGetProjectionMode() == 1) return normal.z > 0.0f;
  return PwDot(normal, centre) > 0.0f;
}

// The front half both back ends share: the model to the image and capture
// outputs, its eye frame and box test. true when it may be visible.
bool PwSrfPlaceFront(const PwSrf* m, const PwPose* pose, PwFrame* frame, int* near_flag);
// One depth-sorted item for the whole model: 0, or 1 when the list is full.
// The sorted item (with the room its drawing needs kept back).
int PwQueueSrf(const PwSrf* m, const PwFrame& frame, int near_flag);
// The working memory PwDrawSortedSrf needs for the model.
std::size_t PwSortedSrfRoom(const PwSrf* m);
