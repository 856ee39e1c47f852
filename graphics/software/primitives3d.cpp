// Sorted and immediate 3D lines, points, discs, markers and polygons: the
// shared front halves, then depth-sorted items or the screen at once.
#include "graphics/state3d/culling.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/primitives/primitive_prelude.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/math/pw_math.h"
#include "graphics/software/screen.h"
#include "graphics/state3d/state3d.h"

int PwLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwVec3 e[2];
  int near_flag;
  if (!PwLine3Front(p0, p1, colour, e, &near_flag)) return 0;
  return PwQueueLine3(e, near_flag, colour);
}

int PwDrawLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwVec3 e[2];
  int near_flag;
  if (!PwDrawLine3Front(p0, p1, colour, e, &near_flag)) return 0;
  if (near_flag) {
    PwVec3 in[2] = {e[0], e[1]};
    PwClipLineNear(e, in, PwGetProjection()->near);
  }
  PwPoint2 a, b;
  if (PwProjectToScreen(&a, &e[0]) && PwProjectToScreen(&b, &e[1])) PwScreenLine(a, b, colour);
  return 0;
}

int PwPoint3(PwVec3 p, PwColor colour) {
  PwVec3 e;
  if (!PwPoint3Front(p, colour, &e)) return 0;
  return PwQueuePoint3(e, colour);
}

int PwDrawPoint3(PwVec3 p, PwColor colour) {
  PwVec3 e;
  if (!PwDrawPoint3Front(p, colour, &e)) return 0;
  PwPoint2 s;
  if (PwProjectToScreen(&s, &e)) PwScreenPoint(s, colour);
  PwDrawPoint3Outputs(e, colour);
  return 0;
}

int PwDisc3(PwVec3 centre, float radius, PwColor colour) {
  PwVec3 e;
  if (!PwDisc3Front(centre, radius, colour, &e)) return 0;
  return PwQueueDisc3(e, radius, colour);
}

int PwMarker3(PwVec3 p, PwColor colour, int kind) {
  PwVec3 e;
  if (!PwPrimEyePoint(p, &e)) return 0;
  return PwQueueMarker3(e, colour, kind);
}

int PwDrawMarker3(PwVec3 p, PwColor colour, int kind) {
  PwVec3 e;
  if (!PwDrawMarker3Front(p, &e)) return 0;
  PwPoint2 s;
  if (PwProjectToScreen(&s, &e)) PwScreenMarker(s, kind, colour);
  if (PwEpsIsActive()) PwEpsMarker3(e, kind, colour);
  return 0;
}

int PwPolygon3(int count, const PwVec3* points, const PwVec3* centre, PwVec3 normal,
               PwColor colour) {
  PwEyePolygon poly;
  const int r = PwPolygon3Front(count, points, centre, normal, colour, &poly);
  if (r != kPwFrontVisible) return r;
  return PwQueuePolygon3(count, poly, colour);
}

int PwPolygon3TwoSided(int count, const PwVec3* points, PwColor colour) {
  PwEyePolygon poly;
  const int r = PwPolygon3TwoSidedFront(count, points, colour, &poly);
  if (r != kPwFrontVisible) return r;
  return PwQueuePolygon3(count, poly, colour);
}

int PwSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour) {
  PwEyePolygon poly;
  const int r = PwSmoothPolygon3Front(count, points, normals, colour, &poly);
  if (r != kPwFrontVisible) return r;
  return PwQueueSmoothPolygon3(count, poly, colour);
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
  int near_flag;
  if (PwDrawPolygon3Front(count, points, colour, eye, &near_flag)) {
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
