// Visitor base of every walk over the node graph.
#pragma once

#include <string>
#include <vector>

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

// Collects, in visiting order, every node whose class name is the target.
class KsNodeFinder : public KsNodeScanner {
public:
    KsNodeFinder();
    const char* GetClassName() const override;
    KsClassRecord* GetClassInfo() const override;

    KsNodeScanner* NewInstance() override;
    int Visit(KsNode* node) override;

    // The target becomes the class name of object (null: none).
    void SetTarget(const KsObject* object);
    void SetTargetName(const char* className);
    int GetCount() const { return static_cast<int>(found_.size()); }
    // Null when i is out of range.
    KsNode* Get(int i) const;

private:
    std::string target_;
    std::vector<KsNode*> found_;
};
