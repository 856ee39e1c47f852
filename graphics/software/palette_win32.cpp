// The window's logical palette: halftone entries of the display, the colour
// cube and a grey ramp; and the pixel read-back that is not provided.
#include <windows.h>

#include "graphics/software/surface.h"
#include "graphics/window/window.h"

namespace {

HPALETTE& Palette() {
  static HPALETTE palette = nullptr;
  return palette;
}

// Entries of the system halftone palette for the DC, at most 40.
int HalftoneEntries(HDC dc, PwPaletteEntry* out) {
  HPALETTE halftone = CreateHalftonePalette(dc);
  if (!halftone) return 0;
  PALETTEENTRY entries[kPwMaxHalftone];
  UINT total = GetPaletteEntries(halftone, 0, 0, nullptr);
  UINT n = total < static_cast<UINT>(kPwMaxHalftone) ? total : kPwMaxHalftone;
  n = GetPaletteEntries(halftone, 0, n, entries);
  for (UINT i = 0; i < n; ++i) {
    out[i] = PwPaletteEntry{entries[i].peRed, entries[i].peGreen, entries[i].peBlue, 0};
  }
  DeleteObject(halftone);
  return static_cast<int>(n);
}

}  // namespace

void* PwCreatePalette(void* window_dc) {
  PwPaletteEntry halftone[kPwMaxHalftone];
  int n = HalftoneEntries(static_cast<HDC>(window_dc), halftone);
  PwPaletteEntry layout[kPwPaletteSize];
  PwLayoutPalette(layout, halftone, n);

  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[kPwPaletteSize];
  } logical = {};
  logical.version = 0x300;
  logical.count = kPwPaletteSize;
  for (int i = 0; i < kPwPaletteSize; ++i) {
    logical.entries[i].peRed = layout[i].red;
    logical.entries[i].peGreen = layout[i].green;
    logical.entries[i].peBlue = layout[i].blue;
    logical.entries[i].peFlags = 0;
  }
  HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
  if (!palette) {
    MessageBoxA(nullptr, "Can't Create Palette.", "", MB_OK);
    PwExitProcess(1);
  }
  if (Palette()) DeleteObject(Palette());
  Palette() = palette;
  PwMakeColorTable(palette);
  return palette;
}

int PwMakeColorTable(void* palette) {
  PALETTEENTRY entries[kPwPaletteSize] = {};
  GetPaletteEntries(static_cast<HPALETTE>(palette), 0, kPwPaletteSize, entries);
  PwPaletteEntry table[kPwPaletteSize];
  for (int i = 0; i < kPwPaletteSize; ++i) {
    table[i] = PwPaletteEntry{entries[i].peRed, entries[i].peGreen, entries[i].peBlue, 0};
  }
  PwBuildColorTable(table);
  return 0;
}

void* PwGetPalette() { return Palette(); }

void PwGetColor() {
  static int shown = 0;
  if (shown) return;
  shown = 1;
  MessageBoxA(nullptr, "PwGetColor is Under Construction.", "", MB_OK);
}

void PwGetColorArray() {
  static int shown = 0;
  if (shown) return;
  shown = 1;
  MessageBoxA(nullptr, "PwGetColorArray is Under Construction.", "", MB_OK);
}
