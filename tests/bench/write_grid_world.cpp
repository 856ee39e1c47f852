// Writes the benchmarks' grid world of about a given size to a file, for
// opening by hand in the viewer programs (tools/open-big-world.sh).
// Usage: write_grid_world <size in MB> <file>
#include <cstdio>
#include <cstdlib>

#include "grid_world_file.h"

int main(int argc, char** argv) {
  const int megabytes = argc > 2 ? std::atoi(argv[1]) : 0;
  if (megabytes < 1 || megabytes > 100000) {
    std::fprintf(stderr, "usage: write_grid_world <size in MB, 1 to 100000> <file>\n");
    return 2;
  }
  const int side = lvbench::GridSideForBytes(megabytes * 1e6);
  const long long bytes = lvbench::WriteGridWorldFile(argv[2], side);
  if (bytes < 0) {
    std::fprintf(stderr, "write_grid_world: %s could not be written\n", argv[2]);
    return 1;
  }
  std::printf("%s: %lld bytes, %d x %d grid, %lld triangles\n", argv[2], bytes, side, side,
              2LL * (side - 1) * (side - 1));
  return 0;
}
