// A node as VRML text: DEF or USE, type name, every member, IS lines.
#include <cstdio>

#include <cstring>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/writing/node_write.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/writing/write_context.h"

namespace {
// Deeper than anything the reader builds; only a graph made cyclic by
// events without names could reach it.
constexpr int kMaxWriteDepth = 2 * KS_MAX_REALIZE_DEPTH;
// A list of nodes laid out as its Print does, its empty slots left out.
int WriteNodeList(KsOutStream* stream, const KsMFNode* list, int context) {
  stream->Printf("[\n");
  KsNode* const* nodes = list->GetElements();
  int last = -1;
  for (int i = 0; i < list->GetCount(); ++i)
    if (nodes[i]) last = i;
  int written = 0;
  for (int i = 0; i <= last; ++i) {
    KsNode* node = nodes[i];
    if (!node) continue;
    node->Write(stream, context);
    if (i != last) stream->Printf(",");
    if (written++ % 8 == 0) stream->Printf("\n");
  }
  stream->Printf("]\n");
  return 0;
}

}  // namespace

int KsWriteFieldValue(KsOutStream* stream, KsField* field, int context) {
  if (!stream || !field) return 1;
  if (std::strcmp(field->GetClassName(), "KsMFNode") == 0)
    return WriteNodeList(stream, static_cast<const KsMFNode*>(field), context);
  return field->Print(stream, context);
}

int KsNode::Write(KsOutStream* stream, int context) {
  if (!stream) return 1;
  const char* name = stream->GetUnlabelled() ? "" : GetDefineName();
  if (name[0] && stream->FindWritten(this) == 1) {
    stream->Printf("USE %s\n", name);
    return 0;
  }
  if (stream->EnterNode() > kMaxWriteDepth) {
    stream->LeaveNode();
    std::fprintf(stderr, "KsNode::Write()\n");
    std::fprintf(stderr, "  Nesting too deep.\n");
    stream->MarkNodeFailed();
    return 1;
  }
  if (name[0]) {
    stream->Printf("DEF %s ", name);
    stream->AddWritten(this);
  }
  WriteTypeName(stream);
  stream->Printf("{\n");

  int result = 0;
  for (int i = 0; i < GetMemberCount() && result == 0; ++i) {
    const KsMemberTable* member = GetMember(i);
    if (!member || !member->field) continue;
    const char* memberName = KsWrittenMemberName(this, member);
    if (!memberName) continue;
    // A field registered under two names is written once.
    bool seen = false;
    for (int j = 0; j < i && !seen; ++j) {
      const KsMemberTable* earlier = GetMember(j);
      seen = earlier && earlier->field == member->field && KsWrittenMemberName(this, earlier);
    }
    if (seen) continue;
    stream->Printf("%s ", memberName);
    if (KsWriteFieldValue(stream, member->field, context) != 0 || stream->GetNodeFailed() != 0)
      result = 1;
    stream->Printf("\n");
  }
  if (result == 0) {
    if (const std::vector<KsWriteBinding>* lines = KsFindWriteBindings(context, this))
      for (const KsWriteBinding& line : *lines)
        stream->Printf("%s IS %s\n", KsWrittenIsMember(this, line.innerMember).c_str(),
                       line.exportedName);
    stream->Printf("}\n");
  }
  stream->LeaveNode();
  return result;
}
