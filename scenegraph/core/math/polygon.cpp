#include "scenegraph/core/math/polygon.h"

#include <cmath>

namespace {

const float kSameTolerance = 0.001f;
const float kTurnTolerance = 0.001f;

bool Same(const KsVec3f& a, const KsVec3f& b) {
  return std::fabs(a.x - b.x) <= kSameTolerance && std::fabs(a.y - b.y) <= kSameTolerance &&
         std::fabs(a.z - b.z) <= kSameTolerance;
}

}  // namespace

int KsTriangleNormal(KsVec3f& result, const KsVec3f& p0, const KsVec3f& p1, const KsVec3f& p2) {
  result = (p1 - p0).Cross(p2 - p1);
  return 0;
}

int KsIsConcavePolygon(int count, const KsVec3f* points) {
  if (points == nullptr || count <= 3) return 0;
  int first = 0;
  int last = count - 1;  // inclusive
  while (last - first + 1 > 3 && Same(points[first], points[first + 1])) ++first;
  while (last - first + 1 > 3 && Same(points[last], points[last - 1])) --last;
  if (last - first + 1 > 3 && Same(points[last], points[first])) --last;
  if (last - first + 1 <= 3) return 0;

  KsVec3f prevPoint = points[last];
  KsVec3f prevEdge = points[last] - points[last - 1];
  KsVec3f reference;
  bool haveReference = false;
  for (int i = first; i <= last; ++i) {
    if (Same(points[i], prevPoint)) continue;
    KsVec3f edge = points[i] - prevPoint;
    KsVec3f turn = prevEdge.Cross(edge);
    prevEdge = edge;
    prevPoint = points[i];
    if (turn.SquaredLength() <= kTurnTolerance) continue;
    if (!haveReference) {
      reference = turn;
      haveReference = true;
    } else if (turn.Dot(reference) < 0.0f) {
      return 1;
    }
  }
  return 0;
}
