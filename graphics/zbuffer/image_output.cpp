// The image buffer, its set-up of the renderer, its pixel callbacks and the
// file written at the end.
#include "graphics/zbuffer/image_output.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "graphics/state3d/image_output_state.h"
#include "graphics/files/pw_alloc.h"
#include "graphics/window/drawing_area.h"
#include "graphics/state3d/state3d.h"
#include "graphics/zbuffer/image_writers.h"
#include "graphics/zbuffer/zbuffer.h"
#include "graphics/zbuffer/zbuffer_alloc.h"

namespace {

struct ImageState {
  int format = 0;
  char path[kPwImagePathSize] = {};
  int width = 0;
  int height = 0;
  std::size_t stride = 0;  // width + 1 cells per row, height + 1 rows
  float* depths = nullptr;
  PwColor* colours = nullptr;
  int mode = 1;
};

ImageState& Image() {
  static ImageState state;
  return state;
}

void Release(ImageState& s) {
  PwFree(s.depths);
  PwFree(s.colours);
  s.depths = nullptr;
  s.colours = nullptr;
  s.width = s.height = 0;
  s.stride = 0;
  PwImageSetActive(0);
}

bool Inside(const ImageState& s, int x, int y) {
  return s.colours != nullptr && x >= 0 && y >= 0 && x < s.width && y < s.height;
}

std::size_t Cell(const ImageState& s, int x, int y) {
  return static_cast<std::size_t>(y) * s.stride + static_cast<std::size_t>(x);
}

int Clamp(std::int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int>(v);
}

using OpenFunc = int (*)(const char*, int, int);
using RowFunc = int (*)(const PwColor*);
using CloseFunc = int (*)();

int Write(const ImageState& s, OpenFunc open, RowFunc row, CloseFunc close, bool bottom_up) {
  if (!open(s.path, s.width, s.height)) return 0;
  int ok = 1;
  for (int i = 0; i < s.height && ok; ++i) {
    const int y = bottom_up ? s.height - 1 - i : i;
    ok = row(s.colours + Cell(s, 0, y));
  }
  if (!close()) ok = 0;
  return ok;
}

}  // namespace

int PwImageBegin(const char* path, int format, int width, int height) {
  ImageState& s = Image();
  if (s.colours != nullptr) Release(s);
  if (path == nullptr || std::strlen(path) >= kPwImagePathSize) return 0;
  if (width < 1 || height < 1) return 0;
  // (width + 1) * (height + 1) cells in 64 bits; a count that does not fit
  // in memory fails like any allocation.
  const std::uint64_t stride = static_cast<std::uint64_t>(width) + 1;
  const std::uint64_t cells = stride * (static_cast<std::uint64_t>(height) + 1);
  s.depths = static_cast<float*>(PwZAllocArray(cells, sizeof(float)));
  s.colours = s.depths ? static_cast<PwColor*>(PwZAllocArray(cells, sizeof(PwColor))) : nullptr;
  if (s.depths == nullptr || s.colours == nullptr) {
    Release(s);
    return 0;
  }
  const float far_depth = PwGetProjection()->far;
  const auto n = static_cast<std::size_t>(cells);
  for (std::size_t i = 0; i < n; ++i) {
    s.depths[i] = far_depth;
    s.colours[i] = {0, 0, 0};
  }
  s.width = width;
  s.height = height;
  s.stride = static_cast<std::size_t>(stride);
  s.mode = 1;
  PwImageSetActive(1);
  PwImageSetProjection(PwGetProjection());
  PwImageSetLight();
  std::memcpy(s.path, path, std::strlen(path) + 1);
  s.format = format;
  return 1;
}

int PwImageEnd() {
  ImageState& s = Image();
  if (!PwImageIsActive() || s.colours == nullptr) return 0;
  int ok = 0;
  switch (s.format) {
    case kPwImageTiff: ok = Write(s, PwTiffOpen, PwTiffRow, PwTiffClose, false); break;
    case kPwImageBmp: ok = Write(s, PwBmpOpen, PwBmpRow, PwBmpClose, true); break;
    case kPwImagePpm: ok = Write(s, PwPpmOpen, PwPpmRow, PwPpmClose, false); break;
    default: break;
  }
  Release(s);
  return ok;
}

void PwImageSetProjection(const PwProjection* projection) {
  const ImageState& s = Image();
  if (s.colours == nullptr || projection == nullptr) return;
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  const int cx = Clamp(static_cast<std::int64_t>(s.width) * projection->cx / w);
  const int cy = Clamp(static_cast<std::int64_t>(s.height) * projection->cy / h);
  PwZSetViewport(0, 0, s.width - 1, s.height - 1, cx, cy);
  const float mag = h < w ? static_cast<float>(s.width) * projection->magx / static_cast<float>(w)
                          : static_cast<float>(s.height) * projection->magy / static_cast<float>(h);
  PwZSetMagnification(std::trunc(mag), projection->near);
  PwZSetPixelFuncs(PwImageDepthPixel);
  PwZSetPlainPixelFunc(PwImagePlainPixel);
}

void PwImageSetLight() {
  PwVec3 light;
  PwModelToEye(&light, PwGetLightWorld());
  PwZSetLight(light);
}

void PwImageClearDepth() {
  const ImageState& s = Image();
  if (s.depths == nullptr) return;
  const float far_depth = PwGetProjection()->far;
  for (int y = 0; y < s.height; ++y) {
    float* row = s.depths + Cell(s, 0, y);
    for (int x = 0; x < s.width; ++x) row[x] = far_depth;
  }
}

void PwImageDepthPixel(int, int x, int y, int red, int green, int blue, float depth) {
  ImageState& s = Image();
  if (!Inside(s, x, y)) return;
  const std::size_t i = Cell(s, x, y);
  if (s.mode == 1) {
    if (depth < s.depths[i]) {
      s.depths[i] = depth;
      s.colours[i] = {green, red, blue};
    }
  } else if (s.mode == 0) {
    s.colours[i] = {green, red, blue};
  }
}

void PwImagePlainPixel(int, int x, int y, int red, int green, int blue) {
  ImageState& s = Image();
  if (!Inside(s, x, y)) return;
  s.colours[Cell(s, x, y)] = {green, red, blue};
}

int PwImageDepthTestMode() { return Image().mode; }
void PwImageSetDepthTestMode(int mode) { Image().mode = mode; }

int PwImageGetSize(int* width, int* height) {
  const ImageState& s = Image();
  if (width) *width = s.width;
  if (height) *height = s.height;
  return s.colours != nullptr ? 1 : 0;
}

int PwImageGetPixel(int x, int y, PwColor* colour, float* depth) {
  const ImageState& s = Image();
  if (!Inside(s, x, y)) return 0;
  if (colour) *colour = s.colours[Cell(s, x, y)];
  if (depth) *depth = s.depths[Cell(s, x, y)];
  return 1;
}

void PwImageReset() {
  ImageState& s = Image();
  Release(s);
  s.mode = 1;
  s.format = 0;
  s.path[0] = '\0';
}
