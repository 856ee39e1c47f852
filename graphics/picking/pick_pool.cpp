// The pick pool and the depth tree of the registered shapes.
#include <cstdint>

#include "graphics/picking/pick_internal.h"

namespace {

constexpr std::size_t kGrain = alignof(void*);

struct PickState {
  unsigned char* base = nullptr;
  std::size_t size = 0;
  std::size_t used = 0;
  PwPickItem* root = nullptr;
};

PickState& State() {
  static PickState state;
  return state;
}

}  // namespace

int PwPickSetPool(void* base, std::size_t size) {
  PickState& s = State();
  s = PickState{};
  if (base == nullptr) return 1;
  // Records hold pointers: start the pool on a pointer boundary.
  auto addr = reinterpret_cast<std::uintptr_t>(base);
  std::size_t skip = (kGrain - addr % kGrain) % kGrain;
  if (size <= skip) return 1;
  s.base = static_cast<unsigned char*>(base) + skip;
  s.size = size - skip;
  return 1;
}

int PwPickClear() {
  State().used = 0;
  State().root = nullptr;
  return 1;
}

void* PwPickAlloc(std::size_t* position, std::size_t n) {
  PickState& s = State();
  if (position != nullptr) *position = s.used;
  if (s.base == nullptr || n > s.size) return nullptr;
  std::size_t r = (n + kGrain - 1) / kGrain * kGrain;
  if (r > s.size - s.used) return nullptr;
  void* p = s.base + s.used;
  s.used += r;
  return p;
}

void PwPickRelease(std::size_t position) {
  if (position <= State().used) State().used = position;
}

std::size_t PwPickUsed() { return State().used; }

void PwPickReset() { State() = PickState{}; }

PwPickItem* PwPickRoot() { return State().root; }

void PwPickInsert(PwPickItem* item) {
  item->parent = item->left = item->right = nullptr;
  PwPickItem** link = &State().root;
  PwPickItem* parent = nullptr;
  while (*link != nullptr) {
    parent = *link;
    link = item->depth >= parent->depth ? &parent->left : &parent->right;
  }
  item->parent = parent;
  *link = item;
}
