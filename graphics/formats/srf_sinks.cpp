// Feeding a placed SRF model's faces to the image output and the model
// capture, flat, faceted or smooth.
#include <cstddef>

#include "graphics/formats/srf_place.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/zbuffer/zbuffer.h"

namespace {

// Faces wider than this are never smooth: the pairwise test of their
// vertex normals would grow with the square of the face.
constexpr int kMaxSmoothVertices = 256;

bool Smooth(const PwSrf* m, const PwSrfFace& face, const PwVec3* normals) {
  const int n = face.index_count;
  if (n > kMaxSmoothVertices) return false;
  bool any = false;
  for (int i = 0; i < n && !any; ++i) any = m->vertices[face.indices[i]].smooth == 1;
  if (!any) return false;
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      if (PwDot(normals[i], normals[j]) < 0.0f) return false;
    }
  }
  return true;
}

}  // namespace

void PwSrfToSinks(const PwSrf* m, const PwPose* pose) {
  if (m == nullptr || pose == nullptr) return;
  PwFrame frame;
  PwSrfEyeFrame(&frame, pose);
  int near_flag = 0;
  const bool capture = PwModelIsActive() != 0;
  const bool image = PwImageIsActive() != 0;
  if (!PwSrfCullBox(m, &frame, &near_flag) && !capture) return;
  for (int v = 0; v < m->vertex_count; ++v) {
    const PwSrfVertex& s = m->vertices[v];
    PwVec3 p = {s.x, s.y, s.z};
    PwVec3 n = {s.nx, s.ny, s.nz};
    PwFrameApply(&m->work[v].position, &frame, &p);
    PwFrameRotate(&m->work[v].normal, &frame, &n);
  }
  // Each face sets the renderer's shading; what the caller had comes back
  // after the model, so B faces do not leave later primitives unlit.
  int shading = 1;
  PwZGetShading(&shading);
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    PwVec3 centre, normal;
    PwFrameApply(&centre, &frame, &face.centre);
    PwFrameRotate(&normal, &frame, &face.normal);
    const bool explicit_normal = face.has_normal == 1;
    if (explicit_normal && !capture && PwDot(normal, centre) > 0.0f) continue;
    const int n = face.index_count;
    std::size_t mark;
    auto* points = static_cast<PwVec3*>(
        PwScratchMark(&mark, sizeof(PwVec3) * 2 * static_cast<std::size_t>(n)));
    if (points == nullptr) continue;
    PwVec3* normals = points + n;
    if (image) PwZSetShading(face.no_shading ? 0 : 1);
    bool valid = true;
    for (int i = 0; i < n && valid; ++i) {
      const int v = face.indices[i];
      valid = v >= 0 && v < m->vertex_count;
      if (valid) {
        points[i] = m->work[v].position;
        normals[i] = m->work[v].normal;
      }
    }
    PwColor colour = face.colour;
    PwApplyModelColour(&colour);  // text takes its material's colour
    if (valid && !explicit_normal) {
      if (image) PwImagePolygon3(n, points, colour);
      if (capture) PwModelPolygonTwoSided(n, points, colour);
    } else if (valid && !Smooth(m, face, normals)) {
      if (image) PwImageFacet3(n, points, normal, colour);
      if (capture) PwModelPolygon(n, points, normal, colour);
    } else if (valid) {
      if (image) PwImageSmoothFacet3(n, points, normals, normal, colour);
      if (capture) PwModelSmoothPolygonN(n, points, normals, normal, colour);
    }
    PwScratchRelease(mark);
  }
  PwZSetShading(shading);
}
