// One frame of 50,000 small lit triangles that arrive far to near (a mesh
// drawn in order): projected, sorted, flushed and rasterised into a
// 640 x 480 16-bit surface; and a frame of the 500 x 500 point grid.
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/grid_frame.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/software/surface.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace {

constexpr int kTriangles = 50000;

struct Mesh {
  std::vector<PwVec3> points;  // three a triangle
  std::vector<PwColor> colours;
};

Mesh MakeMesh(float mag) {
  Mesh m;
  for (int i = 0; i < kTriangles; ++i) {
    float z = 1000.0f - 900.0f * static_cast<float>(i) / kTriangles;  // far to near
    int px = (i * 7) % 630 + 5, py = (i * 13 / 630 * 3) % 470 + 5;
    float x = (px - 320) * z / mag, y = (240 - py) * z / mag, s = 4.0f * z / mag;
    m.points.push_back({x - s, y - s, z});
    m.points.push_back({x, y + s, z});
    m.points.push_back({x + s, y - s, z});
    m.colours.push_back({(i * 37) % 256, (i * 91) % 256, (i * 53) % 256});
  }
  return m;
}

void BM_LitTrianglesInDepthOrder(benchmark::State& state) {
  std::vector<unsigned char> pool(32u << 20);
  const PwProjection proj = lvbench::StartLitView(&pool);
  Mesh mesh = MakeMesh(proj.magx);
  const PwVec3 toward_eye = {0, 0, -1};
  const PwPose eye = {};
  for (auto _ : state) {
    PwSetEye(&eye);
    for (int i = 0; i < kTriangles; ++i) {
      PwPolygon3(3, &mesh.points[3 * i], nullptr, toward_eye, mesh.colours[i]);
    }
    PwFlushSorted();
    benchmark::ClobberMemory();
  }
  PwFreeSurface();
}

// Time per iteration is the time of one frame, in milliseconds.
BENCHMARK(BM_LitTrianglesInDepthOrder)->Unit(benchmark::kMillisecond);

// The 500 x 500 point grid of the reading benchmarks; the extra draw buffer
// is sized to hold the whole frame.
void BM_GridFrame(benchmark::State& state) {
  std::vector<unsigned char> pool(32u << 20);
  std::vector<unsigned char> extra(size_t(128) << 20);
  const PwProjection proj = lvbench::StartLitView(&pool);
  PwSetExtraDrawBuffer(extra.data(), extra.size());
  const lvbench::GridMesh grid = lvbench::MakeGridMesh(proj.magx);
  const int triangles = static_cast<int>(grid.triangles.size() / 3);
  int queued = 0;
  size_t used = 0;
  for (auto _ : state) {
    queued = lvbench::DrawGridFrame(grid);
    used = PwScratchUsed(0) + PwScratchUsed(1);
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = triangles;
  state.counters["queued"] = queued;
  state.counters["pool_MB"] = static_cast<double>(used) / 1e6;
  PwFreeSurface();
}
BENCHMARK(BM_GridFrame)->Unit(benchmark::kMillisecond);

}  // namespace
