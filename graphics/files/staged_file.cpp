#include "graphics/files/staged_file.h"

#include <sys/stat.h>

#include <cstring>

namespace {

int Exists(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 ? 1 : 0;
}

int IsDevice(const char* path) {
  struct stat st;
  return stat(path, &st) == 0 && !S_ISREG(st.st_mode) ? 1 : 0;
}

// Folder part of path including its separator ("" for a bare name, "C:" for
// a drive-relative one).
std::size_t FolderLength(const char* path) {
  std::size_t folder = 0;
  for (std::size_t i = 0; path[i]; ++i) {
    if (path[i] == '/' || path[i] == '\\' || (i == 1 && path[i] == ':')) folder = i + 1;
  }
  return folder;
}

int TempName(PwStagedFile* f) {
  const std::size_t folder = FolderLength(f->target);
  for (int n = 0; n < 10000; ++n) {
    const int written = std::snprintf(f->temp, sizeof f->temp, "%.*s~lv%04d.tmp",
                                      static_cast<int>(folder), f->target, n);
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof f->temp) return 0;
    if (!Exists(f->temp)) return 1;
  }
  return 0;
}

}  // namespace

#ifndef _WIN32
int PwReplaceFile(const char* source, const char* target) {
  return std::rename(source, target) == 0 ? 1 : 0;
}
#endif

std::FILE* PwStagedOpen(PwStagedFile* f, const char* path, const char* mode) {
  f->file = nullptr;
  f->staged = 0;
  f->target[0] = f->temp[0] = '\0';
  if (!path || !mode) return nullptr;
  const std::size_t length = std::strlen(path);
  if (length == 0 || length >= sizeof f->target) return nullptr;
  std::memcpy(f->target, path, length + 1);
  if (IsDevice(path)) {
    f->file = std::fopen(path, mode);
    return f->file;
  }
  if (!TempName(f)) return nullptr;
  f->file = std::fopen(f->temp, mode);
  if (f->file) f->staged = 1;
  return f->file;
}

int PwStagedClose(PwStagedFile* f, int ok) {
  if (!f->file) return 0;
  if (std::fclose(f->file) != 0) ok = 0;
  f->file = nullptr;
  if (f->staged != 1) return ok ? 1 : 0;
  f->staged = 0;
  if (ok && PwReplaceFile(f->temp, f->target) == 1) return 1;
  std::remove(f->temp);
  return 0;
}
