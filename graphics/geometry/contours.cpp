// Contour operations in the outline's plane frame: bridging holes into the
// outline, triangulating the result, convexity and convex pieces.
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "graphics/geometry/plane_frame.h"
#include "graphics/geometry/polygon_geometry.h"
#include "graphics/files/pw_alloc.h"
#include "graphics/math/vec_inline.h"

namespace {

constexpr float kTol = 0.0001f;

using Poly = std::vector<PwVec2>;

float Cross(PwVec2 a, PwVec2 b) { return a.x * b.y - a.y * b.x; }

PwVec2 Sub(PwVec2 a, PwVec2 b) { return {a.x - b.x, a.y - b.y}; }

bool AtEnd(float t) { return std::fabs(t) <= kTol || std::fabs(t - 1.0f) <= kTol; }

// How segment S (p, p + u) meets E (q, q + v).
enum Relation {
  kSame = 0,
  kParallel = 1,
  kCollinear = 2,
  kTouchingEnds = 3,
  kCrossing = 4,
  kApart = 5,
  kEndOfSOnE = 6,
  kEndOfEOnS = 7,
};

Relation Relate(PwVec2 p, PwVec2 p2, PwVec2 q, PwVec2 q2) {
  const PwVec2 u = Sub(p2, p);
  const PwVec2 v = Sub(q2, q);
  const float uv = Cross(u, v);
  const PwVec2 w = Sub(q, p);
  if (std::fabs(uv) > kTol) {
    const float r = Cross(w, v) / uv;  // along S
    const float t = Cross(w, u) / uv;  // along E
    const bool r_end = AtEnd(r);
    const bool t_end = AtEnd(t);
    if (r_end && t_end) return kTouchingEnds;
    if (t_end && r >= 0.0f && r <= 1.0f) return kEndOfEOnS;
    if (r_end && t >= 0.0f && t <= 1.0f) return kEndOfSOnE;
    if (t < 0.0f || t > 1.0f || r < 0.0f || r > 1.0f) return kApart;
    return kCrossing;
  }
  if ((PwSamePoint(p, q) && PwSamePoint(p2, q2)) || (PwSamePoint(p, q2) && PwSamePoint(p2, q)))
    return kSame;
  if (std::fabs(Cross(u, w)) > kTol) return kParallel;
  return kCollinear;
}

int Occurrences(const Poly& poly, PwVec2 p) {
  int n = 0;
  for (const PwVec2& q : poly) n += PwSamePoint(p, q);
  return n;
}

// A ray from m towards each edge's midpoint in turn; the first usable ray
// with crossings decides by parity.
bool MidpointInside(const Poly& poly, PwVec2 m) {
  const size_t n = poly.size();
  for (size_t i = 0; i < n; ++i) {
    const PwVec2 a = poly[i], b = poly[(i + 1) % n];
    const PwVec2 target = {(a.x + b.x) / 2, (a.y + b.y) / 2};
    const PwVec2 d = Sub(target, m);
    int crossings = 0;
    bool usable = true;
    for (size_t j = 0; j < n && usable; ++j) {
      const PwVec2 q = poly[j], q2 = poly[(j + 1) % n];
      const Relation rel = Relate(m, target, q, q2);
      if (rel == kSame || rel == kCollinear) {
        usable = false;
        break;
      }
      const PwVec2 v = Sub(q2, q);
      const float dv = Cross(d, v);
      if (std::fabs(dv) <= kTol) continue;
      const PwVec2 w = Sub(q, m);
      const float r = Cross(w, v) / dv;
      const float t = Cross(w, d) / dv;
      if (r <= 0.0f) continue;  // behind m: says nothing
      if (AtEnd(t)) {
        usable = false;
        break;
      }
      if (t > 0.0f && t < 1.0f) ++crossings;
    }
    if (usable && crossings > 0) return crossings % 2 == 1;
  }
  return false;
}

bool ValidDiagonal(const Poly& poly, size_t i, size_t j) {
  const PwVec2 a = poly[i], b = poly[j];
  if (Occurrences(poly, a) != 1 || Occurrences(poly, b) != 1) return false;
  const size_t n = poly.size();
  for (size_t k = 0; k < n; ++k) {
    const Relation rel = Relate(a, b, poly[k], poly[(k + 1) % n]);
    if (rel != kParallel && rel != kTouchingEnds && rel != kApart) return false;
  }
  return MidpointInside(poly, {(a.x + b.x) / 2, (a.y + b.y) / 2});
}

float Dist2(PwVec2 a, PwVec2 b) {
  const PwVec2 d = Sub(a, b);
  return d.x * d.x + d.y * d.y;
}

// Shortest valid diagonal: first ends j from 0 up, second ends i from the
// last position down to j + 2; a strictly shorter one replaces.
bool ShortestDiagonal(const Poly& poly, size_t* out_j, size_t* out_i) {
  bool found = false;
  float best = 0.0f;
  const size_t n = poly.size();
  for (size_t j = 0; j + 2 < n; ++j) {
    for (size_t i = n - 1; i >= j + 2; --i) {
      if (!ValidDiagonal(poly, j, i)) continue;
      const float d = Dist2(poly[j], poly[i]);
      if (!found || d < best) {
        found = true;
        best = d;
        *out_j = j;
        *out_i = i;
      }
    }
  }
  return found;
}

// The runs j..i and i..end, 0..j of a split.
std::pair<Poly, Poly> SplitAt(const Poly& poly, size_t j, size_t i) {
  Poly first(poly.begin() + j, poly.begin() + i + 1);
  Poly second(poly.begin() + i, poly.end());
  second.insert(second.end(), poly.begin(), poly.begin() + j + 1);
  return {first, second};
}

struct Frame2 {
  PwPlaneFrame frame;
  std::vector<std::pair<PwVec3, PwVec2>> table;

