// The library's 3D primitives in the OpenGL build: the same front halves as
// the software build (eye space, culling and outputs), then drawn at once
// through OpenGL with the depth buffer. Depth-sorted items are made only for
// the EPS output, which needs painter's order.
#include "graphics/state3d/eps_output_state.h"
#include "graphics/opengl/gl_internal.h"
#include "graphics/primitives/primitive_prelude.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"
#include "graphics/state3d/state3d.h"

namespace {

bool Eps() { return PwEpsIsActive() != 0; }

// Without the EPS output no sorted item keeps the polygon's eye points.
int QueuePolygonForEps(int count, const PwEyePolygon& poly, PwColor colour) {
  if (!Eps()) {
    PwScratchRelease(poly.mark);
    return 0;
  }
  return PwQueuePolygon3(count, poly, colour);
}

}  // namespace

int PwLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwVec3 e[2];
  int near_flag;
  if (!PwLine3Front(p0, p1, colour, e, &near_flag)) return 0;
  PwGlDepthLine3(p0, p1, colour);
  if (!Eps()) return 0;
  return PwQueueLine3(e, near_flag, colour);
}

int PwDrawLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwVec3 e[2];
  int near_flag;
  if (!PwDrawLine3Front(p0, p1, colour, e, &near_flag)) return 0;
  PwGlOverlayLine3(p0, p1, colour);
  return 0;
}

int PwPoint3(PwVec3 p, PwColor colour) {
  PwVec3 e;
  if (!PwPoint3Front(p, colour, &e)) return 0;
  PwGlDepthPoint3(p, colour);
  if (!Eps()) return 0;
  return PwQueuePoint3(e, colour);
}

int PwDrawPoint3(PwVec3 p, PwColor colour) {
  PwVec3 e;
  if (!PwDrawPoint3Front(p, colour, &e)) return 0;
  PwGlOverlayPoint3(p, colour);
  PwDrawPoint3Outputs(e, colour);
  return 0;
}

int PwDisc3(PwVec3 centre, float radius, PwColor colour) {
  PwVec3 e;
  if (!PwDisc3Front(centre, radius, colour, &e)) return 0;
  PwGlDepthCircle3(centre, radius, radius, colour);
  if (!Eps()) return 0;
  return PwQueueDisc3(e, radius, colour);
}

int PwMarker3(PwVec3 p, PwColor colour, int kind) {
  PwVec3 e;
  if (!PwPrimEyePoint(p, &e)) return 0;
  PwGlDepthMarker3(p, colour, kind);
  if (!Eps()) return 0;
  return PwQueueMarker3(e, colour, kind);
}

int PwDrawMarker3(PwVec3 p, PwColor colour, int kind) {
  PwVec3 e;
  if (!PwDrawMarker3Front(p, &e)) return 0;
  PwGlOverlayMarker3(p, colour, kind);
  if (Eps()) PwEpsMarker3(e, kind, colour);
  return 0;
}

int PwLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  PwVec3 e;
  if (!PwLabel3Front(p, &lines, &e)) return 0;
  PwGlDepthText3(p, lines, colour);
  if (!Eps()) return 0;
  return PwQueueLabel3(e, lines, colour, halign, valign);
}

int PwDrawLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  PwVec3 e;
  if (!PwDrawLabel3Front(p, &lines, &e)) return 0;
  PwGlOverlayText3(p, lines, colour);
  if (Eps()) PwEpsText3(e, lines, halign, valign, colour);
  return 0;
}

int PwPolygon3(int count, const PwVec3* points, const PwVec3* centre, PwVec3 normal,
               PwColor colour) {
  PwEyePolygon poly;
  const int r = PwPolygon3Front(count, points, centre, normal, colour, &poly);
  if (r != kPwFrontVisible) return r;
  PwGlLitPolygon3(count, points, normal, colour);
  return QueuePolygonForEps(count, poly, colour);
}

int PwPolygon3TwoSided(int count, const PwVec3* points, PwColor colour) {
  PwEyePolygon poly;
  const int r = PwPolygon3TwoSidedFront(count, points, colour, &poly);
  if (r != kPwFrontVisible) return r;
  // OpenGL lights in model coordinates: the model's own normal, turned to
  // face the eye.
  PwVec3 model_normal = {0, 0, 0};
  if (PwPolygonNormal(&model_normal, count, points)) {
    PwVec3 en;
    PwModelDirToEye(&en, &model_normal);
    if (PwDot(en, poly.points[0]) > 0) {
      model_normal = {-model_normal.x, -model_normal.y, -model_normal.z};
    }
  }
  PwGlLitPolygon3(count, points, model_normal, colour);
  return QueuePolygonForEps(count, poly, colour);
}

int PwSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour) {
  PwEyePolygon poly;
  const int r = PwSmoothPolygon3Front(count, points, normals, colour, &poly);
  if (r != kPwFrontVisible) return r;
  PwGlSmoothPolygon3(count, points, normals, colour);
  if (!Eps()) {
    PwScratchRelease(poly.mark);
    return 0;
  }
  return PwQueueSmoothPolygon3(count, poly, colour);
}

int PwDrawPolygon3(int count, const PwVec3* points, PwColor colour) {
  if (count < 1 || points == nullptr) return 0;
  std::size_t mark;
  auto* eye =
      static_cast<PwVec3*>(PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(count)));
  if (eye == nullptr) return 1;
  int near_flag;
  if (PwDrawPolygon3Front(count, points, colour, eye, &near_flag)) {
    PwGlOverlayPolygon3(count, points, colour);
  }
  PwScratchRelease(mark);
  return 0;
}
