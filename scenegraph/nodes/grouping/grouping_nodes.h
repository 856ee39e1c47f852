// Grouping nodes: Group and the classes that behave as one (Inline,
// Transform, Anchor, Collision, Billboard), LOD and Switch.
#pragma once

#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsGroup : public KsNode {
    KS_NODE_CLASS(KsGroup)
    KsGroup();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;
    // Union of the children's boxes; 1 when none has one.
    int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;
    KsMFNode* GetChildren() override;
    // addChildren and removeChildren, each a change of children.
    int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

    KsMFNode children;
    KsSFVec3f bboxCenter;
    KsSFVec3f bboxSize;
};

// Its url is kept, never loaded: it holds only its children.
class KsInline : public KsGroup {
    KS_NODE_CLASS(KsInline)
    KsInline();

    KsMFString url;
};

class KsTransform : public KsGroup {
    KS_NODE_CLASS(KsTransform)
    KsTransform();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;
    // The children's box mapped through the local matrix.
    int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;
    // The local matrix: T(translation) T(center) R(rotation)
    // R(scaleOrientation) S(scale) R(scaleOrientation)^-1 T(-center).
    void BuildMatrix(KsMatrix* matrix) const;

    KsSFVec3f center;
    KsSFRotation rotation;
    KsSFVec3f scale;
    KsSFRotation scaleOrientation;
    KsSFVec3f translation;
};

class KsAnchor : public KsGroup {
    KS_NODE_CLASS(KsAnchor)
    KsAnchor();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;

    KsSFString description;
    KsMFString parameter;
    KsMFString url;
};

class KsCollision : public KsGroup {
    KS_NODE_CLASS(KsCollision)
    KsCollision();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;

    KsSFBool collide;
    KsSFNode proxy;
};

class KsBillboard : public KsGroup {
    KS_NODE_CLASS(KsBillboard)
    KsBillboard();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;

    KsSFVec3f axisOfRotation;
};

class KsLOD : public KsNode {
    KS_NODE_CLASS(KsLOD)
    KsLOD();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;
    // The level to draw under the current matrix, seen from the bound
    // viewpoint's position (null: no viewpoint bound, the first level);
    // null when the level list has no entry for the distance.
    KsNode* SelectLevel(const KsMatrix& current, const KsVec3f* viewpointPosition);

    KsMFNode level;
    KsSFVec3f center;
    KsMFFloat range;
};

class KsSwitch : public KsNode {
    KS_NODE_CLASS(KsSwitch)
    KsSwitch();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;
    // choice[whichChoice]; null when whichChoice is negative (silently) or
    // past the list (with the list's range report).
    KsNode* GetChosen();

    KsMFNode choice;
    KsSFInt whichChoice;
};
