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

  KS_FIELD(KsMFNode, children, exposedField);
  KS_FIELD(KsSFVec3f, bboxCenter, field, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFVec3f, bboxSize, field, -1.0f, -1.0f, -1.0f);
};

// Its url is kept, never loaded: it holds only its children.
class KsInline : public KsGroup {
  KS_NODE_CLASS(KsInline)
  KsInline();

  KS_FIELD(KsMFString, url, exposedField);
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

  KS_FIELD(KsSFVec3f, center, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFRotation, rotation, exposedField, 0.0f, 0.0f, 1.0f, 0.0f);
  KS_FIELD(KsSFVec3f, scale, exposedField, 1.0f, 1.0f, 1.0f);
  KS_FIELD(KsSFRotation, scaleOrientation, exposedField, 0.0f, 0.0f, 1.0f, 0.0f);
  KS_FIELD(KsSFVec3f, translation, exposedField, 0.0f, 0.0f, 0.0f);
};

class KsAnchor : public KsGroup {
  KS_NODE_CLASS(KsAnchor)
  KsAnchor();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFString, description, exposedField, "");
  KS_FIELD(KsMFString, parameter, exposedField);
  KS_FIELD(KsMFString, url, exposedField);
};

class KsCollision : public KsGroup {
  KS_NODE_CLASS(KsCollision)
  KsCollision();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFBool, collide, exposedField, KS_TRUE);
  KS_FIELD(KsSFNode, proxy, field);
};

class KsBillboard : public KsGroup {
  KS_NODE_CLASS(KsBillboard)
  KsBillboard();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFVec3f, axisOfRotation, exposedField, 0.0f, 1.0f, 0.0f);
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

  KS_FIELD(KsMFNode, level, exposedField);
  KS_FIELD(KsSFVec3f, center, field, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsMFFloat, range, field);
};

class KsSwitch : public KsNode {
  KS_NODE_CLASS(KsSwitch)
  KsSwitch();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;
  // choice[whichChoice]; null when whichChoice is negative (silently) or
  // past the list (with the list's range report).
  KsNode* GetChosen();

  KS_FIELD(KsMFNode, choice, exposedField);
  KS_FIELD(KsSFInt, whichChoice, exposedField, -1);
};
