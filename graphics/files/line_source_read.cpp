// Reads over a file or a string array pushed as the top line source.
#include <cstdio>

#include "graphics/files/line_source.h"
#include "graphics/files/paths.h"

int PwReadLinesFromFile(const char* file_name, PwLineSourceRead read, void* target) {
  char path[kPwPathSize];
  if (file_name == nullptr || PwNormalizePath(path, sizeof(path), file_name) == 0) return 0;
  std::FILE* file = std::fopen(path, "r");
  if (file == nullptr) return 0;
  if (!PwPushLineSource()) {
    std::fclose(file);
    return 0;
  }
  PwLineSourceFile(file);
  int ok = read(target);
  std::fclose(file);
  PwPopLineSource();
  return ok;
}

int PwReadLinesFromStrings(const char* const* strings, PwLineSourceRead read, void* target) {
  if (strings == nullptr || !PwPushLineSource()) return 0;
  PwLineSourceStrings(strings);
  int ok = read(target);
  PwPopLineSource();
  return ok;
}
