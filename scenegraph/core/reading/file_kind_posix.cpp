// The handle check where POSIX describes every open file.
#ifndef _WIN32
#include <sys/stat.h>

#include <cstdio>

#include "scenegraph/core/reading/file_kind.h"

bool KsIsDiskStream(std::FILE* file) {
  struct stat info;
  return file && fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode);
}
#endif
