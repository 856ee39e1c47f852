// Key bindings: newest first, so a later binding of a code hides an
// earlier one.
#include <new>

#include "viewer/toolkit/toolkit.h"

struct KrKeyBinding {
  KrKeyBinding* next;
  int code;
  KrCommandFunc callback;
};

namespace {

KrKeyBinding*& Head() {
  static KrKeyBinding* head = nullptr;
  return head;
}

}  // namespace

void KrClearKeys() {
  KrKeyBinding* b = Head();
  while (b) {
    KrKeyBinding* next = b->next;
    delete b;
    b = next;
  }
  Head() = nullptr;
}

KrKeyBinding* KrBindKey(int code, KrCommandFunc callback) {
  KrKeyBinding* b = new (std::nothrow) KrKeyBinding;
  if (!b) return nullptr;
  b->next = Head();
  b->code = code;
  b->callback = callback;
  Head() = b;
  return b;
}

void KrDispatchKey(int code) {
  for (KrKeyBinding* b = Head(); b; b = b->next) {
    if (b->code != code) continue;
    if (b->callback) b->callback(0, 0, code, code);
    return;
  }
}
