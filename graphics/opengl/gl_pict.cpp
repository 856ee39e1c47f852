// Placed PICT2 pictures in the OpenGL build: the objects drawn at once in
// the picture's own frame with the depth buffer (each picture point is
// (x, y, 0) of the pose's frame); a sorted item only for the EPS output.
#include <cstddef>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/pict_picture.h"
#include "graphics/opengl/gl_internal.h"
#include "graphics/state3d/state3d.h"

namespace {

PwVec3 At(const PwVec2& p) { return {p.x, p.y, 0.0f}; }

void DrawPolygon(const PwPictObject& o) {
  std::size_t mark;
  auto* points = static_cast<PwVec3*>(
      PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(o.point_count)));
  if (points == nullptr) return;  // no room: the polygon is skipped
  for (int i = 0; i < o.point_count; ++i) points[i] = At(o.points[i]);
  // The picture faces -z of its frame, toward an eye it stands before.
  PwGlLitPolygon3(o.point_count, points, PwVec3{0.0f, 0.0f, -1.0f}, o.colour);
  PwScratchRelease(mark);
}

void DrawObject(const PwPictObject& o) {
  const int n = o.point_count;
  switch (o.kind) {
    case kPwPictPoints:
      for (int i = 0; i < n; ++i) PwGlOverlayPoint3(At(o.points[i]), o.colour);
      break;
    case kPwPictPolyline:
      for (int i = 0; i + 1 < n; ++i)
        PwGlDepthLine3(At(o.points[i]), At(o.points[i + 1]), o.colour);
      break;
    case kPwPictSegments:
      for (int i = 0; i + 1 < n; i += 2) {
        PwGlDepthLine3(At(o.points[i]), At(o.points[i + 1]), o.colour);
      }
      break;
    case kPwPictPolygon: DrawPolygon(o); break;
    default: break;
  }
}

// Every object that passes its distance test, with the pose as model frame.
void PwGlDrawPict3Objects(const PwPict* pict, const PwPose* pose) {
  // Without room for the frame nothing is drawn (popping would lose the
  // caller's frame).
  if (PwPushFrame(pose) != 0) return;
  for (int i = 0; i < pict->object_count; ++i) {
    const PwPictObject& o = pict->objects[i];
    if (PwPict3ObjectTest(&o)) DrawObject(o);
  }
  PwPopFrame();
}

}  // namespace

int PwPict3Sorted(const PwPict* pict, const PwPose* pose) {
  if (!PwPict3PlaceFront(pict, pose)) return 0;
  PwGlDrawPict3Objects(pict, pose);
  if (!PwEpsIsActive()) return 0;
  return PwQueuePict3(pict);
}
