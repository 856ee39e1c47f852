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

    KsSFFloat radius;
};

class KsBox : public KsNode {
    KS_NODE_CLASS(KsBox)
    KsBox();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;
    int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

    KsSFVec3f size;
};

class KsCylinder : public KsNode {
    KS_NODE_CLASS(KsCylinder)
    KsCylinder();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;
    int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

    KsSFBool bottom;
    KsSFFloat height;
    KsSFFloat radius;
    KsSFBool side;
    KsSFBool top;
};

class KsCone : public KsNode {
    KS_NODE_CLASS(KsCone)
    KsCone();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;
    int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;

    KsSFFloat bottomRadius;
    KsSFFloat height;
    KsSFBool side;
    KsSFBool bottom;
};
