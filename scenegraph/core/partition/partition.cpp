#include "scenegraph/core/partition/partition.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <cstdio>
#include <cstring>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/object/read_release.h"
#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/reading/file_kind.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"
#include "scenegraph/core/reading/working_dir.h"

static_assert(KsVrmlPass1::kNodeLevels == KS_MAX_REALIZE_DEPTH,
              "the bracket bound must admit what the realiser nests");

namespace {
const char kPartitionName[] = "KsPartition";
KsClassRecord* g_partitionRecord = nullptr;

long long& RootVisits() {
  static long long visits = 0;
  return visits;
}

int IsWord(const KsWordNode* word, const char* text) {
  return word && word->text && std::strcmp(word->text, text) == 0;
}

int IsGroup(const KsWordNode* word, const char* marks) { return IsWord(word, marks); }
}  // namespace

KsPartition::KsPartition() : router_(this) {
  KsClassManager::Ensure(&g_partitionRecord, kPartitionName, KsObject::ClassRecord());
  KsSensorTable::Reset();
}

KsPartition::~KsPartition() {
  // The table holds node pointers without references.
  KsSensorTable::Reset();
  // Nodes held elsewhere (a binding stack) may outlive this partition:
  // they must not send into its router once it is gone. The routes go
  // first, so that the nodes need not leave them one by one.
  router_.Clear();
  // The labels go first, so that the nodes need not leave them one by one.
  labels_.Clear();
  std::vector<KsNode*> roots;
  roots.swap(roots_);
  rootSet_.clear();
  for (KsNode* node : roots) KsNode::Unref(node);
  std::vector<KsNode*> discards;
  discards.swap(discards_);
  for (KsNode* node : discards) KsNode::Unref(node);
  // Defaults may hold instances of the nested declarations: they go first.
  ReleaseInterface();
  for (KsPartition* proto : protos_) delete proto;
  protos_.clear();
}

const char* KsPartition::GetClassName() const { return kPartitionName; }
KsClassRecord* KsPartition::GetClassInfo() const { return g_partitionRecord; }

int KsPartition::AddLabel(const char* name, KsNode* node) { return labels_.Add(name, node); }
KsNode* KsPartition::FindLabel(const char* name) { return labels_.Find(name); }

int KsPartition::SetProtoName(const char* name) {
  if (!name) name = "";
  size_t n = std::strlen(name);
  if (n > KS_NAME_SIZE - 1) n = KS_NAME_SIZE - 1;
  std::memcpy(protoName_, name, n);
  protoName_[n] = '\0';
  return 0;
}

KsPartition* KsPartition::GetProto(int i) const {
  if (i < 0 || i >= GetProtoCount()) return nullptr;
  return protos_[static_cast<size_t>(i)];
}

KsNode* KsPartition::GetNode(int i) const {
  if (i < 0 || i >= GetNodeCount()) return nullptr;
  return roots_[static_cast<size_t>(i)];
}

int KsPartition::AppendNode(KsNode* node) {
  if (!node) return 1;
  ++RootVisits();
  if (rootSet_.count(node) != 0) {
    std::fprintf(stderr, "KsPartition::AppendNode()\n");
    std::fprintf(stderr, "  Node is already included.\n");
    return 1;
  }
  rootSet_.insert(node);
  roots_.push_back(node);
  node->Ref();
  return 0;
}

int KsPartition::DeleteNode(KsNode* node) {
  if (!node || rootSet_.count(node) == 0) {
    std::fprintf(stderr, "KsPartition::DeleteNode()\n");
    std::fprintf(stderr, "  Node is not included.\n");
    return 1;
  }
  // Searched from the end, where the latest nodes are dropped.
  auto it = std::find(roots_.rbegin(), roots_.rend(), node);
  RootVisits() += 1 + (it - roots_.rbegin());
  roots_.erase(std::next(it).base());
  rootSet_.erase(node);
  KsNode::Unref(node);
  return 0;
}

long long KsPartition::GetRootVisits() { return RootVisits(); }
void KsPartition::ResetRootVisits() { RootVisits() = 0; }

void KsPartition::Discard(KsNode* node) {
  discards_.push_back(node);
  node->Ref();
}

namespace {
KsReadFailure FailureOfOpen(KsFileOpenResult result) {
  switch (result) {
    case kKsFileNotFound: return kKsReadNotFound;
    case kKsFileNotRegular: return kKsReadNotRegular;
    default: return kKsReadCannotOpen;
  }
}
}  // namespace

namespace {
int& ReadsUnderWay() {
  static int reads = 0;
  return reads;
}
}  // namespace

