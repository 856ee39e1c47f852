// DEF labels of one partition, newest first. Labels do not reference
// their nodes: the partition and the fields own the references.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/object.h"

// One label: name (cut at 255 characters) and node (not referenced).
class KsDef : public KsObject {
 public:
  KsDef(const char* name, KsNode* node);
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  const char* GetName() const { return name_; }
  KsNode* GetNode() const { return node_; }
  void Forget() { node_ = nullptr; }

 private:
  char name_[KS_NAME_SIZE];
  KsNode* node_;
};

class KsLabelTable : public KsObject {
 public:
  KsLabelTable();
  ~KsLabelTable() override;
  KsLabelTable(const KsLabelTable&) = delete;
  KsLabelTable& operator=(const KsLabelTable&) = delete;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  // 1 only when memory runs out.
  int Add(const char* name, KsNode* node);
  // The latest definition of the name, or null.
  KsNode* Find(const char* name) const;
  int GetCount() const { return static_cast<int>(entries_.size()); }
  // Entry i counted from the newest: copies out its name (KS_NAME_SIZE
  // characters) and node; 1 when i is out of range.
  int Get(int i, char* name, KsNode** node) const;
  void Clear();

  // Called as a labelled node is destroyed: every label of every live
  // table that names it names nothing from then on.
  static void ForgetNode(KsNode* node);

 private:
  // Stored oldest first; index i of the interface counts from the back.
  std::vector<KsDef*> entries_;
  // Latest entry per name, so that look-ups stay constant time.
  std::unordered_map<std::string, KsDef*> latest_;
  // Entries by node, for ForgetNode.
  std::unordered_multimap<KsNode*, KsDef*> byNode_;
};
