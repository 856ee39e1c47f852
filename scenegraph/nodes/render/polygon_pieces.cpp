#include "scenegraph/nodes/render/polygon_pieces.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Hull area less the polygon's, as a share of the hull's, below which the
// polygon counts as convex: a disc written with six decimals has dents of
// a millionth; a fan of such a polygon is off by no more than its dents.
constexpr double kConvexSlack = 1e-4;
// Inside tests one ear clipping may make before the rest goes on as a fan.
constexpr long long kEarClipBudget = 1LL << 26;

long long& Work() {
  static long long work = 0;
  return work;
}

struct P2 {
  double x, y;
};

double Cross(const P2& o, const P2& a, const P2& b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Twice the signed area.
double Area2(int n, const P2* p) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) {
    const P2& a = p[i];
    const P2& b = p[i + 1 < n ? i + 1 : 0];
    s += a.x * b.y - b.x * a.y;
  }
  return s;
}

// Twice the area of the convex hull (monotone chain); order is scratch.
double HullArea2(int n, const P2* p, int* order, int* hull) {
  for (int i = 0; i < n; ++i) order[i] = i;
  std::sort(order, order + n,
            [p](int a, int b) { return p[a].x < p[b].x || (p[a].x == p[b].x && p[a].y < p[b].y); });
  int k = 0;
  for (int i = 0; i < n; ++i) {
    while (k >= 2 && Cross(p[hull[k - 2]], p[hull[k - 1]], p[order[i]]) <= 0.0) --k;
    hull[k++] = order[i];
  }
  for (int i = n - 2, low = k + 1; i >= 0; --i) {
    while (k >= low && Cross(p[hull[k - 2]], p[hull[k - 1]], p[order[i]]) <= 0.0) --k;
    hull[k++] = order[i];
  }
  double s = 0.0;
  for (int i = 0; i + 1 < k; ++i) {
    s += p[hull[i]].x * p[hull[i + 1]].y - p[hull[i + 1]].x * p[hull[i]].y;
  }
  return std::fabs(s);
}

// Pieces about ring[0]: each of up to KS_PIECE_VERTICES, the next starting
// at the last one's final vertex, so that they share their edges.
int Fan(int n, const int* ring, KsPieceSink sink, void* context) {
  int piece[KS_PIECE_VERTICES];
  int pieces = 0;
  for (int a = 1; a < n - 1;) {
    const int b = std::min(a + KS_PIECE_VERTICES - 2, n - 1);
    piece[0] = ring[0];
    int m = 1;
    for (int i = a; i <= b; ++i) piece[m++] = ring[i];
    sink(context, piece, m);
    ++pieces;
    a = b;
  }
  return pieces;
}

bool InTriangle(const P2& a, const P2& b, const P2& c, const P2& q, double sign) {
  return Cross(a, b, q) * sign >= 0.0 && Cross(b, c, q) * sign >= 0.0 &&
         Cross(c, a, q) * sign >= 0.0;
}

bool Same(const P2& a, const P2& b) { return a.x == b.x && a.y == b.y; }

struct EarClipper {
  const P2* p;
  int* prev;
  int* next;
  unsigned char* reflex;
  double sign;

  void Classify(int i) { reflex[i] = Cross(p[prev[i]], p[i], p[next[i]]) * sign <= 0.0; }

  // No reflex vertex of the ring lies in the corner's triangle; false
  // also when the budget is spent.
  bool Empty(int i, long long* budget) {
    const int a = prev[i], c = next[i];
    for (int r = next[c]; r != a; r = next[r]) {
      if (--*budget < 0) return false;
      ++Work();
      if (!reflex[r]) continue;
      const P2& q = p[r];
      if (Same(q, p[a]) || Same(q, p[i]) || Same(q, p[c])) continue;
      if (InTriangle(p[a], p[i], p[c], q, sign)) return false;
    }
    return true;
  }
};

