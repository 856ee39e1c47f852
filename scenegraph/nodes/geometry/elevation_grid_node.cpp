#include "scenegraph/nodes/geometry/elevation_grid_node.h"

KS_NODE_CLASS_IMPL(KsElevationGrid, KsNode)

KsElevationGrid::KsElevationGrid() {
    EnsureRecord();
    colorPerVertex.Set(KS_TRUE);
    creaseAngle.Set(0.0f);
    normalPerVertex.Set(KS_TRUE);
    solid.Set(KS_TRUE);
    xDimension.Set(0);
    xSpacing.Set(0.0f);
    zDimension.Set(0);
    zSpacing.Set(0.0f);
    RegisterMember("color", &color, 0);
    RegisterMember("normal", &normal, 0);
    RegisterMember("texCoord", &texCoord, 0);
    RegisterMember("height", &height, 1);
    RegisterMember("colorPerVertex", &colorPerVertex, 1);
    RegisterMember("creaseAngle", &creaseAngle, 1);
    RegisterMember("normalPerVertex", &normalPerVertex, 1);
    RegisterMember("solid", &solid, 1);
    RegisterMember("xDimension", &xDimension, 1);
    RegisterMember("xSpacing", &xSpacing, 1);
    RegisterMember("zDimension", &zDimension, 1);
    RegisterMember("zSpacing", &zSpacing, 1);
    RegisterFieldEventIn("height");
    RegisterDone();
}
