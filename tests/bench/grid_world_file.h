// The grid world of big_worlds.h at any size, written to a file through a
// small buffer: the 32-bit benchmark keeps its address space for the read.
#ifndef LV_BENCH_GRID_WORLD_FILE_H
#define LV_BENCH_GRID_WORLD_FILE_H

namespace lvbench {

// The file size of the grid world of that side, estimated from a sample of
// its rows (within a small fraction of a percent).
double GridWorldBytes(int side);
// The side whose world comes closest to bytes: 2 to 46,340.
int GridSideForBytes(double bytes);
// Writes the world of that side: the bytes written, or -1 when the file
// could not be written whole (nothing of it is left then).
long long WriteGridWorldFile(const char* path, int side);

}  // namespace lvbench

#endif
