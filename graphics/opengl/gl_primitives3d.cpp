// The library's 3D primitives in the OpenGL build: the same eye-space work,
// culling and outputs as the software build, then drawn at once through
// OpenGL with the depth buffer. Depth-sorted items are made only for the
// EPS output, which needs painter's order.
#include <cstring>

#include "graphics/culling.h"
#include "graphics/eps_output_state.h"
#include "graphics/image_output_state.h"
#include "graphics/model_capture_state.h"
#include "graphics/opengl/gl_internal.h"
#include "graphics/primitives3d.h"
#include "graphics/primitives3d_internal.h"
#include "graphics/pw_math.h"
#include "graphics/sorted_list.h"
#include "graphics/state3d.h"

namespace {

PwVec3 ToEye(PwVec3 p) {
  PwVec3 e;
  PwModelToEye(&e, &p);
  return e;
}

void FlattenForParallel(int n, PwVec3* p) {
  if (PwGetProjectionMode() != 1) return;
  for (int i = 0; i < n; ++i) p[i].z = PwGetParallelDistance();
}

float Dot(const PwVec3& a, const PwVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

bool Eps() { return PwEpsIsActive() != 0; }

const char* const kNoLines[] = {nullptr};

char** CopyLines(const char* const* lines, int* count) {
  int n = 0;
  while (lines[n] != nullptr) ++n;
  std::size_t list = sizeof(char*) * (static_cast<std::size_t>(n) + 1);
  std::size_t bytes = list;
  for (int i = 0; i < n; ++i) bytes += std::strlen(lines[i]) + 1;
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
  *count = n;
  return copy;
}

}  // namespace

int PwLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwVec3 e[2] = {ToEye(p0), ToEye(p1)};
  if (PwModelIsActive()) PwModelLine(e[0], e[1], colour);
  int near_flag = 0;
  if (!PwAllFinite3(2, e) || !PwCullPoints(2, e, &near_flag)) return 0;
  if (PwImageIsActive()) PwImageLine3(e[0], e[1], colour);
  PwGlDepthLine3(p0, p1, colour);
  if (!Eps()) return 0;
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
  if (Eps()) PwEpsLine3(e[0], e[1], colour);
  PwGlOverlayLine3(p0, p1, colour);
  return 0;
}

int PwPoint3(PwVec3 p, PwColor colour) {
  PwVec3 e = ToEye(p);
  if (PwModelIsActive()) PwModelPoint(e, colour);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  if (PwImageIsActive()) PwImagePoint3(e, colour);
  PwGlDepthPoint3(p, colour);
  if (!Eps()) return 0;
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
  PwGlOverlayPoint3(p, colour);
  if (PwImageIsActive()) PwImageDrawPoint3(e, colour);
  if (Eps()) PwEpsPoint3(e, colour);
  return 0;
}

int PwDisc3(PwVec3 centre, float radius, PwColor colour) {
  PwVec3 e = ToEye(centre);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  if (PwImageIsActive()) PwImageDisc3(e, radius, colour);
  PwGlDepthCircle3(centre, radius, radius, colour);
  if (!Eps()) return 0;
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
  PwGlDepthMarker3(p, colour, kind);
  if (!Eps()) return 0;
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
  PwGlOverlayMarker3(p, colour, kind);
  if (Eps()) PwEpsMarker3(e, kind, colour);
  return 0;
}

int PwLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  if (lines == nullptr) lines = kNoLines;
  PwVec3 e = ToEye(p);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  PwGlDepthText3(p, lines, colour);
  if (!Eps()) return 0;
  const std::size_t main_used = PwScratchUsed(0);
  int n = 0;
  char** copy = CopyLines(lines, &n);
  if (copy == nullptr) return 1;
  PwSortedItem* it = PwSortedInsert(kPwSortedLabel, e.z);
  if (it == nullptr) {
    PwScratchRelease(main_used);
    return 1;
  }
  it->colour = colour;
  auto* d = static_cast<PwSortedLabelData*>(it->payload);
  d->point = e;
  d->halign = halign;
  d->valign = valign;
  d->count = n;
  d->lines = copy;
  return 0;
}

int PwDrawLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  if (lines == nullptr) lines = kNoLines;
  PwVec3 e = ToEye(p);
  int near_flag = 0;
  if (!PwFinite3(e) || !PwCullPoints(1, &e, &near_flag)) return 0;
  if (PwGetProjectionMode() == 1) e.z = PwGetParallelDistance();
  PwGlOverlayText3(p, lines, colour);
  if (Eps()) PwEpsText3(e, lines, halign, valign, colour);
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
  PwGlLitPolygon3(count, points, normal, colour);
  if (!Eps()) {
    PwScratchRelease(mark);
    return 0;
  }
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
  // OpenGL lights in model coordinates: the model's own normal, turned to
  // face the eye.
  PwVec3 model_normal = {0, 0, 0};
  if (PwPolygonNormal(&model_normal, count, points)) {
    PwVec3 en;
    PwModelDirToEye(&en, &model_normal);
    if (Dot(en, eye[0]) > 0) model_normal = {-model_normal.x, -model_normal.y, -model_normal.z};
  }
  PwGlLitPolygon3(count, points, model_normal, colour);
  if (!Eps()) {
    PwScratchRelease(mark);
    return 0;
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
  PwGlSmoothPolygon3(count, points, normals, colour);
  if (!Eps()) {
    PwScratchRelease(mark);
    return 0;
  }
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
  std::size_t mark;
  auto* eye = static_cast<PwVec3*>(
      PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(count)));
  if (eye == nullptr) return 1;
  PwVec3 lo, hi;
  PwEyePoints(eye, count, points, &lo, &hi);
  if (PwModelIsActive()) PwModelPolygonTwoSided(count, eye, colour);
  FlattenForParallel(count, eye);
  int near_flag = 0;
  if (PwAllFinite3(count, eye) && PwCullPoints(count, eye, &near_flag)) {
    if (PwImageIsActive()) PwImageDrawPolygon3(count, eye, colour);
    if (Eps()) PwEpsPolygon3(count, eye, colour);
    PwGlOverlayPolygon3(count, points, colour);
  }
  PwScratchRelease(mark);
  return 0;
}
