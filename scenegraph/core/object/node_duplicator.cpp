#include "scenegraph/core/object/node_duplicator.h"

#include <cstddef>
#include <new>

namespace {
const char kDuplicatorName[] = "KsNodeDuplicator";
KsClassRecord* g_duplicatorRecord = nullptr;
}  // namespace

KsNodeDuplicator::KsNodeDuplicator(KsNode* src) : source(src) {
  KsClassManager::Ensure(&g_duplicatorRecord, kDuplicatorName, KsObject::ClassRecord());
}
const char* KsNodeDuplicator::GetClassName() const { return kDuplicatorName; }
KsClassRecord* KsNodeDuplicator::GetClassInfo() const { return g_duplicatorRecord; }

KsDuplicatorList::~KsDuplicatorList() {
  for (KsNodeDuplicator* entry : entries_) delete entry;
}

KsNodeDuplicator* KsDuplicatorList::Find(KsNode* source) const {
  auto it = index_.find(source);
  return it == index_.end() ? nullptr : it->second;
}

KsNodeDuplicator* KsDuplicatorList::Append(KsNode* source) {
  KsNodeDuplicator* entry = new (std::nothrow) KsNodeDuplicator(source);
  if (!entry) return nullptr;
  entries_.push_back(entry);
  index_[source] = entry;
  return entry;
}

KsNodeDuplicator* KsDuplicatorList::Get(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return entries_[static_cast<size_t>(i)];
}

KsNodeDuplicator* KsApplyDuplicate(KsDuplicatorList* list, KsNode* source) {
  if (!list) return nullptr;
  KsNodeDuplicator* entry = list->Find(source);
  if (entry) ++entry->appliedCount;
  return entry;
}
