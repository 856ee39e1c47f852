// The handle check on Windows, where stat cannot describe devices (NUL,
// CON, COM1, CONIN$) and pipes: only a handle on a disk file is a file.
#include <windows.h>

#include <io.h>

#include <cstdio>

#include "scenegraph/core/reading/file_kind.h"

bool KsIsDiskStream(std::FILE* file) {
  if (!file) return false;
  const intptr_t handle = _get_osfhandle(_fileno(file));
  if (handle == -1) return false;
  return GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_DISK;
}
