// A partition as VRML text: labels first, then PROTO declarations with
// their bodies, root nodes and routes.
#include <cstdio>
#include <string>
#include <unordered_map>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/writing/node_write.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/writing/write_context.h"

namespace {

constexpr int kLabelCount = 100000;

// Names in use, with the number of times each was met.
class NameList {
 public:
  void Add(const char* name) { ++counts_[name]; }
  int Count(const char* name) const {
    auto it = counts_.find(name);
    return it == counts_.end() ? 0 : it->second;
  }
  // The first generated label not in use, added to the list; false when
  // every one is taken. Labels are only ever added, so a number found in
  // use stays in use and the search resumes where it stopped.
  bool Generate(char* label, size_t size) {
    for (; next_ < kLabelCount; ++next_) {
      std::snprintf(label, size, "KESTRUNE%05d", next_);
      if (Count(label) == 0) {
        Add(label);
        ++next_;
        return true;
      }
    }
    if (!reported_) {
      reported_ = 1;
      std::fprintf(stderr, "KsPartition::AssignLabels()\n");
      std::fprintf(stderr, "  No label left.\n");
    }
    return false;
  }

 private:
  std::unordered_map<std::string, int> counts_;
  int next_ = 0;
  int reported_ = 0;
};

// Hands every node of a walk to a function, one call per visit.
template <typename F>
class VisitAll : public KsNodeScanner {
 public:
  explicit VisitAll(F f) : f_(f) {}
  int Visit(KsNode* node) override {
    f_(node);
    return 0;
  }

 private:
  F f_;
};

template <typename F>
void ScanAll(KsPartition* partition, F f) {
  VisitAll<F> scanner(f);
  partition->Scan(&scanner);
}

// Hands the text on to another stream, writing nodes without labels: the
// nodes of a PROTO interface's defaults belong to no scope that a label
// could name them in.
class ScopeStream : public KsOutStream {
 public:
  explicit ScopeStream(KsOutStream* target) : target_(target) { SetUnlabelled(1); }
  int Write(const char* text) override { return target_->Write(text); }

 private:
  KsOutStream* target_;
};

// References that the partition's IS bindings hold on body nodes: a
// binding is no use of the node in the text.
std::unordered_map<const KsNode*, int> BindingReferences(const KsProtoInterface* in) {
  std::unordered_map<const KsNode*, int> counts;
  if (!in) return counts;
  for (const std::vector<KsIsTable*>* list : {&in->fieldIs, &in->eventInIs, &in->eventOutIs})
    for (const KsIsTable* is : *list)
      if (is && is->innerNode) ++counts[is->innerNode];
  return counts;
}

}  // namespace

int KsPartition::AssignLabels() {
  KsPartition* decls = KsProtoDeclarationsOf(this);
  NameList names;
  for (int i = 0; i < decls->GetProtoCount(); ++i) {
    KsPartition* proto = decls->GetProto(i);
    if (proto && proto->GetProtoName()[0]) names.Add(proto->GetProtoName());
  }
  ScanAll(this, [&names](KsNode* node) {
    if (node->GetDefineName()[0]) names.Add(node->GetDefineName());
  });

  char label[KS_NAME_SIZE];
  for (int i = 0; i < decls->GetProtoCount(); ++i) {
    KsPartition* proto = decls->GetProto(i);
    if (!proto) continue;
    const char* name = proto->GetProtoName();
    if ((name[0] == '\0' || names.Count(name) > 1) && names.Generate(label, sizeof label))
      proto->SetProtoName(label);
  }
  KsRouter* router = GetRouter();
  const std::unordered_map<const KsNode*, int> bound = BindingReferences(FindInterface());
  ScanAll(this, [&](KsNode* node) {
    auto binding = bound.find(node);
    const int uses = node->GetRefCount() - (binding == bound.end() ? 0 : binding->second);
    if (uses < 2 && router->IsRouted(node) == KS_FALSE) return;
    const char* name = node->GetDefineName();
    if (name[0] && names.Count(name) < 2) return;
    if (names.Generate(label, sizeof label)) node->SetDefineName(label);
  });
  return 0;
}

int KsPartition::WriteProto(KsOutStream* stream) {
  if (!stream) return 1;
  KsOutStream* target = stream;
  ScopeStream scope(target);
  stream = &scope;
  stream->Printf("PROTO %s\n", GetProtoName());
  stream->Printf("[\n");
  if (const KsProtoInterface* in = FindInterface()) {
    for (const KsFieldTable* entry : in->fields) {
      stream->Printf(entry->noEvents == 1 ? "field " : "exposedField ");
      stream->Printf("%s ", entry->typeName);
      stream->Printf("%s ", entry->rawName);
      // A node-valued default is written without IS lines.
      if (entry->defaultValue) KsWriteFieldValue(stream, entry->defaultValue, 0);
      stream->Printf("\n");
    }
    for (const KsFieldTable* entry : in->eventIns)
      stream->Printf("eventIn %s %s\n", entry->typeName, entry->rawName);
    for (const KsFieldTable* entry : in->eventOuts)
      stream->Printf("eventOut %s %s\n", entry->typeName, entry->rawName);
  }
  stream->Printf("]\n");
  if (scope.GetNodeFailed() != 0) {
    target->MarkNodeFailed();
    return 1;
  }
  return 0;
}

int KsPartition::WriteHeader(KsOutStream* stream) {
  if (!stream) return 1;
  stream->Printf("#VRML V2.0 utf8\n");
  return Write(stream, 0);
}

int KsPartition::Write(KsOutStream* stream, int) {
  if (!stream) return 1;
  AssignLabels();

  KsPartition* decls = KsProtoDeclarationsOf(this);
  for (int i = 0; i < decls->GetProtoCount(); ++i) {
    KsPartition* proto = decls->GetProto(i);
    if (!proto) continue;
    if (proto->WriteProto(stream) != 0) return 1;
    stream->Printf("{\n");
    if (proto->Write(stream, 0) != 0) return 1;
    stream->Printf("}\n");
  }

  int context = KsPushWriteContext(FindInterface());
  for (KsNode* node : roots_) {
    if (node && node->Write(stream, context) != 0) {
      KsPopWriteContext();
      return 1;
    }
  }
  KsPopWriteContext();

  KsRouter* router = GetRouter();
  for (int i = 0; i < router->GetRouteCount(); ++i) {
    KsNode* source = nullptr;
    KsNode* target = nullptr;
    const char* sourceEvent = nullptr;
    const char* targetEvent = nullptr;
    if (router->GetRoute(i, &source, &sourceEvent, &target, &targetEvent) != 0) continue;
    // Ends made by IS are written as IS lines; an end that is not in the
    // text (a node outside the scene's graph) could not be read back.
    if (!source || !target) continue;
    if (stream->FindWritten(source) == 0 || stream->FindWritten(target) == 0) continue;
    stream->Printf("ROUTE %s.%s TO %s.%s\n", source->GetDefineName(),
                   KsWrittenEventName(source, sourceEvent, 1).c_str(), target->GetDefineName(),
                   KsWrittenEventName(target, targetEvent, 0).c_str());
  }
  return 0;
}
