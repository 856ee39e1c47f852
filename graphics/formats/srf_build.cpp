// Turning what the SRF reader collected into the model record, and the
// passes that complete it: box, face and vertex normals, winding, colour
// grouping.
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

#include "graphics/formats/srf_build.h"
#include "graphics/geometry/polygon_geometry.h"
#include "graphics/files/pw_alloc.h"
#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"
#include "graphics/files/reader_pool.h"

namespace {

// A vertex gathers at most this many distinct face normals; the rest of a
// fan that large adds nothing visible and would make the pass quadratic.
constexpr int kMaxGathered = 64;

template <typename T>
T* Allocate(int count) {
  std::size_t n = count > 0 ? static_cast<std::size_t>(count) : 1;
  auto* p = static_cast<T*>(PwAlloc(sizeof(T) * n));
  if (p != nullptr) std::memset(static_cast<void*>(p), 0, sizeof(T) * n);
  return p;
}

PwVec3 Position(const PwSrf* m, int i) {
  const PwSrfVertex& v = m->vertices[i];
  return {v.x, v.y, v.z};
}

void Box(PwSrf* m) {
  PwVec3 lo = {0, 0, 0}, hi = {0, 0, 0};
  for (int i = 0; i < m->vertex_count; ++i) {
    PwVec3 p = Position(m, i);
    if (i == 0) {
      lo = hi = p;
      continue;
    }
    lo = {std::fmin(lo.x, p.x), std::fmin(lo.y, p.y), std::fmin(lo.z, p.z)};
    hi = {std::fmax(hi.x, p.x), std::fmax(hi.y, p.y), std::fmax(hi.z, p.z)};
  }
  for (int k = 0; k < 8; ++k) {
    m->corners[k] = {(k & 1) ? hi.x : lo.x, (k & 2) ? hi.y : lo.y, (k & 4) ? hi.z : lo.z};
  }
}

// Face normals of faces without a usable one, and the winding of faces with
// one. points holds the largest face.
void FaceNormalsAndWinding(PwSrf* m, PwVec3* points) {
  for (int f = 0; f < m->face_count; ++f) {
    PwSrfFace& face = m->faces[f];
    for (int i = 0; i < face.index_count; ++i) points[i] = Position(m, face.indices[i]);
    if (face.has_normal == 0) {
      PwVec3 n;
      if (PwPolygonNormal(&n, face.index_count, points)) {
        PwNormalize(&n, &n);
        face.normal = n;
      }
    } else if (PwWinding(face.index_count, points, &face.normal) == 1) {
      for (int a = 0, b = face.index_count - 1; a < b; ++a, --b) {
        std::swap(face.indices[a], face.indices[b]);
      }
    }
  }
}

// Each vertex: the normalised sum of the distinct, mutually agreeing
// explicit normals of the faces that use it, in face order.
bool VertexNormals(PwSrf* m) {
  const int vc = m->vertex_count;
  auto* start = static_cast<int*>(PwPoolAlloc(vc + 1, sizeof(int)));
  auto* fill = static_cast<int*>(PwPoolAlloc(vc + 1, sizeof(int)));
  int total = 0;
  for (int f = 0; f < m->face_count; ++f) total += m->faces[f].index_count;
  auto* uses = static_cast<int*>(PwPoolAlloc(total > 0 ? total : 1, sizeof(int)));
  if (start == nullptr || fill == nullptr || uses == nullptr) return false;
  std::memset(start, 0, sizeof(int) * static_cast<std::size_t>(vc + 1));
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    for (int i = 0; i < face.index_count; ++i) ++start[face.indices[i] + 1];
  }
  for (int v = 0; v < vc; ++v) start[v + 1] += start[v];
  std::memcpy(fill, start, sizeof(int) * static_cast<std::size_t>(vc + 1));
  for (int f = 0; f < m->face_count; ++f) {
    const PwSrfFace& face = m->faces[f];
    for (int i = 0; i < face.index_count; ++i) uses[fill[face.indices[i]]++] = f;
  }
  PwVec3 gathered[kMaxGathered];
  for (int v = 0; v < vc; ++v) {
    int n = 0;
    PwVec3 sum = {0, 0, 0};
    for (int u = start[v]; u < start[v + 1] && n < kMaxGathered; ++u) {
      const PwSrfFace& face = m->faces[uses[u]];
      if (face.has_normal != 1) continue;
      bool pass_over = false;
      for (int g = 0; g < n && !pass_over; ++g) {
        pass_over = PwSamePoint(face.normal, gathered[g]) || PwDot(face.normal, gathered[g]) < 0.0f;
      }
      if (pass_over) continue;
      gathered[n++] = face.normal;
      sum = {sum.x + face.normal.x, sum.y + face.normal.y, sum.z + face.normal.z};
    }
    if (n > 0) PwNormalize(&sum, &sum);
    m->vertices[v].nx = sum.x;
    m->vertices[v].ny = sum.y;
    m->vertices[v].nz = sum.z;
  }
  return true;
}

