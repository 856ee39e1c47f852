// Drawing SRF models: the faces of a sorted item at flush time, far to
// near, or the whole model at once in black.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/srf_place.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/software/screen.h"
#include "graphics/primitives/sorted_list.h"

namespace {

struct FaceOrder {
  float depth;
  int face;
  PwVec3 centre;  // eye space
  PwVec3 normal;
};

// Farthest first; of equal depths the later face first.
bool DrawsBefore(const FaceOrder& a, const FaceOrder& b) {
  if (a.depth != b.depth) return a.depth > b.depth;
  return a.face > b.face;
}

bool Finite(const PwVec3& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

int Widest(const PwSrf* m) {
  int w = 0;
  for (int f = 0; f < m->face_count; ++f) w = std::max(w, m->faces[f].index_count);
  return w;
}

// n elements of T from the main pool, after the caller's mark; null when the
// pool cannot hold them.
template <typename T>
T* Take(std::size_t n) {
  std::size_t unused;
  if (n == 0) n = 1;
  if (n > SIZE_MAX / sizeof(T)) return nullptr;
  return static_cast<T*>(PwScratchMark(&unused, n * sizeof(T)));
}

bool ValidIndex(const PwSrf* m, int i) { return i >= 0 && i < m->vertex_count; }

}  // namespace

// What PwDrawSortedSrf takes below, block by block, and the EPS page's
// room for its widest face.
std::size_t PwSortedSrfRoom(const PwSrf* m) {
  if (m == nullptr || m->face_count <= 0) return 0;
  const std::size_t vc = static_cast<std::size_t>(m->vertex_count > 0 ? m->vertex_count : 1);
  const std::size_t widest = static_cast<std::size_t>(Widest(m) > 0 ? Widest(m) : 1);
  const std::size_t faces = static_cast<std::size_t>(m->face_count);
  if (vc > SIZE_MAX / 64 || faces > SIZE_MAX / 64 / sizeof(FaceOrder) || widest > SIZE_MAX / 256) {
    return SIZE_MAX;
  }
  const std::size_t blocks = vc * (sizeof(PwVec3) + sizeof(PwPoint2) + 1) +
                             faces * sizeof(FaceOrder) +
                             widest * (3 * sizeof(PwVec3) + 2 * sizeof(PwPoint2));
  return blocks + 8 * alignof(void*) + PwSortedFlushRoom(static_cast<int>(widest));
}

void PwDrawSortedSrf(const PwSrf* m, const PwFrame* frame, int near_flag) {
  if (m == nullptr || frame == nullptr || m->face_count <= 0) return;
  const std::size_t vc = static_cast<std::size_t>(m->vertex_count);
  const std::size_t widest = static_cast<std::size_t>(Widest(m));
  std::size_t mark;
  if (PwScratchMark(&mark, 4) == nullptr) return;
  auto* eye = Take<PwVec3>(vc);
  auto* screen = Take<PwPoint2>(vc);
  auto* projected = Take<unsigned char>(vc);
  auto* order = Take<FaceOrder>(static_cast<std::size_t>(m->face_count));
  auto* points = Take<PwVec3>(widest);
  auto* clipped = Take<PwVec3>(2 * widest);
  auto* polygon = Take<PwPoint2>(2 * widest);
  if (eye == nullptr || screen == nullptr || projected == nullptr || order == nullptr ||
      points == nullptr || clipped == nullptr || polygon == nullptr) {
    PwScratchRelease(mark);
    return;
  }
  for (std::size_t v = 0; v < vc; ++v) {
    const PwSrfVertex& s = m->vertices[v];
    PwVec3 p = {s.x, s.y, s.z};
    PwFrameApply(&eye[v], frame, &p);
  }
  int kept = 0;
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    FaceOrder o;
    PwFrameApply(&o.centre, frame, &face.centre);
    PwFrameRotate(&o.normal, frame, &face.normal);
    if (!Finite(o.centre)) continue;
    if (PwSrfDot(o.normal, o.centre) > 0.0f) {
      if (face.has_normal == 1) continue;  // faces away
      o.normal = {-o.normal.x, -o.normal.y, -o.normal.z};
    }
    o.depth = o.centre.z;
    o.face = f;
    order[kept++] = o;
  }
  std::sort(order, order + kept, DrawsBefore);

  if (PwGetProjectionMode() == 1) {
    for (std::size_t v = 0; v < vc; ++v) eye[v].z = PwGetParallelDistance();
  }
  const bool eps = PwEpsIsActive() != 0;
  const bool careful = near_flag != 0 || eps;
  const float near_z = PwGetProjection()->near;
  for (std::size_t v = 0; v < vc; ++v) {
    projected[v] = 0;
    if (careful && (eps || !(eye[v].z > near_z))) continue;
    projected[v] = static_cast<unsigned char>(PwProjectToScreen(&screen[v], &eye[v]));
  }
  const bool lit = PwGetLighting() == 1;
  for (int k = 0; k < kept; ++k) {
    const FaceOrder& o = order[k];
    const PwSrfFace& face = m->faces[o.face];
    PwColor colour = face.colour;
    if (lit && face.no_shading == 0 && (!careful || face.has_normal == 1)) {
      PwShadeColor(&colour, face.colour, &o.centre, &o.normal);
    }
    const int n = face.index_count;
    bool direct = true;
    for (int i = 0; i < n && direct; ++i) {
      const int v = face.indices[i];
      direct = ValidIndex(m, v) && projected[v];
    }
    if (direct) {
      for (int i = 0; i < n; ++i) polygon[i] = screen[face.indices[i]];
      PwScreenPolygon(n, polygon, colour);
      continue;
    }
    if (!careful) continue;  // a vertex that cannot be projected
    bool valid = true;
    for (int i = 0; i < n && valid; ++i) {
      valid = ValidIndex(m, face.indices[i]);
      if (valid) points[i] = eye[face.indices[i]];
    }
    if (!valid) continue;
    if (eps) PwEpsPolygon3(n, points, colour);
    int m_count = 0;
    PwClipPolygonNear(&m_count, clipped, n, points, near_z);
    bool ok = m_count > 0;
    for (int i = 0; i < m_count && ok; ++i) ok = PwProjectToScreen(&polygon[i], &clipped[i]) != 0;
    if (ok) PwScreenPolygon(m_count, polygon, colour);
  }
  PwScratchRelease(mark);
}

void PwDrawSrfFlat(const PwSrf* m, const PwPose* pose) {
  if (m == nullptr || pose == nullptr) return;
  // Without room for the frame nothing is drawn (popping would lose the
  // caller's frame).
  if (PwPushFrame(pose) != 0) return;
  const PwColor black = {0, 0, 0};
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    PwVec3 centre, normal;
    PwModelToEye(&centre, &face.centre);
    PwModelDirToEye(&normal, &face.normal);
    if (face.has_normal == 1 && PwSrfFacesAway(centre, normal)) continue;
    const int n = face.index_count;
    std::size_t mark;
    auto* points =
        static_cast<PwVec3*>(PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(n)));
    if (points == nullptr) continue;
    bool valid = true;
    for (int i = 0; i < n && valid; ++i) {
      const int v = face.indices[i];
      valid = ValidIndex(m, v);
      if (valid) points[i] = {m->vertices[v].x, m->vertices[v].y, m->vertices[v].z};
    }
    // The polygon takes its own scratch after these points and gives it back.
    if (valid) PwDrawPolygon3(n, points, black);
    PwScratchRelease(mark);
  }
  PwPopFrame();
}
