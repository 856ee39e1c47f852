#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scenegraph/core/fields/image_value.h"
#include "scenegraph/core/fields/value_bytes.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
KsClassRecord* g_imageRecord = nullptr;

void RegisterImage() { KsClassManager::Ensure(&g_imageRecord, "KsImage", KsObject::ClassRecord()); }

int PixelSize(int unit) { return unit <= 1 ? 1 : unit == 2 ? 2 : 4; }

// Largest pixel array accepted; beyond it the size takes the failure path.
const int64_t kMaxImageBytes = INT32_MAX;
// Pixel bytes allocated before the first pixel word is read.
const int64_t kFirstPixelBytes = 65536;

// Largest pixel of a unit length: 0xFF, 0xFFFF, 0xRRGGBB, 0xRRGGBBAA.
uint32_t MaxPixel(int unit) {
  return unit <= 1 ? 0xFFu : unit == 2 ? 0xFFFFu : unit == 3 ? 0xFFFFFFu : 0xFFFFFFFFu;
}

// A pixel word: "0x" (or "0X") and hexadecimal digits, or decimal digits
// with an optional sign. A unit-4 pixel may also be a negative 32-bit
// number, as some writers put RGBA pixels. False for any other word or a
// value the unit cannot hold: kept in fewer bits, it would be another
// colour than the file's, and written back as that.
bool ParsePixel(const char* text, int unit, uint32_t* out) {
  if (!text || !*text) return false;
  const uint32_t max = MaxPixel(unit);
  const char* p = text;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    p += 2;
    if (!*p) return false;
    uint64_t value = 0;
    for (; *p; ++p) {
      const char c = *p;
      int digit = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                         : -1;
      if (digit < 0) return false;
      value = value * 16 + (uint64_t)digit;
      if (value > max) return false;
    }
    *out = (uint32_t)value;
    return true;
  }
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  if (!*p) return false;
  uint64_t value = 0;
  for (; *p; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + (uint64_t)(*p - '0');
    if (value > 0xFFFFFFFFull) return false;
  }
  if (negative && value != 0) {
    if (unit != 4 || value > 0x80000000ull) return false;
    *out = (uint32_t)(0x100000000ull - value);
    return true;
  }
  if (value > max) return false;
  *out = (uint32_t)value;
  return true;
}

void StorePixel(void* pixels, int unit, int64_t i, uint32_t value) {
  switch (PixelSize(unit)) {
    case 1: static_cast<uint8_t*>(pixels)[i] = (uint8_t)value; break;
    case 2: static_cast<uint16_t*>(pixels)[i] = (uint16_t)value; break;
    default: static_cast<uint32_t*>(pixels)[i] = value; break;
  }
}
}  // namespace

int64_t KsImage::ByteCount(int width, int height, int unit) {
  if (width < 0 || height < 0 || unit < 0 || unit > 4) return -1;
  // Two sizes below 2^31 multiply within 64 bits; the pixel size would not.
  const int64_t pixels = (int64_t)width * (int64_t)height;
  if (pixels > kMaxImageBytes) return -1;
  const int64_t bytes = pixels * PixelSize(unit);
  return bytes > kMaxImageBytes ? -1 : bytes;
}

KsImage::KsImage() { RegisterImage(); }

