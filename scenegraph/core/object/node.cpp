#include "scenegraph/core/object/node.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/partition/label_table.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node_duplicator.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
const char kNodeName[] = "KsNode";
const char kMemberTableName[] = "KsMemberTable";
const char kEventInTableName[] = "KsEventInTable";
KsClassRecord* g_nodeRecord = nullptr;
KsClassRecord* g_memberTableRecord = nullptr;
KsClassRecord* g_eventInTableRecord = nullptr;

// Base traversal warnings per process.
constexpr int kTraverseWarnings = 5;
// Deepest graph walk; deeper nodes are not entered.
constexpr int kMaxScanDepth = 2 * KS_MAX_REALIZE_DEPTH;

struct NodeGlobals {
  int refStep = 1;
  int noDelete = 0;
  int constructed = 0;
  int destroyed = 0;
  int traverseWarnings = 0;
  int scanDepth = 0;
  // Nodes whose last reference went while another node was being freed:
  // each waits its turn, so that freeing a graph takes no stack however
  // deep the graph is.
  std::vector<KsNode*> dying;
  int freeing = 0;
};

NodeGlobals& Globals() {
  static NodeGlobals globals;
  return globals;
}

// Registration scratch tables, shared by all nodes while they are built.
struct Scratch {
  KsMemberTable members[KS_MAX_MEMBERS];
  KsEventInTable eventIns[KS_MAX_MEMBERS];
  const KsNode* owner = nullptr;  // node whose entries the tables hold
};

Scratch& TheScratch() {
  static Scratch scratch;
  return scratch;
}

// First member registered under name, -1 when none; no report.
int FindMember(const KsMemberTable* table, int count, const char* name) {
  if (!name) return -1;
  for (int i = 0; i < count; ++i)
    if (table[i].name && std::strcmp(table[i].name, name) == 0) return i;
  return -1;
}

// Whether field i is the first entry of its field (a field registered under
// two names is handled once).
bool FirstOfField(const KsMemberTable* table, int i) {
  for (int j = 0; j < i; ++j)
    if (table[j].field == table[i].field) return false;
  return true;
}
}  // namespace

KsMemberTable::KsMemberTable()
    : name(nullptr), owner(nullptr), field(nullptr), noEventIn(1), noEventOut(1) {
  KsClassManager::Ensure(&g_memberTableRecord, kMemberTableName, KsObject::ClassRecord());
}
const char* KsMemberTable::GetClassName() const { return kMemberTableName; }
KsClassRecord* KsMemberTable::GetClassInfo() const { return g_memberTableRecord; }
int KsMemberTable::Print(KsOutStream* stream, int indent) const {
  if (!stream) return 1;
  stream->Printf("%s ", name ? name : "");
  if (field) field->Print(stream, indent);
  stream->Printf("\n");
  return 0;
}

KsEventInTable::KsEventInTable() : name(nullptr) {
  KsClassManager::Ensure(&g_eventInTableRecord, kEventInTableName, KsObject::ClassRecord());
}
const char* KsEventInTable::GetClassName() const { return kEventInTableName; }
KsClassRecord* KsEventInTable::GetClassInfo() const { return g_eventInTableRecord; }

KsNode::KsNode() {
  KsClassManager::Ensure(&g_nodeRecord, kNodeName, KsObject::ClassRecord());
  ++Globals().constructed;
}

// The member fields belong to the derived classes and are gone by now;
// their node references were released in Unref.
KsNode::~KsNode() {
  ++Globals().destroyed;
  if (labelled_) KsLabelTable::ForgetNode(this);
  ForgetRoutes();
  if (TheScratch().owner == this) TheScratch().owner = nullptr;
  delete[] members_;
  delete[] eventIns_;
}

const char* KsNode::GetClassName() const { return kNodeName; }
KsClassRecord* KsNode::GetClassInfo() const { return g_nodeRecord; }
KsClassRecord* KsNode::ClassRecord() { return g_nodeRecord; }

KSBOOL KsNode::IsPointingSensor() { return KS_FALSE; }
KSBOOL KsNode::IsDragSensor() { return KS_FALSE; }

KsNode* KsNode::NewInstance() {
  std::fprintf(stderr, "KsNode::NewInstance is called.\n");
  std::fprintf(stderr, "  This function must not be called.\n");
  std::fprintf(stderr, "  Owner = %s\n", GetClassName());
  return nullptr;
}

