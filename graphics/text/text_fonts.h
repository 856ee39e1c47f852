// Built-in 3D text fonts: a glyph model (solid, SRF) or picture (flat,
// PICT2) for each printable character, queued on the depth-sorted list
// along a pose's rotated baseline.
#pragma once

#include "graphics/math/pw_types.h"

constexpr int kPwFontSolid = 0;
constexpr int kPwFontFlat = 1;
constexpr int kPwFontSlots = 128;

struct PwTextFont {
  float size;         // advance from one character to the next
  float line_height;  // 1.5 x size
  PwColor colour;
  int type;        // kPwFontSolid (glyphs are PwSrf) or kPwFontFlat (PwPict)
  int slot_count;  // kPwFontSlots
  void** glyphs;   // by character code; null where there is no glyph
};

// 1, or 0 when the glyph table cannot be allocated; a glyph that cannot be
// built leaves its slot null.
int PwMakeSolidFont(PwTextFont* font, float size, PwColor colour);
int PwMakeFlatFont(PwTextFont* font, float size, PwColor colour);
// A glyph built from its source text, scaled and coloured; null on failure.
// Solid glyphs are PwSrf, flat ones PwPict (graphics/formats).
void* PwMakeSolidGlyph(float size, PwColor colour, const char* const* source);
void* PwMakeFlatGlyph(float size, PwColor colour, const char* const* source);
void PwFreeTextFont(PwTextFont* font);

// Alignments: horizontal 1 the text begins at the pose, 2 it ends there,
// else centred; vertical 3 and 4 shift by half a line down / up, else 0.
int PwDrawFontText(const PwPose* pose, const PwTextFont* font, const char* text, int halign,
                   int valign);
// A null-terminated array of lines as a block: vertical 0 centres it on the
// pose, 4 puts the last line there, else the first.
int PwDrawFontLines(const PwPose* pose, const PwTextFont* font, const char* const* lines,
                    int halign, int valign);
