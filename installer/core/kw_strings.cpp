#include "installer/core/kw_strings.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "installer/core/kw_state.h"

namespace {

bool IsLead(unsigned char c) {
  const KwPlatform& p = KwPlatformHooks();
  return p.is_lead_byte && p.is_lead_byte(c) != 0;
}

}  // namespace

// A lead byte before the terminator stands alone.
std::size_t KwCharLength(const char* s) {
  return IsLead(static_cast<unsigned char>(s[0])) && s[1] != '\0' ? 2 : 1;
}

namespace {

// Upper case of one byte of the Windows Latin code pages: ASCII, the
// accented letters 0xE0-0xFE (not the division sign 0xF7) and the few
// letters of 0x9A-0xFF that pair with 0x8A-0x9F.
unsigned char FoldLatin(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
  switch (c) {
    case 0x9A: return 0x8A;
    case 0x9C: return 0x8C;
    case 0x9E: return 0x8E;
    case 0xFF: return 0x9F;
  }
  return c;
}

}  // namespace

int KwSamePath(const char* a, const char* b) {
  const KwPlatform& p = KwPlatformHooks();
  if (p.same_path) return p.same_path(a, b) ? 1 : 0;
  while (*a && *b) {
    std::size_t n = KwCharLength(a);
    if (n != KwCharLength(b)) return 0;
    if (n == 2) {
      if (a[0] != b[0] || a[1] != b[1]) return 0;
    } else if (FoldLatin(static_cast<unsigned char>(*a)) !=
               FoldLatin(static_cast<unsigned char>(*b))) {
      return 0;
    }
    a += n;
    b += n;
  }
  return *a == *b ? 1 : 0;
}

int KwCopy(char* dst, std::size_t size, const char* src) {
  if (size == 0) return 0;
  std::size_t n = std::strlen(src);
  if (n >= size) {
    dst[0] = '\0';
    return 0;
  }
  std::memmove(dst, src, n + 1);
  return 1;
}

int KwAppend(char* dst, std::size_t size, const char* src) {
  std::size_t have = std::strlen(dst);
  std::size_t n = std::strlen(src);
  if (have + n >= size) return 0;
  std::memmove(dst + have, src, n + 1);
  return 1;
}

const char* FindCharDbcs(const char* s, char c) {
  while (*s) {
    if (*s == c) return s;
    s += KwCharLength(s);
  }
  return nullptr;
}

const char* FindLastCharDbcs(const char* s, char c) {
  const char* found = nullptr;
  while (*s) {
    if (*s == c) found = s;
    s += KwCharLength(s);
  }
  return found;
}

int IsTrailByteAt(const char* s, std::size_t n) {
  std::size_t i = 0;
  while (i < n && s[i] != '\0') i += KwCharLength(s + i);
  return i > n ? 1 : 0;
}

int AddBackslash(char* path, std::size_t size) {
  std::size_t n = std::strlen(path);
  if (n > 0 && path[n - 1] == '\\' && !IsTrailByteAt(path, n - 1)) return 1;
  return KwAppend(path, size, "\\");
}

void KwStripBackslash(char* path) {
  std::size_t n = std::strlen(path);
  if (n > 0 && path[n - 1] == '\\' && !IsTrailByteAt(path, n - 1)) path[n - 1] = '\0';
}

int KwHasDriveRoot(const char* s) {
  return std::isalpha(static_cast<unsigned char>(s[0])) && s[1] == ':' && s[2] == '\\' ? 1 : 0;
}

void EntryKey(unsigned n, char out[kKwKeySize]) { std::snprintf(out, kKwKeySize, "%u", n); }
