// Placing an SRF model: the shared front half and its sorted item.
#include "graphics/formats/srf_place.h"

#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

bool PwSrfPlaceFront(const PwSrf* m, const PwPose* pose, PwFrame* frame, int* near_flag) {
  if (PwImageIsActive() || PwModelIsActive()) PwSrfToSinks(m, pose);
  PwSrfEyeFrame(frame, pose);
  return PwSrfCullBox(m, frame, near_flag) != 0;
}

int PwQueueSrf(const PwSrf* m, const PwFrame& frame, int near_flag) {
  if (PwScratchKeepBack(PwSortedSrfRoom(m)) != 0) return 1;
  PwSortedItem* it = PwSortedInsert(kPwSortedSrf, frame.z);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedSrfData*>(it->payload);
  d->near_flag = near_flag;
  d->highlight = PwGetHighlight();
  d->tinted = PwGetModelColour(&d->tint);
  d->frame = frame;
  d->model = m;
  return 0;
}