  PwVec2 Add(const PwVec3& p) {
    const PwVec2 q = PwToPlane(&frame, &p);
    table.push_back({p, q});
    return q;
  }
  PwVec3 Back(PwVec2 q) const {
    for (const auto& e : table)
      if (PwSamePoint(e.second, q)) return e.first;
    return PwVec3{0.0f, 0.0f, 0.0f};
  }
};

bool MakeFrame(Frame2* f, const PwPointList3& outline) {
  if (outline.count < 3 || outline.points == nullptr) return false;
  PwVec3 normal;
  if (PwPolygonNormal(&normal, outline.count, outline.points) == 0) return false;
  // Collinear points yield a zero normal: there is no plane.
  if (normal.x * normal.x + normal.y * normal.y + normal.z * normal.z <= kTol * kTol) return false;
  PwVec3 forward;
  PwPerpendicular(&forward, &normal);
  const PwVec3 origin = {0.0f, 0.0f, 0.0f};
  PwMakePlaneFrame(&f->frame, &forward, &normal, &origin);
  return true;
}

Poly ToPlane(Frame2* f, const PwPointList3& list) {
  Poly out;
  if (list.points == nullptr) return out;
  for (int i = 0; i < list.count; ++i) out.push_back(f->Add(list.points[i]));
  return out;
}

bool BridgeValid(const Poly& outline, const std::vector<Poly>& holes, PwVec2 a, PwVec2 b) {
  if (Occurrences(outline, a) != 1) return false;
  auto clear = [&](const Poly& c) {
    for (size_t k = 0; k < c.size(); ++k) {
      const Relation rel = Relate(a, b, c[k], c[(k + 1) % c.size()]);
      if (rel != kParallel && rel != kCollinear && rel != kTouchingEnds && rel != kApart)
        return false;
    }
    return true;
  };
  if (!clear(outline)) return false;
  for (const Poly& h : holes)
    if (!clear(h)) return false;
  return true;
}

// Splices every hole into the outline through its shortest valid bridge.
bool BridgeHoles(Poly* outline, std::vector<Poly> holes) {
  while (!holes.empty()) {
    bool found = false;
    float best = 0.0f;
    size_t bk = 0, bh = 0, bl = 0;
    for (size_t k = 0; k < outline->size(); ++k) {
      for (size_t h = 0; h < holes.size(); ++h) {
        for (size_t l = 0; l < holes[h].size(); ++l) {
          const float d = Dist2((*outline)[k], holes[h][l]);
          if (found && !(d < best)) continue;
          if (!BridgeValid(*outline, holes, (*outline)[k], holes[h][l])) continue;
          found = true;
          best = d;
          bk = k;
          bh = h;
          bl = l;
        }
      }
    }
    if (!found) return false;
    const Poly& hole = holes[bh];
    Poly merged(outline->begin(), outline->begin() + bk + 1);
    for (size_t s = 0; s <= hole.size(); ++s) merged.push_back(hole[(bl + s) % hole.size()]);
    merged.insert(merged.end(), outline->begin() + bk, outline->end());
    *outline = std::move(merged);
    holes.erase(holes.begin() + bh);
  }
  return true;
}

bool Prepare(Frame2* f, Poly* outline, int contour_count, const PwPointList3* contours) {
  if (contour_count < 1 || contours == nullptr || !MakeFrame(f, contours[0])) return false;
  *outline = ToPlane(f, contours[0]);
  std::vector<Poly> holes;
  for (int c = 1; c < contour_count; ++c) holes.push_back(ToPlane(f, contours[c]));
  return BridgeHoles(outline, std::move(holes));
}

// Vertices that repeat their predecessor or make no turn are left out.
Poly ProperTurns(const Poly& poly) {
  Poly out;
  const size_t n = poly.size();
  for (size_t i = 0; i < n; ++i) {
    const PwVec2 prev = poly[(i + n - 1) % n], cur = poly[i], next = poly[(i + 1) % n];
    if (PwSamePoint(cur, prev)) continue;
    if (std::fabs(Cross(Sub(cur, prev), Sub(next, cur))) <= kTol) continue;
    out.push_back(cur);
  }
  return out;
}

bool Convex2(const Poly& input) {
  if (input.size() <= 3) return true;
  const Poly poly = ProperTurns(input);
  const size_t n = poly.size();
  if (n <= 3) return true;
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = i + 2; j < n; ++j) {
      if (i == 0 && j == n - 1) continue;
      if (!ValidDiagonal(poly, i, j)) return false;
    }
  }
  return true;
}

}  // namespace

