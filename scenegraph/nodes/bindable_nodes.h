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

    KsSFFloat fieldOfView;
    KsSFBool jump;
    KsSFRotation orientation;
    KsSFVec3f position;
    KsSFString description;

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

    KsMFFloat avatarSize;
    KsSFBool headlight;
    KsSFFloat speed;
    KsMFString type;
    KsSFFloat visibilityLimit;
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

    KsSFColor color;
    KsSFString fogType;
    KsSFFloat visibilityRange;
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

    KsMFFloat groundAngle;
    KsMFColor groundColor;
    KsMFString backUrl;
    KsMFString bottomUrl;
    KsMFString frontUrl;
    KsMFString leftUrl;
    KsMFString rightUrl;
    KsMFString topUrl;
    KsMFFloat skyAngle;
    KsMFColor skyColor;
};

// Registers the four classes' keywords and installs the scene services the
// partition's queries use (picking, matrix reset, viewpoint paths).
void KsRegisterBindableNodes();
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
