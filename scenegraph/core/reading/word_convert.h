#ifndef KS_WORD_CONVERT_H
#define KS_WORD_CONVERT_H

#include <cstdint>

// Index of the first entry of the null-terminated table equal to word
// (exact, case-sensitive), -1 when none matches.
int KsKeywordIndex(const char* word, const char* const* table);

// Integer of a word: optional sign, "0x" hexadecimal (a 32-bit pattern) or
// decimal. Null gives 0. A number beyond the int range gives the nearest
// int, never a wrapped one.
int KsParseInt(const char* text);
// The same into *out; 1 when the number does not fit an int (decimal beyond
// -2^31..2^31-1, hexadecimal beyond 32 bits), 0 otherwise.
int KsParseIntChecked(const char* text, int* out);

// Pixel number of a word: "0x" hexadecimal or decimal digits. Null gives 0.
uint32_t KsParseUnsigned(const char* text);

// Copies source with a-z turned into A-Z; returns destination, or null when
// either pointer is null. destination must hold the whole text.
char* KsCopyUpper(char* destination, const char* source);

// Removes a leading "set_", or else a trailing "_changed", in place. Returns 0.
int KsNormalizeEventName(char* name);

// Decimal number at the start of text: leading blanks skipped, optional sign,
// digits with an optional point and exponent; stops at the first character
// that cannot continue the number; no number gives 0. Only decimal notation
// is accepted ("inf", "nan" and hexadecimal give 0) and the result is
// correctly rounded, so every build reads the same value from the same text.
// When end is given it receives the first character not used.
double KsParseDouble(const char* text, const char** end = nullptr);

// The float of a word, read as KsParseDouble reads it. A number beyond the
// float range gives the largest float of its sign, with a warning, so that
// no value read is infinite. The words "inf" and "nan" (which earlier
// exports wrote for such values) are no decimal numbers and give 0 as
// before, now with a warning.
float KsParseFloat(const char* text);

#endif
