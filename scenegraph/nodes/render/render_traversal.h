// The drawing walk shared by the node classes' ExecTraverse: one node under
// the current world matrix, and the group walk with its pickable sensor.
#pragma once

class KsNode;
class KsMFNode;
class KsMatrix;

// Deepest chain of nested traversals; nodes below it are not drawn.
constexpr int KS_MAX_TRAVERSE_DEPTH = 2000;

// Shapes one frame draws at most, and nodes it enters at most: far above
// any real world, so that a small file whose USE graph doubles at each level
// (2^30 paths to one shape) cannot freeze a frame. A frame that meets more
// leaves the rest out.
constexpr int KS_MAX_FRAME_SHAPES = 200000;
constexpr int KS_MAX_FRAME_VISITS = 16 * KS_MAX_FRAME_SHAPES;

// node->ExecTraverse(matrix), or 0 without entering it when node is null,
// already on the path being drawn (a graph made cyclic by events), too deep,
// or past the frame's shapes or visits.
// A null matrix stands for the identity.
int KsTraverseNode(KsNode* node, KsMatrix* matrix);

// The group walk: the first pointing-sensor child makes its descriptor's
// pick id current for all children, which are drawn in order up to the
// first non-zero result; that result (or 0) is returned.
int KsTraverseGroup(KsNode* group, KsMFNode* children, KsMatrix* matrix);

// 1 while fewer than five image-texture warnings were printed (counting
// this one), then 0 for the rest of the process.
int KsTakeImageTextureWarning();

// A frame's traversal begins: no shape or node counted, nothing left out.
void KsStartTraversalFrame();
// Shapes the frame under way (or the last) drew, and 1 when it left nodes
// out because it met too many.
int KsTraversalShapeVisits();
int KsTraversalWasCut();

// Image-texture warning counter back to 5, an empty path, no frame counts. The base
// class's counter is reset by KsNode::ResetGlobals.
void KsResetRenderTraversal();
