#ifndef KS_IMAGE_VALUE_H
#define KS_IMAGE_VALUE_H

#include <cstdint>

#include "scenegraph/core/object/object.h"

struct KsWordNode;

// An SFImage value. Pixels are stored by unit length: 1 as uint8_t, 2 as
// uint16_t, 3 and 4 as uint32_t (0xRRGGBB, 0xRRGGBBAA).
class KsImage : public KsObject {
 public:
  KsImage();
  // width height unit, then width x height pixel numbers; the cursor moves
  // past what was read. Errors print and leave an empty image.
  explicit KsImage(KsWordNode* cursor);
  // Copies pixels (laid out as above); an allocation failure leaves the
  // image empty.
  KsImage(int width, int height, int unit, const void* pixels);
  KsImage(const KsImage& other);
  KsImage& operator=(const KsImage& other);
  ~KsImage() override;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  // "%d %d %d \n", then each pixel as an unsigned number and a blank, with a
  // line break after pixels 0, 8, 16 ...
  int Print(KsOutStream* stream, int indent) const override;

  // Copies the given image; returns 1 and keeps the old one when the copy
  // cannot be allocated or the size is invalid, 0 otherwise.
  int SetImage(int width, int height, int unit, const void* pixels);
  void GetImage(int* width, int* height, int* unit, const void** pixels) const;

  int GetWidth() const { return width_; }
  int GetHeight() const { return height_; }
  int GetUnit() const { return unit_; }
  const void* GetPixels() const { return pixels_; }
  // Pixel i as a number, 0 outside the image.
  uint32_t GetPixel(int64_t i) const;
  int64_t GetPixelCount() const { return (int64_t)width_ * height_; }

  // Bytes of the pixel array for the size, or -1 when it cannot be held.
  static int64_t ByteCount(int width, int height, int unit);

  static KsClassRecord* ClassRecord();

 private:
  void Clear();

  int width_ = 0;
  int height_ = 0;
  int unit_ = 0;
  void* pixels_ = nullptr;
};

#endif
