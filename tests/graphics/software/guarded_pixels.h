// A heap pixel record with guard bytes before and after the pixels, and
// a sentinel in the bitmap columns beyond the drawing area.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/software/pixel_buffer.h"

class GuardedPixels {
 public:
  static constexpr unsigned char kGuard = 0xA5;
  static constexpr int kGuardBytes = 64;

  GuardedPixels(int width, int height, int bits_per_pixel, int pixel_width = 0)
      : width_(width), bpp_(bits_per_pixel) {
    if (pixel_width == 0) {
      pixel_width = 8;
      while (pixel_width < width) pixel_width <<= 1;
    }
    stride_ = static_cast<size_t>(pixel_width) * (bits_per_pixel / 8);
    memory_.assign(2 * kGuardBytes + stride_ * height, kGuard);
    rows_.resize(height);
    crossings_.resize(height);
    for (int y = 0; y < height; ++y) {
      rows_[y] = memory_.data() + kGuardBytes + y * stride_;
      crossings_[y][0] = 0;
    }
    buf.created = 1;
    buf.bits = memory_.data() + kGuardBytes;
    buf.rows = rows_.data();
    buf.bits_per_pixel = bits_per_pixel;
    buf.pixel_width = pixel_width;
    buf.height = height;
    buf.crossings = reinterpret_cast<int(*)[kPwCrossingSlots]>(crossings_.data());
    buf.width = width;
    Clear(0);
  }

  // Area pixels := value; columns beyond the area keep the guard pattern.
  void Clear(unsigned int value) {
    for (int y = 0; y < buf.height; ++y) {
      std::memset(rows_[y], kGuard, stride_);
      for (int x = 0; x < width_; ++x) Set(x, y, value);
    }
  }

  unsigned int At(int x, int y) const {
    if (bpp_ == 16) {
      uint16_t v;
      std::memcpy(&v, rows_[y] + 2 * x, 2);
      return v;
    }
    return rows_[y][x];
  }

  // Guards around the pixels and the bitmap columns beyond the area intact.
  bool GuardsIntact() const {
    for (int i = 0; i < kGuardBytes; ++i) {
      if (memory_[i] != kGuard || memory_[memory_.size() - 1 - i] != kGuard) return false;
    }
    const size_t used = static_cast<size_t>(width_) * (bpp_ / 8);
    for (int y = 0; y < buf.height; ++y) {
      for (size_t b = used; b < stride_; ++b) {
        if (rows_[y][b] != kGuard) return false;
      }
    }
    return true;
  }

  // Rows as text, '#' for pixels equal to value and '.' otherwise.
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
    for (int y = 0; y < buf.height; ++y)
      for (int x = 0; x < width_; ++x) n += At(x, y) == value;
    return n;
  }

  PwPixelBuffer buf;

 private:
  void Set(int x, int y, unsigned int v) {
    if (bpp_ == 16) {
      const uint16_t s = static_cast<uint16_t>(v);
      std::memcpy(rows_[y] + 2 * x, &s, 2);
    } else {
      rows_[y][x] = static_cast<unsigned char>(v);
    }
  }

  int width_;
  int bpp_;
  size_t stride_ = 0;
  std::vector<unsigned char> memory_;
  std::vector<unsigned char*> rows_;
  std::vector<std::array<int, kPwCrossingSlots>> crossings_;
};
