// Per-frame scratch pools in buffers the application owns; emptied at every
// PwSetEye, with a mark/release pair for temporary memory of the main pool.
#include "graphics/state3d.h"
#include "graphics/state3d_internal.h"

namespace {

constexpr std::size_t kGrain = alignof(void*);

void* Take(PwScratchPool& pool, std::size_t n) {
  if (pool.size == 0 || pool.base == nullptr) return nullptr;
  if (pool.used > pool.size || n > pool.size - pool.used) return nullptr;
  void* p = pool.base + pool.used;
  pool.used += n;
  return p;
}

// Rounded size, or 0 when the request cannot be represented.
std::size_t Round(std::size_t n) {
  if (n > static_cast<std::size_t>(-1) - kGrain) return 0;
  return (n + kGrain - 1) / kGrain * kGrain;
}

}  // namespace

void PwSetExtraDrawBuffer(void* base, std::size_t size) {
  PwState().pools[1] = {size, 0, static_cast<unsigned char*>(base)};
}

void PwSetExtraDrawBuffer2(void* base, std::size_t size) {
  PwState().pools[2] = {size, 0, static_cast<unsigned char*>(base)};
}

void* PwScratchAlloc(std::size_t n) {
  std::size_t r = Round(n);
  if (r == 0 && n != 0) return nullptr;
  PwState3D& s = PwState();
  for (int i = 2; i >= 0; --i) {
    if (void* p = Take(s.pools[i], r)) return p;
  }
  return nullptr;
}

void* PwScratchMark(std::size_t* mark, std::size_t n) {
  PwScratchPool& main = PwState().pools[0];
  *mark = main.used;
  std::size_t r = Round(n);
  if (r == 0 && n != 0) return nullptr;
  return Take(main, r);
}

void PwScratchRelease(std::size_t mark) {
  PwScratchPool& main = PwState().pools[0];
  if (mark <= main.used) main.used = mark;
}

std::size_t PwScratchUsed(int pool) {
  if (pool < 0 || pool > 2) return 0;
  return PwState().pools[pool].used;
}
