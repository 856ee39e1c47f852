// A frame of the 500 x 500 point grid of the reading benchmarks: 498,002
// triangles with corner normals (as an IndexedFaceSet without normals draws
// them), facing the eye and filling a 640 x 480 view.
#ifndef LV_BENCH_GRID_FRAME_H
#define LV_BENCH_GRID_FRAME_H

#include <chrono>
#include <vector>

#include "graphics/primitives/primitives3d.h"
#include "graphics/software/surface.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace lvbench {

// A 640 x 480 16-bit surface, the default projection and one light at the
// eye, drawing into pool.
inline PwProjection StartLitView(std::vector<unsigned char>* pool) {
  PwSetSurface(nullptr, 640, 480, kPwDepth16);
  PwStart3D(pool->data(), pool->size());
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  PwVec3 light = {0, 0, 0};
  PwSetLight(&light);
  PwSetLighting(1);
  return proj;
}

struct GridMesh {
  std::vector<PwVec3> points;
  std::vector<PwVec3> normals;  // one per point
  std::vector<int> triangles;   // three indices a triangle
};

inline GridMesh MakeGridMesh(float mag) {
  constexpr int side = 500;
  GridMesh g;
  const float depth = 600.0f, step = 230.0f * depth / mag / (side / 2);
  for (int j = 0; j < side; ++j) {
    for (int i = 0; i < side; ++i) {
      const float bump = ((i * 7 + j * 3) % 100) * 0.05f;
      g.points.push_back({(i - side / 2) * step, (side / 2 - j) * step, depth + bump});
      g.normals.push_back({0.0f, 0.0f, -1.0f});
    }
  }
  for (int j = 0; j + 1 < side; ++j) {
    for (int i = 0; i + 1 < side; ++i) {
      const int a = j * side + i, b = a + 1, c = a + side, d = c + 1;
      for (int v : {a, c, b, b, c, d}) g.triangles.push_back(v);
    }
  }
  return g;
}

// Seconds a frame spent queueing the triangles, ordering the list and
// drawing it.
struct FramePhases {
  double queue = 0, order = 0, draw = 0;
};

// Draws one frame; returns how many triangles were queued for drawing.
inline int DrawGridFrame(const GridMesh& grid, FramePhases* phases = nullptr) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  const PwPose eye = {};
  PwSetEye(&eye);
  const int triangles = static_cast<int>(grid.triangles.size() / 3);
  for (int t = 0; t < triangles; ++t) {
    const int* v = &grid.triangles[3 * t];
    const PwVec3 p[3] = {grid.points[v[0]], grid.points[v[1]], grid.points[v[2]]};
    const PwVec3 n[3] = {grid.normals[v[0]], grid.normals[v[1]], grid.normals[v[2]]};
    PwSmoothPolygon3(3, p, n, PwColor{200, 180, 120});
  }
  const auto queued_at = Clock::now();
  // Counted from the order array where there is one: the viewer's frame
  // does not walk the list besides drawing it.
  std::size_t ordered = 0;
  int queued = PwSortedOrdered(&ordered) != nullptr ? static_cast<int>(ordered) : 0;
  if (ordered == 0) {
    for (const PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) ++queued;
  }
  const auto ordered_at = Clock::now();
  PwFlushSorted();
  if (phases != nullptr) {
    using Seconds = std::chrono::duration<double>;
    phases->queue = Seconds(queued_at - start).count();
    phases->order = Seconds(ordered_at - queued_at).count();
    phases->draw = Seconds(Clock::now() - ordered_at).count();
  }
  return queued;
}

}  // namespace lvbench

#endif
