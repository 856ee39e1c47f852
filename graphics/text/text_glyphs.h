// The built-in fonts' glyph texts, one entry for each character from 33
// ('!') to 126 ('~'): a null-terminated array of strings read through a
// string line source, '|' ending a logical line inside a string.
#pragma once

constexpr int kPwGlyphFirst = 33;
constexpr int kPwGlyphCount = 94;

// SRF text beginning "Surf|": the solid font, designed for an advance of 8.5.
extern const char* const* const PwSolidGlyphSource[kPwGlyphCount];
// PICT2 text beginning "Pict2|": the flat font, designed for an advance of 90.
extern const char* const* const PwFlatGlyphSource[kPwGlyphCount];
