#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scenegraph/core/fields/image_value.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
KsClassRecord* g_imageRecord = nullptr;

void RegisterImage() {
    KsClassManager::Ensure(&g_imageRecord, "KsImage", KsObject::ClassRecord());
}

int PixelSize(int unit) { return unit <= 1 ? 1 : unit == 2 ? 2 : 4; }

// Largest pixel array accepted; beyond it the size takes the failure path.
const int64_t kMaxImageBytes = INT32_MAX;
// Pixel bytes allocated before the first pixel word is read.
const int64_t kFirstPixelBytes = 65536;

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
    const int sizeRefused = KsParseIntChecked(first->text, &width) |
                            KsParseIntChecked(first->next->text, &height);
    int unit = KsParseInt(first->next->next->text);
    if (unit > 4 || unit < 0) {
        std::fprintf(stderr, "KsImage::KsImage()\n");
        std::fprintf(stderr, "  Illegal Unit Length %d. Assuming 4 bytes unit.\n", unit);
        unit = 4;
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
    for (int64_t i = 0; i < count; ++i) {
        KsWordNode* word = KsCursorWord(cursor);
        if (!word) {
            std::free(pixels);
            std::fprintf(stderr, "KsImage::KsImate()\n");
            std::fprintf(stderr, "  Error near line %d\n", first->text.Line());
            return;
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
        StorePixel(pixels, unit, i, KsParseUnsigned(word->text));
        KsCursorAdvance(cursor);
    }
    width_ = width;
    height_ = height;
    unit_ = unit;
    pixels_ = pixels;
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
        if (pixels) std::memcpy(copy, pixels, (size_t)bytes);
        else std::memset(copy, 0, (size_t)bytes);
    }
    std::free(pixels_);
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
