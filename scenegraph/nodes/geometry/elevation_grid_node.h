// ElevationGrid: a height field over an xDimension x zDimension grid, two
// triangles per cell.
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsElevationGrid : public KsNode {
  KS_NODE_CLASS(KsElevationGrid)
  KsElevationGrid();
  // Every cell whose four heights are in the list, as two two-sided
  // triangles without normals, coloured by a Color node per vertex or per
  // cell when it has the entry (else in the current colour). Cells are
  // visited in height-index order, so the first one missing its heights
  // ends the grid: the work never exceeds the list the file gave.
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFNode, color, exposedField);
  KS_FIELD(KsSFNode, normal, exposedField);
  KS_FIELD(KsSFNode, texCoord, exposedField);
  KS_FIELD(KsMFFloat, height, settableField);
  KS_FIELD(KsSFBool, colorPerVertex, field, KS_TRUE);
  KS_FIELD(KsSFFloat, creaseAngle, field, 0.0f);
  KS_FIELD(KsSFBool, normalPerVertex, field, KS_TRUE);
  KS_FIELD(KsSFBool, solid, field, KS_TRUE);
  KS_FIELD(KsSFInt, xDimension, field, 0);
  KS_FIELD(KsSFFloat, xSpacing, field, 0.0f);
  KS_FIELD(KsSFInt, zDimension, field, 0);
  KS_FIELD(KsSFFloat, zSpacing, field, 0.0f);
};