int KsPartition::ReadFile(const char* path) {
  // The outermost read's boundary: memory running out in the standard
  // containers of a read (a 32-bit process can reach it) fails the read
  // as too large for memory, as running out anywhere else in it does.
  // Reads of EXTERNPROTO files inside it share the one boundary.
  if (ReadsUnderWay() > 0) return ReadFileWhole(path);
  ++ReadsUnderWay();
  int result = 1;
  try {
    result = ReadFileWhole(path);
  } catch (const std::bad_alloc&) {
    // What the read had built is freed with this partition; the state
    // of reads and instances under way goes back to none.
    KsResetProtoGlobals();
    readErrors_.failure = kKsReadTooLarge;
    readErrors_.failureLine = 0;
    std::fprintf(stderr, "KsPartition::ReadFile()\n");
    std::fprintf(stderr, "  Out of memory.\n");
    result = 1;
  }
  --ReadsUnderWay();
  return result;
}

int KsPartition::ReadFileWhole(const char* path) {
  readErrors_ = KsReadErrors();
  if (!path) {
    readErrors_.failure = kKsReadNotFound;
    return 1;
  }
  QmReadWordFile reader;
  KsVrmlPass1 pass;
  if (!reader.Open(path)) {
    readErrors_.failure = FailureOfOpen(reader.GetOpenResult());
    // A device or a pipe could be read for ever.
    if (readErrors_.failure == kKsReadNotRegular) {
      std::fprintf(stderr, "KsPartition::ReadFile()\n");
      std::fprintf(stderr, "  Not a regular file: %s\n", path);
    }
    return 1;
  }

  KsWorkingDirScope folder(KsFolderOfPath(path));
  KsReadErrorScope errors(&readErrors_);
  const int passResult = pass.Run(&reader);
  reader.Close();
  if (pass.GetErrorCode() == KsVrmlPass1::kErrorMemory) {
    // Half a tree would be a different world: nothing of it is kept.
    readErrors_.failure = kKsReadTooLarge;
    readErrors_.failureLine = pass.GetErrorLine();
    return 1;
  }
  if (passResult != 0 && pass.GetErrorCode() != KsVrmlPass1::kErrorNone) {
    if (pass.GetCutLine() > 0) {
      // Unread, the lost statements cannot be counted: where the loss
      // begins is told instead.
      readErrors_.cutLine = pass.GetCutLine();
    } else {
      // A bracket that does not match its group: that group is lost.
      KsNoteReadError(pass.GetErrorLine());
    }
  }

  RealizeTree(pass.GetRoot());
  // A list whose values could not be held: what was realised is not the
  // file, and the caller drops it.
  if (readErrors_.failure == kKsReadTooLarge) return 1;
  return 0;
}

int KsPartition::RealizeTree(KsWordNode* root) {
  KsProtoBudgetScope expansion(root);
  KsExternReadScope externFiles;
  KsReadReleaseScope releases;
  KsWordNode cursor = KsMakeCursor(root);
  int result = 0;
  // A list that opens with a brace group returns after it; read on so that
  // nothing after it is lost.
  while (KsCursorWord(&cursor)) {
    KsWordNode* before = KsCursorWord(&cursor);
    result = RealizeNodeList(&cursor);
    if (result != 0 || KsCursorWord(&cursor) == before) break;
  }
  return result;
}

int KsPartition::RealizeNodeList(KsWordNode* cursor) {
  if (!KsCursorWord(cursor)) return 0;
  while (IsGroup(KsCursorWord(cursor), "[]")) {
    KsWordNode list = KsMakeCursor(KsCursorWord(cursor)->child);
    if (RealizeMemberTable(&list) != 0) return 1;
    KsCursorAdvance(cursor);
    if (!KsCursorWord(cursor)) return 0;
  }
  if (IsGroup(KsCursorWord(cursor), "{}")) {
    KsWordNode body = KsMakeCursor(KsCursorWord(cursor)->child);
    RealizeNodeList(&body);
    KsCursorAdvance(cursor);
    return 0;
  }
  while (KsCursorWord(cursor)) {
    KsNode* node = RealizeNode(cursor);
    if (node) AppendNode(node);
  }
  return 0;
}

void KsPartition::PrintErrorTail(KsWordNode* cursor) {
  if (KsCursorWord(cursor)) std::fprintf(stderr, "Line Number %d\n", KsCursorLine(cursor));
  std::fprintf(stderr, "Error at KsPartition::RealizeNode()\n");
  std::fprintf(stderr, "\n");
}

