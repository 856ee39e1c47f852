// The front halves of 3D lines and their depth-sorted items.
#include "graphics/primitives/primitive_prelude.h"

#include "graphics/primitives/primitives3d_internal.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"

namespace {

void EyeEnds(PwVec3 p0, PwVec3 p1, PwColor colour, PwVec3 eye[2]) {
  eye[0] = PwPrimToEye(p0);
  eye[1] = PwPrimToEye(p1);
  if (PwModelIsActive()) PwModelLine(eye[0], eye[1], colour);
}

}  // namespace

bool PwLine3Front(PwVec3 p0, PwVec3 p1, PwColor colour, PwVec3 eye[2], int* near_flag) {
  EyeEnds(p0, p1, colour, eye);
  if (!PwPrimCullEye(2, eye, near_flag)) return false;
  if (PwImageIsActive()) PwImageLine3(eye[0], eye[1], colour);
  return true;
}

bool PwDrawLine3Front(PwVec3 p0, PwVec3 p1, PwColor colour, PwVec3 eye[2], int* near_flag) {
  EyeEnds(p0, p1, colour, eye);
  PwPrimFlattenForParallel(2, eye);
  if (!PwPrimCullEye(2, eye, near_flag)) return false;
  if (PwImageIsActive()) PwImageDrawLine3(eye[0], eye[1], colour);
  if (PwEpsIsActive()) PwEpsLine3(eye[0], eye[1], colour);
  return true;
}

int PwQueueLine3(const PwVec3 eye[2], int near_flag, PwColor colour) {
  PwSortedItem* it = PwSortedInsert(kPwSortedLine, (eye[0].z + eye[1].z) * 0.5f);
  if (it == nullptr) return 1;
  it->colour = colour;
  auto* d = static_cast<PwSortedLineData*>(it->payload);
  d->near_flag = near_flag;
  d->p0 = eye[0];
  d->p1 = eye[1];
  return 0;
}