int PwMergeContours(PwPointList3* out, int contour_count, const PwPointList3* contours) {
  if (out == nullptr) return 0;
  out->count = 0;
  out->points = nullptr;
  Frame2 f;
  Poly outline;
  if (!Prepare(&f, &outline, contour_count, contours)) return 0;
  std::vector<PwVec3> pts;
  for (const PwVec2& q : outline) pts.push_back(f.Back(q));
  if (PwCopyPoints3(out, static_cast<int>(pts.size()), pts.data()) == 0) {
    out->count = 0;
    return 0;
  }
  return 1;
}

int PwTriangulateHoles(int* out_count, PwVec3** out_triangles, int contour_count,
                       const PwPointList3* contours) {
  *out_count = 0;
  *out_triangles = nullptr;
  Frame2 f;
  Poly outline;
  if (!Prepare(&f, &outline, contour_count, contours)) return 0;
  std::vector<PwVec3> tris;
  std::vector<Poly> work = {outline};
  while (!work.empty()) {
    Poly poly = std::move(work.back());
    work.pop_back();
    if (poly.size() < 3) return 0;
    if (poly.size() == 3) {
      for (const PwVec2& q : poly) tris.push_back(f.Back(q));
      continue;
    }
    size_t j = 0, i = 0;
    if (!ShortestDiagonal(poly, &j, &i)) return 0;
    auto halves = SplitAt(poly, j, i);
    work.push_back(std::move(halves.second));
    work.push_back(std::move(halves.first));
  }
  auto* block = static_cast<PwVec3*>(PwAlloc(sizeof(PwVec3) * tris.size()));
  if (block == nullptr && !tris.empty()) return 0;
  for (size_t k = 0; k < tris.size(); ++k) block[k] = tris[k];
  *out_triangles = block;
  *out_count = static_cast<int>(tris.size() / 3);
  return 1;
}

int PwIsConvexPolygon(const PwPointList3* polygon) {
  if (polygon == nullptr) return 0;
  if (polygon->count <= 3) return 1;
  Frame2 f;
  if (!MakeFrame(&f, *polygon)) return 0;
  return Convex2(ToPlane(&f, *polygon)) ? 1 : 0;
}

int PwConvexPieces(int* out_count, PwPointList3** out_pieces, const PwPointList3* polygon) {
  *out_count = 0;
  *out_pieces = nullptr;
  if (polygon == nullptr) return 0;
  Frame2 f;
  if (!MakeFrame(&f, *polygon)) return 0;
  std::vector<Poly> pieces;
  std::vector<Poly> work = {ToPlane(&f, *polygon)};
  while (!work.empty()) {
    Poly poly = std::move(work.back());
    work.pop_back();
    if (Convex2(poly)) {
      pieces.push_back(std::move(poly));
      continue;
    }
    size_t j = 0, i = 0;
    if (!ShortestDiagonal(poly, &j, &i)) return 0;
    auto halves = SplitAt(poly, j, i);
    work.push_back(std::move(halves.second));
    work.push_back(std::move(halves.first));
  }
  auto* lists = static_cast<PwPointList3*>(PwAlloc(sizeof(PwPointList3) * pieces.size()));
  if (lists == nullptr) return 0;
  for (size_t k = 0; k < pieces.size(); ++k) {
    std::vector<PwVec3> pts;
    for (const PwVec2& q : pieces[k]) pts.push_back(f.Back(q));
    if (PwCopyPoints3(&lists[k], static_cast<int>(pts.size()), pts.data()) == 0) {
      for (size_t m = 0; m < k; ++m) PwFreePoints3(&lists[m]);
      PwFree(lists);
      return 0;
    }
  }
  *out_pieces = lists;
  *out_count = static_cast<int>(pieces.size());
  return 1;
}
