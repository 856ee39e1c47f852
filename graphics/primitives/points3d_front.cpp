// The front halves of the 3D primitives drawn about one point (points,
// discs, markers) and their depth-sorted items.
#include "graphics/primitives/primitive_prelude.h"

#include "graphics/primitives/primitives3d_internal.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"

namespace {

// The item at the point's depth, coloured; null when there is no room.
PwSortedItem* Insert(int type, const PwVec3& eye, PwColor colour) {
  PwSortedItem* it = PwSortedInsert(type, eye.z);
  if (it != nullptr) it->colour = colour;
  return it;
}

}  // namespace

bool PwPoint3Front(PwVec3 p, PwColor colour, PwVec3* eye) {
  *eye = PwPrimToEye(p);
  if (PwModelIsActive()) PwModelPoint(*eye, colour);
  if (!PwPrimCullEye(*eye)) return false;
  if (PwImageIsActive()) PwImagePoint3(*eye, colour);
  return true;
}

bool PwDrawPoint3Front(PwVec3 p, PwColor colour, PwVec3* eye) {
  *eye = PwPrimToEye(p);
  if (PwModelIsActive()) PwModelPoint(*eye, colour);
  PwPrimFlattenForParallel(1, eye);
  return PwPrimCullEye(*eye);
}

void PwDrawPoint3Outputs(PwVec3 eye, PwColor colour) {
  if (PwImageIsActive()) PwImageDrawPoint3(eye, colour);
  if (PwEpsIsActive()) PwEpsPoint3(eye, colour);
}

int PwQueuePoint3(PwVec3 eye, PwColor colour) {
  PwSortedItem* it = Insert(kPwSortedPoint, eye, colour);
  if (it == nullptr) return 1;
  static_cast<PwSortedPointData*>(it->payload)->point = eye;
  return 0;
}

bool PwDisc3Front(PwVec3 centre, float radius, PwColor colour, PwVec3* eye) {
  if (!PwPrimEyePoint(centre, eye)) return false;
  if (PwImageIsActive()) PwImageDisc3(*eye, radius, colour);
  return true;
}

int PwQueueDisc3(PwVec3 eye, float radius, PwColor colour) {
  PwSortedItem* it = Insert(kPwSortedDisc, eye, colour);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedDiscData*>(it->payload);
  d->centre = eye;
  d->radius = radius;
  return 0;
}

bool PwDrawMarker3Front(PwVec3 p, PwVec3* eye) {
  *eye = PwPrimToEye(p);
  PwPrimFlattenForParallel(1, eye);
  return PwPrimCullEye(*eye);
}

int PwQueueMarker3(PwVec3 eye, PwColor colour, int kind) {
  PwSortedItem* it = Insert(kPwSortedMarker, eye, colour);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedMarkerData*>(it->payload);
  d->point = eye;
  d->kind = kind;
  return 0;
}
