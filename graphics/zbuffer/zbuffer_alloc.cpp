#include "graphics/zbuffer/zbuffer_alloc.h"

#include "graphics/files/pw_alloc.h"

namespace {

PwZAllocFunc& Func() {
  static PwZAllocFunc func = nullptr;
  return func;
}

}  // namespace

void PwZSetAllocFunc(PwZAllocFunc alloc) { Func() = alloc; }

void* PwZAlloc(std::size_t bytes) {
  PwZAllocFunc f = Func();
  return f != nullptr ? f(bytes) : PwAlloc(bytes);
}

void* PwZAllocArray(std::uint64_t count, std::size_t size) {
  if (size != 0 && count > SIZE_MAX / size) return nullptr;
  return PwZAlloc(static_cast<std::size_t>(count) * size);
}
