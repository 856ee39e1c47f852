// The primitive solids: Sphere, Box, Cylinder and Cone. Each draws itself
// as polygons through the primitive buffer under the current matrix;
// sphere, cylinder and cone are subdivided by the global tessellation level.
#pragma once

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsSphere : public KsNode {
  KS_NODE_CLASS(KsSphere)
  KsSphere();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  KS_FIELD(KsSFFloat, radius, field, 1.0f);
};

class KsBox : public KsNode {
  KS_NODE_CLASS(KsBox)
  KsBox();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  KS_FIELD(KsSFVec3f, size, field, 2.0f, 2.0f, 2.0f);
};

class KsCylinder : public KsNode {
  KS_NODE_CLASS(KsCylinder)
  KsCylinder();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  KS_FIELD(KsSFBool, bottom, field, KS_TRUE);
  KS_FIELD(KsSFFloat, height, field, 2.0f);
  KS_FIELD(KsSFFloat, radius, field, 1.0f);
  KS_FIELD(KsSFBool, side, field, KS_TRUE);
  KS_FIELD(KsSFBool, top, field, KS_TRUE);
};

class KsCone : public KsNode {
  KS_NODE_CLASS(KsCone)
  KsCone();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

  KS_FIELD(KsSFFloat, bottomRadius, field, 1.0f);
  KS_FIELD(KsSFFloat, height, field, 2.0f);
  KS_FIELD(KsSFBool, side, field, KS_TRUE);
  KS_FIELD(KsSFBool, bottom, field, KS_TRUE);
};
