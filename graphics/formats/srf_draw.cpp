// Drawing SRF models: the faces of a sorted item at flush time, far to
// near, or the whole model at once in black.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/srf_place.h"
#include "graphics/math/vec_inline.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/draw2d/screen_layer.h"
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

// The scratch blocks of one sorted draw, taken after the caller's mark.
struct SrfBlocks {
  PwVec3* eye;               // a vertex each
  PwPoint2* screen;          // a vertex each
  unsigned char* projected;  // a vertex each: screen holds it
  FaceOrder* order;          // a face each
  PwVec3* points;            // the widest face
  PwVec3* clipped;           // twice the widest face
  PwPoint2* polygon;         // twice the widest face
};

bool TakeBlocks(const PwSrf* m, SrfBlocks* b) {
  const std::size_t vc = static_cast<std::size_t>(m->vertex_count);
  const std::size_t widest = static_cast<std::size_t>(Widest(m));
  b->eye = Take<PwVec3>(vc);
  b->screen = Take<PwPoint2>(vc);
  b->projected = Take<unsigned char>(vc);
  b->order = Take<FaceOrder>(static_cast<std::size_t>(m->face_count));
  b->points = Take<PwVec3>(widest);
  b->clipped = Take<PwVec3>(2 * widest);
  b->polygon = Take<PwPoint2>(2 * widest);
  return b->eye != nullptr && b->screen != nullptr && b->projected != nullptr &&
         b->order != nullptr && b->points != nullptr && b->clipped != nullptr &&
         b->polygon != nullptr;
}

void ToEye(const PwSrf* m, const PwFrame* frame, PwVec3* eye) {
  for (int v = 0; v < m->vertex_count; ++v) {
    const PwSrfVertex& s = m->vertices[v];
    PwVec3 p = {s.x, s.y, s.z};
    PwFrameApply(&eye[v], frame, &p);
  }
}

// The faces to draw, far to near: those with a normal that face away are
// left out, the others turned to face the eye. Returns how many.
int OrderFaces(const PwSrf* m, const PwFrame* frame, FaceOrder* order) {
  int kept = 0;
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    FaceOrder o;
    PwFrameApply(&o.centre, frame, &face.centre);
    PwFrameRotate(&o.normal, frame, &face.normal);
    if (!PwFinite(o.centre)) continue;
    if (PwDot(o.normal, o.centre) > 0.0f) {
      if (face.has_normal == 1) continue;  // faces away
      o.normal = {-o.normal.x, -o.normal.y, -o.normal.z};
    }
    o.depth = o.centre.z;
    o.face = f;
    order[kept++] = o;
  }
  std::sort(order, order + kept, DrawsBefore);
  return kept;
}

// Careful drawing (near the eye, or onto the EPS page) projects only the
// vertices beyond the near plane (none for EPS) and clips the other faces.
struct FaceDrawing {
  bool eps;
  bool careful;
  bool lit;
  float near_z;
};

FaceDrawing HowToDraw(int near_flag) {
  FaceDrawing how;
  how.eps = PwEpsIsActive() != 0;
  how.careful = near_flag != 0 || how.eps;
  how.lit = PwGetLighting() == 1;
  how.near_z = PwGetProjection()->near;
  return how;
}

void Project(const PwSrf* m, const FaceDrawing& how, SrfBlocks* b) {
  const int vc = m->vertex_count;
  if (PwGetProjectionMode() == 1) {
    for (int v = 0; v < vc; ++v) b->eye[v].z = PwGetParallelDistance();
  }
  for (int v = 0; v < vc; ++v) {
    b->projected[v] = 0;
    if (how.careful && (how.eps || !(b->eye[v].z > how.near_z))) continue;
    b->projected[v] = static_cast<unsigned char>(PwProjectToScreen(&b->screen[v], &b->eye[v]));
  }
}

PwColor FaceColour(const PwSrfFace& face, const FaceOrder& o, const FaceDrawing& how) {
  PwColor own = face.colour;
  PwApplyModelColour(&own);
  PwColor colour = own;
  if (how.lit && face.no_shading == 0 && (!how.careful || face.has_normal == 1)) {
    PwShadeColor(&colour, own, &o.centre, &o.normal);
  }
  return colour;
}

