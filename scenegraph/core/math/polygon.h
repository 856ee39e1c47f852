// Helpers on triangles and closed polygons of KsVec3f points.
#ifndef KS_POLYGON_H
#define KS_POLYGON_H

#include "scenegraph/core/math/vec.h"

// (p1 - p0) x (p2 - p1), not normalised: towards the viewer for points
// counter-clockwise seen from the front.
int KsTriangleNormal(KsVec3f& result, const KsVec3f& p0, const KsVec3f& p1, const KsVec3f& p2);

// 1 when the closed polygon turns both ways, 0 otherwise (also for three
// points or fewer once repeated points are dropped).
int KsIsConcavePolygon(int count, const KsVec3f* points);

#endif
