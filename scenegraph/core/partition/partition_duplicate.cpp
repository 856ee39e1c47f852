// The deep copy of a partition (a PROTO declaration becoming an instance's
// private scene) and the hand-on of instance values through IS.
//
// Reference counting stays on while copying: every reference the copy makes
// is counted as it is made, so a copy's count ends equal to the references
// that really lead to it. (Counting off and setting counts afterwards
// cannot account for the references that nested instances make into their
// own private copies while the outer copy is being built.)
#include <cstdio>
#include <cstring>
#include <new>
#include <unordered_map>

#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/field_factory.h"
#include "scenegraph/core/object/node_duplicator.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"

namespace {
// Once the read's expansion allowance is spent, every copy fails; the
// refusal was reported once and the steps say nothing more.
void ReportStep(const char* step) {
  if (KsProtoBudgetSpent()) return;
  std::fprintf(stderr, "KsPartition::DuplicateFrom()\n");
  std::fprintf(stderr, "  %s\n", step);
}

KsNode* CopyOf(const KsDuplicatorList& map, KsNode* source) {
  KsNodeDuplicator* entry = map.Find(source);
  return entry ? entry->copy : nullptr;
}

// References that the bindings hold, which no member walk finds.
void CountBindings(const KsProtoInterface* in, std::unordered_map<KsNode*, int>* held) {
  if (!in) return;
  for (const auto* list : {&in->fieldIs, &in->eventInIs, &in->eventOutIs})
    for (const KsIsTable* is : *list)
      if (is->innerNode) ++(*held)[is->innerNode];
}

// A PROTO instance copied inside this copy got its node-valued members
// redirected without the set protocol (lists are redirected in place):
// hand them on again so that its private scene holds the copies too.
bool IsBound(const KsProtoInterface* in, const char* name) {
  return in && in->FieldBindings(name) != nullptr;
}

void HandOnNodeMembers(KsNode* copy) {
  if (std::strcmp(copy->GetClassName(), "KsCustomNode") != 0) return;
  KsPartition* scene = static_cast<KsCustomNode*>(copy)->GetPrivateCopy();
  const KsProtoInterface* in = scene ? scene->FindInterface() : nullptr;
  for (int i = 0; i < copy->GetMemberCount(); ++i) {
    const KsMemberTable* m = copy->GetMember(i);
    if (m && m->field && std::strcmp(m->field->GetClassName(), "KsMFNode") == 0 &&
        IsBound(in, m->name))
      copy->OwnerMemberChanged(m->name, m->field);
  }
}

void CopyEntries(const std::vector<KsFieldTable*>& from, int kind, KsProtoInterface* to) {
  for (const KsFieldTable* entry : from) {
    KsFieldTable* copy = new (std::nothrow) KsFieldTable(entry->typeName, entry->rawName);
    if (!copy) {
      ReportStep("Out of memory.");
      continue;
    }
    copy->noEvents = entry->noEvents;
    if (entry->defaultValue) {
      copy->defaultValue = KsCreateField(entry->typeName);
      if (copy->defaultValue) entry->defaultValue->CopyTo(copy->defaultValue);
    }
    to->AddEntry(kind, copy);
  }
}

void CopyBindings(const std::vector<KsIsTable*>& from, int kind, const KsDuplicatorList& map,
                  KsProtoInterface* to) {
  for (const KsIsTable* is : from) {
    KsNode* inner = CopyOf(map, is->innerNode);
    KsIsTable* copy =
        inner ? new (std::nothrow) KsIsTable(is->rawName, inner, is->rawInnerMember) : nullptr;
    if (!copy) {
      if (KsProtoBudgetSpent()) continue;
      std::fprintf(stderr, "KsPartition::DuplicateIsTable()\n");
      std::fprintf(stderr, "  Failed to find duplicated node.\n");
      continue;
    }
    to->AddBinding(kind, copy);
  }
}

// More references than uses are normal: nested instances' private scenes
// hold the nodes handed to them, and the walk does not go there. Fewer mean
// a count has gone wrong.
void CheckRefCounts(const KsDuplicatorList& map, const KsProtoInterface* in) {
  std::unordered_map<KsNode*, int> held;
  CountBindings(in, &held);
  for (int i = 0; i < map.GetCount(); ++i) {
    KsNodeDuplicator* entry = map.Get(i);
    const int expected = entry->useCount + held[entry->source];
    if (entry->source->GetRefCount() < expected) {
      std::fprintf(stderr, "KsNodeDuplicator::Duplicate()\n");
      std::fprintf(stderr, "  RefCount Mismatch %d %d\n", entry->useCount,
                   entry->source->GetRefCount());
    }
  }
}

// Each copy is held here until the copy is complete, so that a copy that a
// failure left unreferenced can be told apart and released. 1 when a node
// could not be copied.
int CopyNodes(KsDuplicatorList* map) {
  int failed = 0;
  for (int i = 0; i < map->GetCount(); ++i) {
    KsNodeDuplicator* entry = map->Get(i);
    if (KsProtoBudgetSpent()) {
      failed = 1;
      break;
    }
    entry->copy = entry->source->Duplicate();
    if (!entry->copy) {
      if (KsProtoBudgetSpent()) {
        failed = 1;
        break;
      }
      std::fprintf(stderr, "KsPartition::DuplicateNode()\n");
      std::fprintf(stderr, "  Duplicate Failed.\n");
      failed = 1;
      continue;
    }
    entry->copy->Ref();
  }
  if (failed) ReportStep("DuplicateNode()");
  return failed;
}

// Appends the roots' copies to copy and redirects their members to copies;
// 1 when a root or a member could not be redirected.
int ApplyToRoots(const std::vector<KsNode*>& roots, KsDuplicatorList* map, KsPartition* copy) {
  int failed = 0;
  for (KsNode* root : roots) {
    KsNodeDuplicator* entry = KsApplyDuplicate(map, root);
    if (!entry && !KsProtoBudgetSpent()) {
      std::fprintf(stderr, "KsApplyDuplicate()\n");
      std::fprintf(stderr, "  Node not found.\n");
    }
    if (!entry || !entry->copy) {
      failed = 1;
      continue;
    }
    copy->AppendNode(entry->copy);
    if (entry->appliedCount == 1 && entry->copy->ApplyDuplicate(map) != 0) failed = 1;
  }
  if (failed) ReportStep("ApplyDuplicate()");
  return failed;
}

void VerifyUses(const KsDuplicatorList& map) {
  int failed = 0;
  for (int i = 0; i < map.GetCount(); ++i) {
    KsNodeDuplicator* entry = map.Get(i);
    if (entry->appliedCount != entry->useCount && !KsProtoBudgetSpent()) {
      std::fprintf(stderr, "KsPartition::VerifyDuplicate()\n");
      std::fprintf(stderr, "  Verify Error!!\n");
      failed = 1;
    }
  }
  if (failed) ReportStep("VerifyDuplicate()");
}

// After a failure some copies may be out of the copied graph (a list stops
// redirecting at its first failure): they must not be found by bindings,
// routes or labels, and they go when the holds are dropped.
void DropHolds(KsDuplicatorList* map, const KsPartition& copy, int failed) {
  std::vector<KsNode*> holds;
  holds.reserve(static_cast<size_t>(map->GetCount()));
  for (int i = 0; i < map->GetCount(); ++i)
    if (map->Get(i)->copy) holds.push_back(map->Get(i)->copy);
  if (failed) {
    KsDuplicatorList reached;
    for (int i = 0; i < copy.GetNodeCount(); ++i) copy.GetNode(i)->CollectNodes(&reached);
    for (int i = 0; i < map->GetCount(); ++i) {
      KsNodeDuplicator* entry = map->Get(i);
      if (entry->copy && !reached.Find(entry->copy)) entry->copy = nullptr;
    }
  }
  for (KsNode* node : holds) node->Unref();
}

void CopyInterface(const KsProtoInterface* from, const KsDuplicatorList& map, KsPartition* copy) {
  if (!from) return;
  KsProtoInterface* in = copy->GetInterface();
  if (!in) return;
  CopyEntries(from->fields, KS_KIND_FIELD, in);
  CopyEntries(from->eventIns, KS_KIND_EVENT_IN, in);
  CopyEntries(from->eventOuts, KS_KIND_EVENT_OUT, in);
  CopyBindings(from->fieldIs, KS_KIND_FIELD, map, in);
  CopyBindings(from->eventInIs, KS_KIND_EVENT_IN, map, in);
  CopyBindings(from->eventOutIs, KS_KIND_EVENT_OUT, map, in);
}

void CopyRoutes(const KsRouter& from, const KsDuplicatorList& map, KsRouter* to) {
  for (int i = 0; i < from.GetRouteCount(); ++i) {
    KsNode* source = nullptr;
    KsNode* target = nullptr;
    const char* fromEvent = nullptr;
    const char* toEvent = nullptr;
    from.GetRoute(i, &source, &fromEvent, &target, &toEvent);
    KsNode* newSource = source ? CopyOf(map, source) : nullptr;
    KsNode* newTarget = target ? CopyOf(map, target) : nullptr;
    if (source && !newSource) {
      ReportStep("Cannot get event launcher.");
      continue;
    }
    if (target && !newTarget) {
      ReportStep("Cannot get event target.");
      continue;
    }
    if (to->AddRoute(newSource, fromEvent, newTarget, toEvent) != 0) ReportStep("Out of memory.");
  }
}

// Oldest first, so that the copy's table has the same order.
void CopyLabels(const KsLabelTable& from, const KsDuplicatorList& map, KsPartition* copy) {
  for (int i = from.GetCount() - 1; i >= 0; --i) {
    char name[KS_NAME_SIZE];
    KsNode* node = nullptr;
    if (from.Get(i, name, &node) != 0) {
      std::fprintf(stderr, "KsPartition::DuplicateFrom()\n");
      std::fprintf(stderr, "  Cannot Get Definition : ID= %d\n", i);
      continue;
    }
    KsNode* mapped = node ? CopyOf(map, node) : nullptr;
    if (node && !mapped) {
      ReportStep("Cannot Duplicate Definition");
      continue;
    }
    copy->AddLabel(name, mapped);
  }
}
}  // namespace

