// Files written whole or not at all. The bytes go to a fresh temporary file
// in the target's own folder, which takes the target's name only once all of
// it reached the disk; a failed write removes it, so whatever the target held
// before stays as it was.
#pragma once

#include <cstddef>
#include <cstdio>

// A temporary name is the folder and "~lvNNNN.tmp", made anew (never one
// that exists) so that two programs writing into one folder never share it.
constexpr std::size_t kPwStagedPathSize = 272;

struct PwStagedFile {
  std::FILE* file;
  int staged;  // 1 when file is the temporary, 0 when it is the target itself
  char target[kPwStagedPathSize];
  char temp[kPwStagedPathSize];
};

// Opens for writing with mode ("w" or "wb"): the file, or null with nothing
// made. A target that exists but is not a regular file (a device) is opened
// as it is, since it cannot be replaced.
std::FILE* PwStagedOpen(PwStagedFile* f, const char* path, const char* mode);
// Closes. With ok 1 and a close that succeeded, the target is replaced by
// what was written: 1. Otherwise the temporary is removed: 0. Nothing open: 0.
int PwStagedClose(PwStagedFile* f, int ok);

// Replaces target by source (same folder); 1 when done. Where the system
// refuses (a read-only target), nothing changes.
int PwReplaceFile(const char* source, const char* target);
