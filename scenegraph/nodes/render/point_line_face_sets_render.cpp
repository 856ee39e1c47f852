// Drawing of the point, line and face sets. Every index read from the file
// goes through its list's checked Get, so no entry of a broken file reads
// outside a list; each pass over coordIndex is linear in its length.
#include <cstdio>
#include <cstdlib>
#include <new>

#include "scenegraph/core/math/polygon.h"
#include "scenegraph/nodes/geometry/point_line_face_sets.h"
#include "scenegraph/nodes/render/primitive_buffer.h"

namespace {

// Computed corner normals shorter than this (squared) are not drawn in the
// frame that computes them.
constexpr float kMinCornerNormal2 = 0.8f;

template <class List>
List* CachedList(KsListCache<List>& cache, KsNode* node, List* (*lookUp)(KsNode*)) {
  if (node == nullptr) {
    cache = KsListCache<List>();
    return nullptr;
  }
  if (cache.node != node || cache.list == nullptr) {
    cache.node = node;
    cache.list = lookUp(node);
  }
  return cache.list;
}

// The element a run's vertex uses from an indexed list: per vertex the
// index list's entry at the vertex's position (or the coordinate index),
// per run the entry for the run (or the run number itself).
int PickIndex(const KsMFInt& indices, KSBOOL perVertex, int run, int position, int coordIndex,
              int* out) {
  const bool byVertex = perVertex == KS_TRUE;
  if (indices.GetCount() == 0) {
    *out = byVertex ? coordIndex : run;
    return 0;
  }
  const int* e = indices.Get(byVertex ? position : run);
  if (e == nullptr) return 1;
  *out = *e;
  return 0;
}

// Element of an optional list: 0 with null when there is no node, 1 when
// the node is there but the element cannot be had.
template <class T, class List>
int OptionalElement(KsNode* node, List* list, const KsMFInt& indices, KSBOOL perVertex, int run,
                    int position, int coordIndex, const T** out) {
  *out = nullptr;
  if (node == nullptr) return 0;
  if (list == nullptr) return 1;
  int i = 0;
  if (PickIndex(indices, perVertex, run, position, coordIndex, &i) != 0) return 1;
  *out = list->Get(i);
  return *out == nullptr ? 1 : 0;
}

struct LastColour {
  bool set = false;
  float r = 0, g = 0, b = 0;