KsImage::KsImage(KsWordNode* cursor) {
  RegisterImage();
  KsWordNode* first = KsCursorWord(cursor);
  if (!first) {
    std::fprintf(stderr, "KsImage::KsImage()\n");
    std::fprintf(stderr, "  No statement.\n");
    return;
  }
  if (!KsCursorHasWords(cursor, 3)) {
    std::fprintf(stderr, "KsImage::KsImate()\n");
    std::fprintf(stderr, "  Error near line %d\n", first->text.Line());
    return;
  }
  // A size that does not fit an int is refused as an impossible one;
  // wrapped round it could name a small image the file never meant.
  int width = 0, height = 0;
  const int sizeRefused =
      KsParseIntChecked(first->text, &width) | KsParseIntChecked(first->next->text, &height);
  int unit = KsParseInt(first->next->next->text);
  if (unit > 4 || unit < 0) {
    std::fprintf(stderr, "KsImage::KsImage()\n");
    std::fprintf(stderr, "  Illegal Unit Length %d. Assuming 4 bytes unit.\n", unit);
    unit = 4;
  } else if (unit == 0 && !sizeRefused && (int64_t)width * height == 0) {
    // The empty image ("0 0 0", the default of every image field): no
    // pixel needs a unit, and it reads back as written.
  } else if (unit == 0) {
    std::fprintf(stderr, "KsImage::KsImage()\n");
    std::fprintf(stderr, "  Illegal Unit Length 0. Assuming 1 bytes unit.\n");
    unit = 1;
  }
  for (int i = 0; i < 3; ++i) KsCursorAdvance(cursor);

  const int64_t bytes = sizeRefused ? -1 : ByteCount(width, height, unit);
  if (bytes < 0) return;  // as an allocation failure: empty, no message
  // The array grows with the pixels actually read, so that a size the
  // words do not back costs no memory.
  const int64_t pixelSize = PixelSize(unit);
  int64_t capacity = bytes < kFirstPixelBytes ? bytes : kFirstPixelBytes;
  void* pixels = nullptr;
  if (capacity > 0) {
    pixels = std::malloc((size_t)capacity);
    if (!pixels) return;
  }
  const int64_t count = (int64_t)width * height;
  const KsWordNode* illegal = nullptr;
  for (int64_t i = 0; i < count; ++i) {
    KsWordNode* word = KsCursorWord(cursor);
    if (!word) {
      std::free(pixels);
      std::fprintf(stderr, "KsImage::KsImate()\n");
      std::fprintf(stderr, "  Error near line %d\n", first->text.Line());
      return;
    }
    uint32_t value = 0;
    if (illegal || !ParsePixel(word->text, unit, &value)) {
      // The rest of the pixels are passed over, so that the words
      // after the image still read as the fields they are.
      if (!illegal) illegal = word;
      KsCursorAdvance(cursor);
      continue;
    }
    if ((i + 1) * pixelSize > capacity) {
      const int64_t grown = capacity * 2 < bytes ? capacity * 2 : bytes;
      void* larger = std::realloc(pixels, (size_t)grown);
      if (!larger) {
        std::free(pixels);
        return;
      }
      pixels = larger;
      capacity = grown;
    }
    StorePixel(pixels, unit, i, value);
    KsCursorAdvance(cursor);
  }
  if (illegal) {
    std::free(pixels);
    std::fprintf(stderr, "KsImage::KsImage()\n");
    std::fprintf(stderr, "  Illegal Pixel %s for Unit Length %d near line %d. Image not read.\n",
                 illegal->text ? (const char*)illegal->text : "", unit, illegal->text.Line());
    return;
  }
  width_ = width;
  height_ = height;
  unit_ = unit;
  pixels_ = pixels;
  if (pixels_) KsCountValueBytes(bytes);
}

KsImage::KsImage(int width, int height, int unit, const void* pixels) {
  RegisterImage();
  SetImage(width, height, unit, pixels);
}

KsImage::KsImage(const KsImage& other) : KsObject() {
  RegisterImage();
  SetImage(other.width_, other.height_, other.unit_, other.pixels_);
}

KsImage& KsImage::operator=(const KsImage& other) {
  if (this != &other) SetImage(other.width_, other.height_, other.unit_, other.pixels_);
  return *this;
}

KsImage::~KsImage() { Clear(); }

const char* KsImage::GetClassName() const { return "KsImage"; }

KsClassRecord* KsImage::GetClassInfo() const { return g_imageRecord; }

KsClassRecord* KsImage::ClassRecord() { return g_imageRecord; }

void KsImage::Clear() {
  if (pixels_) KsCountValueBytes(-ByteCount(width_, height_, unit_));
  std::free(pixels_);
  pixels_ = nullptr;
  width_ = height_ = unit_ = 0;
}

int KsImage::SetImage(int width, int height, int unit, const void* pixels) {
  const int64_t bytes = ByteCount(width, height, unit);
  if (bytes < 0) return 1;
  void* copy = nullptr;
  if (bytes > 0) {
    copy = std::malloc((size_t)bytes);
    if (!copy) return 1;
    if (pixels)
      std::memcpy(copy, pixels, (size_t)bytes);
    else
      std::memset(copy, 0, (size_t)bytes);
  }
  Clear();
  if (copy) KsCountValueBytes(bytes);
  pixels_ = copy;
  width_ = width;
  height_ = height;
  unit_ = unit;
  return 0;
}

void KsImage::GetImage(int* width, int* height, int* unit, const void** pixels) const {
  if (width) *width = width_;
  if (height) *height = height_;
  if (unit) *unit = unit_;
  if (pixels) *pixels = pixels_;
}

uint32_t KsImage::GetPixel(int64_t i) const {
  if (!pixels_ || i < 0 || i >= GetPixelCount()) return 0;
  switch (PixelSize(unit_)) {
    case 1: return static_cast<const uint8_t*>(pixels_)[i];
    case 2: return static_cast<const uint16_t*>(pixels_)[i];
    default: return static_cast<const uint32_t*>(pixels_)[i];
  }
}

int KsImage::Print(KsOutStream* stream, int) const {
  if (!stream) return 0;
  stream->Printf("%d %d %d \n", width_, height_, unit_);
  const int64_t count = pixels_ ? GetPixelCount() : 0;
  for (int64_t i = 0; i < count; ++i) {
    // Unsigned, so that a unit-4 pixel with red >= 0x80 reads back.
    stream->Printf("%u ", (unsigned)GetPixel(i));
    if (i % 8 == 0) stream->Printf("\n");
  }
  return 0;
}
