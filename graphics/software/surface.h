// The software build's off-screen surface, its palette and colour table, and
// the copy to the window. The pixel work is portable; the platform part
// (memory DC, DIB section, BitBlt) sits behind PwSurfaceBackend so that
// native tests run the same code on heap pixels.
#pragma once

#include "graphics/software/pixel_buffer.h"
#include "graphics/window/drawing_area.h"

struct PwColor;  // graphics/math/pw_types.h

// The one off-screen surface: the pixel record that the rasteriser writes and
// the platform handles behind it (opaque here; the Win32 side casts them).
struct PwSurface {
  PwPixelBuffer pixels;        // created flag, bits, rows, crossings
  void* memory_dc = nullptr;   // HDC compatible with the window's (GDI text)
  void* old_bitmap = nullptr;  // what the memory DC held before the DIB
  void* dib = nullptr;         // the DIB section's HBITMAP
  int spare = 0;
};

// Surface depth modes of the window (system menu): 0 follows the display.
constexpr int kPwDepthDisplay = 0;
constexpr int kPwDepth8 = 8;
constexpr int kPwDepth16 = 16;

// The drawing area is never smaller than this in either direction.
constexpr int kPwMinSurfaceSize = 16;

// --- Surface lifecycle (module state: the one surface) ---

// PwSetSurface, PwFreeSurface, PwGetSurfaceSize and PwPresent: drawing_area.h.
void PwGetSurface(PwSurface* out);
// The live surface and its pixels, for the rasteriser; check
// pixels.created before drawing.
PwSurface* PwCurrentSurface();
PwPixelBuffer* PwCurrentPixels();
// The memory DC that holds the surface (null without a surface or natively).
void* PwSurfaceMemoryDC();

// Creates a surface record: 0 on success, 1 on failure (nothing is left
// allocated). PwSurfaceDestroy returns 0.
int PwSurfaceCreate(PwSurface* surface, void* window_dc, int width, int height, int depth_mode);
int PwSurfaceDestroy(PwSurface* surface);

// Bitmap width: the smallest power of two >= the drawing width and >= 8.
int PwBitmapWidth(int drawing_width);
// Bits per pixel of a surface for a depth mode on a display of display_bits.
int PwSurfaceBitsFor(int depth_mode, int display_bits);

// Points the row table and crossing table of a pixel record at bits laid out
// as pixel_width x height pixels of bits_per_pixel (top-down, no padding);
// 0 on success, 1 when a table cannot be had (nothing is kept). The created
// flag is left to the caller.
int PwPixelBufferAttach(PwPixelBuffer* pixels, unsigned char* bits, int pixel_width, int height,
                        int bits_per_pixel);
// Frees the tables and clears the record (the bits belong to the caller).
void PwPixelBufferDetach(PwPixelBuffer* pixels);

// --- Pixel formats ---

// 8 bits: the palette index of the colour through the colour table.
int PwColorIndex8(int* out, const PwColor* color);
// 16 bits: 5-5-5, red highest.
int PwColor555(int* out, const PwColor* color);

// --- Palette and colour table ---

// Same layout as the platform's palette entry.
struct PwPaletteEntry {
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
  unsigned char flags = 0;
};

constexpr int kPwPaletteSize = 256;
constexpr int kPwColorKeys = 512;
constexpr int kPwMaxHalftone = 40;

// The logical palette: the first min(count, 40) halftone entries, a 6x6x6
// cube, then a grey ramp for the halftone entries that are missing.
void PwLayoutPalette(PwPaletteEntry out[kPwPaletteSize], const PwPaletteEntry* halftone,
                     int halftone_count);
// Builds the colour table from palette entries: for each 9-bit key (green
// 8-6, red 5-3, blue 2-0, level * 255 / 7) the nearest entry, lower index on
// ties. Also keeps the entries for 8-bit surfaces' colour tables.
void PwBuildColorTable(const PwPaletteEntry entries[kPwPaletteSize]);
const int* PwColorTable();                 // 512 palette indices
const PwPaletteEntry* PwPaletteEntries();  // 256 entries of the last build

// --- Platform seam ---

// What a platform provides for the surface. create receives a record whose
// pixels.pixel_width, height and bits_per_pixel are set, and fills
// pixels.bits and the handles; on failure it returns 1 and leaves nothing
// allocated. destroy frees what create made.
struct PwSurfaceBackend {
  int (*display_bits)(void* window_dc);
  int (*create)(PwSurface* surface, void* window_dc);
  void (*destroy)(PwSurface* surface);
  int (*present)(const PwSurface* surface, void* window_dc, int width, int height);
};

// Installs a backend (null: the portable heap backend, whose display has 32
// bits per pixel and whose present copies nothing and returns 1).
void PwSetSurfaceBackend(const PwSurfaceBackend* backend);
// For tests: frees the surface, returns to the heap backend and a 16 x 16
// drawing area, and clears the colour table.
void PwResetSurfaceState();

// --- Win32 only (surface_win32.cpp, palette_win32.cpp) ---

// The GDI backend: memory DC and top-down DIB section, BitBlt to present.
const PwSurfaceBackend* PwGdiSurfaceBackend();
// Creates the window's palette (HPALETTE) and the colour table from it; the
// process ends with status 1 when it cannot be made.
void* PwCreatePalette(void* window_dc);
int PwMakeColorTable(void* palette);
void* PwGetPalette();
// Reading pixels back is not provided: the first call of each says so.
void PwGetColor();
void PwGetColorArray();
