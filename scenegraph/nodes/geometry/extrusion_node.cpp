#include "scenegraph/nodes/geometry/extrusion_node.h"

#include <initializer_list>

KS_NODE_CLASS_IMPL(KsExtrusion, KsNode)

KsExtrusion::KsExtrusion() {
    EnsureRecord();
    beginCap.Set(KS_TRUE);
    ccw.Set(KS_TRUE);
    convex.Set(KS_TRUE);
    creaseAngle.Set(0.0f);
    const KsVec2f square[] = {KsVec2f(1, 1), KsVec2f(1, -1), KsVec2f(-1, -1), KsVec2f(-1, 1),
                              KsVec2f(1, 1)};
    crossSection.Set(5, square);
    endCap.Set(KS_TRUE);
    const KsRotation none(0, 1, 0, 0);
    orientation.Set(1, &none);
    const KsVec2f unit(1, 1);
    scale.Set(1, &unit);
    solid.Set(KS_TRUE);
    const KsVec3f upright[] = {KsVec3f(0, 0, 0), KsVec3f(0, 1, 0)};
    spine.Set(2, upright);
    RegisterMember("beginCap", &beginCap, 1);
    RegisterMember("ccw", &ccw, 1);
    RegisterMember("convex", &convex, 1);
    RegisterMember("creaseAngle", &creaseAngle, 1);
    RegisterMember("crossSection", &crossSection, 1);
    RegisterMember("endCap", &endCap, 1);
    RegisterMember("orientation", &orientation, 1);
    RegisterMember("scale", &scale, 1);
    RegisterMember("solid", &solid, 1);
    RegisterMember("spine", &spine, 1);
    for (const char* name : {"crossSection", "orientation", "scale", "spine"})
        RegisterFieldEventIn(name);
    RegisterDone();
}