  // KsSetColor when c differs from the colour set last.
  void Apply(const KsCol* c) {
    if (c == nullptr || (set && c->r == r && c->g == g && c->b == b)) return;
    set = true;
    r = c->r;
    g = c->g;
    b = c->b;
    KsSetColor(r, g, b);
  }
};

// Newell's normal of a closed polygon: its orientation by corner order,
// which a corner's own cross product gives only where the corner is convex.
KsVec3f FaceNormal(const KsVec3f* const* p, int m) {
  KsVec3f n;
  for (int i = 0; i < m; ++i) {
    const KsVec3f& a = *p[i];
    const KsVec3f& b = *p[(i + 1) % m];
    n.x += (a.y - b.y) * (a.z + b.z);
    n.y += (a.z - b.z) * (a.x + b.x);
    n.z += (a.x - b.x) * (a.y + b.y);
  }
  return n;
}

bool SameVec(const KsVec3f& a, const KsVec3f& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// First position at or after s that is not part of the run at s, past the
// negative entries that follow it.
int NextRun(const int* idx, int n, int s) {
  while (s < n && idx[s] >= 0) ++s;
  while (s < n && idx[s] < 0) ++s;
  return s;
}

int SkipNegative(const int* idx, int n, int s) {
  while (s < n && idx[s] < 0) ++s;
  return s;
}

// Corners of the longest face, held to one more than the primitive buffer
// takes (so that a face beyond it is gathered far enough to be refused).
int LongestRun(const int* idx, int n) {
  int longest = 0;
  for (int s = 0; s < n;) {
    int e = s;
    while (e < n && idx[e] >= 0) ++e;
    if (e - s > longest) longest = e - s;
    s = e + 1;
  }
  return longest > KS_PRIMITIVE_MAX_VERTICES ? KS_PRIMITIVE_MAX_VERTICES + 1 : longest;
}

// The gathered corners of one face: on the stack for faces of the usual
// size, on the heap for larger ones.
struct FaceRoom {
  const KsVec3f* fixedPoints[KS_SEGMENT_CAPACITY];
  const KsVec3f* fixedNormals[KS_SEGMENT_CAPACITY];
  const KsCol* fixedColours[KS_SEGMENT_CAPACITY];
  const KsVec2f* fixedTexPoints[KS_SEGMENT_CAPACITY];
  const KsVec3f** points = fixedPoints;
  const KsVec3f** normals = fixedNormals;
  const KsCol** colours = fixedColours;
  const KsVec2f** texPoints = fixedTexPoints;
  void* heap = nullptr;
  int capacity = KS_SEGMENT_CAPACITY;

  // False when the room for a face of count corners cannot be had.
  bool Take(int count) {
    if (count <= KS_SEGMENT_CAPACITY) return true;
    const std::size_t c = static_cast<std::size_t>(count);
    const std::size_t bytes = c * (sizeof(KsVec3f*) * 2 + sizeof(KsCol*) + sizeof(KsVec2f*));
    heap = std::malloc(bytes);
    if (heap == nullptr) return false;
    auto* base = static_cast<char*>(heap);
    points = reinterpret_cast<const KsVec3f**>(base);
    normals = reinterpret_cast<const KsVec3f**>(base + c * sizeof(KsVec3f*));
    colours = reinterpret_cast<const KsCol**>(base + 2 * c * sizeof(KsVec3f*));
    texPoints =
        reinterpret_cast<const KsVec2f**>(base + 2 * c * sizeof(KsVec3f*) + c * sizeof(KsCol*));
    capacity = count;
    return true;
  }
  ~FaceRoom() { std::free(heap); }
};

}  // namespace

int KsPointSet::ExecTraverse(KsMatrix*) {
  KsNode* points = coord.Get();
  if (points == nullptr) return 0;
  KsMFVec3f* list = KsNode::GetMFVec3f(points);
  if (list == nullptr) return 0;
  KsNode* colourNode = color.Get();
  KsMFColor* colours = colourNode ? KsNode::GetMFColor(colourNode) : nullptr;
  const int n = list->GetCount();
  for (int i = 0; i < n; ++i) {
    const KsVec3f* p = KsNode::GetCoord(points, i);
    // Within the count only a node of another class fails, for every index.
    if (p == nullptr) break;
    if (colours && i < colours->GetCount()) {
      const KsCol* c = KsNode::GetColor(colourNode, i);
      if (c) KsSetColor(c->r, c->g, c->b);
    }
    KsBeginPrimitive(KS_PRIMITIVE_POINTS);
    KsAddVertex(p->x, p->y, p->z);
    KsEndPrimitive();
  }
  return 0;
}

void KsIndexedLineSet::FillCaches() {
  CachedList(points_, coord.Get(), &KsNode::GetMFVec3f);
  CachedList(colours_, color.Get(), &KsNode::GetMFColor);
}

int KsIndexedLineSet::GetSegment(int k, int s, const KsVec3f** points, const KsCol** colours,
                                 int* count) {
  *count = 0;
  FillCaches();
  if (points_.list == nullptr) {
    std::fprintf(stderr, "KsIndexedLineSet::GetSegment()\n");
    std::fprintf(stderr, "  No Coordinate is specified.\n");
    return 1;
  }
  const int n = coordIndex.GetCount();
  const int* idx = coordIndex.GetElements();
  int m = 0;
  for (int pos = s; pos >= 0 && pos < n && m < KS_SEGMENT_CAPACITY; ++pos, ++m) {
    if (idx[pos] == -1) break;
    points[m] = points_.list->Get(idx[pos]);
    if (points[m] == nullptr) return 1;
    if (OptionalElement(color.Get(), colours_.list, colorIndex, colorPerVertex.Get(), k, pos,
                        idx[pos], &colours[m]) != 0)
      return 1;
  }
  *count = m;
  return 0;
}

int KsIndexedLineSet::ExecTraverse(KsMatrix*) {
  const int n = coordIndex.GetCount();
  const int* idx = coordIndex.GetElements();
  const KsVec3f* points[KS_SEGMENT_CAPACITY];
  const KsCol* colours[KS_SEGMENT_CAPACITY];
  LastColour last;
  int s = SkipNegative(idx, n, 0);
  for (int k = 0; s < n; ++k) {
    int m = 0;
    if (GetSegment(k, s, points, colours, &m) == 0 && m > 0) {
      KsBeginPrimitive(KS_PRIMITIVE_POLYLINE);
      for (int e = 0; e < m; ++e) {
        last.Apply(colours[e]);
        KsAddVertex(points[e]->x, points[e]->y, points[e]->z);
      }
      KsEndPrimitive();
      // A run longer than the buffer goes on from its last drawn
      // vertex as the same polyline, so no segment goes missing.
      if (m == KS_SEGMENT_CAPACITY && s + m < n && idx[s + m] >= 0) {
        s += m - 1;
        --k;
        continue;
      }
    }
    s = NextRun(idx, n, s);
  }
  return 0;
}

void KsIndexedFaceSet::FillCaches() {
  CachedList(points_, coord.Get(), &KsNode::GetMFVec3f);
  CachedList(colours_, color.Get(), &KsNode::GetMFColor);
  CachedList(normals_, normal.Get(), &KsNode::GetMFVec3f);
  CachedList(texPoints_, texCoord.Get(), &KsNode::GetMFVec2f);
}

int KsIndexedFaceSet::GetSegment(int k, int s, const KsVec3f** points, const KsVec3f** normals,
                                 const KsCol** colours, const KsVec2f** texPoints, int* count,
                                 int capacity) {
  *count = 0;
  FillCaches();
  if (points_.list == nullptr) {
    std::fprintf(stderr, "KsIndexedFaceSet::GetSegment()\n");
    std::fprintf(stderr, "  Coordinate must be specified.\n");
    return 1;
  }
  const int n = coordIndex.GetCount();
  const int* idx = coordIndex.GetElements();
  int m = 0;
  for (int pos = s; pos >= 0 && pos < n && m < capacity; ++pos, ++m) {
    const int ci = idx[pos];
    if (ci == -1) break;
    points[m] = points_.list->Get(ci);
    if (points[m] == nullptr) return 1;
    if (OptionalElement(color.Get(), colours_.list, colorIndex, colorPerVertex.Get(), k, pos, ci,
                        &colours[m]) != 0 ||
        OptionalElement(normal.Get(), normals_.list, normalIndex, normalPerVertex.Get(), k, pos, ci,
                        &normals[m]) != 0 ||
        OptionalElement(texCoord.Get(), texPoints_.list, texCoordIndex, KS_TRUE, k, pos, ci,
                        &texPoints[m]) != 0)
      return 1;
  }
  *count = m;
  return 0;
}

int KsIndexedFaceSet::ExecTraverse(KsMatrix*) {
  const int n = coordIndex.GetCount();
  const int* idx = coordIndex.GetElements();
  int s = SkipNegative(idx, n, 0);
  FaceRoom room;
  if (!room.Take(LongestRun(idx, n))) return 0;

  // The first traversal without a normal node computes the corner normals;
  // later ones draw what it stored.
  bool fresh = false;
  if (corners_ == nullptr && normal.Get() == nullptr && n > 0) {
    corners_ = new (std::nothrow) KsVec3f[n];
    if (corners_ != nullptr) {
      cornerCount_ = n;
      fresh = true;
    }
  }

  const KsVec3f** points = room.points;
  const KsVec3f** normals = room.normals;
  const KsCol** colours = room.colours;
  const KsVec2f** texPoints = room.texPoints;
  LastColour last;
  for (int k = 0; s < n; ++k) {
    int m = 0;
    if (GetSegment(k, s, points, normals, colours, texPoints, &m, room.capacity) == 0 && m > 0) {
      KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
      const KsVec3f* lastNormal = nullptr;
      const KsVec3f faceNormal = fresh ? FaceNormal(points, m) : KsVec3f();
      for (int e = 0; e < m; ++e) {
        last.Apply(colours[e]);
        if (normals[e] != nullptr) {
          if (lastNormal == nullptr || !SameVec(*normals[e], *lastNormal))
            KsAddNormal(normals[e]->x, normals[e]->y, normals[e]->z);
          lastNormal = normals[e];
        } else if (colours[e] == nullptr && corners_ != nullptr && s + e < cornerCount_) {
          KsVec3f& stored = corners_[s + e];
          if (fresh) {
            KsTriangleNormal(stored, *points[(e + m - 1) % m], *points[e], *points[(e + 1) % m]);
            // A reflex corner of a concave face turns the other
            // way; its normal must still face the face's front.
            if (stored.Dot(faceNormal) < 0.0f) stored = stored * -1.0f;
            if (stored.SquaredLength() > kMinCornerNormal2)
              KsAddNormal(stored.x, stored.y, stored.z);
          } else {
            KsAddNormal(stored.x, stored.y, stored.z);
          }
        }
        KsAddVertex(points[e]->x, points[e]->y, points[e]->z);
      }
      KsEndPrimitive();
    }
    s = NextRun(idx, n, s);
  }
  return 0;
}
