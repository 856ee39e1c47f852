#include "support/memory/counted_new.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

size_t g_held = 0;
size_t g_peak = 0;
size_t g_ceiling = 0;

// Header in front of each block: the pointer malloc gave and the charge.
struct Header {
  void* raw;
  size_t charged;
};

size_t Charge(size_t size) {
  size_t c = (size + sizeof(void*) + 15) & ~static_cast<size_t>(15);
  return c < 32 ? 32 : c;
}

void* Allocate(size_t size, size_t align, bool throwing) {
  const size_t charged = Charge(size);
  if (throwing && g_ceiling != 0 && g_held + charged > g_ceiling) return nullptr;
  if (align < alignof(std::max_align_t)) align = alignof(std::max_align_t);
  void* raw = std::malloc(size + align + sizeof(Header));
  if (!raw) return nullptr;
  uintptr_t at = reinterpret_cast<uintptr_t>(raw) + sizeof(Header);
  at = (at + align - 1) & ~static_cast<uintptr_t>(align - 1);
  Header* h = reinterpret_cast<Header*>(at) - 1;
  h->raw = raw;
  h->charged = charged;
  g_held += charged;
  if (g_held > g_peak) g_peak = g_held;
  return reinterpret_cast<void*>(at);
}

void Release(void* p) {
  if (!p) return;
  Header* h = static_cast<Header*>(p) - 1;
  g_held -= h->charged;
  std::free(h->raw);
}

void* AllocateOrThrow(size_t size, size_t align) {
  void* p = Allocate(size, align, true);
  if (!p) throw std::bad_alloc();
  return p;
}

}  // namespace

namespace kstest {
size_t HeldBytes() { return g_held; }
size_t PeakBytes() { return g_peak; }
void ResetPeak() { g_peak = g_held; }
void SetThrowingCeiling(size_t bytes) { g_ceiling = bytes; }
}  // namespace kstest

void* operator new(size_t n) { return AllocateOrThrow(n, 0); }
void* operator new[](size_t n) { return AllocateOrThrow(n, 0); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return Allocate(n, 0, false); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return Allocate(n, 0, false); }
void* operator new(size_t n, std::align_val_t a) { return AllocateOrThrow(n, (size_t)a); }
void* operator new[](size_t n, std::align_val_t a) { return AllocateOrThrow(n, (size_t)a); }
void* operator new(size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(n, (size_t)a, false);
}
void* operator new[](size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(n, (size_t)a, false);
}
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, size_t, std::align_val_t) noexcept { Release(p); }
void operator delete[](void* p, size_t, std::align_val_t) noexcept { Release(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { Release(p); }