KsPartition* KsPartition::Duplicate() {
  KsDuplicatorList map;
  for (KsNode* root : roots_)
    if (root) root->CollectNodes(&map);

  KsPartition* copy = new (std::nothrow) KsPartition();
  if (!copy) {
    ReportStep("Out of memory.");
    return nullptr;
  }
  copy->SetProtoName(protoName_);

  CheckRefCounts(map, interface_);
  const int failedCopy = CopyNodes(&map);
  const int failedApply = ApplyToRoots(roots_, &map, copy);
  VerifyUses(map);
  for (int i = 0; i < map.GetCount(); ++i)
    if (map.Get(i)->copy) HandOnNodeMembers(map.Get(i)->copy);
  DropHolds(&map, *copy, failedCopy || failedApply);

  CopyInterface(interface_, map, copy);
  CopyRoutes(router_, map, &copy->router_);
  CopyLabels(labels_, map, copy);

  KsProtoInterface* in = copy->GetInterface();
  if (in) in->sharedProtos = KsProtoDeclarationsOf(this);
  return copy;
}

int KsPartition::OwnerMemberChanged(const char* name, KsField* field) {
  if (!name) name = "";
  int taken = 0;
  const std::vector<KsIsTable*>* bindings =
      interface_ && field ? interface_->FieldBindings(name) : nullptr;
  if (bindings) {
    // Each copy is work of the cascade under way: nested instances may
    // hand one value on to any number of fields.
    KsCascadeWork work;
    const int64_t values = KsCascadeWork::ValuesOf(field);
    for (const KsIsTable* is : *bindings) {
      taken = 1;
      if (work.Charge(values, name) != 0) break;
      KsField* target = is->innerNode ? is->innerNode->LookUpMember(is->innerMember) : nullptr;
      if (!target) {
        std::fprintf(stderr, "KsPartition::OwnerMemberChanged()\n");
        std::fprintf(stderr, "  Target does not have requested member.\n");
        std::fprintf(stderr, "  Tag = %s\n", is->innerMember);
        std::fprintf(stderr, "  Export Name = %s\n", name);
        std::fprintf(stderr, "  Field Type = %s\n", field->GetClassName());
        std::fprintf(stderr, "  Target Node Type = %s\n",
                     is->innerNode ? is->innerNode->GetClassName() : "");
        return 1;
      }
      if (field->CopyTo(target) != 0) {
        std::fprintf(stderr, "KsPartition::OwnerMemberChanged()\n");
        std::fprintf(stderr, "  Copy Failed.\n");
      }
    }
  }
  if (!taken) {
    std::fprintf(stderr, "KsPartition::OwnerMemberChanged()\n");
    std::fprintf(stderr, "  IS target not found.(Maybe not used)\n");
    std::fprintf(stderr, "  Export Name = %s\n", name);
    std::fprintf(stderr, "  Field Type = %s\n", field ? field->GetClassName() : "");
  }
  return 0;
}
