#include "scenegraph/core/partition/label_table.h"

#include <cstring>
#include <new>
#include <unordered_set>

#include "scenegraph/core/name_text.h"

namespace {
const char kDefName[] = "KsDef";
const char kLabelTableName[] = "KsLabelTable";
KsClassRecord* g_defRecord = nullptr;
KsClassRecord* g_labelTableRecord = nullptr;

// Every table alive, so that a destroyed node can be removed from them.
std::unordered_set<KsLabelTable*>& LiveTables() {
  static std::unordered_set<KsLabelTable*> tables;
  return tables;
}
}  // namespace

KsDef::KsDef(const char* name, KsNode* node) : node_(node) {
  KsClassManager::Ensure(&g_defRecord, kDefName, KsObject::ClassRecord());
  KsCopyName(name_, name);
}
const char* KsDef::GetClassName() const { return kDefName; }
KsClassRecord* KsDef::GetClassInfo() const { return g_defRecord; }

KsLabelTable::KsLabelTable() {
  KsClassManager::Ensure(&g_labelTableRecord, kLabelTableName, KsObject::ClassRecord());
  LiveTables().insert(this);
}
KsLabelTable::~KsLabelTable() {
  Clear();
  LiveTables().erase(this);
}
const char* KsLabelTable::GetClassName() const { return kLabelTableName; }
KsClassRecord* KsLabelTable::GetClassInfo() const { return g_labelTableRecord; }

int KsLabelTable::Add(const char* name, KsNode* node) {
  KsDef* def = new (std::nothrow) KsDef(name, node);
  if (!def) return 1;
  entries_.push_back(def);
  latest_[def->GetName()] = def;
  if (node) {
    byNode_.emplace(node, def);
    node->MarkLabelled();
  }
  return 0;
}

KsNode* KsLabelTable::Find(const char* name) const {
  if (!name) return nullptr;
  char key[KS_NAME_SIZE];
  KsCopyName(key, name);
  auto it = latest_.find(key);
  return it == latest_.end() ? nullptr : it->second->GetNode();
}

int KsLabelTable::Get(int i, char* name, KsNode** node) const {
  if (i < 0 || i >= GetCount()) return 1;
  const KsDef* def = entries_[entries_.size() - 1 - static_cast<size_t>(i)];
  if (name) KsCopyName(name, def->GetName());
  if (node) *node = def->GetNode();
  return 0;
}

void KsLabelTable::Clear() {
  latest_.clear();
  byNode_.clear();
  for (KsDef* def : entries_) delete def;
  entries_.clear();
}

void KsLabelTable::ForgetNode(KsNode* node) {
  for (KsLabelTable* table : LiveTables()) {
    auto range = table->byNode_.equal_range(node);
    for (auto it = range.first; it != range.second; ++it) it->second->Forget();
    table->byNode_.erase(range.first, range.second);
  }
}
