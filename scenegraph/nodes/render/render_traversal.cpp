#include "scenegraph/nodes/render/render_traversal.h"

#include <cstring>

#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/events/sensor_table.h"

namespace {

struct TraversePath {
  KsNode* nodes[KS_MAX_TRAVERSE_DEPTH];
  int depth = 0;
};

TraversePath& Path() {
  static TraversePath path;
  return path;
}

constexpr int kImageTextureWarnings = 5;

int& ImageTextureWarnings() {
  static int left = kImageTextureWarnings;
  return left;
}

struct FrameCounts {
  int shapes = 0;
  int visits = 0;
  int cut = 0;
};

FrameCounts& Frame() {
  static FrameCounts counts;
  return counts;
}

// Counts one node entered; false when the frame has met too many.
bool TakeVisit(KsNode* node) {
  FrameCounts& f = Frame();
  if (f.visits >= KS_MAX_FRAME_VISITS) {
    f.cut = 1;
    return false;
  }
  const bool shape = std::strcmp(node->GetClassName(), "KsShape") == 0;
  if (shape && f.shapes >= KS_MAX_FRAME_SHAPES) {
    f.cut = 1;
    return false;
  }
  ++f.visits;
  if (shape) ++f.shapes;
  return true;
}

bool OnPath(const TraversePath& p, const KsNode* node) {
  for (int i = 0; i < p.depth; ++i) {
    if (p.nodes[i] == node) return true;
  }
  return false;
}

}  // namespace

int KsTraverseNode(KsNode* node, KsMatrix* matrix) {
  if (!node) return 0;
  if (!matrix) {
    KsMatrix identity;
    return KsTraverseNode(node, &identity);
  }
  TraversePath& p = Path();
  if (p.depth >= KS_MAX_TRAVERSE_DEPTH || OnPath(p, node)) return 0;
  if (!TakeVisit(node)) return 0;
  p.nodes[p.depth++] = node;
  int result = node->ExecTraverse(matrix);
  --p.depth;
  return result;
}

int KsTraverseGroup(KsNode* group, KsMFNode* children, KsMatrix* matrix) {
  if (!children) return 0;
  if (!matrix) {
    KsMatrix identity;
    return KsTraverseGroup(group, children, &identity);
  }

  // The sensor is looked up before anything is drawn, so siblings listed
  // before it are pickable too.
  int registered = 0;
  int previous = -1;
  for (int i = 0; i < children->GetCount(); ++i) {
    KsNode* child = children->GetElements()[i];
    if (child && child->IsPointingSensor() == KS_TRUE) {
      int id = KsSensorTable::Add(KsSensorDescriptor(child, group, *matrix));
      previous = KsSensorTable::SwapCurrent(id);
      registered = 1;
      break;
    }
  }

  int result = 0;
  // The count is read every pass: a child's events may change the list.
  for (int i = 0; i < children->GetCount(); ++i) {
    KsNode* child = children->GetElements()[i];
    if (!child) continue;
    result = KsTraverseNode(child, matrix);
    if (result != 0) break;
  }

  if (registered) KsSensorTable::SetCurrent(previous);
  return result;
}

void KsStartTraversalFrame() { Frame() = FrameCounts(); }
int KsTraversalShapeVisits() { return Frame().shapes; }
int KsTraversalWasCut() { return Frame().cut; }

void KsResetRenderTraversal() {
  Path().depth = 0;
  Frame() = FrameCounts();
  ImageTextureWarnings() = kImageTextureWarnings;
}

int KsTakeImageTextureWarning() {
  int& left = ImageTextureWarnings();
  if (left <= 0) return 0;
  --left;
  return 1;
}
