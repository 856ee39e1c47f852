// Queries of the pick tree: nearest first, equal depths in the order of
// registration, counting the shapes of the admitted kinds under the point.
#include <cstdint>
#include <cstdlib>

#include "graphics/geometry/polygon_geometry.h"
#include "graphics/picking/pick_internal.h"

namespace {

constexpr int kLineReach = 2;  // pixels either side of a line

// Nearest-first order is right subtree, node, left subtree; walked through
// the parent links, since a tree of depths that arrive in order is a chain
// as long as the frame's registrations.
PwPickItem* Rightmost(PwPickItem* node) {
  while (node->right != nullptr) node = node->right;
  return node;
}

PwPickItem* First() {
  PwPickItem* root = PwPickRoot();
  return root == nullptr ? nullptr : Rightmost(root);
}

PwPickItem* Next(PwPickItem* node) {
  if (node->left != nullptr) return Rightmost(node->left);
  while (node->parent != nullptr && node->parent->left == node) node = node->parent;
  return node->parent;
}

// Saturated screen values reach 2^30: compare in 64 bits.
bool InBox(const PwPickItem* item, PwPoint2 p, int grow) {
  const std::int64_t x = p.x, y = p.y;
  return x >= std::int64_t{item->min_x} - grow && x <= std::int64_t{item->max_x} + grow &&
         y >= std::int64_t{item->min_y} - grow && y <= std::int64_t{item->max_y} + grow;
}

bool Contains(const PwPickItem* item, PwPoint2 p) {
  switch (item->kind) {
    case kPwPickKindPoint: {
      const std::int64_t dx = std::llabs(std::int64_t{p.x} - item->centre_x);
      const std::int64_t dy = std::llabs(std::int64_t{p.y} - item->centre_y);
      return dx < item->radius && dy < item->radius;
    }
    case kPwPickKindPolygon: {
      if (!InBox(item, p, 0)) return false;
      const PwPointList2 polygon = {item->count, item->vertices};
      const PwVec2 q = {static_cast<float>(p.x), static_cast<float>(p.y)};
      return PwInsidePolygon2(&polygon, &q) == 1;
    }
    case kPwPickKindLine: {
      if (!InBox(item, p, kLineReach)) return false;
      const PwRay2 line = {item->start, item->delta};
      const PwVec2 q = {static_cast<float>(p.x), static_cast<float>(p.y)};
      return PwDistanceToLine2(&line, &q) <= static_cast<float>(kLineReach);
    }
    default: return false;
  }
}

int Find(int kinds, int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n) {
  int k = n < 1 ? 1 : n;
  for (PwPickItem* item = First(); item != nullptr; item = Next(item)) {
    if ((item->kind & kinds) == 0 || !Contains(item, point)) continue;
    if (--k > 0) continue;
    int* outs[4] = {id1, id2, id3, id4};
    for (int i = 0; i < 4; ++i) {
      if (outs[i] != nullptr) *outs[i] = item->ids[i];
    }
    return 1;
  }
  return 0;
}

}  // namespace

int PwPickFind(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n) {
  return Find(kPwPickKindPoint | kPwPickKindPolygon | kPwPickKindLine, id1, id2, id3, id4, point,
              n);
}

int PwPickFindPoint(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n) {
  return Find(kPwPickKindPoint, id1, id2, id3, id4, point, n);
}

int PwPickFindPolygon(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n) {
  return Find(kPwPickKindPolygon, id1, id2, id3, id4, point, n);
}

int PwPickFindLine(int* id1, int* id2, int* id3, int* id4, PwPoint2 point, int n) {
  return Find(kPwPickKindLine, id1, id2, id3, id4, point, n);
}
