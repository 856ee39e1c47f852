// PPM: binary P6, maximum 255, rows top first.
#include <cstdio>

#include "graphics/zbuffer/image_writer_internal.h"
#include "graphics/zbuffer/image_writers.h"

namespace {

PwImageFile& File() {
  static PwImageFile file;
  return file;
}

}  // namespace

int PwPpmOpen(const char* path, int width, int height) {
  PwPpmClose();
  if (width < 1 || height < 1) return 0;
  PwImageFile& f = File();
  if (!PwImageFileOpen(&f, path, width, height, 3ull * static_cast<std::uint64_t>(width))) return 0;
  char header[48];
  const int n = std::snprintf(header, sizeof header, "P6\n%d %d\n255\n", width, height);
  if (n <= 0 || !PwImageFileWrite(&f, header, static_cast<std::size_t>(n))) {
    PwImageFileClose(&f);
    return 0;
  }
  return 1;
}

int PwPpmRow(const PwColor* row) {
  PwImageFile& f = File();
  if (f.file == nullptr || row == nullptr) return 0;
  for (int x = 0; x < f.width; ++x) {
    unsigned char* p = f.row + 3 * static_cast<std::size_t>(x);
    p[0] = PwImageByte(row[x].red);
    p[1] = PwImageByte(row[x].green);
    p[2] = PwImageByte(row[x].blue);
  }
  return PwImageFileWrite(&f, f.row, f.row_bytes);
}

int PwPpmClose() { return PwImageFileClose(&File()); }
