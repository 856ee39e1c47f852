// The nodes that can be bound: Viewpoint, NavigationInfo, Fog, Background.
// Binding keeps one process-wide bound node per type; a newly bound node
// simply replaces the previous one, which is told nothing. A viewpoint is
// always bound once one exists: the default viewpoint takes over when the
// bound one is released.
#pragma once

#include <vector>

#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsPartition;

class KsViewpoint : public KsNode {
  KS_NODE_CLASS(KsViewpoint)
  KsViewpoint();
  ~KsViewpoint() override;
  KsNode* NewInstance() override;
  void ReleaseHook() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  // Sends isBound TRUE and bindTime, then becomes the bound viewpoint;
  // the result of sending bindTime.
  int Bind();
  // Copies the nodes from a root down to the viewpoint's parent; count,
  // or 0 when the copy cannot be made.
  int SetPath(int count, KsNode* const* nodes);
  int GetPathCount() const { return static_cast<int>(path_.size()); }
  KsNode* GetPathNode(int i) const;
  // World matrix: the translations and rotations of the Transforms on the
  // path (nothing else of them), then position and orientation.
  void GetMatrix(KsMatrix* matrix) const;
  // World ray through the window point (pixels from the top left); the
  // direction is not normalised.
  void MouseToVec3f(KsVec3f* origin, KsVec3f* direction, int x, int y) const;

  // The bound viewpoint (null only before the first one exists).
  static KsViewpoint* GetBound();

  KS_FIELD(KsSFFloat, fieldOfView, exposedField, 0.785398f);
  KS_FIELD(KsSFBool, jump, exposedField, KS_TRUE);
  KS_FIELD(KsSFRotation, orientation, exposedField, 0.0f, 0.0f, 1.0f, 0.0f);
  KS_FIELD(KsSFVec3f, position, exposedField, 0.0f, 0.0f, 10.0f);
  // Callers take its length: an empty text, never none.
  KS_FIELD(KsSFString, description, field, "");

 private:
  std::vector<KsNode*> path_;  // no references held
};

// Default members, lives for the whole process; made on first use.
KsViewpoint* KsDefaultViewpoint();

class KsNavigationInfo : public KsNode {
  KS_NODE_CLASS(KsNavigationInfo)
  KsNavigationInfo();
  ~KsNavigationInfo() override;
  KsNode* NewInstance() override;
  void ReleaseHook() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  // Sends isBound TRUE; the bound navigation info = this.
  int Bind();
  static KsNavigationInfo* GetCurrent();

  KS_FIELD(KsMFFloat, avatarSize, exposedField, {0.25f, 1.6f, 0.75f});
  KS_FIELD(KsSFBool, headlight, exposedField, KS_TRUE);
  KS_FIELD(KsSFFloat, speed, exposedField, 1.0f);
  KS_FIELD(KsMFString, type, exposedField, {KsString("WALK"), KsString("ANY")});
  KS_FIELD(KsSFFloat, visibilityLimit, exposedField, 0.0f);
};

class KsFog : public KsNode {
  KS_NODE_CLASS(KsFog)
  KsFog();
  ~KsFog() override;
  KsNode* NewInstance() override;
  void ReleaseHook() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  int Bind();
  static KsFog* GetCurrent();

  KS_FIELD(KsSFColor, color, exposedField, 1.0f, 1.0f, 1.0f);
  KS_FIELD(KsSFString, fogType, exposedField, "LINEAR");
  KS_FIELD(KsSFFloat, visibilityRange, exposedField, 0.0f);
};

class KsBackground : public KsNode {
  KS_NODE_CLASS(KsBackground)
  KsBackground();
  ~KsBackground() override;
  KsNode* NewInstance() override;
  void ReleaseHook() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  int Bind();
  static KsBackground* GetCurrent();
  // Ground from the first groundColor, sky from the first skyColor (black
  // when empty) through the graphics library's background fill.
  void ApplyColors();

  KS_FIELD(KsMFFloat, groundAngle, exposedField);
  KS_FIELD(KsMFColor, groundColor, exposedField);
  KS_FIELD(KsMFString, backUrl, exposedField);
  KS_FIELD(KsMFString, bottomUrl, exposedField);
  KS_FIELD(KsMFString, frontUrl, exposedField);
  KS_FIELD(KsMFString, leftUrl, exposedField);
  KS_FIELD(KsMFString, rightUrl, exposedField);
  KS_FIELD(KsMFString, topUrl, exposedField);
  KS_FIELD(KsMFFloat, skyAngle, exposedField);
  KS_FIELD(KsMFColor, skyColor, exposedField);
};

// Registers the four classes' keywords.
void KsRegisterBindableNodes();
// Hands a Viewpoint the nodes of the walk's path to it (items: partitions
// and nodes, outermost first, the viewpoint itself last); other nodes are
// left alone (0).
int KsStoreViewpointPath(KsNode* viewpoint, int count, KsObject* const* items);
// Binds a newly opened world's own first Background, Fog and NavigationInfo
// (walk order, PROTO instances included) and leaves none bound of a kind it
// has not: its nodes were built while the world before it held the binding.
void KsBindFirstOfScene(KsPartition* scene);
// The same, and every viewpoint given its path (as StoreViewpointPaths
// does) in the same walk, which also shows `also` every node it meets (its
// answers are not heeded): what a world needs as it opens, in one walk.
void KsPrepareScene(KsPartition* scene, KsNodeScanner* also = nullptr);

// Nothing bound (tests). The default viewpoint stays.
void KsResetBindings();
