#include <cstring>

#include "graphics/files/paths.h"
#include "graphics/files/pw_alloc.h"
#include "graphics/zbuffer/image_writer_internal.h"
#include "graphics/zbuffer/zbuffer_alloc.h"

int PwImageFileOpen(PwImageFile* f, const char* path, int width, int height,
                    std::uint64_t row_bytes) {
  PwImageFileClose(f);
  char name[kPwPathSize];
  if (PwNormalizePath(name, sizeof name, path) == 0) return 0;
  if (row_bytes > SIZE_MAX) return 0;
  auto* row = static_cast<unsigned char*>(PwZAlloc(static_cast<std::size_t>(row_bytes)));
  if (row == nullptr) return 0;
  std::memset(row, 0, static_cast<std::size_t>(row_bytes));
  std::FILE* file = PwStagedOpen(&f->staged, name, "wb");
  if (file == nullptr) {
    PwFree(row);
    return 0;
  }
  f->file = file;
  f->row = row;
  f->row_bytes = static_cast<std::size_t>(row_bytes);
  f->width = width;
  f->height = height;
  f->failed = 0;
  return 1;
}

int PwImageFileWrite(PwImageFile* f, const void* bytes, std::size_t count) {
  if (f->file == nullptr) return 0;
  if (std::fwrite(bytes, 1, count, f->file) != count) f->failed = 1;
  return f->failed ? 0 : 1;
}

int PwImageFileClose(PwImageFile* f) {
  if (f->file == nullptr) return 0;
  int ok = f->failed ? 0 : 1;
  ok = PwStagedClose(&f->staged, ok);
  PwFree(f->row);
  *f = PwImageFile();
  return ok;
}

unsigned char PwImageByte(int channel) {
  if (channel < 0) return 0;
  if (channel > 255) return 255;
  return static_cast<unsigned char>(channel);
}

int PwImageFileRgbRow(PwImageFile* f, const PwColor* row) {
  if (f->file == nullptr || row == nullptr) return 0;
  for (int x = 0; x < f->width; ++x) {
    unsigned char* p = f->row + 3 * static_cast<std::size_t>(x);
    p[0] = PwImageByte(row[x].red);
    p[1] = PwImageByte(row[x].green);
    p[2] = PwImageByte(row[x].blue);
  }
  return PwImageFileWrite(f, f->row, f->row_bytes);
}
