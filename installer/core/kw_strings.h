// String and path helpers shared by the installer. Copies into fixed
// buffers are bounded: text that does not fit is refused (result 0).
#pragma once

#include <cstddef>

// dst := src; 0 (dst emptied) when it does not fit.
int KwCopy(char* dst, std::size_t size, const char* src);
// dst += src; 0 (dst unchanged) when it does not fit.
int KwAppend(char* dst, std::size_t size, const char* src);

// First occurrence of c in s, stepping over double-byte characters; null
// when absent.
const char* FindCharDbcs(const char* s, char c);
// Last occurrence of c in s that is a character of its own; null when absent.
const char* FindLastCharDbcs(const char* s, char c);
// Length of the character at s: 2 for a double-byte character, else 1.
std::size_t KwCharLength(const char* s);
// 1 when two paths are the same text but for case, compared as Windows
// compares file names: through the platform when it can, else folding
// the letters of the Windows Latin code pages ("\xC4rger" is
// "\xE4rger"); a double-byte character is compared byte for byte.
int KwSamePath(const char* a, const char* b);
// 1 when position n of s is the second byte of a double-byte character.
int IsTrailByteAt(const char* s, std::size_t n);
// Appends "\" unless path already ends in a backslash of its own; 0 when
// there is no room.
int AddBackslash(char* path, std::size_t size);
// Removes one trailing backslash of its own.
void KwStripBackslash(char* path);
// 1 when s begins with a drive letter, ":" and "\".
int KwHasDriveRoot(const char* s);

inline constexpr std::size_t kKwKeySize = 12;
// Decimal key text of n ("%u").
void EntryKey(unsigned n, char out[kKwKeySize]);
