#include "grid_world_file.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "big_worlds.h"

namespace lvbench {

namespace {

constexpr int kMaxSide = 46340;  // side * side still fits an int
constexpr int kSampledRows = 32;

struct ByteCount {
  double bytes = 0;
  void operator()(const char*, std::size_t n) { bytes += static_cast<double>(n); }
};

}  // namespace

double GridWorldBytes(int side) {
  // Row lengths change only where a number gains a digit: a few evenly
  // spread rows tell them closely enough.
  const int rows = side < kSampledRows ? side : kSampledRows;
  ByteCount points, indices;
  for (int r = 0; r < rows; ++r) {
    const int j = static_cast<int>(static_cast<long long>(r) * (side - 1) / rows);
    GridPointRow(side, j, points);
    GridIndexRow(side, j, indices);
  }
  ByteCount frame;
  EmitGridWorld(0, frame);  // header and brackets alone
  return frame.bytes + points.bytes * side / rows + indices.bytes * (side - 1) / rows;
}

int GridSideForBytes(double bytes) {
  int side = 500;
  // Bytes grow a little faster than side squared (longer numbers): a few
  // rescalings settle.
  for (int round = 0; round < 4; ++round) {
    const double scaled = side * std::sqrt(bytes / GridWorldBytes(side));
    side = scaled < 2 ? 2 : scaled > kMaxSide ? kMaxSide : static_cast<int>(scaled + 0.5);
  }
  return side;
}

long long WriteGridWorldFile(const char* path, int side) {
  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return -1;
  constexpr std::size_t kChunk = 1u << 20;
  std::string chunk;
  chunk.reserve(kChunk);
  long long written = 0;
  bool failed = false;
  auto flush = [&] {
    if (!failed && std::fwrite(chunk.data(), 1, chunk.size(), f) != chunk.size()) failed = true;
    written += static_cast<long long>(chunk.size());
    chunk.clear();
  };
  EmitGridWorld(side, [&](const char* piece, std::size_t n) {
    chunk.append(piece, n);
    if (chunk.size() >= kChunk - 256) flush();
  });
  flush();
  if (std::fclose(f) != 0) failed = true;
  if (failed) {
    std::remove(path);
    return -1;
  }
  return written;
}

}  // namespace lvbench
