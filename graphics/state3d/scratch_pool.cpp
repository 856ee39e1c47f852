// Per-frame scratch pools in buffers the application owns; emptied at every
// PwSetEye. Kept memory is served third, second, then main pool. One pool,
// the main pool unless it has not room enough, keeps back the flush's
// working memory, and lends it, with its free tail, to temporary memory
// under a mark.
#include "graphics/state3d/state3d.h"
#include "graphics/state3d/state3d_internal.h"

namespace {

constexpr std::size_t kGrain = alignof(void*);
// A mark is a used count (a multiple of the grain) with its pool's index in
// the two low bits.
static_assert(kGrain >= 4, "marks keep the pool index in two bits");
constexpr std::size_t kPoolBits = 3;

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
  s.temp_pool = 0;
  s.left_out = 0;
}

void* PwScratchAlloc(std::size_t n) {
  std::size_t r = Round(n);
  if (r == 0 && n != 0) return Missing();
  PwState3D& s = PwState();
  for (int i = 2; i >= 0; --i) {
    if (void* p = Take(s.pools[i], r, i == s.temp_pool ? s.flush_room : 0)) return p;
  }
  return Missing();
}

void* PwScratchMark(std::size_t* mark, std::size_t n) {
  const int t = PwState().temp_pool;
  PwScratchPool& pool = PwState().pools[t];
  *mark = pool.used | static_cast<std::size_t>(t);
  std::size_t r = Round(n);
  if (r == 0 && n != 0) return Missing();
  void* p = Take(pool, r, 0);
  return p != nullptr ? p : Missing();
}

void PwScratchRelease(std::size_t mark) {
  const std::size_t index = mark & kPoolBits;
  if (index > 2) return;
  PwScratchPool& pool = PwState().pools[index];
  const std::size_t used = mark & ~kPoolBits;
  if (used <= pool.used) pool.used = used;
}

int PwScratchKeepBack(std::size_t n) {
  PwState3D& s = PwState();
  const std::size_t r = Round(n);
  if (r == 0 && n != 0) {
    Missing();
    return 1;
  }
  if (r <= s.flush_room) return 0;
  // The pool that holds the room now, else the first that can (main pool
  // first): a face too wide for the main pool is drawn from an extra one.
  const int order[4] = {s.temp_pool, 0, 1, 2};
  for (int t : order) {
    if (Free(s.pools[t]) >= r) {
      s.temp_pool = t;
      s.flush_room = r;
      return 0;
    }
  }
  Missing();
  return 1;
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
