// Per-frame scratch pools in buffers the application owns; emptied at every
// PwSetEye. Kept memory is served third, second, then main pool; the main
// pool keeps back the flush's working memory, and lends it, with its free
// tail, to temporary memory under a mark.
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_internal.h"

namespace {

constexpr std::size_t kGrain = alignof(void*);

std::size_t Free(const PwScratchPool& pool) {
  if (pool.base == nullptr || pool.used > pool.size) return 0;
  return pool.size - pool.used;
}

void* Take(PwScratchPool& pool, std::size_t n, std::size_t keep) {
  const std::size_t free = Free(pool);
  if (pool.size == 0 || free < keep || n > free - keep) return nullptr;
  void* p = pool.base + pool.used;
  pool.used += n;
  return p;
}

// Rounded size, or 0 when the request cannot be represented.
std::size_t Round(std::size_t n) {
  if (n > static_cast<std::size_t>(-1) - kGrain) return 0;
  return (n + kGrain - 1) / kGrain * kGrain;
}

void* Missing() {
  PwState().left_out = 1;
  return nullptr;
}

}  // namespace

void PwSetExtraDrawBuffer(void* base, std::size_t size) {
  PwState().pools[1] = {size, 0, static_cast<unsigned char*>(base)};
}

void PwSetExtraDrawBuffer2(void* base, std::size_t size) {
  PwState().pools[2] = {size, 0, static_cast<unsigned char*>(base)};
}

void PwScratchNewFrame() {
  PwState3D& s = PwState();
  for (PwScratchPool& pool : s.pools) pool.used = 0;
  s.flush_room = 0;
  s.left_out = 0;
}

void* PwScratchAlloc(std::size_t n) {
  std::size_t r = Round(n);
  if (r == 0 && n != 0) return Missing();
  PwState3D& s = PwState();
  for (int i = 2; i >= 0; --i) {
    if (void* p = Take(s.pools[i], r, i == 0 ? s.flush_room : 0)) return p;
  }
  return Missing();
}

void* PwScratchMark(std::size_t* mark, std::size_t n) {
  PwScratchPool& main = PwState().pools[0];
  *mark = main.used;
  std::size_t r = Round(n);
  if (r == 0 && n != 0) return Missing();
  void* p = Take(main, r, 0);
  return p != nullptr ? p : Missing();
}

void PwScratchRelease(std::size_t mark) {
  PwScratchPool& main = PwState().pools[0];
  if (mark <= main.used) main.used = mark;
}

int PwScratchKeepBack(std::size_t n) {
  PwState3D& s = PwState();
  const std::size_t r = Round(n);
  if (r == 0 && n != 0) {
    Missing();
    return 1;
  }
  if (r <= s.flush_room) return 0;
  if (Free(s.pools[0]) < r) {
    Missing();
    return 1;
  }
  s.flush_room = r;
  return 0;
}

void PwScratchGiveBack(void* block, std::size_t n) {
  if (block == nullptr) return;
  const std::size_t r = Round(n);
  for (PwScratchPool& pool : PwState().pools) {
    if (pool.base == nullptr || r > pool.used) continue;
    if (static_cast<unsigned char*>(block) == pool.base + (pool.used - r)) {
      pool.used -= r;
      return;
    }
  }
}

int PwFrameLeftPrimitivesOut() { return PwState().left_out; }

std::size_t PwScratchUsed(int pool) {
  if (pool < 0 || pool > 2) return 0;
  return PwState().pools[pool].used;
}
