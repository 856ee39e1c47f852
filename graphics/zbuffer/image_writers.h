// The image files: each writer opens one file at a time, takes rows of
// `width` colours in file order and closes. Opens normalise the path
// (PwNormalizePath into kPwPathSize) and return 1, or 0 when the path does
// not fit, the size is below 1 or beyond what the format's header fields
// hold, or the row buffer or the file cannot be had (then no file is made).
// Rows and closes return 1, or 0 when nothing is open or writing failed.
#pragma once

#include "graphics/math/pw_types.h"

// Big-endian, one uncompressed RGB strip; width and height up to 65535 and
// at most 2^32 - 1 bytes in all.
int PwTiffOpen(const char* path, int width, int height);
int PwTiffRow(const PwColor* row);
int PwTiffClose();

// 24 bits, bottom row first, rows padded to 4 bytes; the file size field
// must hold 54 + height * padded row.
int PwBmpOpen(const char* path, int width, int height);
int PwBmpRow(const PwColor* row);
int PwBmpClose();

// P6 with maximum 255.
int PwPpmOpen(const char* path, int width, int height);
int PwPpmRow(const PwColor* row);
int PwPpmClose();