KsNode* KsPartition::RealizeNode(KsWordNode* cursor) {
  KsWordNode* word = KsCursorWord(cursor);
  if (!word) {
    PrintErrorTail(cursor);
    return nullptr;
  }
  const char* text = word->text ? word->text : "";
  if (std::strcmp(text, "ROUTE") == 0) {
    if (router_.Realize(cursor, this) != 0) {
      KsNoteReadError(word->text.Line());
      std::fprintf(stderr, "Failed to realize route.\n");
      PrintErrorTail(cursor);
    }
    if (KsCursorWord(cursor) == word) KsCursorAdvance(cursor);
    return nullptr;
  }
  if (std::strcmp(text, "PROTO") == 0) return RealizeProto(cursor);
  if (std::strcmp(text, "EXTERNPROTO") == 0) return RealizeExternProto(cursor);
  if (std::strcmp(text, "DEF") == 0) return RealizeDef(cursor);
  if (std::strcmp(text, "USE") == 0) return RealizeUse(cursor);
  if (std::strcmp(text, "NULL") == 0) {
    KsCursorAdvance(cursor);
    return nullptr;
  }

  // Node statements nest through fields. Bodies without braces
  // ("Group children Group children ...") nest without any group, so the
  // pre-pass's bound does not cover them.
  if (depth_ >= KS_MAX_REALIZE_DEPTH) {
    KsNoteReadError(word->text.Line());
    std::fprintf(stderr, "Nesting Too Deep.\n");
    PrintErrorTail(cursor);
    KsCursorAdvance(cursor);
    if (IsGroup(KsCursorWord(cursor), "{}")) KsCursorAdvance(cursor);
    return nullptr;
  }

  KsNode* node = CreateNode(text);
  KsCursorAdvance(cursor);
  if (!node) {
    KsNoteReadError(word->text.Line());
    std::fprintf(stderr, "Skipping Unknown Node.\n");
    if (IsGroup(KsCursorWord(cursor), "{}")) KsCursorAdvance(cursor);
    return nullptr;
  }
  ++depth_;
  int failed = node->RealizeMember(cursor, this);
  --depth_;
  if (failed != 0) {
    KsNoteReadError(word->text.Line());
    std::fprintf(stderr, "Failed to Realize Member.\n");
    PrintErrorTail(cursor);
    // Labels defined inside the body may point into it: keep it alive.
    Discard(node);
    return nullptr;
  }
  return node;
}

KsNode* KsPartition::CreateNode(const char* keyword) {
  if (!keyword) keyword = "";
  if (KsNodeKeywordIndex(keyword) >= 0) {
    KsNodeConstructor ctor = KsFindNodeConstructor(keyword);
    if (ctor) return ctor();
  }
  // Then the PROTO declarations of this very partition.
  if (KsPartition* proto = FindProto(keyword)) return KsCustomNode::Create(proto);
  std::fprintf(stderr, "Unknown Node Identifier %s\n", keyword);
  return nullptr;
}

KsNode* KsPartition::RealizeDef(KsWordNode* cursor) {
  KsWordNode* def = KsCursorWord(cursor);
  if (!def) return nullptr;
  if (!def->next) {
    std::fprintf(stderr, "KsPartition::RealizeDef()\n");
    KsNoteReadError(def->text.Line());
    std::fprintf(stderr, "  Failed to fetch label for DEF.\n");
    std::fprintf(stderr, "  Line number = %d\n", def->text.Line());
    KsCursorAdvance(cursor);
    return nullptr;
  }
  KsCursorAdvance(cursor);
  char label[KS_NAME_SIZE];
  const char* text = KsCursorWord(cursor)->text ? KsCursorWord(cursor)->text : "";
  size_t n = std::strlen(text);
  if (n > KS_NAME_SIZE - 1) n = KS_NAME_SIZE - 1;
  std::memcpy(label, text, n);
  label[n] = '\0';
  KsCursorAdvance(cursor);

  // At the end of a list this reports the missing statement.
  if (!KsCursorWord(cursor)) KsNoteReadError(def->text.Line());
  KsNode* node = RealizeNode(cursor);
  if (AddLabel(label, node) != 0) {
    std::fprintf(stderr, "Warning : KsPartition::RealizeDef()\n");
    std::fprintf(stderr, "  Failed to add label %s.\n", label);
    std::fprintf(stderr, "  Line number = %d\n", def->text.Line());
  }
  if (node) node->SetDefineName(label);
  return node;
}

KsNode* KsPartition::RealizeUse(KsWordNode* cursor) {
  KsWordNode* use = KsCursorWord(cursor);
  if (!use) return nullptr;
  if (!use->next) {
    KsNoteReadError(use->text.Line());
    std::fprintf(stderr, "No label is defined for USE directive.\n");
    std::fprintf(stderr, "KsPartition::RealizeUse()\n");
    std::fprintf(stderr, "  Error at line number %d\n", use->text.Line());
    KsCursorAdvance(cursor);
    return nullptr;
  }
  KsCursorAdvance(cursor);
  KsWordNode* label = KsCursorWord(cursor);
  const char* text = label->text ? label->text : "";
  KsNode* node = FindLabel(text);
  if (node) {
    KsCursorAdvance(cursor);
    return node;
  }
  KsNoteReadError(use->text.Line());
  std::fprintf(stderr, "Failed to USE %s\n", text);
  std::fprintf(stderr, "KsPartition::RealizeUse()\n");
  std::fprintf(stderr, "  Error at line number %d\n", label->text.Line());
  return nullptr;
}
