#include "scenegraph/core/protos/custom_node.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/field_factory.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/fields/sf_fields.h"

namespace {
const char kCustomNodeName[] = "KsCustomNode";
KsClassRecord* g_customNodeRecord = nullptr;

// Values handed on through IS from instance to instance nest no deeper than
// the instances themselves; the bound only guards against the unforeseen.
constexpr int kMaxHandOnDepth = 2 * KS_MAX_PROTO_DEPTH;

struct BuildState {
  int depth = 0;      // instances being built inside one another
  int handOn = 0;     // OwnerMemberChanged calls nested
  int64_t start = 0;  // expansion cost when the outermost build began
  int tooLarge = 0;   // the outermost build went past its allowance
};

// Whether the outermost instance being built has added too many nodes.
bool OverAllowance(BuildState& b) {
  if (KsExpansionCost() - b.start > KS_MAX_INSTANCE_NODES) b.tooLarge = 1;
  return b.tooLarge != 0;
}

BuildState& Build() {
  static BuildState state;
  return state;
}

void ReportRefused(const char* why, KsPartition* declaration) {
  std::fprintf(stderr, "KsCustomNode::KsCustomNode()\n");
  std::fprintf(stderr, "  %s\n", why);
  std::fprintf(stderr, "  PROTO = %s\n", declaration ? declaration->GetProtoName() : "");
}
}  // namespace

KsCustomNode::KsCustomNode(KsPartition* declaration) : declaration_(declaration) {
  KsClassManager::Ensure(&g_customNodeRecord, kCustomNodeName, KsNode::ClassRecord());
  if (!declaration_) return;
  BuildState& b = Build();
  if (b.depth >= KS_MAX_PROTO_DEPTH) {
    ReportRefused("PROTO instances nest too deep.", declaration_);
    return;
  }
  KsProtoInterface* own = declaration_->GetInterface();
  const bool outermost = b.depth == 0;
  if (outermost) {
    b.start = KsExpansionCost();
    b.tooLarge = own ? own->tooLarge : 0;
  } else if (own && own->tooLarge) {
    b.tooLarge = 1;
  }
  // The read's allowance is checked as each instance, nested ones too, is
  // begun, so that a build stops as soon as it is spent.
  const int64_t pending = outermost ? 0 : KsExpansionCost() - b.start;
  if (!KsProtoBudgetAllows(pending, declaration_->GetProtoName())) {
    b.tooLarge = 1;
    if (outermost) KsProtoBudgetNoteRefused();
    return;
  }
  // A nested instance past the allowance makes the outermost one too
  // large: it is refused as a whole.
  if (OverAllowance(b)) {
    if (outermost) ReportRefused("PROTO instance adds too many nodes.", declaration_);
    return;
  }
  ++b.depth;
  copy_ = declaration_->Duplicate();
  --b.depth;
  if (outermost) {
    const int64_t made = KsExpansionCost() - b.start;
    const bool overRead = !KsProtoBudgetAllows(made, declaration_->GetProtoName());
    if (!overRead && OverAllowance(b)) {
      ReportRefused("PROTO instance adds too many nodes.", declaration_);
      if (own) own->tooLarge = 1;
    }
    if (overRead || b.tooLarge) {
      KsProtoBudgetNoteRefused();
      delete copy_;
      copy_ = nullptr;
    } else {
      KsProtoBudgetCharge(made);
    }
  }
  if (!copy_) return;
  copy_->SetOwner(this);

  // The copy's interface is the declaration's; members are made after the
  // copy, so that no other node registers while this one does.
  std::vector<KsFieldTable*> defaults;
  const KsProtoInterface* in = copy_->FindInterface();
  if (in) {
    names_.reserve(in->fields.size() + in->eventIns.size());
    for (KsFieldTable* entry : in->fields) {
      KsField* field = KsCreateField(entry->typeName);
      if (!field) continue;
      names_.push_back(entry->memberName);
      if (RegisterMember(names_.back().c_str(), field, entry->noEvents) != 0) {
        delete field;
        continue;
      }
      fields_.push_back(field);
      defaults.push_back(entry);
    }
    for (KsFieldTable* entry : in->eventIns) {
      names_.push_back(entry->memberName);
      RegisterEventIn(names_.back().c_str());
    }
  }
  RegisterDone();
  // Each copy runs the set protocol and so reaches the body through IS.
  const int64_t beforeDefaults = KsExpansionCost();
  for (size_t i = 0; i < fields_.size(); ++i)
    if (defaults[i]->defaultValue) defaults[i]->defaultValue->CopyTo(fields_[i]);
  if (!outermost) return;
  // The defaults' values, copied into the members and on into the body,
  // are the outermost instance's too; a nested one's are in its charge.
  const int64_t defaultsCost = KsExpansionCost() - beforeDefaults;
  if (KsProtoBudgetAllows(defaultsCost, declaration_->GetProtoName())) {
    KsProtoBudgetCharge(defaultsCost);
    return;
  }
  KsProtoBudgetNoteRefused();
  delete copy_;
  copy_ = nullptr;
}

