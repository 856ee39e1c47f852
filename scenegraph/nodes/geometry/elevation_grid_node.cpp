#include "scenegraph/nodes/geometry/elevation_grid_node.h"

KS_NODE_CLASS_IMPL(KsElevationGrid, KsNode)

KsElevationGrid::KsElevationGrid() {
  EnsureRecord();
  RegisterDone();
}
