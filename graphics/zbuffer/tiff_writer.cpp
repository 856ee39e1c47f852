// TIFF: big-endian, one strip of uncompressed chunky RGB, 512 header bytes.
#include <cstdint>

#include "graphics/zbuffer/image_writer_internal.h"
#include "graphics/zbuffer/image_writers.h"

namespace {

constexpr int kHeaderBytes = 512;
constexpr int kBitsOffset = 484, kMaxSampleOffset = 490, kXResOffset = 496, kYResOffset = 504;

PwImageFile& File() {
  static PwImageFile file;
  return file;
}

void Put16(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 8);
  p[1] = static_cast<unsigned char>(v);
}

void Put32(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v >> 24);
  p[1] = static_cast<unsigned char>(v >> 16);
  p[2] = static_cast<unsigned char>(v >> 8);
  p[3] = static_cast<unsigned char>(v);
}

enum { kShort = 3, kLong = 4, kRational = 5 };

void Entry(unsigned char* h, int index, int tag, int type, std::uint32_t count,
           std::uint32_t value) {
  unsigned char* e = h + 10 + 12 * index;
  Put16(e, static_cast<std::uint32_t>(tag));
  Put16(e + 2, static_cast<std::uint32_t>(type));
  Put32(e + 4, count);
  if (type == kShort && count == 1) {
    Put16(e + 8, value);  // a single SHORT sits in the field's first two bytes
  } else {
    Put32(e + 8, value);
  }
}

}  // namespace

int PwTiffOpen(const char* path, int width, int height) {
  PwTiffClose();
  // ImageWidth and ImageLength are SHORT fields; strip offsets and counts
  // are 32 bits.
  if (width < 1 || height < 1 || width > 65535 || height > 65535) return 0;
  const std::uint64_t data =
      3ull * static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  if (data + kHeaderBytes > 0xFFFFFFFFull) return 0;
  PwImageFile& f = File();
  if (!PwImageFileOpen(&f, path, width, height, 3ull * static_cast<std::uint64_t>(width))) return 0;
  unsigned char h[kHeaderBytes] = {};
  h[0] = 'M';
  h[1] = 'M';
  Put16(h + 2, 42);
  Put32(h + 4, 8);
  Put16(h + 8, 15);
  const auto w = static_cast<std::uint32_t>(width), ht = static_cast<std::uint32_t>(height);
  Entry(h, 0, 254, kLong, 1, 0);
  Entry(h, 1, 256, kShort, 1, w);
  Entry(h, 2, 257, kShort, 1, ht);
  Entry(h, 3, 258, kShort, 3, kBitsOffset);
  Entry(h, 4, 259, kShort, 1, 1);
  Entry(h, 5, 262, kShort, 1, 2);
  Entry(h, 6, 266, kShort, 1, 1);
  Entry(h, 7, 273, kLong, 1, kHeaderBytes);
  Entry(h, 8, 277, kShort, 1, 3);
  Entry(h, 9, 278, kLong, 1, ht);
  Entry(h, 10, 279, kLong, 1, static_cast<std::uint32_t>(data));
  Entry(h, 11, 281, kShort, 3, kMaxSampleOffset);
  Entry(h, 12, 282, kRational, 1, kXResOffset);
  Entry(h, 13, 283, kRational, 1, kYResOffset);
  Entry(h, 14, 284, kShort, 1, 1);
  // Offset 190: no further directory (already zero).
  for (int i = 0; i < 3; ++i) {
    Put16(h + kBitsOffset + 2 * i, 8);
    Put16(h + kMaxSampleOffset + 2 * i, 255);
  }
  Put32(h + kXResOffset, 75);
  Put32(h + kXResOffset + 4, 1);
  Put32(h + kYResOffset, 75);
  Put32(h + kYResOffset + 4, 1);
  if (!PwImageFileWrite(&f, h, sizeof h)) {
    PwImageFileClose(&f);
    return 0;
  }
  return 1;
}

int PwTiffRow(const PwColor* row) { return PwImageFileRgbRow(&File(), row); }

int PwTiffClose() { return PwImageFileClose(&File()); }
