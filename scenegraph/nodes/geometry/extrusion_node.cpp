#include "scenegraph/nodes/geometry/extrusion_node.h"

#include <initializer_list>

KS_NODE_CLASS_IMPL(KsExtrusion, KsNode)

KsExtrusion::KsExtrusion() {
  EnsureRecord();
  RegisterDone();
}
