// The drawing walk shared by the node classes' ExecTraverse: one node under
// the current world matrix, and the group walk with its pickable sensor.
#pragma once

class KsNode;
class KsMFNode;
class KsMatrix;

// Deepest chain of nested traversals; nodes below it are not drawn.
constexpr int KS_MAX_TRAVERSE_DEPTH = 2000;

// node->ExecTraverse(matrix), or 0 without entering it when node is null,
// already on the path being drawn (a graph made cyclic by events) or too deep.
// A null matrix stands for the identity.
int KsTraverseNode(KsNode* node, KsMatrix* matrix);

// The group walk: the first pointing-sensor child makes its descriptor's
// pick id current for all children, which are drawn in order up to the
// first non-zero result; that result (or 0) is returned.
int KsTraverseGroup(KsNode* group, KsMFNode* children, KsMatrix* matrix);

// 1 while fewer than five image-texture warnings were printed (counting
// this one), then 0 for the rest of the process.
int KsTakeImageTextureWarning();

// Image-texture warning counter back to 5 and an empty path. The base
// class's counter is reset by KsNode::ResetGlobals.
void KsResetRenderTraversal();