void KsNode::ReleaseHook() {}

int KsNode::ExecTraverse(KsMatrix*) {
  NodeGlobals& g = Globals();
  if (g.traverseWarnings < kTraverseWarnings) {
    ++g.traverseWarnings;
    std::fprintf(stderr, "Warning!!  KsNode::ExecTraverse is called.\n");
    std::fprintf(stderr, "   Owner = %s\n", GetClassName());
  }
  return 0;
}

int KsNode::ExecSpecialEvent(const char*, KsField*, KsNode*) {
  std::fprintf(stderr, "KsNode::ExecSpecialEvent()\n");
  std::fprintf(stderr, "  Special Event is not defined.\n");
  std::fprintf(stderr, "  Owner Type = %s\n", GetClassName());
  return 1;
}

int KsNode::OwnerMemberChanged(const char*, KsField*) { return 0; }
int KsNode::InvalidateCache() { return 0; }
int KsNode::GetBoundingBox(KsVec3f*, KsVec3f*) { return 1; }

int KsNode::WriteTypeName(KsOutStream* stream) {
  if (!stream) return 1;
  const char* name = GetClassName();
  if (std::strlen(name) >= 2) name += 2;
  return stream->Printf("%s\n", name);
}

KsMFNode* KsNode::GetChildren() { return nullptr; }

// ---- registration --------------------------------------------------------

// Brings the scratch tables to this node's entries, in case another node was
// registered since this one's last RegisterDone.
static void ClaimScratch(KsNode* node, int memberCount, const KsMemberTable* members,
                         int eventInCount, const KsEventInTable* eventIns) {
  Scratch& s = TheScratch();
  if (s.owner == node) return;
  for (int i = 0; i < memberCount && members; ++i) {
    s.members[i].name = members[i].name;
    s.members[i].owner = members[i].owner;
    s.members[i].field = members[i].field;
    s.members[i].noEventIn = members[i].noEventIn;
    s.members[i].noEventOut = members[i].noEventOut;
  }
  for (int i = 0; i < eventInCount && eventIns; ++i) s.eventIns[i].name = eventIns[i].name;
  s.owner = node;
}

int KsNode::RegisterMember(const char* name, KsField* field, int noEvents) {
  if (memberCount_ >= KS_MAX_MEMBERS) {
    std::fprintf(stderr, "KsNode::RegisterMember\n");
    std::fprintf(stderr, "  Member Table Overflow.\n");
    return 1;
  }
  ClaimScratch(this, memberCount_, members_, eventInCount_, eventIns_);
  if (field) field->Init(this, noEvents, name);
  KsMemberTable& entry = TheScratch().members[memberCount_];
  entry.name = name;
  entry.owner = this;
  entry.field = field;
  entry.noEventIn = noEvents ? 1 : 0;
  entry.noEventOut = noEvents ? 1 : 0;
  ++memberCount_;
  return 0;
}

int KsNode::RegisterEventIn(const char* name) {
  ClaimScratch(this, memberCount_, members_, eventInCount_, eventIns_);
  Scratch& s = TheScratch();
  for (int i = 0; i < memberCount_; ++i)
    if (name && s.members[i].name && std::strcmp(s.members[i].name, name) == 0)
      s.members[i].noEventIn = 0;
  if (eventInCount_ >= KS_MAX_MEMBERS) {
    std::fprintf(stderr, "KsNode::RegisterEventIn\n");
    std::fprintf(stderr, "  Event Table Overflow.\n");
    return 1;
  }
  s.eventIns[eventInCount_].name = name;
  ++eventInCount_;
  return 0;
}

int KsNode::RegisterFieldEventIn(const char* name) {
  ClaimScratch(this, memberCount_, members_, eventInCount_, eventIns_);
  Scratch& s = TheScratch();
  int i = FindMember(s.members, memberCount_, name);
  if (i < 0) return 1;
  for (; i < memberCount_; ++i)
    if (s.members[i].name && std::strcmp(s.members[i].name, name) == 0) s.members[i].noEventIn = 0;
  return 0;
}

