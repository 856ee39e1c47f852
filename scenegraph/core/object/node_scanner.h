// Visitor base of every walk over the node graph.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "scenegraph/core/object/object.h"

class KsNode;

constexpr int KS_SCAN_PATH_SIZE = 32;
// Times one walk enters a node that several references lead to. A USE
// graph that doubles at each level has 2^n paths to its deepest node; a
// walk bounded this way visits each node at most this often.
constexpr int KS_SCAN_MAX_VISITS = 64;

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

  // Asked before a node is entered: 0 to enter it, 1 when this walk has
  // entered it KS_SCAN_MAX_VISITS times already. Only nodes held by more
  // than one reference are counted: any other is entered as often as the
  // one node that holds it.
  int Enter(const KsNode* node);
  // Nodes entered (visits counted for every node) and nodes left out.
  long GetEntered() const { return entered_; }
  long GetLeftOut() const { return leftOut_; }

 private:
  int enterProto_ = 1;
  long entered_ = 0;
  long leftOut_ = 0;
  std::unordered_map<const KsNode*, int> shared_;  // visits of shared nodes
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
