#include "graphics/files/reader_pool.h"

#include <cstdint>
#include <cstdlib>

namespace {

struct Block {
  std::size_t used = 0;
  std::size_t size = 0;
  unsigned char* base = nullptr;
};

struct PoolState {
  Block blocks[kPwPoolBlocks];
  int made = 0;
  int current = 0;
};

PoolState& State() {
  static PoolState state;
  return state;
}

// The readers keep pointers and floats in their nodes.
constexpr std::size_t kGrain = alignof(std::max_align_t) > 4 ? alignof(std::max_align_t) : 4;

}  // namespace

void PwPoolInit() {
  PwPoolFree();
  PoolState& s = State();
  Block& b = s.blocks[0];
  b.base = static_cast<unsigned char*>(std::malloc(kPwPoolBlockSize));
  b.size = b.base ? kPwPoolBlockSize : 0;  // a missing block counts as full
  b.used = 0;
  s.made = 1;
  s.current = 0;
}

void* PwPoolAlloc(int n, int size) {
  if (n < 0 || size < 0) return nullptr;
  std::uint64_t want = static_cast<std::uint64_t>(n) * static_cast<std::uint64_t>(size);
  if (want > SIZE_MAX - kGrain) return nullptr;
  std::size_t a = (static_cast<std::size_t>(want) + kGrain - 1) / kGrain * kGrain;
  PoolState& s = State();
  if (s.current >= kPwPoolBlocks || s.made == 0) return nullptr;
  Block& cur = s.blocks[s.current];
  if (cur.base && cur.size - cur.used >= a) {
    void* p = cur.base + cur.used;
    cur.used += a;
    return p;
  }
  if (s.made >= kPwPoolBlocks) return nullptr;
  std::size_t bytes = a > kPwPoolBlockSize ? a : kPwPoolBlockSize;
  unsigned char* base = static_cast<unsigned char*>(std::malloc(bytes));
  if (!base) return nullptr;
  Block& fresh = s.blocks[s.made];
  fresh.base = base;
  fresh.size = bytes;
  fresh.used = a;
  s.current = s.made++;
  return base;
}

void* PwPoolMark(int* block, int* used, int n, int size) {
  PoolState& s = State();
  *block = s.current;
  *used = s.current < s.made ? static_cast<int>(s.blocks[s.current].used) : 0;
  return PwPoolAlloc(n, size);
}

int PwPoolRelease(int block, int used) {
  PoolState& s = State();
  if (block < 0 || block >= s.made) return block;
  Block& b = s.blocks[block];
  s.current = block;
  if (used >= 0 && static_cast<std::size_t>(used) <= b.size)
    b.used = static_cast<std::size_t>(used);
  return block;
}

void PwPoolFree() {
  PoolState& s = State();
  for (int i = 0; i < s.made; ++i) {
    std::free(s.blocks[i].base);
    s.blocks[i] = Block();
  }
  s.made = 0;
  s.current = 0;
}

int PwPoolBlocksMade() { return State().made; }

int PwPoolCurrentBlock() { return State().current; }

std::size_t PwPoolBlockBytes(int block) {
  PoolState& s = State();
  return block >= 0 && block < s.made ? s.blocks[block].size : 0;
}
