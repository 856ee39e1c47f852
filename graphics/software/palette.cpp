// The logical palette's layout, the colour table that maps colours to its
// indices, and the two pixel formats.
#include "graphics/math/pw_types.h"
#include "graphics/software/surface.h"

namespace {

struct ColorTableState {
  int table[kPwColorKeys] = {};
  PwPaletteEntry entries[kPwPaletteSize];
};

ColorTableState& Tables() {
  static ColorTableState state;
  return state;
}

// Channels outside 0..255 would index past the table or spill into the
// neighbouring 5-bit field.
int Channel(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

}  // namespace

void PwLayoutPalette(PwPaletteEntry out[kPwPaletteSize], const PwPaletteEntry* halftone,
                     int halftone_count) {
  int n =
      halftone_count < 0 ? 0 : (halftone_count > kPwMaxHalftone ? kPwMaxHalftone : halftone_count);
  if (!halftone) n = 0;
  for (int i = 0; i < n; ++i) {
    out[i] = halftone[i];
    out[i].flags = 0;
  }
  for (int g = 0; g < 6; ++g) {
    for (int r = 0; r < 6; ++r) {
      for (int b = 0; b < 6; ++b) {
        PwPaletteEntry& e = out[n + 36 * g + 6 * r + b];
        e.red = static_cast<unsigned char>(51 * r);
        e.green = static_cast<unsigned char>(51 * g);
        e.blue = static_cast<unsigned char>(51 * b);
        e.flags = 0;
      }
    }
  }
  int ramp = kPwMaxHalftone - n;
  for (int k = 0; k < ramp; ++k) {
    unsigned char grey = static_cast<unsigned char>(k * 255 / ramp);
    out[n + 216 + k] = PwPaletteEntry{grey, grey, grey, 0};
  }
}

void PwBuildColorTable(const PwPaletteEntry entries[kPwPaletteSize]) {
  ColorTableState& t = Tables();
  for (int i = 0; i < kPwPaletteSize; ++i) t.entries[i] = entries[i];
  for (int key = 0; key < kPwColorKeys; ++key) {
    int green = ((key >> 6) & 7) * 255 / 7;
    int red = ((key >> 3) & 7) * 255 / 7;
    int blue = (key & 7) * 255 / 7;
    int best = 0;
    int best_distance = -1;
    for (int i = 0; i < kPwPaletteSize; ++i) {
      int dr = entries[i].red - red;
      int dg = entries[i].green - green;
      int db = entries[i].blue - blue;
      int d = dr * dr + dg * dg + db * db;
      if (best_distance < 0 || d < best_distance) {
        best = i;
        best_distance = d;
      }
    }
    t.table[key] = best;
  }
}

const int* PwColorTable() { return Tables().table; }

const PwPaletteEntry* PwPaletteEntries() { return Tables().entries; }

int PwColorIndex8(int* out, const PwColor* color) {
  int key = ((Channel(color->green) >> 5) << 6) | ((Channel(color->red) >> 5) << 3) |
            (Channel(color->blue) >> 5);
  *out = Tables().table[key];
  return 0;
}

int PwColor555(int* out, const PwColor* color) {
  *out = ((Channel(color->red) >> 3) << 10) | ((Channel(color->green) >> 3) << 5) |
         (Channel(color->blue) >> 3);
  return 0;
}
