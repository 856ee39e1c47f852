// The front halves of the 3D primitives and their depth-sorted items.
#include "graphics/primitives/primitive_prelude.h"

#include <cstring>

#include "graphics/state3d/culling.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/primitives/primitives3d_internal.h"
#include "graphics/math/pw_math.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace {

const char* const kNoLines[] = {nullptr};

float Dot(const PwVec3& a, const PwVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

int CountLines(const char* const* lines) {
  int n = 0;
  while (lines[n] != nullptr) ++n;
  return n;
}

// The list and its strings in one block, so that a failure takes nothing.
char** CopyLines(const char* const* lines, int n, std::size_t* size) {
  std::size_t list = sizeof(char*) * (static_cast<std::size_t>(n) + 1);
  std::size_t bytes = list;
  for (int i = 0; i < n; ++i) bytes += std::strlen(lines[i]) + 1;
  *size = bytes;
  auto* block = static_cast<unsigned char*>(PwScratchAlloc(bytes));
  if (block == nullptr) return nullptr;
  auto** copy = reinterpret_cast<char**>(block);
  char* text = reinterpret_cast<char*>(block + list);
  for (int i = 0; i < n; ++i) {
    std::size_t len = std::strlen(lines[i]) + 1;
    std::memcpy(text, lines[i], len);
    copy[i] = text;
    text += len;
  }
  copy[n] = nullptr;
  return copy;
}

// Eye room for count points (times slots), or null.
PwVec3* EyeRoom(std::size_t* mark, int count, std::size_t slots) {
  return static_cast<PwVec3*>(
      PwScratchMark(mark, sizeof(PwVec3) * static_cast<std::size_t>(count) * slots));
}

bool CullPolygon(int count, const PwVec3* eye, const PwVec3& centre, PwVec3* lo, PwVec3* hi,
                 int* near_flag) {
  *near_flag = 0;
  return PwAllFinite3(count, eye) && PwFinite3(centre) && PwCullBox(lo, hi, near_flag);
}

// The polygon's eye points (count * slots) move from the front half's
// temporary memory into memory kept for the item, and the item is queued
// at the centre's depth. The temporary block is given back first: memory
// kept from the main pool then starts where it started, and memmove copies
// whichever way the two blocks lie. Null when there is no room.
PwSortedItem* InsertPolygon(int type, int count, std::size_t slots, const PwEyePolygon& poly,
                            PwColor colour, PwVec3** kept) {
  PwScratchRelease(poly.mark);
  if (PwScratchKeepBack(PwSortedFlushRoom(count)) != 0) return nullptr;
  const std::size_t bytes = sizeof(PwVec3) * static_cast<std::size_t>(count) * slots;
  auto* points = static_cast<PwVec3*>(PwScratchAlloc(bytes));
  if (points == nullptr) return nullptr;
  std::memmove(points, poly.points, bytes);
  PwSortedItem* it = PwSortedInsert(type, poly.centre.z);
  if (it == nullptr) {
    PwScratchGiveBack(points, bytes);
    return nullptr;
  }
  it->colour = colour;
  *kept = points;
  return it;
}

}  // namespace

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
  int near_flag = 0;
  return PwFinite3(*eye) && PwCullPoints(1, eye, &near_flag);
}

bool PwLine3Front(PwVec3 p0, PwVec3 p1, PwColor colour, PwVec3 eye[2], int* near_flag) {
  eye[0] = PwPrimToEye(p0);
  eye[1] = PwPrimToEye(p1);
  if (PwModelIsActive()) PwModelLine(eye[0], eye[1], colour);
  *near_flag = 0;
  if (!PwAllFinite3(2, eye) || !PwCullPoints(2, eye, near_flag)) return false;
  if (PwImageIsActive()) PwImageLine3(eye[0], eye[1], colour);
  return true;
}