int KsNode::RegisterEventOut(const char* name) {
  ClaimScratch(this, memberCount_, members_, eventInCount_, eventIns_);
  Scratch& s = TheScratch();
  int i = FindMember(s.members, memberCount_, name);
  if (i < 0) {
    std::fprintf(stderr, "KsNode::RegisterEventOut()\n");
    std::fprintf(stderr, "  Unknown member %s is specified.\n", name ? name : "");
    std::fprintf(stderr, "  Information :\n");
    std::fprintf(stderr, "    RegisterEventOut regists any member's eventOut.\n");
    std::fprintf(stderr, "    Must not be used for special eventOut.\n");
    return 1;
  }
  s.members[i].noEventOut = 0;
  if (s.members[i].field) s.members[i].field->SetNoPropagate(0);
  return 0;
}

int KsNode::RegisterDone() {
  ClaimScratch(this, memberCount_, members_, eventInCount_, eventIns_);
  Scratch& s = TheScratch();
  delete[] members_;
  delete[] eventIns_;
  members_ = nullptr;
  eventIns_ = nullptr;
  int failed = 0;
  if (memberCount_ > 0) {
    members_ = new (std::nothrow) KsMemberTable[memberCount_];
    if (!members_) {
      std::fprintf(stderr, "Cannot Register Member.\n");
      memberCount_ = 0;
      failed = 1;
    }
  }
  if (eventInCount_ > 0) {
    eventIns_ = new (std::nothrow) KsEventInTable[eventInCount_];
    if (!eventIns_) {
      std::fprintf(stderr, "Cannot Register Event.\n");
      eventInCount_ = 0;
      failed = 1;
    }
  }
  for (int i = 0; i < memberCount_; ++i) {
    members_[i].name = s.members[i].name;
    members_[i].owner = s.members[i].owner;
    members_[i].field = s.members[i].field;
    members_[i].noEventIn = s.members[i].noEventIn;
    members_[i].noEventOut = s.members[i].noEventOut;
  }
  for (int i = 0; i < eventInCount_; ++i) eventIns_[i].name = s.eventIns[i].name;
  if (failed) {
    std::fprintf(stderr, "KsNode::RegisterDone()\n");
    std::fprintf(stderr, "  Class = %s\n", GetClassName());
    return 1;
  }
  return 0;
}

const KsMemberTable* KsNode::GetMember(int i) const {
  if (i < 0 || i >= memberCount_ || !members_) return nullptr;
  return &members_[i];
}

const char* KsNode::GetEventInName(int i) const {
  if (i < 0 || i >= eventInCount_ || !eventIns_) return nullptr;
  return eventIns_[i].name;
}

// ---- reference counts ----------------------------------------------------

void KsNode::Ref() { refCount_ += Globals().refStep; }

void KsNode::Unref() {
  NodeGlobals& g = Globals();
  refCount_ -= g.refStep;
  if (refCount_ != 0 || g.noDelete != 0) return;
  // Queued already: given a reference and let go again while it waited.
  if (dying_) return;
  // A dying node takes no more events.
  ForgetRoutes();
  dying_ = 1;
  g.dying.push_back(this);
  if (g.freeing) return;
  // The outermost release frees, one node at a time, every node that the
  // releases let go (a chain through USE may be as long as the file
  // allows, and recursing along it would end the program).
  g.freeing = 1;
  while (!g.dying.empty()) {
    KsNode* node = g.dying.back();
    g.dying.pop_back();
    node->dying_ = 0;
    // Taken up again while it waited (through a pointer that holds no
    // reference): it lives on.
    if (node->refCount_ == 0) node->Destroy();
  }
  g.freeing = 0;
}

void KsNode::Destroy() {
  // Derived members die before ~KsNode runs, so their references are
  // dropped here, while every field is still alive.
  ReleaseHook();
  ReleaseMembers();
  delete this;
}

void KsNode::ForgetRoutes() {
  if (!routed_) return;
  routed_ = 0;
  KsRouter::ForgetNode(this);
}

void KsNode::Ref(KsNode* node) {
  if (node) node->Ref();
}

void KsNode::Unref(KsNode* node) {
  if (node) node->Unref();
}

void KsNode::DisableRefCount() { Globals().refStep = 0; }
void KsNode::EnableRefCount() { Globals().refStep = 1; }
void KsNode::SetNoDelete(int flag) { Globals().noDelete = flag; }

void KsNode::ReleaseMembers() {
  for (int i = 0; i < memberCount_; ++i)
    if (members_[i].field && FirstOfField(members_, i)) members_[i].field->ReleaseNodes();
}