std::uint32_t ColourKey(const PwColor& c) {
  return (static_cast<std::uint32_t>(c.green & 255) << 16) |
         (static_cast<std::uint32_t>(c.red & 255) << 8) | static_cast<std::uint32_t>(c.blue & 255);
}

bool SameColour(const PwColor& a, const PwColor& b) {
  return a.green == b.green && a.red == b.red && a.blue == b.blue;
}

// Walking from the first face: when the next face has another colour, the
// last face of the current colour further on is swapped in after it. The
// search "from the last face backward" is a look-up of the largest
// position of that colour, so the walk stays O(n log n).
void GroupColours(PwSrf* m) {
  const int n = m->face_count;
  if (n < 3) return;
  std::set<std::pair<std::uint32_t, int>> positions;
  for (int f = 0; f < n; ++f) positions.insert({ColourKey(m->faces[f].colour), f});
  for (int i = 0; i + 2 < n; ++i) {
    const PwColor current = m->faces[i].colour;
    if (SameColour(m->faces[i + 1].colour, current)) continue;
    const std::uint32_t key = ColourKey(current);
    auto it = positions.lower_bound({key + 1, INT_MIN});
    if (it == positions.begin()) continue;
    --it;
    if (it->first != key || it->second < i + 2) continue;
    const int j = it->second;
    const std::uint32_t other = ColourKey(m->faces[i + 1].colour);
    positions.erase(it);
    positions.erase({other, i + 1});
    positions.insert({key, i + 1});
    positions.insert({other, j});
    std::swap(m->faces[i + 1], m->faces[j]);
  }
}

}  // namespace

int PwBuildSrf(PwSrf* m, const PwSrfRead* read) {
  int faces = 0, widest = 0;
  for (const PwSrfReadFace* f = read->first_face; f != nullptr; f = f->next) {
    if (f->count == 0) continue;  // a face without indices draws nothing
    ++faces;
    if (f->count > widest) widest = f->count;
    for (const PwSrfReadIndex* i = f->first_index; i != nullptr; i = i->next) {
      if (i->index < 0 || i->index >= read->vertex_count) return 0;
    }
  }
  m->vertex_count = read->vertex_count;
  m->face_count = faces;
  m->vertices = Allocate<PwSrfVertex>(read->vertex_count);
  m->work = Allocate<PwSrfWork>(read->vertex_count);
  m->faces = Allocate<PwSrfFace>(faces);
  m->indices = Allocate<int>(read->index_count);
  auto* points = static_cast<PwVec3*>(PwPoolAlloc(widest > 0 ? widest : 1, sizeof(PwVec3)));
  if (m->vertices == nullptr || m->work == nullptr || m->faces == nullptr ||
      m->indices == nullptr || points == nullptr) {
    return 0;
  }
  int v = 0;
  for (const PwSrfReadVertex* r = read->first_vertex; r != nullptr; r = r->next) {
    m->vertices[v++] = r->vertex;
  }
  int f = 0, next_index = 0;
  for (const PwSrfReadFace* r = read->first_face; r != nullptr; r = r->next) {
    if (r->count == 0) continue;
    PwSrfFace& face = m->faces[f++];
    face.has_normal = r->has_normal;
    face.colour = r->colour;
    face.normal = r->normal;
    face.centre = r->centre;
    face.no_shading = r->no_shading;
    face.index_count = r->count;
    face.indices = m->indices + next_index;
    double sx = 0, sy = 0, sz = 0;
    for (const PwSrfReadIndex* i = r->first_index; i != nullptr; i = i->next) {
      m->indices[next_index++] = i->index;
      const PwSrfVertex& p = m->vertices[i->index];
      sx += p.x;
      sy += p.y;
      sz += p.z;
    }
    // Without an N line the centre is the mean of the face's vertices, so
    // that the face sorts and faces where it lies, not at the origin.
    if (!r->has_centre) {
      face.centre = {static_cast<float>(sx / r->count), static_cast<float>(sy / r->count),
                     static_cast<float>(sz / r->count)};
    }
  }
  Box(m);
  FaceNormalsAndWinding(m, points);
  if (!VertexNormals(m)) return 0;
  GroupColours(m);
  return 1;
}
