// Geometric property nodes: the arrays that geometry nodes index into.
// Each keeps its list as its first member (read by KsNode::GetCoord ...).
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/nodes/node_class.h"

class KsCoordinate : public KsNode {
  KS_NODE_CLASS(KsCoordinate)
  KsCoordinate();
  KsNode* NewInstance() override;
  // Marks the cached box stale whenever the points change.
  int InvalidateCache() override;
  // Box of the points, cached; 1 when there are none.
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  KS_FIELD(KsMFVec3f, point, exposedField);

 private:
  int boxStale_ = 1;
  KsVec3f boxMin_;
  KsVec3f boxMax_;
};

class KsNormal : public KsNode {
  KS_NODE_CLASS(KsNormal)
  KsNormal();
  KsNode* NewInstance() override;

  KS_FIELD(KsMFVec3f, vector, exposedField);
};

// One colour list under two member names, "color" and "rgb".
class KsColor : public KsNode {
  KS_NODE_CLASS(KsColor)
  KsColor();
  KsNode* NewInstance() override;

  KS_FIELD(KsMFColor, color, exposedField);
};

class KsTextureCoordinate : public KsNode {
  KS_NODE_CLASS(KsTextureCoordinate)
  KsTextureCoordinate();
  KsNode* NewInstance() override;

  KS_FIELD(KsMFVec2f, point, exposedField);
};
