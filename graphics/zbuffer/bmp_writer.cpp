// BMP: little-endian, 54-byte header, 24-bit rows bottom first, padded to 4.
#include <cstdint>

#include "graphics/zbuffer/image_writer_internal.h"
#include "graphics/zbuffer/image_writers.h"

namespace {

PwImageFile& File() {
  static PwImageFile file;
  return file;
}

void Put16(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
}

void Put32(unsigned char* p, std::uint32_t v) {
  Put16(p, v & 0xFFFFu);
  Put16(p + 2, v >> 16);
}

}  // namespace

int PwBmpOpen(const char* path, int width, int height) {
  PwBmpClose();
  if (width < 1 || height < 1) return 0;
  const std::uint64_t padded = (3ull * static_cast<std::uint64_t>(width) + 3) & ~3ull;
  const std::uint64_t size = 54 + padded * static_cast<std::uint64_t>(height);
  if (size > 0xFFFFFFFFull) return 0;  // the size field has 32 bits
  PwImageFile& f = File();
  // The buffer holds the padding too; its tail stays zero.
  if (!PwImageFileOpen(&f, path, width, height, padded)) return 0;
  unsigned char h[54] = {};
  h[0] = 'B';
  h[1] = 'M';
  Put32(h + 2, static_cast<std::uint32_t>(size));
  Put32(h + 10, 54);
  Put32(h + 14, 40);
  Put32(h + 18, static_cast<std::uint32_t>(width));
  Put32(h + 22, static_cast<std::uint32_t>(height));
  Put16(h + 26, 1);
  Put16(h + 28, 24);
  if (!PwImageFileWrite(&f, h, sizeof h)) {
    PwImageFileClose(&f);
    return 0;
  }
  return 1;
}

int PwBmpRow(const PwColor* row) {
  PwImageFile& f = File();
  if (f.file == nullptr || row == nullptr) return 0;
  for (int x = 0; x < f.width; ++x) {
    unsigned char* p = f.row + 3 * static_cast<std::size_t>(x);
    p[0] = PwImageByte(row[x].blue);
    p[1] = PwImageByte(row[x].green);
    p[2] = PwImageByte(row[x].red);
  }
  return PwImageFileWrite(&f, f.row, f.row_bytes);
}

int PwBmpClose() { return PwImageFileClose(&File()); }
