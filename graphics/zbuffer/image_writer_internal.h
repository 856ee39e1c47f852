// What the three image writers share: the open file and its row buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "graphics/math/pw_types.h"
#include "graphics/files/staged_file.h"

struct PwImageFile {
  std::FILE* file = nullptr;
  unsigned char* row = nullptr;
  std::size_t row_bytes = 0;
  int width = 0;
  int height = 0;
  int failed = 0;
  PwStagedFile staged = {};
};

// Closes what was open, then: path normalised, a zeroed row buffer of
// row_bytes, the file opened in binary mode. 1, or 0 with nothing open.
int PwImageFileOpen(PwImageFile* f, const char* path, int width, int height,
                    std::uint64_t row_bytes);
// 1 when every byte was written (and nothing failed before).
int PwImageFileWrite(PwImageFile* f, const void* bytes, std::size_t count);
// Closes and frees; 1 when the whole file reached the disk and took the
// target's name (until then it is a temporary beside it).
int PwImageFileClose(PwImageFile* f);
// A channel as a file byte, clamped to 0..255.
unsigned char PwImageByte(int channel);
// One row as red, green, blue bytes through the row buffer; 0 when nothing
// is open or row is null, else as PwImageFileWrite.
int PwImageFileRgbRow(PwImageFile* f, const PwColor* row);
