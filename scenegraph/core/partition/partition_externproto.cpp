// EXTERNPROTO: a PROTO copied from another VRML file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/reading/word_reading.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
// Files being read for EXTERNPROTO statements, outermost first. Files that
// name each other would otherwise read one another without end.
struct ExternState {
  std::vector<std::string> reading;
  int reads = 0;   // files read since the outermost read began
  int scopes = 0;  // KsExternReadScope nesting
  // Files read in the outermost read, by absolute name; null for one
  // that could not be read, so that it is not tried again.
  std::vector<std::pair<std::string, KsExternFile*>> kept;
};

ExternState& Extern() {
  static ExternState state;
  return state;
}

void Report(const char* what, int line) {
  KsNoteReadError(line);
  std::fprintf(stderr, "KsPartition::RealizeExternProto()\n");
  std::fprintf(stderr, "  %s\n", what);
  std::fprintf(stderr, "  Line number = %d\n", line);
}

// The URL of the statement: a string's text; of a list, its first string.
std::string UrlOf(const KsWordNode* word) {
  if (KsIsGroupWord(word, "[]")) word = word->child;
  if (KsIsGroupWord(word, "\"\"")) {
    // A long string is kept in pieces.
    std::string url;
    for (const KsWordNode* piece = word->child; piece; piece = piece->next)
      url += KsWordTextOf(piece);
    return url;
  }
  return KsWordTextOf(word);
}

// The file's absolute name, to recognise it however it was reached; the
// name itself when it cannot be resolved.
std::string FullPath(const std::string& path) {
#ifdef _WIN32
  char* full = _fullpath(nullptr, path.c_str(), 0);
#else
  char* full = realpath(path.c_str(), nullptr);
#endif
  if (!full) return path;
  std::string result(full);
  std::free(full);
  return result;
}

// Drops a read file's scene; its PROTO declarations stay.
void DropScene(KsPartition* p) {
  p->GetRouter()->Clear();
  while (p->GetNodeCount() > 0)
    if (p->DeleteNode(p->GetNode(p->GetNodeCount() - 1)) != 0) break;
}
}  // namespace

void KsHoldExternFile(KsExternFile* file) {
  if (file) ++file->holders;
}

void KsReleaseExternFile(KsExternFile* file) {
  if (!file || --file->holders > 0) return;
  delete file->scene;
  delete file;
}

namespace {
void ReleaseKept(ExternState& state) {
  std::vector<std::pair<std::string, KsExternFile*>> kept;
  kept.swap(state.kept);
  for (auto& entry : kept) KsReleaseExternFile(entry.second);
}

// What a step has made beyond what instances built in it were charged.
struct CostMark {
  int64_t cost = KsExpansionCost();
  int64_t used = KsProtoBudgetUsed();
  int64_t Uncharged() const { return (KsExpansionCost() - cost) - (KsProtoBudgetUsed() - used); }
};
}  // namespace

KsExternReadScope::KsExternReadScope() { ++Extern().scopes; }

KsExternReadScope::~KsExternReadScope() {
  ExternState& state = Extern();
  if (--state.scopes > 0) return;
  state.scopes = 0;
  state.reads = 0;
  ReleaseKept(state);
}

void KsResetProtoGlobals() {
  // Files kept by an abandoned read are left to leak rather than freed
  // half made; a finished read has let them go.
  Extern() = ExternState();
  KsCustomNode::ResetBuildState();
  KsResetProtoBudget();
}

namespace {
// Reads an EXTERNPROTO file and drops its scene, charging what reading it
// made to the read under way; null (reported) when it cannot be read.
KsExternFile* ReadSource(const std::string& path, const std::string& full, int line) {
  ExternState& state = Extern();
  KsPartition* file = new (std::nothrow) KsPartition();
  KsExternFile* source = file ? new (std::nothrow) KsExternFile : nullptr;
  if (!source) {
    delete file;
    Report("Out of memory.", line);
    return nullptr;
  }
  source->scene = file;
  source->holders = 1;  // the read's
  const CostMark mark;
  state.reading.push_back(full);
  ++state.reads;
  const int failed = file->ReadFile(path.c_str());
  state.reading.pop_back();
  if (failed != 0) {
    Report(file->GetReadErrors().failure == kKsReadTooLarge ? "Out of memory."
                                                            : "VRML file not found.",
           line);
    KsReleaseExternFile(source);
    return nullptr;
  }
  DropScene(file);
  KsProtoBudgetCharge(mark.Uncharged());
  return source;
}
}  // namespace

