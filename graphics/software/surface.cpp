// The one off-screen surface as module state, on whichever backend the
// platform installed.
#include "graphics/software/surface.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

struct SurfaceState {
  PwSurface surface;
  int width = kPwMinSurfaceSize;  // drawing area, what PwGetSurfaceSize reports
  int height = kPwMinSurfaceSize;
  void* window_dc = nullptr;  // what the surface was made for
  int depth_mode = kPwDepthDisplay;
  const PwSurfaceBackend* backend = nullptr;
};

SurfaceState& State() {
  static SurfaceState state;
  return state;
}

// Heap backend: plain pixels, no window to copy to.
int HeapDisplayBits(void*) { return 32; }

int HeapCreate(PwSurface* surface, void*) {
  const PwPixelBuffer& p = surface->pixels;
  size_t bytes = static_cast<size_t>(p.pixel_width) * p.height * (p.bits_per_pixel / 8);
  surface->pixels.bits = static_cast<unsigned char*>(std::malloc(bytes));
  return surface->pixels.bits ? 0 : 1;
}

void HeapDestroy(PwSurface* surface) {
  std::free(surface->pixels.bits);
  surface->pixels.bits = nullptr;
}

int HeapPresent(const PwSurface*, void*, int, int) { return 1; }

const PwSurfaceBackend kHeapBackend = {HeapDisplayBits, HeapCreate, HeapDestroy, HeapPresent};

const PwSurfaceBackend& Backend() {
  const PwSurfaceBackend* b = State().backend;
  return b ? *b : kHeapBackend;
}

void FillBlack(PwPixelBuffer* p) {
  size_t row_bytes = static_cast<size_t>(p->pixel_width) * (p->bits_per_pixel / 8);
  if (p->bits_per_pixel == 8) {
    std::memset(p->bits, PwColorTable()[0], row_bytes * p->height);
  } else {
    std::memset(p->bits, 0, row_bytes * p->height);
  }
}

}  // namespace

int PwBitmapWidth(int drawing_width) {
  int w = 8;
  while (w < drawing_width && w < (1 << 30)) w <<= 1;
  return w;
}

int PwSurfaceBitsFor(int depth_mode, int display_bits) {
  int bits = depth_mode == kPwDepthDisplay ? display_bits : depth_mode;
  return bits < 16 ? 8 : 16;
}

int PwPixelBufferAttach(PwPixelBuffer* pixels, unsigned char* bits, int pixel_width, int height,
                        int bits_per_pixel) {
  if (height < 1 || pixel_width < 1) return 1;
  unsigned char** rows = new (std::nothrow) unsigned char*[height];
  int(*crossings)[kPwCrossingSlots] = new (std::nothrow) int[height][kPwCrossingSlots];
  if (!rows || !crossings) {
    delete[] rows;
    delete[] crossings;
    return 1;
  }
  size_t stride = static_cast<size_t>(pixel_width) * (bits_per_pixel / 8);
  for (int i = 0; i < height; ++i) {
    rows[i] = bits + i * stride;
    crossings[i][0] = 0;
  }
  pixels->bits = bits;
  pixels->rows = rows;
  pixels->crossings = crossings;
  pixels->bottom_up = 0;
  pixels->bits_per_pixel = bits_per_pixel;
  pixels->pixel_width = pixel_width;
  pixels->height = height;
  pixels->first_row = 0;
  pixels->last_row = 0;
  return 0;
}

void PwPixelBufferDetach(PwPixelBuffer* pixels) {
  delete[] pixels->rows;
  delete[] pixels->crossings;
  *pixels = PwPixelBuffer();
}

int PwSurfaceCreate(PwSurface* surface, void* window_dc, int width, int height, int depth_mode) {
  const PwSurfaceBackend& backend = Backend();
  *surface = PwSurface();
  surface->pixels.created = 0;
  surface->pixels.pixel_width = PwBitmapWidth(width);
  surface->pixels.height = height;
  surface->pixels.bits_per_pixel = PwSurfaceBitsFor(depth_mode, backend.display_bits(window_dc));
  if (backend.create(surface, window_dc) != 0) {
    *surface = PwSurface();
    return 1;
  }
  // A failure after the platform part exists must give its handles back,
  // or every retry from a size change would leak them.
  PwPixelBuffer made = surface->pixels;
  if (PwPixelBufferAttach(&surface->pixels, made.bits, made.pixel_width, made.height,
                          made.bits_per_pixel) != 0) {
    backend.destroy(surface);
    *surface = PwSurface();
    return 1;
  }
  surface->pixels.width = width;
  FillBlack(&surface->pixels);
  surface->pixels.created = 1;
  return 0;
}

int PwSurfaceDestroy(PwSurface* surface) {
  if (surface->pixels.created != 1) return 0;
  delete[] surface->pixels.rows;
  delete[] surface->pixels.crossings;
  surface->pixels.rows = nullptr;
  surface->pixels.crossings = nullptr;
  Backend().destroy(surface);
  *surface = PwSurface();
  return 0;
}

void PwSetSurface(void* window_dc, int width, int height, int depth_mode) {
  SurfaceState& s = State();
  // Compare the size as it will be made, so a repeated small request keeps
  // the drawing.
  if (width < kPwMinSurfaceSize) width = kPwMinSurfaceSize;
  if (height < kPwMinSurfaceSize) height = kPwMinSurfaceSize;
  if (s.surface.pixels.created == 1 && s.window_dc == window_dc && s.width == width &&
      s.height == height && s.depth_mode == depth_mode) {
    return;
  }
  PwSurfaceDestroy(&s.surface);
  s.window_dc = window_dc;
  s.width = width;
  s.height = height;
  s.depth_mode = depth_mode;
  PwSurfaceCreate(&s.surface, window_dc, width, height, depth_mode);
}

void PwFreeSurface() { PwSurfaceDestroy(&State().surface); }

void PwGetSurfaceSize(int* width, int* height) {
  *width = State().width;
  *height = State().height;
}

int PwPresent() {
  SurfaceState& s = State();
  if (s.surface.pixels.created != 1) return 0;
  return Backend().present(&s.surface, s.window_dc, s.width, s.height);
}

void PwGetSurface(PwSurface* out) { *out = State().surface; }

PwSurface* PwCurrentSurface() { return &State().surface; }

PwPixelBuffer* PwCurrentPixels() { return &State().surface.pixels; }

void* PwSurfaceMemoryDC() { return State().surface.memory_dc; }

void PwSetSurfaceBackend(const PwSurfaceBackend* backend) { State().backend = backend; }

void PwResetSurfaceState() {
  SurfaceState& s = State();
  PwSurfaceDestroy(&s.surface);
  s = SurfaceState();
  PwPaletteEntry none[kPwPaletteSize];
  PwBuildColorTable(none);
}
