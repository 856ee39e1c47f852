#include <windows.h>

#include "graphics/files/staged_file.h"

// The C library's rename will not replace an existing file here.
int PwReplaceFile(const char* source, const char* target) {
  return MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 1 : 0;
}