bool PwDrawLine3Front(PwVec3 p0, PwVec3 p1, PwColor colour, PwVec3 eye[2], int* near_flag) {
  eye[0] = PwPrimToEye(p0);
  eye[1] = PwPrimToEye(p1);
  if (PwModelIsActive()) PwModelLine(eye[0], eye[1], colour);
  PwPrimFlattenForParallel(2, eye);
  *near_flag = 0;
  if (!PwAllFinite3(2, eye) || !PwCullPoints(2, eye, near_flag)) return false;
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

bool PwPoint3Front(PwVec3 p, PwColor colour, PwVec3* eye) {
  *eye = PwPrimToEye(p);
  if (PwModelIsActive()) PwModelPoint(*eye, colour);
  int near_flag = 0;
  if (!PwFinite3(*eye) || !PwCullPoints(1, eye, &near_flag)) return false;
  if (PwImageIsActive()) PwImagePoint3(*eye, colour);
  return true;
}

bool PwDrawPoint3Front(PwVec3 p, PwColor colour, PwVec3* eye) {
  *eye = PwPrimToEye(p);
  if (PwModelIsActive()) PwModelPoint(*eye, colour);
  PwPrimFlattenForParallel(1, eye);
  int near_flag = 0;
  return PwFinite3(*eye) && PwCullPoints(1, eye, &near_flag);
}

void PwDrawPoint3Outputs(PwVec3 eye, PwColor colour) {
  if (PwImageIsActive()) PwImageDrawPoint3(eye, colour);
  if (PwEpsIsActive()) PwEpsPoint3(eye, colour);
}

int PwQueuePoint3(PwVec3 eye, PwColor colour) {
  PwSortedItem* it = PwSortedInsert(kPwSortedPoint, eye.z);
  if (it == nullptr) return 1;
  it->colour = colour;
  static_cast<PwSortedPointData*>(it->payload)->point = eye;
  return 0;
}

bool PwDisc3Front(PwVec3 centre, float radius, PwColor colour, PwVec3* eye) {
  if (!PwPrimEyePoint(centre, eye)) return false;
  if (PwImageIsActive()) PwImageDisc3(*eye, radius, colour);
  return true;
}

int PwQueueDisc3(PwVec3 eye, float radius, PwColor colour) {
  PwSortedItem* it = PwSortedInsert(kPwSortedDisc, eye.z);
  if (it == nullptr) return 1;
  it->colour = colour;
  auto* d = static_cast<PwSortedDiscData*>(it->payload);
  d->centre = eye;
  d->radius = radius;
  return 0;
}

bool PwDrawMarker3Front(PwVec3 p, PwVec3* eye) {
  *eye = PwPrimToEye(p);
  PwPrimFlattenForParallel(1, eye);
  int near_flag = 0;
  return PwFinite3(*eye) && PwCullPoints(1, eye, &near_flag);
}

int PwQueueMarker3(PwVec3 eye, PwColor colour, int kind) {
  PwSortedItem* it = PwSortedInsert(kPwSortedMarker, eye.z);
  if (it == nullptr) return 1;
  it->colour = colour;
  auto* d = static_cast<PwSortedMarkerData*>(it->payload);
  d->point = eye;
  d->kind = kind;
  return 0;
}

bool PwLabel3Front(PwVec3 p, const char* const** lines, PwVec3* eye) {
  if (*lines == nullptr) *lines = kNoLines;
  return PwPrimEyePoint(p, eye);
}

bool PwDrawLabel3Front(PwVec3 p, const char* const** lines, PwVec3* eye) {
  if (!PwLabel3Front(p, lines, eye)) return false;
  if (PwGetProjectionMode() == 1) eye->z = PwGetParallelDistance();
  return true;
}

int PwQueueLabel3(PwVec3 eye, const char* const* lines, PwColor colour, int halign, int valign) {
  int n = CountLines(lines);
  std::size_t bytes = 0;
  char** copy = CopyLines(lines, n, &bytes);
  if (copy == nullptr) return 1;
  PwSortedItem* it = PwSortedInsert(kPwSortedLabel, eye.z);
  if (it == nullptr) {
    PwScratchGiveBack(copy, bytes);
    return 1;
  }
  it->colour = colour;
  auto* d = static_cast<PwSortedLabelData*>(it->payload);
  d->point = eye;
  d->halign = halign;
  d->valign = valign;
  d->count = n;
  d->lines = copy;
  return 0;
}

int PwPolygon3Front(int count, const PwVec3* points, const PwVec3* centre, PwVec3 normal,
                    PwColor colour, PwEyePolygon* out) {
  if (count < 1 || points == nullptr) return kPwFrontHidden;
  PwVec3 c;
  if (centre != nullptr) {
    c = *centre;
  } else {
    double sx = 0, sy = 0, sz = 0;
    for (int i = 0; i < count; ++i) {
      sx += points[i].x;
      sy += points[i].y;
      sz += points[i].z;
    }
    c = {static_cast<float>(sx / count), static_cast<float>(sy / count),
         static_cast<float>(sz / count)};
  }
  PwVec3 eye_centre = PwPrimToEye(c);
  PwVec3 eye_normal;
  PwModelDirToEye(&eye_normal, &normal);
  if (!PwModelIsActive()) {
    // Back faces: the normal points away from the eye.
    if (PwGetProjectionMode() == 1) {
      if (eye_normal.z > 0) return kPwFrontHidden;
    } else if (Dot(eye_normal, eye_centre) > 0) {
      return kPwFrontHidden;
    }
  }
  std::size_t mark;
  PwVec3* eye = EyeRoom(&mark, count, 1);
  if (eye == nullptr) return kPwFrontNoRoom;
  PwVec3 lo, hi;
  PwEyePoints(eye, count, points, &lo, &hi);
  if (PwModelIsActive()) PwModelPolygon(count, eye, eye_normal, colour);
  int near_flag = 0;
  if (!CullPolygon(count, eye, eye_centre, &lo, &hi, &near_flag)) {
    PwScratchRelease(mark);
    return kPwFrontHidden;
  }
  if (PwImageIsActive()) PwImageFacet3(count, eye, eye_normal, colour);
  out->mark = mark;
  out->points = eye;
  out->centre = eye_centre;
  out->normal = eye_normal;
  out->has_normal = 1;
  out->near_flag = near_flag;
  return kPwFrontVisible;
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
  if (!CullPolygon(count, eye, centroid, &lo, &hi, &near_flag)) {
    PwScratchRelease(mark);
    return kPwFrontHidden;
  }
  int has_normal = 0;
  PwVec3 n = {0, 0, 0};
  if (PwGetLighting() == 1 && PwPolygonNormal(&n, count, eye)) {
    // Turned to face the eye.
    if (Dot(n, eye[0]) > 0) n = {-n.x, -n.y, -n.z};
    has_normal = 1;
  }
  if (PwImageIsActive()) {
    if (has_normal) {
      PwImageFacet3(count, eye, n, colour);
    } else {
      PwImagePolygon3(count, eye, colour);
    }
  }
  out->mark = mark;
  out->points = eye;
  out->centre = centroid;
  out->normal = n;
  out->has_normal = has_normal;
  out->near_flag = near_flag;
  return kPwFrontVisible;
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
  for (int i = 0; i < count; ++i) PwModelDirToEye(&eye_normals[i], &normals[i]);
  if (PwModelIsActive()) PwModelSmoothPolygon(count, eye, eye_normals, colour);
  int near_flag = 0;
  if (!CullPolygon(count, eye, centroid, &lo, &hi, &near_flag)) {
    PwScratchRelease(mark);
    return kPwFrontHidden;
  }
  if (PwImageIsActive()) PwImageSmoothPolygon3(count, eye, eye_normals, colour);
  out->mark = mark;
  out->points = eye;
  out->normals = eye_normals;
  out->centre = centroid;
  out->near_flag = near_flag;
  return kPwFrontVisible;
}

int PwQueuePolygon3(int count, const PwEyePolygon& poly, PwColor colour) {
  PwVec3* points = nullptr;
  PwSortedItem* it = InsertPolygon(kPwSortedPolygon, count, 1, poly, colour, &points);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedPolygonData*>(it->payload);
  d->near_flag = poly.near_flag;
  d->count = count;
  d->points = points;
  d->has_normal = poly.has_normal;
  d->centre = poly.centre;
  d->normal = poly.normal;
  return 0;
}

int PwQueueSmoothPolygon3(int count, const PwEyePolygon& poly, PwColor colour) {
  PwVec3* points = nullptr;
  PwSortedItem* it = InsertPolygon(kPwSortedSmoothPolygon, count, 2, poly, colour, &points);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedSmoothData*>(it->payload);
  d->near_flag = poly.near_flag;
  d->count = count;
  d->centroid = poly.centre;
  d->points = points;
  d->normals = points + count;
  return 0;
}

bool PwDrawPolygon3Front(int count, const PwVec3* points, PwColor colour, PwVec3* eye,
                         int* near_flag) {
  PwVec3 lo, hi;
  PwEyePoints(eye, count, points, &lo, &hi);
  if (PwModelIsActive()) PwModelPolygonTwoSided(count, eye, colour);
  PwPrimFlattenForParallel(count, eye);
  *near_flag = 0;
  if (!PwAllFinite3(count, eye) || !PwCullPoints(count, eye, near_flag)) return false;
  if (PwImageIsActive()) PwImageDrawPolygon3(count, eye, colour);
  if (PwEpsIsActive()) PwEpsPolygon3(count, eye, colour);
  return true;
}
