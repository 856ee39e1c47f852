#include <cstdlib>
#include <cstring>

#include "scenegraph/core/fields/string_value.h"
#include "scenegraph/core/fields/value_bytes.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
KsClassRecord* g_stringRecord = nullptr;

void RegisterString() {
  KsClassManager::Ensure(&g_stringRecord, "KsString", KsObject::ClassRecord());
}
}  // namespace

KsString::KsString() { RegisterString(); }

KsString::KsString(const char* text) {
  RegisterString();
  Assign(text);
}

KsString::KsString(KsWordNode* cursor) {
  RegisterString();
  KsWordNode* word = KsCursorWord(cursor);
  if (!word) return;
  Assign(word->text);
  KsCursorAdvance(cursor);
}

KsString::KsString(const KsString& other) : KsObject() {
  RegisterString();
  Assign(other.text_);
}

KsString& KsString::operator=(const KsString& other) {
  Assign(other.text_);
  return *this;
}

KsString::~KsString() { Free(); }

const char* KsString::GetClassName() const { return "KsString"; }

KsClassRecord* KsString::GetClassInfo() const { return g_stringRecord; }

KsClassRecord* KsString::ClassRecord() { return g_stringRecord; }

void KsString::Free() {
  if (text_) KsCountValueBytes(-(int64_t)std::strlen(text_) - 1);
  std::free(text_);
  text_ = nullptr;
}

int KsString::Assign(const char* text) {
  if (!text) {
    Free();
    return 0;
  }
  // Copy before freeing: text may be this string's own (or part of it).
  size_t length = std::strlen(text);
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy) return 1;
  std::memcpy(copy, text, length + 1);
  Free();
  KsCountValueBytes((int64_t)length + 1);
  text_ = copy;
  return 0;
}
