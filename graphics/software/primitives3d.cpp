// Sorted and immediate 3D lines, points, discs, markers and polygons.
#include "graphics/culling.h"
#include "graphics/eps_output_state.h"
#include "graphics/image_output_state.h"
#include "graphics/model_capture_state.h"
#include "graphics/primitives3d.h"
#include "graphics/primitives3d_internal.h"
#include "graphics/pw_math.h"
#include "graphics/software/screen.h"
#include "graphics/sorted_list.h"
#include "graphics/state3d.h"

namespace {

PwVec3 ToEye(PwVec3 p) {
  PwVec3 e;
  PwModelToEye(&e, &p);
  return e;
}

// Immediate calls in parallel mode draw every point at the parallel distance.
void FlattenForParallel(int n, PwVec3* p) {
  if (PwGetProjectionMode() != 1) return;
  for (int i = 0; i < n; ++i) p[i].z = PwGetParallelDistance();
}

float Dot(const PwVec3& a, const PwVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

int PwLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwVec3 e[2] = {ToEye(p0), ToEye(p1)};
  if (PwModelIsActive()) PwModelLine(e[0], e[1], colour);
  int near_flag = 0;
  if (!PwAllFinite3(2, e) || !PwCullPoints(2, e, &near_flag)) return 0;
  if (PwImageIsActive()) PwImageLine3(e[0], e[1], colour);
  PwSortedItem* it = PwSortedInsert(kPwSortedLine, (e[0].z + e[1].z) * 0.5f);
  if (it == nullptr) return 1;
  it->colour = colour;
  auto* d = static_cast<PwSortedLineData*>(it->payload);
  d->near_flag = near_flag;
  d->p0 = e[0];
  d->p1 = e[1];
  return 0;
}

int PwDrawLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwVec3 e[2] = {ToEye(p0), ToEye(p1)};
  if (PwModelIsActive()) PwModelLine(e[0], e[1], colour);
  FlattenForParallel(2, e);
  int near_flag = 0;
  if (!PwAllFinite3(2, e) || !PwCullPoints(2, e, &near_flag)) return 0;
  if (PwImageIsActive()) PwImageDrawLine3(e[0], e[1], colour);
  if (PwEpsIsActive()) PwEpsLine3(e[0], e[1], colour);
  if (near_flag) {
    PwVec3 in[2] = {e[0], e[1]};
    PwClipLineNear(e, in, PwGetProjection()->near);
  }
  PwPoint2 a, b;
  if (PwProjectToScreen(&a, &e[0]) && PwProjectToScreen(&b, &e[1])) PwScreenLine(a, b, colour);
  return 0;
}

int PwPoint3(PwVec3 p, PwColor colour) {
  PwVec3 e = ToEye(p);
  if (PwModelIsActive()) PwModelPoint(e, colour);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  if (PwImageIsActive()) PwImagePoint3(e, colour);
  PwSortedItem* it = PwSortedInsert(kPwSortedPoint, e.z);
  if (it == nullptr) return 1;
  it->colour = colour;
  static_cast<PwSortedPointData*>(it->payload)->point = e;
  return 0;
}

int PwDrawPoint3(PwVec3 p, PwColor colour) {
  PwVec3 e = ToEye(p);
  if (PwModelIsActive()) PwModelPoint(e, colour);
  FlattenForParallel(1, &e);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  PwPoint2 s;
  if (PwProjectToScreen(&s, &e)) PwScreenPoint(s, colour);
  if (PwImageIsActive()) PwImageDrawPoint3(e, colour);
  if (PwEpsIsActive()) PwEpsPoint3(e, colour);
  return 0;
}

int PwDisc3(PwVec3 centre, float radius, PwColor colour) {
  PwVec3 e = ToEye(centre);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  if (PwImageIsActive()) PwImageDisc3(e, radius, colour);
  PwSortedItem* it = PwSortedInsert(kPwSortedDisc, e.z);
  if (it == nullptr) return 1;
  it->colour = colour;
  auto* d = static_cast<PwSortedDiscData*>(it->payload);
  d->centre = e;
  d->radius = radius;
  return 0;
}

int PwMarker3(PwVec3 p, PwColor colour, int kind) {
  PwVec3 e = ToEye(p);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  PwSortedItem* it = PwSortedInsert(kPwSortedMarker, e.z);
  if (it == nullptr) return 1;
  it->colour = colour;
  auto* d = static_cast<PwSortedMarkerData*>(it->payload);
  d->point = e;
  d->kind = kind;
  return 0;
}

int PwDrawMarker3(PwVec3 p, PwColor colour, int kind) {
  PwVec3 e = ToEye(p);
  FlattenForParallel(1, &e);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  PwPoint2 s;
  if (PwProjectToScreen(&s, &e)) PwScreenMarker(s, kind, colour);
  if (PwEpsIsActive()) PwEpsMarker3(e, kind, colour);
  return 0;
}

