// One frame of 50,000 small lit triangles that arrive far to near (a mesh
// drawn in order): projected, sorted, flushed and rasterised into a
// 640 x 480 16-bit surface.
#include <benchmark/benchmark.h>

#include <vector>

#include "graphics/primitives3d.h"
#include "graphics/software/surface.h"
#include "graphics/sorted_list.h"
#include "graphics/state3d.h"

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
  PwSetSurface(nullptr, 640, 480, kPwDepth16);
  std::vector<unsigned char> pool(32u << 20);
  PwStart3D(pool.data(), pool.size());
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  PwVec3 light = {0, 0, 0};
  PwSetLight(&light);
  PwSetLighting(1);
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

// The 500 x 500 point grid of the reading benchmarks (498,002 triangles with
// corner normals, as an IndexedFaceSet without normals draws them), facing
// the eye and filling a 640 x 480 view; the extra draw buffer is sized to
// hold the whole frame.
constexpr int kGridSide = 500;

struct Grid {
  std::vector<PwVec3> points;
  std::vector<PwVec3> normals;  // one per point
  std::vector<int> triangles;   // three indices a triangle
};

Grid MakeGrid(float mag) {
  Grid g;
  const float depth = 600.0f, step = 230.0f * depth / mag / (kGridSide / 2);
  for (int j = 0; j < kGridSide; ++j) {
    for (int i = 0; i < kGridSide; ++i) {
      const float bump = ((i * 7 + j * 3) % 100) * 0.05f;
      g.points.push_back({(i - kGridSide / 2) * step, (kGridSide / 2 - j) * step, depth + bump});
      g.normals.push_back({0.0f, 0.0f, -1.0f});
    }
  }
  for (int j = 0; j + 1 < kGridSide; ++j) {
    for (int i = 0; i + 1 < kGridSide; ++i) {
      const int a = j * kGridSide + i, b = a + 1, c = a + kGridSide, d = c + 1;
      for (int v : {a, c, b, b, c, d}) g.triangles.push_back(v);
    }
  }
  return g;
}

void BM_GridFrame(benchmark::State& state) {
  PwSetSurface(nullptr, 640, 480, kPwDepth16);
  std::vector<unsigned char> pool(32u << 20);
  std::vector<unsigned char> extra(size_t(128) << 20);
  PwStart3D(pool.data(), pool.size());
  PwSetExtraDrawBuffer(extra.data(), extra.size());
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  PwVec3 light = {0, 0, 0};
  PwSetLight(&light);
  PwSetLighting(1);
  const Grid grid = MakeGrid(proj.magx);
  const PwPose eye = {};
  const int triangles = static_cast<int>(grid.triangles.size() / 3);
  int queued = 0;
  size_t used = 0;
  for (auto _ : state) {
    PwSetEye(&eye);
    for (int t = 0; t < triangles; ++t) {
      const int* v = &grid.triangles[3 * t];
      const PwVec3 p[3] = {grid.points[v[0]], grid.points[v[1]], grid.points[v[2]]};
      const PwVec3 n[3] = {grid.normals[v[0]], grid.normals[v[1]], grid.normals[v[2]]};
      PwSmoothPolygon3(3, p, n, PwColor{200, 180, 120});
    }
    queued = 0;
    for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) ++queued;
    used = PwScratchUsed(0) + PwScratchUsed(1);
    PwFlushSorted();
    benchmark::ClobberMemory();
  }
  state.counters["triangles"] = triangles;
  state.counters["queued"] = queued;
  state.counters["pool_MB"] = static_cast<double>(used) / 1e6;
  PwFreeSurface();
}
BENCHMARK(BM_GridFrame)->Unit(benchmark::kMillisecond);

}  // namespace