KsCustomNode::~KsCustomNode() {
  delete copy_;
  for (KsField* field : fields_) delete field;
}

const char* KsCustomNode::GetClassName() const { return kCustomNodeName; }
KsClassRecord* KsCustomNode::GetClassInfo() const { return g_customNodeRecord; }
KsClassRecord* KsCustomNode::ClassRecord() { return g_customNodeRecord; }

KsNode* KsCustomNode::Create(KsPartition* declaration) {
  KsCustomNode* node = new (std::nothrow) KsCustomNode(declaration);
  if (!node) return nullptr;
  if (!node->copy_) {
    node->Ref();
    node->Unref();
    return nullptr;
  }
  return node;
}

int KsCustomNode::GetBuildDepth() { return Build().depth; }

void KsCustomNode::ResetBuildState() { Build() = BuildState(); }

KsNode* KsCustomNode::NewInstance() { return Create(declaration_); }

void KsCustomNode::ReleaseHook() {
  KsPartition* copy = copy_;
  copy_ = nullptr;
  delete copy;
}

namespace {
// Scans a member's nodes; 1 when the scanner stopped the walk.
int ScanMember(const KsMemberTable* m, KsNodeScanner* scanner) {
  if (!m || !m->field) return 0;
  const char* cls = m->field->GetClassName();
  if (std::strcmp(cls, "KsSFNode") == 0) {
    KsNode* child = static_cast<KsSFNode*>(m->field)->Get();
    return child && child->Scan(scanner) != 0 ? 1 : 0;
  }
  if (std::strcmp(cls, "KsMFNode") == 0) {
    KsMFNode* list = static_cast<KsMFNode*>(m->field);
    for (int k = 0; k < list->GetCount(); ++k) {
      KsNode* child = list->GetElements()[k];
      if (child && child->Scan(scanner) != 0) return 1;
    }
  }
  return 0;
}
}  // namespace

int KsCustomNode::Scan(KsNodeScanner* scanner) {
  // Met again inside its own walk (a graph made cyclic by events).
  if (scanningCopy_ || !scanner) return 0;
  if (scanner->GetEnterProto() != 0 || !copy_) {
    scanningCopy_ = 1;
    const int result = KsNode::Scan(scanner);
    scanningCopy_ = 0;
    return result;
  }
  // Entering the private scene: a member that IS hands into the body is
  // met there, on the path that places it; walked here as well, every
  // level of instances nested through such fields would double the walk.
  if (scanner->Enter(this) != 0) return 0;
  scanningCopy_ = 1;
  int result = 0;
  scanner->Push(this);
  if (scanner->Visit(this) != 0) {
    result = 1;
  } else {
    const KsProtoInterface* in = copy_->FindInterface();
    for (int i = 0; i < GetMemberCount() && result == 0; ++i) {
      const KsMemberTable* m = GetMember(i);
      if (m && in && in->FieldBindings(m->name) != nullptr) continue;
      result = ScanMember(m, scanner);
    }
  }
  scanner->Pop();
  if (result == 0) {
    scanner->Push(this);
    for (int i = 0; i < copy_->GetNodeCount() && result == 0; ++i) {
      KsNode* root = copy_->GetNode(i);
      if (root && root->Scan(scanner) != 0) result = 1;
    }
    scanner->Pop();
  }
  scanningCopy_ = 0;
  return result;
}

int KsCustomNode::ExecTraverse(KsMatrix* matrix) {
  if (!copy_ || traversing_) return 0;
  traversing_ = 1;
  // As a partition: a failing body is reported and gives 1.
  const int result = copy_->Traverse(matrix);
  traversing_ = 0;
  return result;
}

int KsCustomNode::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  if (!copy_) return 0;
  return copy_->GetRouter()->EventOut(nullptr, name, field);
}

int KsCustomNode::OwnerMemberChanged(const char* name, KsField* field) {
  if (!copy_) return 0;
  BuildState& b = Build();
  if (b.handOn >= kMaxHandOnDepth) return 0;
  ++b.handOn;
  int result = copy_->OwnerMemberChanged(name, field);
  --b.handOn;
  return result;
}

int KsCustomNode::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  if (!copy_ || boxing_) return 1;
  boxing_ = 1;
  int result = copy_->GetBoundingBox(min, max);
  boxing_ = 0;
  return result;
}

int KsCustomNode::WriteTypeName(KsOutStream* stream) {
  if (!stream) return 1;
  return stream->Printf("%s\n", declaration_ ? declaration_->GetProtoName() : "");
}