int KsNode::GetConstructedCount() { return Globals().constructed; }
int KsNode::GetDestroyedCount() { return Globals().destroyed; }

void KsNode::ResetGlobals() {
  Globals() = NodeGlobals();
  TheScratch().owner = nullptr;
}

// ---- names and members ---------------------------------------------------

int KsNode::SetDefineName(const char* name) {
  if (!name) name = "";
  if (std::strlen(name) >= static_cast<size_t>(KS_NAME_SIZE)) {
    std::fprintf(stderr, "KsNode::SetDefineName\n");
    std::fprintf(stderr, "  Name is too long.\n");
    return 1;
  }
  std::strcpy(defName_, name);
  return 0;
}

KsField* KsNode::LookUpMember(const char* name) {
  int i = FindMember(members_, memberCount_, name);
  if (i >= 0) return members_[i].field;
  std::fprintf(stderr, "KsNode::LookUpMember()\n");
  std::fprintf(stderr, "  Member not found.\n");
  std::fprintf(stderr, "  Node Type      : %s\n", GetClassName());
  std::fprintf(stderr, "  Requested Tag : %s\n", name ? name : "");
  return nullptr;
}

// ---- events --------------------------------------------------------------

int KsNode::AcceptEvent(const char* name, KsField* field, KsNode* source) {
  KsEventHold hold(this);
  std::string normal(name ? name : "");
  KsNormalizeEventName(&normal[0]);
  normal.resize(std::strlen(normal.c_str()));
  int taken = 0;
  for (int i = 0; i < memberCount_; ++i) {
    if (members_[i].noEventIn != 0 || !members_[i].name) continue;
    if (std::strcmp(members_[i].name, normal.c_str()) != 0) continue;
    taken = 1;
    if (!field || !members_[i].field || field->CopyTo(members_[i].field) != 0) return 1;
  }
  for (int i = 0; i < eventInCount_; ++i) {
    if (!eventIns_[i].name || std::strcmp(eventIns_[i].name, normal.c_str()) != 0) continue;
    taken = 1;
    if (ExecSpecialEvent(normal.c_str(), field, source) != 0) return 1;
  }
  if (!taken) {
    std::fprintf(stderr, "KsNode::AcceptEvent()\n");
    std::fprintf(stderr, "Node has no event.\n");
    std::fprintf(stderr, "  Tag received   : %s\n", name ? name : "");
    std::fprintf(stderr, "  Field Received : %s\n", field ? field->GetClassName() : "");
    std::fprintf(stderr, "  Accepter       : %s\n", GetClassName());
    return 1;
  }
  return 0;
}

int KsNode::SendEventOut(const char* name, KsField* field) {
  if (!routeList_) return 0;
  KsEventHold hold(this);
  int result = routeList_->EventOut(this, name, field);
  // A field registered under several names (its VRML 2.0 name and an
  // older one) goes out under each, so routes from either name fire.
  if (!field || !name) return result;
  for (int i = 0; i < memberCount_ && result == 0 && routeList_; ++i) {
    const KsMemberTable& m = members_[i];
    if (m.field != field || !m.name || m.noEventOut != 0) continue;
    if (std::strcmp(m.name, name) == 0) continue;
    result = routeList_->EventOut(this, m.name, field);
  }
  return result;
}

// ---- parsing -------------------------------------------------------------

int KsNode::RealizeMember(KsWordNode* cursor, KsPartition* partition) {
  return RealizeBody(cursor, partition, 0);
}

