#include "graphics/files/staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <ctime>

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

// A temporary that nothing has written to for an hour was left by an
// export that never ended (a crashed program): its name is free again. A
// live export keeps writing to its file (and, on Windows, holds it open, so
// it cannot be removed), and renames it the moment it last wrote.
constexpr double kLeftoverSeconds = 3600.0;

int IsLeftover(const char* path) {
  struct stat st;
  if (stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  return std::difftime(std::time(nullptr), st.st_mtime) >= kLeftoverSeconds ? 1 : 0;
}

// Creates path for writing, failing when anything of that name exists, so
// two programs choosing names in one folder never share a file. On failure
// *taken says whether the name was in use (another name may do).
std::FILE* CreateNew(const char* path, const char* mode, int* taken) {
  *taken = 0;
#ifdef _WIN32
  const int flags = _O_WRONLY | _O_CREAT | _O_EXCL | (std::strchr(mode, 'b') ? _O_BINARY : _O_TEXT);
  const int fd = _open(path, flags, _S_IREAD | _S_IWRITE);
#else
  const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
#endif
  if (fd < 0) {
    *taken = errno == EEXIST || Exists(path);
    return nullptr;
  }
#ifdef _WIN32
  std::FILE* file = _fdopen(fd, mode);
  if (!file) _close(fd);
#else
  std::FILE* file = fdopen(fd, mode);
  if (!file) close(fd);
#endif
  if (!file) std::remove(path);
  return file;
}

// The first name of the folder's "~lvNNNN.tmp" that can be made anew.
std::FILE* CreateTemp(PwStagedFile* f, const char* mode) {
  const std::size_t folder = FolderLength(f->target);
  for (int n = 0; n < 10000; ++n) {
    const int written = std::snprintf(f->temp, sizeof f->temp, "%.*s~lv%04d.tmp",
                                      static_cast<int>(folder), f->target, n);
    if (written < 0 || static_cast<std::size_t>(written) >= sizeof f->temp) return nullptr;
    int taken = 0;
    std::FILE* file = CreateNew(f->temp, mode, &taken);
    if (!file && taken && IsLeftover(f->temp) && std::remove(f->temp) == 0) {
      file = CreateNew(f->temp, mode, &taken);
    }
    if (file) return file;
    // A folder that cannot be written refuses every name alike.
    if (!taken) return nullptr;
  }
  return nullptr;
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
  f->file = CreateTemp(f, mode);
  if (f->file) {
    f->staged = 1;
  } else {
    f->temp[0] = '\0';
  }
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
