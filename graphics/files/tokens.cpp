#include "graphics/files/tokens.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Bytes of 128 and above are text (accented letters), not controls.
bool IsControl(char c) {
  unsigned char u = static_cast<unsigned char>(c);
  return u < 32 || u == 127;
}

}  // namespace

void PwSplitTokens(int* count, char** vector, int max, char* line) {
  int stored = 0;
  if (max < 0) max = 0;
  if (line) {
    char* p = line;
    while (IsBlank(*p)) ++p;
    size_t len = std::strlen(p);
    while (len > 0 && IsControl(p[len - 1])) p[--len] = '\0';
    while (*p != '\0') {
      if (stored >= max) break;
      char* start;
      if (*p == '"') {
        start = ++p;
        while (*p != '\0' && *p != '"') ++p;
      } else {
        start = p;
        while (*p != '\0' && !IsBlank(*p)) ++p;
      }
      if (*p != '\0') *p++ = '\0';
      while (IsBlank(*p)) ++p;
      vector[stored++] = start;
    }
  }
  vector[stored] = nullptr;
  *count = stored;
}

int PwFindKeyword(int* index, const char* token, const char* const* keywords) {
  *index = 0;
  if (!token || !keywords) return 0;
  for (int i = 0; keywords[i]; ++i) {
    if (std::strncmp(token, keywords[i], std::strlen(keywords[i])) == 0) {
      *index = i;
      return 1;
    }
  }
  return 0;
}

void PwUpperCase(char* text) {
  if (!text) return;
  for (; *text; ++text) {
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
  }
}

int PwSplitPath(char* folder, char* name, const char* path) {
  folder[0] = '\0';
  name[0] = '\0';
  size_t len = std::strlen(path);
  if (len >= static_cast<size_t>(kPwSplitPathSize)) return 0;
  size_t start = (len >= 2 && path[1] == ':') ? 2 : 0;
  size_t cut = 0;  // one past the last separator; 0 for none
  for (size_t i = start; i < len; ++i) {
    if (path[i] == '/' || path[i] == ':' || path[i] == '\\') cut = i + 1;
  }
  std::memcpy(folder, path, cut);
  folder[cut] = '\0';
  std::memcpy(name, path + cut, len - cut + 1);
  return 1;
}

bool PwTokenReal(const char* token, float* out) {
  float f = static_cast<float>(std::strtod(token, nullptr));
  if (!std::isfinite(f)) return false;
  *out = f;
  return true;
}
