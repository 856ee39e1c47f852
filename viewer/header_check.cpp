#include "viewer/header_check.h"

#include <cstdio>
#include <cstring>

ViewerHeaderVerdict ViewerCheckHeaderLine(const char* first_line) {
  if (!first_line) {
    return {0, 1, {"The file is empty.", nullptr, nullptr}, kKsFileOpened, 1};
  }
  char upper[261] = {0};
  std::size_t n = 0;
  for (; first_line[n] && n < sizeof upper - 1; ++n) {
    char c = first_line[n];
    upper[n] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (std::strncmp(upper, "#VRML V2", 8) == 0) {
    return {1, 0, {nullptr, nullptr, nullptr}, kKsFileOpened, 0};
  }
  if (std::strncmp(upper, "#VRML V1", 8) == 0) {
    return {0,
            3,
            {"Specified file is VRML V1.0", "This program supports VRML V2.0 only.",
             "Does not support VRML V1.0"},
            kKsFileOpened,
            0};
  }
  if (std::strncmp(upper, "#VRML", 5) == 0) {
    return {1,
            3,
            {"Unknown version of VRML.", "This program attempts to read it.", "But it may fail."},
            kKsFileOpened,
            0};
  }
  // gzip's two magic bytes: a compressed world.
  if (static_cast<unsigned char>(first_line[0]) == 0x1f &&
      static_cast<unsigned char>(first_line[1]) == 0x8b) {
    return {0,
            3,
            {"Unknown Format.", "REMARK:", "  This program cannot read compressed VRML."},
            kKsFileOpened,
            0};
  }
  return {
      0,
      3,
      {"Unknown Format.", "This is not a VRML 2.0 file:", "  its first line is not #VRML V2.0."},
      kKsFileOpened,
      0};
}

ViewerHeaderVerdict ViewerCheckHeaderFile(const char* path) {
  std::FILE* file = nullptr;
  // Binary, as the reader reads it: in text mode a Ctrl-Z byte would pass
  // for the end of the file.
  const KsFileOpenResult opened = KsOpenRegularFile(path, "rb", &file);
  if (!file) return {0, 1, {"Cannot open file.", nullptr, nullptr}, opened, 0};
  char line[260] = {0};
  const bool any = std::fgets(line, sizeof line, file) != nullptr;
  std::fclose(file);
  return ViewerCheckHeaderLine(any ? line : nullptr);
}