// EXTERNPROTO name [ interface ] url
KsNode* KsPartition::RealizeExternProto(KsWordNode* cursor) {
  KsWordNode* keyword = KsCursorWord(cursor);
  if (!keyword) return nullptr;
  const int line = keyword->text.Line();
  KsWordNode* name = keyword->next;
  KsWordNode* list = name ? name->next : nullptr;
  KsWordNode* url = list ? list->next : nullptr;
  KsCursorAdvance(cursor);
  if (!name || KsIsAnyGroup(name) || !KsIsGroupWord(list, "[]") || !url) {
    Report("Illegal EXTERNPROTO definition.", line);
    // Only what can belong to the declaration goes, so that the next
    // statement is still read.
    if (KsCursorWord(cursor) && !KsIsAnyGroup(KsCursorWord(cursor))) KsCursorAdvance(cursor);
    if (KsIsGroupWord(KsCursorWord(cursor), "[]")) KsCursorAdvance(cursor);
    if (KsIsGroupWord(KsCursorWord(cursor), "\"\"") || KsIsGroupWord(KsCursorWord(cursor), "[]"))
      KsCursorAdvance(cursor);
    return nullptr;
  }
  for (int i = 0; i < 3; ++i) KsCursorAdvance(cursor);
  const std::string protoName(KsWordTextOf(name));
  const std::string path = UrlOf(url);

  ExternState& state = Extern();
  if (static_cast<int>(state.reading.size()) >= KS_MAX_EXTERNPROTO_DEPTH) {
    Report("Too many EXTERNPROTO files.", line);
    return nullptr;
  }
  const std::string full = FullPath(path);
  for (const std::string& open : state.reading) {
    if (open == full) {
      Report("EXTERNPROTO files name each other.", line);
      return nullptr;
    }
  }

  KsExternFile* source = nullptr;
  bool known = false;
  for (const auto& entry : state.kept) {
    if (entry.first == full) {
      source = entry.second;
      known = true;
      break;
    }
  }
  if (!known) {
    if (state.reads >= KS_MAX_EXTERNPROTO_READS) {
      Report("Too many EXTERNPROTO files.", line);
      return nullptr;
    }
    source = ReadSource(path, full, line);
    state.kept.emplace_back(full, source);
    if (!source) return nullptr;
  }
  if (!source) {
    Report("VRML file not found.", line);
    return nullptr;
  }

  KsPartition* found = source->scene->FindProto(protoName.c_str());
  if (!found) {
    Report("Specified PROTO not found.", line);
    return nullptr;
  }
  // Copies are charged like instances: the file's allowance once spent,
  // the statement is skipped, the one message having been given.
  if (KsProtoBudgetSpent()) {
    KsNoteReadError(line);
    return nullptr;
  }
  const CostMark mark;
  KsPartition* copy = found->Duplicate();
  const int64_t cost = mark.Uncharged();
  if (!KsProtoBudgetAllows(cost, protoName.c_str())) {
    delete copy;
    KsNoteReadError(line);
    return nullptr;
  }
  KsProtoBudgetCharge(cost);
  KsProtoInterface* in = copy ? copy->GetInterface() : nullptr;
  if (!in) {
    Report("Out of memory.", line);
    delete copy;
    return nullptr;
  }
  // Instances nested in the copy name declarations of that file.
  KsHoldExternFile(source);
  in->retained = source;
  protos_.push_back(copy);
  if (KsProtoInterface* own = GetInterface()) own->IndexProto(copy);
  return nullptr;
}
