// The library's surface on guarded heap pixels: a test backend whose bitmap
// has guard bytes on both sides and a sentinel in the columns beyond the
// drawing area, plus a 3D state with a heap scratch pool.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/software/screen.h"
#include "graphics/software/surface.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

class GuardedSurface {
 public:
  static constexpr unsigned char kGuard = 0x5A;
  static constexpr std::size_t kGuardBytes = 256;

  GuardedSurface(int width, int height, int depth = kPwDepth16, std::size_t pool = 1 << 22)
      : width_(width), height_(height), pool_(pool) {
    PwResetSurfaceState();
    Current() = this;
    static const PwSurfaceBackend backend = {DisplayBits, Create, Destroy, Present};
    PwSetSurfaceBackend(&backend);
    if (depth == kPwDepth8) {
      PwPaletteEntry palette[kPwPaletteSize];
      PwLayoutPalette(palette, nullptr, 0);
      PwBuildColorTable(palette);
    }
    PwSetSurface(nullptr, width, height, depth);
    const PwPixelBuffer* p = PwCurrentPixels();
    stride_ = static_cast<std::size_t>(p->pixel_width) * (p->bits_per_pixel / 8);
    MarkBeyondArea();
    PwReset3D();
    PwStart3D(pool_.data(), pool_.size());
    PwProjection proj;
    PwDefaultProjection(&proj);
    PwSetProjection(&proj);
    PwPose zero = {};
    PwSetEye(&zero);
  }
  ~GuardedSurface() {
    PwReset3D();
    PwResetSurfaceState();
    Current() = nullptr;
  }

  const PwPixelBuffer* Pixels() const { return PwCurrentPixels(); }
  unsigned int At(int x, int y) const {
    const PwPixelBuffer* p = Pixels();
    if (p->bits_per_pixel == 16) {
      std::uint16_t v;
      std::memcpy(&v, p->rows[y] + 2 * x, 2);
      return v;
    }
    return p->rows[y][x];
  }
  unsigned int Value(PwColor c) const { return PwPixelValue(Pixels(), c); }
  int Count(PwColor c) const {
    unsigned int v = Value(c);
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) == v;
    return n;
  }
  bool Intact() const {
    for (std::size_t i = 0; i < kGuardBytes; ++i) {
      if (memory_[i] != kGuard || memory_[memory_.size() - 1 - i] != kGuard) return false;
    }
    const std::size_t used = static_cast<std::size_t>(width_) * (Pixels()->bits_per_pixel / 8);
    for (int y = 0; y < height_; ++y) {
      for (std::size_t b = used; b < stride_; ++b) {
        if (Pixels()->rows[y][b] != kGuard) return false;
      }
    }
    return true;
  }

 private:
  static GuardedSurface*& Current() {
    static GuardedSurface* current = nullptr;
    return current;
  }
  static int DisplayBits(void*) { return 32; }
  static int Create(PwSurface* s, void*) {
    GuardedSurface* self = Current();
    const PwPixelBuffer& p = s->pixels;
    std::size_t bytes = static_cast<std::size_t>(p.pixel_width) * p.height * (p.bits_per_pixel / 8);
    self->memory_.assign(bytes + 2 * kGuardBytes, kGuard);
    s->pixels.bits = self->memory_.data() + kGuardBytes;
    return 0;
  }
  static void Destroy(PwSurface* s) { s->pixels.bits = nullptr; }
  static int Present(const PwSurface*, void*, int, int) { return 1; }
  void MarkBeyondArea() {
    const std::size_t used = static_cast<std::size_t>(width_) * (Pixels()->bits_per_pixel / 8);
    for (int y = 0; y < height_; ++y) std::memset(Pixels()->rows[y] + used, kGuard, stride_ - used);
  }

  int width_, height_;
  std::size_t stride_ = 0;
  std::vector<unsigned char> memory_;
  std::vector<unsigned char> pool_;
};
