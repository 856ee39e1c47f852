// SRF models placed in 3D in the OpenGL build: the faces drawn at once
// (smooth-shaded where the model is smooth) with the depth buffer; a sorted
// item only for the EPS output.
#include <cstddef>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/srf_place.h"
#include "graphics/opengl/gl_internal.h"
#include "graphics/math/vec_inline.h"

namespace {

// Each face that does not face away, within the pose's frame.
void PwGlDrawSrfFaces(const PwSrf* m, const PwPose* pose) {
  // Without room for the frame nothing is drawn (popping would lose the
  // caller's frame).
  if (PwPushFrame(pose) != 0) return;
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    if (face.has_normal == 1) {
      PwVec3 centre, normal;
      PwModelToEye(&centre, &face.centre);
      PwModelDirToEye(&normal, &face.normal);
      if (PwDot(normal, centre) > 0.0f) continue;
    }
    const int n = face.index_count;
    if (n < 1) continue;
    std::size_t mark;
    auto* points = static_cast<PwVec3*>(
        PwScratchMark(&mark, sizeof(PwVec3) * 2 * static_cast<std::size_t>(n)));
    if (points == nullptr) continue;
    PwVec3* normals = points + n;
    bool valid = true;
    for (int i = 0; i < n && valid; ++i) {
      const int v = face.indices[i];
      valid = PwSrfValidIndex(m, v);
      if (!valid) break;
      const PwSrfVertex& s = m->vertices[v];
      points[i] = {s.x, s.y, s.z};
      normals[i] = s.smooth == 1 && face.has_normal == 1 ? PwVec3{s.nx, s.ny, s.nz} : face.normal;
    }
    PwColor colour = face.colour;
    PwApplyModelColour(&colour);
    if (valid) PwGlSmoothPolygon3(n, points, normals, colour);
    PwScratchRelease(mark);
  }
  PwPopFrame();
}

}  // namespace

int PwSrfSorted(const PwSrf* m, const PwPose* pose) {
  if (m == nullptr || pose == nullptr) return 0;
  PwFrame frame;
  int near_flag;
  if (!PwSrfPlaceFront(m, pose, &frame, &near_flag)) return 0;
  PwGlDrawSrfFaces(m, pose);
  if (!PwEpsIsActive()) return 0;
  return PwQueueSrf(m, frame, near_flag);
}

int PwDrawSrf(PwSrf* m, const PwPose* pose) { return PwSrfSorted(m, pose); }
