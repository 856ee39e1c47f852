// Filters and paths of the open and save dialogs.
#include "viewer/toolkit/file_filter.h"

#include <cstdio>
#include <cstring>

namespace kr {

const char* ExtensionWord(const char* extension) {
  if (!extension) return "";
  if (*extension == '*') ++extension;
  if (*extension == '.') ++extension;
  return extension;
}

void DefaultExtension(char* out, const char* extension) {
  std::snprintf(out, kExtensionMax + 1, "%s", ExtensionWord(extension));
}

void BuildFilter(char* out, const char* extension) {
  char word[kExtensionMax + 1];
  DefaultExtension(word, extension);
  int n = std::snprintf(out, kFilterSize, "(*.%s)|*.%s||", word, word);
  for (int i = 0; i < n && i < kFilterSize; ++i) {
    if (out[i] == '|') out[i] = '\0';
  }
}

int CopyPath(char* dest, int size, const char* src) {
  if (size <= 0) return 0;
  if (!src) src = "";
  std::size_t n = std::strlen(src);
  if (n >= static_cast<std::size_t>(size)) {
    dest[0] = '\0';
    return 0;
  }
  std::memcpy(dest, src, n + 1);
  return 1;
}

void LowerAscii(char* text) {
  for (; *text; ++text) {
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text - 'A' + 'a');
  }
}

}  // namespace kr
