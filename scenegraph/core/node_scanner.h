// Visitor base of every walk over the node graph.
#pragma once

#include "scenegraph/core/object.h"

class KsNode;

constexpr int KS_SCAN_PATH_SIZE = 32;

class KsNodeScanner : public KsObject {
public:
    KsNodeScanner();
    const char* GetClassName() const override;
    KsClassRecord* GetClassInfo() const override;

    virtual KsNodeScanner* NewInstance();
    // 0 to go on, non-zero to stop the walk.
    virtual int Visit(KsNode* node);

    // Stores the item while the depth is below 32 (0), else 1; the depth
    // always counts.
    int Push(KsObject* item);
    void Pop();
    int GetDepth() const { return depth_; }
    KsObject* GetPathItem(int i) const;
    int GetEnterProto() const { return enterProto_; }
    void SetEnterProto(int flag) { enterProto_ = flag; }

private:
    int enterProto_ = 1;
    int depth_ = 0;
    KsObject* path_[KS_SCAN_PATH_SIZE] = {nullptr};
};
