// Drawing of the grouping nodes.
#include <cstdio>

#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scenegraph/nodes/render/render_traversal.h"

int KsGroup::ExecTraverse(KsMatrix* matrix) { return KsTraverseGroup(this, &children, matrix); }

int KsAnchor::ExecTraverse(KsMatrix* matrix) {
  KsTraverseGroup(this, &children, matrix);
  return 0;
}

int KsCollision::ExecTraverse(KsMatrix* matrix) {
  KsTraverseGroup(this, &children, matrix);
  return 0;
}

// The children move with the local matrix; a stop signalled below does not
// reach the transform's siblings.
int KsTransform::ExecTraverse(KsMatrix* matrix) {
  KsMatrix local;
  BuildMatrix(&local);
  KsMatrix world;
  if (matrix) world = *matrix;
  world = KsMatrix::Multiply(world, local);

  KsMatrix& current = KsCurrentMatrix();
  const KsMatrix saved = current;
  current = KsMatrix::Multiply(saved, local);
  KsTraverseGroup(this, &children, &world);
  current = saved;
  return 0;
}

// Drawn as a group: the turn toward the viewer is not done.
int KsBillboard::ExecTraverse(KsMatrix* matrix) {
  KsTraverseGroup(this, &children, matrix);
  std::fprintf(stderr, "KsBillboard::ExecTraverse\n");
  std::fprintf(stderr, "  Warning : Not Completed Yet.\n");
  return 0;
}

// Without a bound viewpoint the first level is drawn.
int KsLOD::ExecTraverse(KsMatrix* matrix) {
  KsMatrix identity;
  KsViewpoint* bound = KsViewpoint::GetBound();
  KsNode* chosen =
      SelectLevel(matrix ? *matrix : identity, bound ? &bound->position.Get() : nullptr);
  return KsTraverseNode(chosen, matrix);
}

int KsSwitch::ExecTraverse(KsMatrix* matrix) { return KsTraverseNode(GetChosen(), matrix); }
