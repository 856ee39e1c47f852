#include "scenegraph/core/writing/write_context.h"

#include <unordered_map>

#include "scenegraph/core/protos/proto_interface.h"

namespace {

// Indexed by inner node, so that each node finds its lines without a walk
// over every binding of its partition.
typedef std::unordered_map<const KsNode*, std::vector<KsWriteBinding>> BindingIndex;

std::vector<BindingIndex>& Contexts() {
  static std::vector<BindingIndex> contexts;
  return contexts;
}

void IndexList(BindingIndex* index, const std::vector<KsIsTable*>& list) {
  for (const KsIsTable* is : list)
    if (is && is->innerNode)
      (*index)[is->innerNode].push_back(KsWriteBinding{is->rawInnerMember, is->rawName});
}

}  // namespace

int KsPushWriteContext(const KsProtoInterface* in) {
  BindingIndex index;
  if (in) {
    IndexList(&index, in->fieldIs);
    IndexList(&index, in->eventInIs);
    IndexList(&index, in->eventOutIs);
  }
  Contexts().push_back(std::move(index));
  return static_cast<int>(Contexts().size());
}

void KsPopWriteContext() {
  if (!Contexts().empty()) Contexts().pop_back();
}

const std::vector<KsWriteBinding>* KsFindWriteBindings(int context, const KsNode* node) {
  std::vector<BindingIndex>& contexts = Contexts();
  if (context < 1 || context > static_cast<int>(contexts.size())) return nullptr;
  const BindingIndex& index = contexts[static_cast<size_t>(context - 1)];
  auto it = index.find(node);
  return it == index.end() ? nullptr : &it->second;
}

void KsResetWriteContexts() { Contexts().clear(); }
