#include "scenegraph/core/reading/file_kind.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The name's last part up to its first dot, trailing blanks dropped: Windows
// ignores both when it matches a device ("nul.wrl", "COM1 .txt").
bool IsReservedStem(const char* name) {
  size_t n = 0;
  while (name[n] && name[n] != '.' && name[n] != ':') ++n;
  while (n > 0 && name[n - 1] == ' ') --n;
  if (n < 3 || n > 7) return false;
  char stem[8] = {0};
  for (size_t i = 0; i < n; ++i) stem[i] = Upper(name[i]);
  static const char* const kPlain[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* d : kPlain)
    if (std::strcmp(stem, d) == 0) return true;
  // COM1-COM9 and LPT1-LPT9 (COM0 and LPT0 are ordinary names).
  return n == 4 && (std::strncmp(stem, "COM", 3) == 0 || std::strncmp(stem, "LPT", 3) == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

bool KsIsDeviceName(const char* path) {
  if (!path || !path[0]) return false;
  if ((path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/') &&
      path[2] == '.' && (path[3] == '\\' || path[3] == '/'))
    return true;
  const char* last = path;
  for (const char* p = path; *p; ++p)
    if (*p == '/' || *p == '\\') last = p + 1;
  // "C:NUL" names the device too.
  if (last == path && Upper(path[0]) >= 'A' && Upper(path[0]) <= 'Z' && path[1] == ':')
    last = path + 2;
  return IsReservedStem(last);
}

KsFileOpenResult KsOpenRegularFile(const char* path, const char* mode, std::FILE** file) {
  *file = nullptr;
  if (!path || !path[0]) return kKsFileNotFound;
  if (KsIsDeviceName(path)) return kKsFileNotRegular;
  // Where the name can be looked up, a folder or a pipe is known before it
  // is opened (opening a pipe for reading can wait for a writer).
  struct stat info;
  if (stat(path, &info) == 0 && !S_ISREG(info.st_mode)) return kKsFileNotRegular;
  errno = 0;
  std::FILE* opened = std::fopen(path, mode);
  if (!opened) {
    // Writing to a new name in a missing folder is "not found" too.
    return errno == ENOENT ? kKsFileNotFound : kKsFileCannotOpen;
  }
  // Some devices stat cannot describe (Windows' console and serial
  // ports): the handle tells.
  if (!KsIsDiskStream(opened)) {
    std::fclose(opened);
    return kKsFileNotRegular;
  }
  *file = opened;
  return kKsFileOpened;
}