int KsNode::RealizeBody(KsWordNode* cursor, KsPartition* partition, int depth) {
  KsWordNode* word = KsCursorWord(cursor);
  if (!word) return 0;
  if (word->text && std::strcmp(word->text, "{}") == 0) {
    if (depth >= KS_MAX_REALIZE_DEPTH) return 1;
    KsWordNode body = KsMakeCursor(word->child);
    int result = RealizeBody(&body, partition, depth + 1);
    KsCursorAdvance(cursor);
    return result;
  }
  while ((word = KsCursorWord(cursor)) != nullptr) {
    const char* text = word->text ? word->text : "";
    KsWordNode* next = word->next;
    if (next && next->text && std::strcmp(next->text, "IS") == 0 && next->next) {
      if (partition) partition->IsLookUp(this, text, next->next->text);
      KsCursorAdvance(cursor);
      KsCursorAdvance(cursor);
      KsCursorAdvance(cursor);
      continue;
    }
    if (std::strcmp(text, "ROUTE") == 0) {
      int failed = partition ? partition->GetRouter()->Realize(cursor, partition) : 1;
      if (failed != 0) {
        std::fprintf(stderr, "KsNode::RealizeMember\n");
        std::fprintf(stderr, "Failed to realize route.\n");
      }
      // Whatever the route parser did, step past ROUTE at least.
      if (KsCursorWord(cursor) == word) KsCursorAdvance(cursor);
      continue;
    }
    int i = FindMember(members_, memberCount_, text);
    if (i < 0) {
      std::fprintf(stderr, "KsNode::RealizeMember\n");
      std::fprintf(stderr, "  Unknown Tag %s\n", text);
      std::fprintf(stderr, "  Class = %s\n", GetClassName());
      return 1;
    }
    KsCursorAdvance(cursor);
    if (members_[i].field) members_[i].field->Realize(partition, cursor);
  }
  return 0;
}

// ---- graph operations ----------------------------------------------------

int KsNode::Scan(KsNodeScanner* scanner) {
  if (!scanner) return 0;
  NodeGlobals& g = Globals();
  // A node met again on its own path (a graph made cyclic by addChildren),
  // a walk too deep, or a shared node the walk has entered often enough
  // is not entered.
  if (scanning_ || g.scanDepth >= kMaxScanDepth || scanner->Enter(this) != 0) return 0;
  scanner->Push(this);
  if (scanner->Visit(this) != 0) {
    scanner->Pop();
    return 1;
  }
  scanning_ = 1;
  ++g.scanDepth;
  int result = 0;
  for (int i = 0; i < memberCount_ && result == 0; ++i) {
    KsField* field = members_[i].field;
    if (!field) continue;
    const char* cls = field->GetClassName();
    if (std::strcmp(cls, "KsSFNode") == 0) {
      KsNode* child = static_cast<KsSFNode*>(field)->Get();
      if (child && child->Scan(scanner) != 0) result = 1;
    } else if (std::strcmp(cls, "KsMFNode") == 0) {
      KsMFNode* list = static_cast<KsMFNode*>(field);
      // The list may change under a visitor: read the count each time.
      for (int k = 0; k < list->GetCount() && result == 0; ++k) {
        KsNode* child = list->GetElements()[k];
        if (child && child->Scan(scanner) != 0) result = 1;
      }
    }
  }
  --g.scanDepth;
  scanning_ = 0;
  scanner->Pop();
  return result;
}

KsNode* KsNode::Duplicate() {
  KsNode* clone = NewInstance();
  if (!clone) return nullptr;
  for (int i = 0; i < memberCount_; ++i) {
    const KsMemberTable& m = members_[i];
    int k = FindMember(clone->members_, clone->memberCount_, m.name);
    if (k < 0) {
      std::fprintf(stderr, "KsNode::Duplicate()\n");
      std::fprintf(stderr, "  Clone node does not have a member %s\n", m.name ? m.name : "");
      continue;
    }
    if (m.field && clone->members_[k].field) m.field->CopyTo(clone->members_[k].field);
  }
  return clone;
}

KsDuplicatorList* KsNode::CollectNodes(KsDuplicatorList* list) {
  if (!list) return list;
  KsNodeDuplicator* entry = list->Find(this);
  if (entry) {
    ++entry->useCount;
    return list;
  }
  if (!list->Append(this)) return list;
  for (int i = 0; i < memberCount_; ++i)
    if (members_[i].field && FirstOfField(members_, i))
      list = members_[i].field->CollectNodes(list);
  return list;
}

int KsNode::ApplyDuplicate(KsDuplicatorList* list) {
  for (int i = 0; i < memberCount_; ++i)
    if (members_[i].field && FirstOfField(members_, i))
      if (members_[i].field->ApplyDuplicate(list) != 0) return 1;
  return 0;
}

int KsNode::AddChild(KsNode* child) {
  KsMFNode* children = GetChildren();
  if (!children) return 1;
  children->Begin();
  int failed = children->Append(child);
  if (failed == 0)
    failed = children->Commit();
  else
    children->Commit();
  if (failed != 0) {
    std::fprintf(stderr, "Error at KsNode::AddChild\n");
    std::fprintf(stderr, " Owner %s\n", GetClassName());
    return 1;
  }
  return 0;
}