int PwPolygon3(int count, const PwVec3* points, const PwVec3* centre, PwVec3 normal,
               PwColor colour) {
  if (count < 1 || points == nullptr) return 0;
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
  PwVec3 eye_centre = ToEye(c);
  PwVec3 eye_normal;
  PwModelDirToEye(&eye_normal, &normal);
  if (!PwModelIsActive()) {
    // Back faces: the normal points away from the eye.
    if (PwGetProjectionMode() == 1) {
      if (eye_normal.z > 0) return 0;
    } else if (Dot(eye_normal, eye_centre) > 0) {
      return 0;
    }
  }
  std::size_t mark;
  auto* eye = static_cast<PwVec3*>(
      PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(count)));
  if (eye == nullptr) return 1;
  PwVec3 lo, hi;
  PwEyePoints(eye, count, points, &lo, &hi);
  if (PwModelIsActive()) PwModelPolygon(count, eye, eye_normal, colour);
  int near_flag = 0;
  if (!PwAllFinite3(count, eye) || !PwFinite3(eye_centre) || !PwCullBox(&lo, &hi, &near_flag)) {
    PwScratchRelease(mark);
    return 0;
  }
  if (PwImageIsActive()) PwImageFacet3(count, eye, eye_normal, colour);
  PwSortedItem* it = PwSortedInsert(kPwSortedPolygon, eye_centre.z);
  if (it == nullptr) {
    PwScratchRelease(mark);
    return 1;
  }
  it->colour = colour;
  auto* d = static_cast<PwSortedPolygonData*>(it->payload);
  d->near_flag = near_flag;
  d->count = count;
  d->points = eye;
  d->has_normal = 1;
  d->centre = eye_centre;
  d->normal = eye_normal;
  return 0;
}

int PwPolygon3TwoSided(int count, const PwVec3* points, PwColor colour) {
  if (count < 1 || points == nullptr) return 0;
  std::size_t mark;
  auto* eye = static_cast<PwVec3*>(
      PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(count)));
  if (eye == nullptr) return 1;
  PwVec3 lo, hi, centroid;
  PwEyePointsCentroid(eye, count, points, &lo, &hi, &centroid);
  if (PwModelIsActive()) PwModelPolygonTwoSided(count, eye, colour);
  int near_flag = 0;
  if (!PwAllFinite3(count, eye) || !PwFinite3(centroid) || !PwCullBox(&lo, &hi, &near_flag)) {
    PwScratchRelease(mark);
    return 0;
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
  PwSortedItem* it = PwSortedInsert(kPwSortedPolygon, centroid.z);
  if (it == nullptr) {
    PwScratchRelease(mark);
    return 1;
  }
  it->colour = colour;
  auto* d = static_cast<PwSortedPolygonData*>(it->payload);
  d->near_flag = near_flag;
  d->count = count;
  d->points = eye;
  d->has_normal = has_normal;
  d->centre = centroid;
  d->normal = n;
  return 0;
}

int PwSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour) {
  if (count < 1 || points == nullptr || normals == nullptr) return 0;
  std::size_t n = static_cast<std::size_t>(count);
  std::size_t mark;
  auto* eye = static_cast<PwVec3*>(PwScratchMark(&mark, sizeof(PwVec3) * n * 2));
  if (eye == nullptr) return 1;
  PwVec3* eye_normals = eye + n;
  PwVec3 lo, hi, centroid;
  PwEyePointsCentroid(eye, count, points, &lo, &hi, &centroid);
  for (int i = 0; i < count; ++i) PwModelDirToEye(&eye_normals[i], &normals[i]);
  if (PwModelIsActive()) PwModelSmoothPolygon(count, eye, eye_normals, colour);
  int near_flag = 0;
  if (!PwAllFinite3(count, eye) || !PwFinite3(centroid) || !PwCullBox(&lo, &hi, &near_flag)) {
    PwScratchRelease(mark);
    return 0;
  }
  if (PwImageIsActive()) PwImageSmoothPolygon3(count, eye, eye_normals, colour);
  PwSortedItem* it = PwSortedInsert(kPwSortedSmoothPolygon, centroid.z);
  if (it == nullptr) {
    PwScratchRelease(mark);
    return 1;
  }
  it->colour = colour;
  auto* d = static_cast<PwSortedSmoothData*>(it->payload);
  d->near_flag = near_flag;
  d->count = count;
  d->centroid = centroid;
  d->points = eye;
  d->normals = eye_normals;
  return 0;
}

int PwDrawPolygon3(int count, const PwVec3* points, PwColor colour) {
  if (count < 1 || points == nullptr) return 0;
  std::size_t n = static_cast<std::size_t>(count);
  std::size_t mark, unused;
  // Eye points, then room for the near-clipped points (up to twice as many).
  auto* eye = static_cast<PwVec3*>(PwScratchMark(&mark, sizeof(PwVec3) * n * 3));
  auto* screen = eye != nullptr
                     ? static_cast<PwPoint2*>(PwScratchMark(&unused, sizeof(PwPoint2) * n * 2))
                     : nullptr;
  if (screen == nullptr) {
    PwScratchRelease(mark);
    return 1;
  }
  PwVec3* clipped = eye + n;
  PwVec3 lo, hi;
  PwEyePoints(eye, count, points, &lo, &hi);
  if (PwModelIsActive()) PwModelPolygonTwoSided(count, eye, colour);
  FlattenForParallel(count, eye);
  int near_flag = 0;
  if (PwAllFinite3(count, eye) && PwCullPoints(count, eye, &near_flag)) {
    if (PwImageIsActive()) PwImageDrawPolygon3(count, eye, colour);
    if (PwEpsIsActive()) PwEpsPolygon3(count, eye, colour);
    const PwVec3* source = eye;
    int m = count;
    if (near_flag) {
      PwClipPolygonNear(&m, clipped, count, eye, PwGetProjection()->near);
      source = clipped;
    }
    bool ok = m > 0;
    for (int i = 0; i < m && ok; ++i) ok = PwProjectToScreen(&screen[i], &source[i]) != 0;
    if (ok) PwScreenPolygon(m, screen, colour);
  }
  PwScratchRelease(mark);
  return 0;
}
