// Shadows: lines and polygons flattened onto the shadow frame's y = 0 plane
// and drawn at once.
#include "graphics/primitives/primitives3d.h"
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"

namespace {

// The frame that places the model frame within the shadow frame.
PwFrame ShadowTransform() {
  PwFrame t;
  PwBuildTransform(&t, PwGetModelFrame(), PwGetShadowFrame());
  return t;
}

PwVec3 Flatten(const PwFrame& t, PwVec3 p) {
  PwVec3 q;
  PwFrameApply(&q, &t, &p);
  q.y = 0.0f;
  PwVec3 back;
  PwFrameUnapply(&back, &t, &q);
  return back;
}

}  // namespace

int PwDrawShadowLine3(PwVec3 p0, PwVec3 p1, PwColor colour) {
  PwFrame t = ShadowTransform();
  return PwDrawLine3(Flatten(t, p0), Flatten(t, p1), colour);
}

int PwDrawShadowPolygon3(int count, const PwVec3* points, PwColor colour) {
  if (count < 1 || points == nullptr) return 0;
  std::size_t mark;
  auto* flat =
      static_cast<PwVec3*>(PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(count)));
  if (flat == nullptr) return 1;
  PwFrame t = ShadowTransform();
  for (int i = 0; i < count; ++i) flat[i] = Flatten(t, points[i]);
  int r = PwDrawPolygon3(count, flat, colour);
  PwScratchRelease(mark);
  return r;
}
