#include "viewer/header_check.h"

#include <cstdio>
#include <cstring>

ViewerHeaderVerdict ViewerCheckHeaderLine(const char* first_line) {
  char upper[261] = {0};
  std::size_t n = 0;
  for (; first_line && first_line[n] && n < sizeof upper - 1; ++n) {
    char c = first_line[n];
    upper[n] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  if (std::strncmp(upper, "#VRML V2", 8) == 0) {
    return {1, 0, {nullptr, nullptr, nullptr}, kKsFileOpened};
  }
  if (std::strncmp(upper, "#VRML V1", 8) == 0) {
    return {0, 3,
            {"Specified file is VRML V1.0", "This program supports VRML V2.0 only.",
             "Does not support VRML V1.0"},
            kKsFileOpened};
  }
  if (std::strncmp(upper, "#VRML", 5) == 0) {
    return {1, 3,
            {"Unknown version of VRML.", "This program attempts to read it.", "But it may fail."},
            kKsFileOpened};
  }
  return {0, 3, {"Unknown Format.", "REMARK:", "  This program cannot read compressed VRML."},
          kKsFileOpened};
}

ViewerHeaderVerdict ViewerCheckHeaderFile(const char* path) {
  std::FILE* file = nullptr;
  const KsFileOpenResult opened = KsOpenRegularFile(path, "r", &file);
  if (!file) return {0, 1, {"Cannot open file.", nullptr, nullptr}, opened};
  char line[260] = {0};
  if (!std::fgets(line, sizeof line, file)) line[0] = '\0';
  std::fclose(file);
  return ViewerCheckHeaderLine(line);
}
