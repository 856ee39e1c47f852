// Drawing of Extrusion. Sections are computed in spine order, carrying the
// last usable segment direction forward, so a spine with runs of repeated
// points costs no more than one pass.
#include <algorithm>
#include <cmath>
#include <utility>

#include "scenegraph/core/math/matrix.h"
#include "scenegraph/nodes/geometry/extrusion_node.h"
#include "scenegraph/nodes/render/primitive_buffer.h"

namespace {

// Segments this short (squared) have no direction of their own.
constexpr float kDegenerate2 = 0.000001f;
constexpr float kOneDegree = 3.14159265f / 180.0f;

// The segment that gives spine point i its direction: the one starting
// there, or the last one for the last point.
KsVec3f SegmentAt(const KsVec3f* s, int count, int i) {
  const int k = i < count - 1 ? i : count - 2;
  return s[k + 1] - s[k];
}

// The two section buffers, made on first use and kept for the process.
KsVec3f* SectionBuffer(int which) {
  static KsVec3f buffers[2][KS_SECTION_CAPACITY];
  return buffers[which];
}

}  // namespace

int KsExtrusion::SectionAt(int i, const KsVec3f* fallback, KsVec3f* out, int capacity, int* count) {
  *count = 0;
  const int S = spine.GetCount();
  // A cross-section holds at most KS_SECTION_CAPACITY points: the rest
  // are not drawn.
  const int m = std::min(crossSection.GetCount(), KS_SECTION_CAPACITY);
  if (S < 2 || i < 0 || i >= S || m > capacity) return 1;
  const KsVec3f* s = spine.GetElements();
  KsVec3f d = SegmentAt(s, S, i);
  if (d.SquaredLength() <= kDegenerate2) {
    if (fallback == nullptr) return 1;
    d = *fallback;
  }

  KsVec2f k(1, 1);
  const int scales = scale.GetCount();
  if (scales == 1) {
    k = scale.GetElements()[0];
  } else if (i < scales) {
    k = scale.GetElements()[i];
  }
  // The cross-section lies in the section's x-z plane as written; its
  // y axis is the spine's direction.
  const KsVec2f* cs = crossSection.GetElements();
  for (int p = 0; p < m; ++p) out[p] = KsVec3f(cs[p].x * k.x, 0.0f, cs[p].y * k.y);

  if (std::fabs(d.SquaredLength() - 1.0f) >= 0.01f) d.Normalize();
  float c = d.y;
  if (c > 1.0f) c = 1.0f;
  if (c < -1.0f) c = -1.0f;
  const float theta = std::acos(c);
  if (theta > kOneDegree) {
    // y x d: the shortest turn of +y onto d.
    KsVec3f axis(d.z, 0.0f, -d.x);
    // Straight down -y any axis across it turns +y onto d.
    if (axis.SquaredLength() < 1e-12f) axis = KsVec3f(1.0f, 0.0f, 0.0f);
    KsMatrix turn;
    turn.Rotate(KsRotation(axis.x, axis.y, axis.z, theta));
    for (int p = 0; p < m; ++p) {
      KsVec3f r;
      turn.Apply(r, out[p], 0.0f);
      out[p] = r;
    }
  }
  const KsVec3f& place = s[i];
  for (int p = 0; p < m; ++p) out[p] = out[p] + place;
  *count = m;
  return 0;
}

int KsExtrusion::ComputeCrossSection(int i, KsVec3f* out, int capacity, int* count) {
  *count = 0;
  const int S = spine.GetCount();
  if (S < 2 || i < 0 || i >= S) return 1;
  const KsVec3f* s = spine.GetElements();
  for (int j = i - 1; j >= 0; --j) {
    KsCountDrawSteps(1);
    const KsVec3f d = s[j + 1] - s[j];
    if (d.SquaredLength() > kDegenerate2) return SectionAt(i, &d, out, capacity, count);
  }
  return SectionAt(i, nullptr, out, capacity, count);
}

int KsExtrusion::ExecTraverse(KsMatrix*) {
  const int S = spine.GetCount();
  if (S < 2) return 0;
  if (crossSection.GetCount() == 0) return 0;
  const KsVec3f* s = spine.GetElements();
  // Direction of the last usable segment before the section being made.
  KsVec3f fallback;
  bool haveFallback = false;
  int folded = 0;
  auto section = [&](int i, KsVec3f* out, int* m) {
    for (; folded < i && folded < S - 1; ++folded) {
      KsCountDrawSteps(1);
      const KsVec3f d = s[folded + 1] - s[folded];
      if (d.SquaredLength() > kDegenerate2) {
        fallback = d;
        haveFallback = true;
      }
    }
    return SectionAt(i, haveFallback ? &fallback : nullptr, out, KS_SECTION_CAPACITY, m);
  };

  KsVec3f* a = SectionBuffer(0);
  KsVec3f* b = SectionBuffer(1);
  int m = 0;
  int i0 = 0;
  while (i0 < S - 1 && section(i0, b, &m) != 0) ++i0;
  if (i0 == S - 1) return 0;

  const bool beginCapped = beginCap.Get() == KS_TRUE;
  const bool endCapped = endCap.Get() == KS_TRUE;
  for (int i = i0; i < S - 1; ++i) {
    std::swap(a, b);
    if (section(i + 1, b, &m) != 0) continue;
    // A cross-section counter-clockwise seen from the spine's direction
    // gives sides and caps that face outward.
    for (int j = 1; j <= m; ++j) {
      const KsVec3f* q[4] = {&a[j - 1], &a[j % m], &b[j % m], &b[j - 1]};
      KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
      for (const KsVec3f* v : q) KsAddVertex(v->x, v->y, v->z);
      KsEndPrimitive();
    }
    if (i == i0 && beginCapped && m >= 3) {
      KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
      for (int p = m - 1; p >= 0; --p) KsAddVertex(a[p].x, a[p].y, a[p].z);
      KsEndPrimitive();
    }
    if (i + 2 == S && endCapped && m >= 3) {
      KsBeginPrimitive(KS_PRIMITIVE_POLYGON);
      for (int p = 0; p < m; ++p) KsAddVertex(b[p].x, b[p].y, b[p].z);
      KsEndPrimitive();
    }
  }
  return 0;
}
