#include "scenegraph/nodes/geometry/text_node.h"

KS_NODE_CLASS_IMPL(KsText, KsNode)

KsText::KsText() {
    EnsureRecord();
    maxExtent.Set(0.0f);
    RegisterMember("string", &string, 0);
    RegisterMember("fontStyle", &fontStyle, 0);
    RegisterMember("length", &length, 0);
    RegisterMember("maxExtent", &maxExtent, 0);
    RegisterDone();
}
