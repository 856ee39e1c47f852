// PROTO declarations: the statement, its interface list and IS bindings.
#include <cstdio>
#include <cstring>
#include <new>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/field_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_reading.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
void ReportIllegal(int line) {
  KsNoteReadError(line);
  std::fprintf(stderr, "KsPartition::RealizeProto()\n");
  std::fprintf(stderr, "  Illegal PROTO definition.\n");
  std::fprintf(stderr, "  Line number = %d\n", line);
}
}  // namespace

KsProtoInterface* KsPartition::GetInterface() {
  if (!interface_) interface_ = new (std::nothrow) KsProtoInterface();
  return interface_;
}

void KsPartition::ReleaseInterface() {
  KsProtoInterface* in = interface_;
  interface_ = nullptr;
  delete in;
}

KsPartition* KsPartition::FindProto(const char* name) const {
  if (!interface_) return nullptr;
  // A copy uses the declarations of the partition it was copied from.
  if (interface_->sharedProtos && interface_->sharedProtos != this)
    return interface_->sharedProtos->FindProto(name);
  return interface_->FindProto(name);
}

int KsPartition::RealizeMemberTable(KsWordNode* list) {
  if (!list) return 0;
  KsWordNode inner;
  KsWordNode* cursor = list;
  if (KsIsGroupWord(KsCursorWord(list), "[]")) {
    inner = KsMakeCursor(KsCursorWord(list)->child);
    KsCursorAdvance(list);
    cursor = &inner;
  }
  while (KsCursorWord(cursor)) {
    KsWordNode* first = KsCursorWord(cursor);
    const int line = first->text.Line();
    if (!KsCursorHasWords(cursor, 3)) {
      std::fprintf(stderr, "KsPartition::RealizeMemberTable()\n");
      std::fprintf(stderr, "  Error in defining parameter table.\n");
      std::fprintf(stderr, "  Line number = %d\n", line);
      // Fewer than three words: none of them makes an entry.
      while (KsCursorWord(cursor)) KsCursorAdvance(cursor);
      break;
    }
    const char* kind = KsWordTextOf(first);
    const char* type = KsWordTextOf(first->next);
    const char* name = KsWordTextOf(first->next->next);
    KsCursorAdvance(cursor);
    KsCursorAdvance(cursor);
    KsCursorAdvance(cursor);

    const int k = KsKeywordIndex(kind, KsMemberKindKeywords());
    if (k < 0) {
      std::fprintf(stderr, "KsPartition::RealizeMemberTable()\n");
      std::fprintf(stderr, "  Unknown Type Specifier %s\n", kind);
      std::fprintf(stderr, "  Line number = %d\n", line);
      continue;
    }
    KsProtoInterface* in = GetInterface();
    KsFieldTable* entry = new (std::nothrow) KsFieldTable(type, name);
    if (!in || !entry) {
      delete entry;
      std::fprintf(stderr, "KsPartition::RealizeMemberTable()\n");
      std::fprintf(stderr, "  Out of memory.\n");
      continue;
    }
    if (k == KS_KIND_EVENT_IN || k == KS_KIND_EVENT_OUT) {
      in->AddEntry(k, entry);
      continue;
    }
    KsField* value = KsCreateField(type);
    if (!value) {
      std::fprintf(stderr, "KsPartition::RealizeMemberTable()\n");
      std::fprintf(stderr, "  Unknown Field = %s\n", type);
      std::fprintf(stderr, "  Line number = %d\n", line);
      delete entry;
      continue;
    }
    // The field reports a value it cannot read and keeps its default.
    value->Realize(this, cursor);
    entry->defaultValue = value;
    entry->noEvents = k == KS_KIND_FIELD ? 1 : 0;
    in->AddEntry(k, entry);
  }
  return 0;
}

// PROTO name [ interface ] { body }
KsNode* KsPartition::RealizeProto(KsWordNode* cursor) {
  KsWordNode* keyword = KsCursorWord(cursor);
  if (!keyword) return nullptr;
  KsWordNode* name = keyword->next;
  KsWordNode* list = name ? name->next : nullptr;
  KsWordNode* body = list ? list->next : nullptr;
  if (!name || KsIsAnyGroup(name) || !KsIsGroupWord(list, "[]") || !KsIsGroupWord(body, "{}")) {
    ReportIllegal(keyword->text.Line());
    // Only what can belong to the declaration goes, so that the next
    // statement is still read.
    KsCursorAdvance(cursor);
    if (KsCursorWord(cursor) && !KsIsAnyGroup(KsCursorWord(cursor))) KsCursorAdvance(cursor);
    if (KsIsGroupWord(KsCursorWord(cursor), "[]")) KsCursorAdvance(cursor);
    if (KsIsGroupWord(KsCursorWord(cursor), "{}")) KsCursorAdvance(cursor);
    return nullptr;
  }
  for (int i = 0; i < 4; ++i) KsCursorAdvance(cursor);

  KsPartition* proto = new (std::nothrow) KsPartition();
  if (!proto) {
    std::fprintf(stderr, "KsPartition::RealizeNode()\n");
    std::fprintf(stderr, "  Out of memory.\n");
    return nullptr;
  }
  proto->SetProtoName(KsWordTextOf(name));
  // The interface list, then the body: RealizeNodeList stops after the
  // brace group.
  KsWordNode groups = KsMakeCursor(list);
  proto->RealizeNodeList(&groups);
  protos_.push_back(proto);
  if (KsProtoInterface* in = GetInterface()) in->IndexProto(proto);
  return nullptr;
}

int KsPartition::IsLookUp(KsNode* inner, const char* innerMember, const char* interfaceName) {
  if (!interfaceName) interfaceName = "";
  if (!innerMember) innerMember = "";
  KsProtoInterface* in = interface_;
  if (in && inner) {
    const int kind = in->FindKind(interfaceName);
    if (kind >= 0) {
      KsIsTable* is = new (std::nothrow) KsIsTable(interfaceName, inner, innerMember);
      if (!is) {
        std::fprintf(stderr, "KsPartition::IsLookUp()\n");
        std::fprintf(stderr, "  Out of memory.\n");
        return 1;
      }
      in->AddBinding(kind, is);
      // Values reach fields through OwnerMemberChanged; events travel
      // on routes from and to no node.
      if (kind == KS_KIND_EVENT_IN)
        return router_.AddRoute(nullptr, is->exportedName, inner, is->innerMember);
      if (kind == KS_KIND_EVENT_OUT)
        return router_.AddRoute(inner, is->innerMember, nullptr, interfaceName);
      return 0;
    }
  }
  std::fprintf(stderr, "KsPartition::IsLookUp()\n");
  std::fprintf(stderr, "  'IS' target not found.\n");
  std::fprintf(stderr, "  Target Name  = %s\n", innerMember);
  std::fprintf(stderr, "  Export Name  = %s\n", interfaceName);
  std::fprintf(stderr, "  Owner Type   = %s\n", inner ? inner->GetClassName() : "");
  return 1;
}