// Fills the face from its projected vertices: false when one is not.
bool FillProjected(const PwSrf* m, const PwSrfFace& face, PwColor colour, const SrfBlocks& b) {
  const int n = face.index_count;
  for (int i = 0; i < n; ++i) {
    const int v = face.indices[i];
    if (!PwSrfValidIndex(m, v) || !b.projected[v]) return false;
  }
  for (int i = 0; i < n; ++i) b.polygon[i] = b.screen[face.indices[i]];
  PwScreenPolygon(n, b.polygon, colour);
  return true;
}

// The face in eye space onto the EPS page, and clipped at the near plane
// onto the screen.
void FillClipped(const PwSrf* m, const PwSrfFace& face, PwColor colour, const FaceDrawing& how,
                 const SrfBlocks& b) {
  const int n = face.index_count;
  for (int i = 0; i < n; ++i) {
    if (!PwSrfValidIndex(m, face.indices[i])) return;
    b.points[i] = b.eye[face.indices[i]];
  }
  if (how.eps) PwEpsPolygon3(n, b.points, colour);
  int count = 0;
  PwClipPolygonNear(&count, b.clipped, n, b.points, how.near_z);
  if (count <= 0) return;
  for (int i = 0; i < count; ++i) {
    if (PwProjectToScreen(&b.polygon[i], &b.clipped[i]) == 0) return;
  }
  PwScreenPolygon(count, b.polygon, colour);
}

void DrawFace(const PwSrf* m, const FaceDrawing& how, const FaceOrder& o, const SrfBlocks& b) {
  const PwSrfFace& face = m->faces[o.face];
  const PwColor colour = FaceColour(face, o, how);
  if (FillProjected(m, face, colour, b)) return;
  if (how.careful) FillClipped(m, face, colour, how, b);  // else a vertex cannot be projected
}

}  // namespace

// What PwDrawSortedSrf takes below, block by block, and the EPS page's
// room for its widest face.
std::size_t PwSortedSrfRoom(const PwSrf* m) {
  if (m == nullptr || m->face_count <= 0) return 0;
  // In 64 bits (no count of an int can overflow it), held to SIZE_MAX.
  const std::uint64_t vc = static_cast<std::uint64_t>(m->vertex_count > 0 ? m->vertex_count : 1);
  const int wide = Widest(m) > 0 ? Widest(m) : 1;
  const std::uint64_t widest = static_cast<std::uint64_t>(wide);
  const std::uint64_t faces = static_cast<std::uint64_t>(m->face_count);
  const std::uint64_t blocks = vc * (sizeof(PwVec3) + sizeof(PwPoint2) + 1) +
                               faces * sizeof(FaceOrder) +
                               widest * (3 * sizeof(PwVec3) + 2 * sizeof(PwPoint2));
  return PwSaturatedSize(blocks + 8 * alignof(void*) + PwSortedFlushRoom(wide));
}

void PwDrawSortedSrf(const PwSrf* m, const PwFrame* frame, int near_flag) {
  if (m == nullptr || frame == nullptr || m->face_count <= 0) return;
  std::size_t mark;
  if (PwScratchMark(&mark, 4) == nullptr) return;
  SrfBlocks b;
  if (TakeBlocks(m, &b)) {
    ToEye(m, frame, b.eye);
    const int kept = OrderFaces(m, frame, b.order);
    const FaceDrawing how = HowToDraw(near_flag);
    Project(m, how, &b);
    for (int k = 0; k < kept; ++k) DrawFace(m, how, b.order[k], b);
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
      valid = PwSrfValidIndex(m, v);
      if (valid) points[i] = {m->vertices[v].x, m->vertices[v].y, m->vertices[v].z};
    }
    // The polygon takes its own scratch after these points and gives it back.
    if (valid) PwDrawPolygon3(n, points, black);
    PwScratchRelease(mark);
  }
  PwPopFrame();
}
