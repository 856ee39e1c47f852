// The duplication map: every node reachable from a start node, once, with
// the number of references found to it and its copy.
#pragma once

#include <unordered_map>
#include <vector>

#include "scenegraph/core/object/object.h"

class KsNode;

class KsNodeDuplicator : public KsObject {
 public:
  explicit KsNodeDuplicator(KsNode* source);
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  KsNode* source;
  KsNode* copy = nullptr;
  int useCount = 1;
  int appliedCount = 0;
};

// Entries in collection order, with an index by source node.
class KsDuplicatorList {
 public:
  KsDuplicatorList() = default;
  ~KsDuplicatorList();
  KsDuplicatorList(const KsDuplicatorList&) = delete;
  KsDuplicatorList& operator=(const KsDuplicatorList&) = delete;

  KsNodeDuplicator* Find(KsNode* source) const;
  // Appends an entry for the source (use count 1); null without memory.
  KsNodeDuplicator* Append(KsNode* source);
  int GetCount() const { return static_cast<int>(entries_.size()); }
  KsNodeDuplicator* Get(int i) const;

 private:
  std::vector<KsNodeDuplicator*> entries_;
  std::unordered_map<KsNode*, KsNodeDuplicator*> index_;
};

// The entry of the node with its applied count raised by one, or null.
KsNodeDuplicator* KsApplyDuplicate(KsDuplicatorList* list, KsNode* source);
