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

int PwPpmRow(const PwColor* row) { return PwImageFileRgbRow(&File(), row); }

int PwPpmClose() { return PwImageFileClose(&File()); }
