#include "scenegraph/core/fields/field.h"

#include <cstdio>
#include <cstring>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/reading/word_tree.h"

KsField::KsField() = default;

KsField::~KsField() = default;

const char* KsField::GetClassName() const { return "KsField"; }

KsClassRecord* KsField::GetClassInfo() const { return KsObject::ClassRecord(); }

int KsField::Print(KsOutStream*, int) const { return 0; }

int KsField::Realize(KsPartition*, KsWordNode* cursor) {
  KsWordNode* word = KsCursorWord(cursor);
  std::fprintf(stderr, "KsField::Realize is called.\n");
  std::fprintf(stderr, "This function must not called.\n");
  std::fprintf(stderr, "Owner class = %s\n", GetClassName());
  std::fprintf(stderr, "String = %s\n", (word && word->text) ? word->text : "");
  return 1;
}

KsDuplicatorList* KsField::CollectNodes(KsDuplicatorList* list) { return list; }

int KsField::ApplyDuplicate(KsDuplicatorList*) { return 0; }

void KsField::ReleaseNodes() {}

void KsField::BeforeSet() {}

void KsField::AfterSet() {}

int KsField::ExecCopyTo(KsField*) {
  std::fprintf(stderr, "KsField::ExecCopyTo() is called.\n");
  std::fprintf(stderr, "  This must not be called.\n");
  return 1;
}

void KsField::Init(KsNode* owner, int flag, const char* memberName) {
  owner_ = owner;
  memberName_ = memberName;
  noPropagate_ = (flag != 0) ? 1 : 0;
}

int KsField::ValueChanged() {
  if (owner_ != nullptr) {
    owner_->InvalidateCache();
    if (owner_->OwnerMemberChanged(memberName_, this) != 0) {
      std::fprintf(stderr, "Warning   KsField::ValueChanged()\n");
      std::fprintf(stderr, "  OwnerMemberChanged returned KS_ERR.\n");
    }
  }
  if (noPropagate_ != 0) return 0;
  if (owner_ != nullptr) return owner_->SendEventOut(memberName_, this);
  return 0;
}

int KsField::CopyTo(KsField* target) {
  if (target != nullptr && std::strcmp(GetClassName(), target->GetClassName()) == 0)
    return ExecCopyTo(target);
  std::fprintf(stderr, "KsField::CopyTo()\n");
  std::fprintf(stderr, "  Attempted to copy between different types.\n");
  std::fprintf(stderr, "  Original : %s\n", GetClassName());
  std::fprintf(stderr, "  Target   : %s\n", target ? target->GetClassName() : "(null)");
  return 1;
}
