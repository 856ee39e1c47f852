// The surface's GDI side: a memory DC holding a top-down DIB section, and
// BitBlt to the window.
#include <windows.h>

#include "graphics/software/surface.h"

namespace {

int DisplayBits(void* window_dc) {
  HDC dc = static_cast<HDC>(window_dc);
  if (!dc) return 32;
  return GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
}

int CreateGdiSurface(PwSurface* surface, void* window_dc) {
  HDC memory_dc = CreateCompatibleDC(static_cast<HDC>(window_dc));
  if (!memory_dc) return 1;
  SetBkMode(memory_dc, TRANSPARENT);
  SetPolyFillMode(memory_dc, ALTERNATE);

  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[kPwPaletteSize];
  } info = {};
  PwPixelBuffer& p = surface->pixels;
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = p.pixel_width;
  info.header.biHeight = -p.height;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(p.bits_per_pixel);
  info.header.biCompression = BI_RGB;
  if (p.bits_per_pixel == 8) {
    const PwPaletteEntry* entries = PwPaletteEntries();
    for (int i = 0; i < kPwPaletteSize; ++i) {
      info.colors[i].rgbRed = entries[i].red;
      info.colors[i].rgbGreen = entries[i].green;
      info.colors[i].rgbBlue = entries[i].blue;
    }
    info.header.biClrUsed = kPwPaletteSize;
  }
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(static_cast<HDC>(window_dc), reinterpret_cast<BITMAPINFO*>(&info),
                                 DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dib || !bits) {
    if (dib) DeleteObject(dib);
    DeleteDC(memory_dc);
    return 1;
  }
  surface->old_bitmap = SelectObject(memory_dc, dib);
  surface->memory_dc = memory_dc;
  surface->dib = dib;
  p.bits = static_cast<unsigned char*>(bits);
  return 0;
}

void DestroyGdiSurface(PwSurface* surface) {
  HDC memory_dc = static_cast<HDC>(surface->memory_dc);
  if (memory_dc) {
    if (surface->old_bitmap) SelectObject(memory_dc, static_cast<HGDIOBJ>(surface->old_bitmap));
    DeleteDC(memory_dc);
  }
  if (surface->dib) DeleteObject(static_cast<HGDIOBJ>(surface->dib));
  surface->memory_dc = nullptr;
  surface->old_bitmap = nullptr;
  surface->dib = nullptr;
  surface->pixels.bits = nullptr;
}

int PresentGdiSurface(const PwSurface* surface, void* window_dc, int width, int height) {
  // The rasteriser wrote the bits directly; GDI may still queue its own work.
  GdiFlush();
  return BitBlt(static_cast<HDC>(window_dc), 0, 0, width, height,
                static_cast<HDC>(surface->memory_dc), 0, 0, SRCCOPY);
}

const PwSurfaceBackend kGdiBackend = {DisplayBits, CreateGdiSurface, DestroyGdiSurface,
                                      PresentGdiSurface};

}  // namespace

const PwSurfaceBackend* PwGdiSurfaceBackend() { return &kGdiBackend; }
