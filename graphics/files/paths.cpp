#include "graphics/files/paths.h"

#include <cstring>

int PwNormalizePath(char* destination, std::size_t size, const char* path) {
  if (!destination || size == 0) return 0;
  destination[0] = '\0';
  if (!path) return 0;
  std::size_t len = std::strlen(path);
  if (len == 0 || len >= size) return 0;
  std::memcpy(destination, path, len + 1);
  if (len >= 2 && path[0] == '\\' && path[1] == '\\') return static_cast<int>(len);
  for (std::size_t i = 0; i < len; ++i) {
    char c = destination[i];
    if (c == '\\' || (c == ':' && i != 1)) destination[i] = '/';
  }
  return static_cast<int>(len);
}