// Triangles cut off the ring while ears are found; the rest as a fan.
int EarClip(int n, const P2* p, double sign, int* prev, int* next, unsigned char* reflex, int* ring,
            KsPieceSink sink, void* context) {
  EarClipper e{p, prev, next, reflex, sign};
  for (int i = 0; i < n; ++i) {
    prev[i] = i > 0 ? i - 1 : n - 1;
    next[i] = i + 1 < n ? i + 1 : 0;
  }
  for (int i = 0; i < n; ++i) e.Classify(i);
  long long budget = kEarClipBudget;
  int pieces = 0, m = n, i = 0, misses = 0;
  while (m > 3 && misses < m && budget > 0) {
    const int a = prev[i], c = next[i];
    const double turn = Cross(p[a], p[i], p[c]) * sign;
    // A corner without area changes nothing when cut away.
    const bool flat = turn == 0.0;
    if (flat || (turn > 0.0 && e.Empty(i, &budget))) {
      if (!flat) {
        const int tri[3] = {a, i, c};
        sink(context, tri, 3);
        ++pieces;
      }
      next[a] = c;
      prev[c] = a;
      --m;
      e.Classify(a);
      e.Classify(c);
      i = a;
      misses = 0;
    } else {
      i = c;
      ++misses;
    }
  }
  // Ring order from the last corner looked at.
  for (int k = 0; k < m; ++k, i = next[i]) ring[k] = i;
  if (m == 3 && Cross(p[ring[0]], p[ring[1]], p[ring[2]]) == 0.0) return pieces;
  return pieces + Fan(m, ring, sink, context);
}

}  // namespace

int KsSplitPolygon(int count, const PwVec3* v, KsPieceSink sink, void* context) {
  if (count < 3 || v == nullptr || sink == nullptr) return 0;
  const std::size_t n = static_cast<std::size_t>(count);
  // Sizes that a 32-bit size_t cannot hold are refused, not wrapped.
  if (n > SIZE_MAX / (3 * sizeof(int)) || n > SIZE_MAX / sizeof(P2)) return 0;
  // Flattened along the axis that Newell's normal leans on most.
  double nx = 0, ny = 0, nz = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const PwVec3& a = v[i];
    const PwVec3& b = v[i + 1 < n ? i + 1 : 0];
    nx += (static_cast<double>(a.y) - b.y) * (static_cast<double>(a.z) + b.z);
    ny += (static_cast<double>(a.z) - b.z) * (static_cast<double>(a.x) + b.x);
    nz += (static_cast<double>(a.x) - b.x) * (static_cast<double>(a.y) + b.y);
  }
  const int drop = std::fabs(nx) >= std::fabs(ny) && std::fabs(nx) >= std::fabs(nz)
                       ? 0
                       : (std::fabs(ny) >= std::fabs(nz) ? 1 : 2);

  P2* p = static_cast<P2*>(std::malloc(n * sizeof(P2)));
  int* ints = static_cast<int*>(std::malloc(3 * n * sizeof(int)));
  unsigned char* flags = static_cast<unsigned char*>(std::malloc(n));
  int pieces = 0;
  if (p != nullptr && ints != nullptr && flags != nullptr) {
    bool finite = true;
    for (std::size_t i = 0; i < n; ++i) {
      const double x = v[i].x, y = v[i].y, z = v[i].z;
      finite = finite && std::isfinite(x) && std::isfinite(y) && std::isfinite(z);
      p[i] = drop == 0 ? P2{y, z} : (drop == 1 ? P2{z, x} : P2{x, y});
    }
    // (Points beyond float's range have no order to sort the hull by.)
    const double area = finite ? Area2(count, p) : 0.0;
    // The hull takes up to count + 1 entries after the sort order.
    const double hull = finite && std::isfinite(area) ? HullArea2(count, p, ints, ints + n) : 0.0;
    int* ring = ints + 2 * n;
    for (int i = 0; i < count; ++i) ring[i] = i;
    const bool convex = !(hull > 0.0) || std::fabs(hull - std::fabs(area)) <= kConvexSlack * hull;
    if (convex || count > KS_EAR_CLIP_VERTICES) {
      pieces = Fan(count, ring, sink, context);
    } else {
      pieces =
          EarClip(count, p, area > 0.0 ? 1.0 : -1.0, ints, ints + n, flags, ring, sink, context);
    }
  }
  std::free(p);
  std::free(ints);
  std::free(flags);
  return pieces;
}

long long KsEarClipWork() { return Work(); }
void KsResetEarClipWork() { Work() = 0; }
