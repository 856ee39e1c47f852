// Bounding boxes asked of a whole scene. A node's box is in its own
// coordinates, the same by whichever path it is reached, so one query works
// out the box of a node that several references share only once: a USE
// graph that doubles at each level costs one visit per node, not 2^n.
#pragma once

class KsNode;
class KsVec3f;

// Deepest node whose box is asked, as deep as a frame draws: routes may build
// a scene deeper than any file's text, and the query recurses once a level.
constexpr int KS_MAX_BOX_DEPTH = 2000;

// node->GetBoundingBox(min, max), but answered from the query under way
// when a shared node was already asked (grouping nodes ask their children
// through this). A node met again while its own box is being worked out (a
// graph made cyclic by events) has no box, nor has one deeper than
// KS_MAX_BOX_DEPTH (told once a query).
int KsChildBoundingBox(KsNode* node, KsVec3f* min, KsVec3f* max);

// While it lives, boxes of shared nodes are kept for the query; nested
// scopes share the outermost one's.
class KsBoxQueryScope {
 public:
  KsBoxQueryScope();
  ~KsBoxQueryScope();
  KsBoxQueryScope(const KsBoxQueryScope&) = delete;
  KsBoxQueryScope& operator=(const KsBoxQueryScope&) = delete;

 private:
  int outermost_;
};

// Boxes worked out by the query under way or the last one, and the deepest
// level it reached (for tests).
long KsBoxQueryComputed();
int KsBoxQueryDeepest();
