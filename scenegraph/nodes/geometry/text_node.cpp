#include "scenegraph/nodes/geometry/text_node.h"

KS_NODE_CLASS_IMPL(KsText, KsNode)

KsText::KsText() {
  EnsureRecord();
  RegisterDone();
}
