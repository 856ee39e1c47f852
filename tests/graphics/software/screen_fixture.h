// The surface on a guarded heap backend: guard bytes around the pixels and
// the bitmap columns beyond the drawing area painted with a sentinel.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/draw2d/clip2d.h"
#include "graphics/software/screen.h"
#include "graphics/software/surface.h"
#include "graphics/software/text_output.h"
#include "graphics/state3d/state3d.h"

class ScreenFixture {
 public:
  static constexpr unsigned char kGuard = 0x5A;
  static constexpr size_t kGuardBytes = 64;

  void Open(int width, int height, int bits) {
    PwResetSurfaceState();
    PwReset3D();
    PwResetClip2();
    PwSetTextOutput(nullptr);
    PwStart3D(pool_.data(), pool_.size());
    PwPaletteEntry palette[kPwPaletteSize];
    PwLayoutPalette(palette, nullptr, 0);
    PwBuildColorTable(palette);
    PwSetSurfaceBackend(&kBackend);
    PwSetSurface(nullptr, width, height, bits);
    width_ = width;
    height_ = height;
    PwPixelBuffer* p = PwCurrentPixels();
    ASSERT_EQ(1, p->created);
    const size_t bpp = p->bits_per_pixel / 8;
    for (int y = 0; y < p->height; ++y) {
      std::memset(p->rows[y] + width * bpp, kGuard, (p->pixel_width - width) * bpp);
    }
  }

  void Close() {
    PwResetSurfaceState();
    PwReset3D();
    PwResetClip2();
    PwSetTextOutput(nullptr);
  }

  unsigned int At(int x, int y) const {
    const PwPixelBuffer* p = PwCurrentPixels();
    if (p->bits_per_pixel == 16) {
      uint16_t v;
      std::memcpy(&v, p->rows[y] + 2 * x, 2);
      return v;
    }
    return p->rows[y][x];
  }

  bool GuardsIntact() const {
    const PwPixelBuffer* p = PwCurrentPixels();
    const size_t bpp = p->bits_per_pixel / 8;
    for (size_t i = 0; i < kGuardBytes; ++i) {
      if (Memory()[i] != kGuard || Memory()[Memory().size() - 1 - i] != kGuard) return false;
    }
    for (int y = 0; y < p->height; ++y) {
      for (size_t b = width_ * bpp; b < p->pixel_width * bpp; ++b) {
        if (p->rows[y][b] != kGuard) return false;
      }
    }
    return true;
  }

  unsigned int Ink(PwColor c) const { return PwPixelValue(PwCurrentPixels(), c); }

  std::string Picture(unsigned int value, int x0, int y0, int x1, int y1) const {
    std::string s;
    for (int y = y0; y <= y1; ++y) {
      for (int x = x0; x <= x1; ++x) s += At(x, y) == value ? '#' : '.';
      s += '\n';
    }
    return s;
  }

  int Count(unsigned int value) const {
    int n = 0;
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) == value;
    return n;
  }

  int width_ = 0;
  int height_ = 0;

 private:
  static std::vector<unsigned char>& Memory() {
    static std::vector<unsigned char> memory;
    return memory;
  }
  static int DisplayBits(void*) { return 32; }
  static int Create(PwSurface* s, void*) {
    const PwPixelBuffer& p = s->pixels;
    Memory().assign(
        2 * kGuardBytes + static_cast<size_t>(p.pixel_width) * p.height * (p.bits_per_pixel / 8),
        kGuard);
    s->pixels.bits = Memory().data() + kGuardBytes;
    return 0;
  }
  static void Destroy(PwSurface* s) { s->pixels.bits = nullptr; }
  static int Present(const PwSurface*, void*, int, int) { return 1; }
  static constexpr PwSurfaceBackend kBackend = {DisplayBits, Create, Destroy, Present};

  std::vector<unsigned char> pool_ = std::vector<unsigned char>(1 << 20);
};
