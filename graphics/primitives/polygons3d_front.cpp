// The front halves of 3D polygons: one-sided flat, two-sided and smooth, and
// the immediate form.
#include "graphics/primitives/primitive_prelude.h"

#include "graphics/math/frame_inline.h"
#include "graphics/math/pw_math.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/primitives3d_internal.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/state3d/state3d.h"

namespace {

// Eye room for count points (times slots), or null.
PwVec3* EyeRoom(std::size_t* mark, int count, std::size_t slots) {
  return static_cast<PwVec3*>(
      PwScratchMark(mark, sizeof(PwVec3) * static_cast<std::size_t>(count) * slots));
}

// Finite and within the view volume; otherwise the eye room from mark on is
// given back.
bool KeepVisible(std::size_t mark, int count, const PwVec3* eye, const PwVec3& centre, PwVec3* lo,
                 PwVec3* hi, int* near_flag) {
  *near_flag = 0;
  if (PwAllFinite(count, eye) && PwFinite(centre) && PwCullBox(lo, hi, near_flag)) return true;
  PwScratchRelease(mark);
  return false;
}

int Hold(PwEyePolygon* out, std::size_t mark, PwVec3* eye, const PwVec3& centre, int near_flag) {
  out->mark = mark;
  out->points = eye;
  out->centre = centre;
  out->near_flag = near_flag;
  return kPwFrontVisible;
}

// The given centre, else the mean of the points.
PwVec3 ModelCentre(int count, const PwVec3* points, const PwVec3* centre) {
  if (centre != nullptr) return *centre;
  double sx = 0, sy = 0, sz = 0;
  for (int i = 0; i < count; ++i) {
    sx += points[i].x;
    sy += points[i].y;
    sz += points[i].z;
  }
  return {static_cast<float>(sx / count), static_cast<float>(sy / count),
          static_cast<float>(sz / count)};
}

// Back faces: the normal points away from the eye (along the view in
// parallel projection).
bool FacesAway(const PwVec3& eye_normal, const PwVec3& eye_centre) {
  if (PwGetProjectionMode() == 1) return eye_normal.z > 0;
  return PwDot(eye_normal, eye_centre) > 0;
}

// A two-sided polygon's normal when lit, turned to face the eye: 1 when
// there is one.
int FacingNormal(int count, const PwVec3* eye, PwVec3* n) {
  *n = {0, 0, 0};
  if (PwGetLighting() != 1 || !PwPolygonNormal(n, count, eye)) return 0;
  if (PwDot(*n, eye[0]) > 0) *n = {-n->x, -n->y, -n->z};
  return 1;
}

}  // namespace

int PwPolygon3Front(int count, const PwVec3* points, const PwVec3* centre, PwVec3 normal,
                    PwColor colour, PwEyePolygon* out) {
  if (count < 1 || points == nullptr) return kPwFrontHidden;
  const PwVec3 eye_centre = PwPrimToEye(ModelCentre(count, points, centre));
  PwVec3 eye_normal;
  PwModelDirToEye(&eye_normal, &normal);
  if (!PwModelIsActive() && FacesAway(eye_normal, eye_centre)) return kPwFrontHidden;
  std::size_t mark;
  PwVec3* eye = EyeRoom(&mark, count, 1);
  if (eye == nullptr) return kPwFrontNoRoom;
  PwVec3 lo, hi;
  PwEyePoints(eye, count, points, &lo, &hi);
  if (PwModelIsActive()) PwModelPolygon(count, eye, eye_normal, colour);
  int near_flag = 0;
  if (!KeepVisible(mark, count, eye, eye_centre, &lo, &hi, &near_flag)) return kPwFrontHidden;
  if (PwImageIsActive()) PwImageFacet3(count, eye, eye_normal, colour);
  out->normal = eye_normal;
  out->has_normal = 1;
  return Hold(out, mark, eye, eye_centre, near_flag);
}

int PwPolygon3TwoSidedFront(int count, const PwVec3* points, PwColor colour, PwEyePolygon* out) {
  if (count < 1 || points == nullptr) return kPwFrontHidden;
  std::size_t mark;
  PwVec3* eye = EyeRoom(&mark, count, 1);
  if (eye == nullptr) return kPwFrontNoRoom;
  PwVec3 lo, hi, centroid;
  PwEyePointsCentroid(eye, count, points, &lo, &hi, &centroid);
  if (PwModelIsActive()) PwModelPolygonTwoSided(count, eye, colour);
  int near_flag = 0;
  if (!KeepVisible(mark, count, eye, centroid, &lo, &hi, &near_flag)) return kPwFrontHidden;
  PwVec3 n;
  const int has_normal = FacingNormal(count, eye, &n);
  if (PwImageIsActive()) {
    if (has_normal) {
      PwImageFacet3(count, eye, n, colour);
    } else {
      PwImagePolygon3(count, eye, colour);
    }
  }
  out->normal = n;
  out->has_normal = has_normal;
  return Hold(out, mark, eye, centroid, near_flag);
}

int PwSmoothPolygon3Front(int count, const PwVec3* points, const PwVec3* normals, PwColor colour,
                          PwEyePolygon* out) {
  if (count < 1 || points == nullptr || normals == nullptr) return kPwFrontHidden;
  std::size_t mark;
  PwVec3* eye = EyeRoom(&mark, count, 2);
  if (eye == nullptr) return kPwFrontNoRoom;
  PwVec3* eye_normals = eye + count;
  PwVec3 lo, hi, centroid;
  PwEyePointsCentroid(eye, count, points, &lo, &hi, &centroid);
  const PwFrame& frame = *PwGetCombinedFrame();
  for (int i = 0; i < count; ++i) eye_normals[i] = PwFrameRotated(frame, normals[i]);
  if (PwModelIsActive()) PwModelSmoothPolygon(count, eye, eye_normals, colour);
  int near_flag = 0;
  if (!KeepVisible(mark, count, eye, centroid, &lo, &hi, &near_flag)) return kPwFrontHidden;
  if (PwImageIsActive()) PwImageSmoothPolygon3(count, eye, eye_normals, colour);
  out->normals = eye_normals;
  return Hold(out, mark, eye, centroid, near_flag);
}

bool PwDrawPolygon3Front(int count, const PwVec3* points, PwColor colour, PwVec3* eye,
                         int* near_flag) {
  PwVec3 lo, hi;
  PwEyePoints(eye, count, points, &lo, &hi);
  if (PwModelIsActive()) PwModelPolygonTwoSided(count, eye, colour);
  PwPrimFlattenForParallel(count, eye);
  if (!PwPrimCullEye(count, eye, near_flag)) return false;
  if (PwImageIsActive()) PwImageDrawPolygon3(count, eye, colour);
  if (PwEpsIsActive()) PwEpsPolygon3(count, eye, colour);
  return true;
}
