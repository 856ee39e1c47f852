// Opens worlds of 20,000 shapes with 0, 250 and 1,000 viewpoints as the
// viewer opens a file (Viewer::LoadFile) and prints, for each, the time of
// its read alone (KsPartition::ReadFile), of the whole open, and the walks
// of the scene that the open made besides: an open should cost little more
// than its read, whatever the number of viewpoints.
// Natively and as a Windows program under Wine; CTest runs it once.
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <fstream>
#include <string>

#include "scenegraph/core/partition/partition.h"
#include "scratch_file.h"
#include "tests/bench/bounded_worlds.h"
#include "viewer/viewer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

alignas(std::max_align_t) unsigned char g_main_pool[1048576];
alignas(std::max_align_t) unsigned char g_pick_pool[524288];

}  // namespace

int main() {
  ViewerStartGraphics(g_main_pool, sizeof g_main_pool, g_pick_pool, sizeof g_pick_pool);
  std::printf("%-10s %8s %9s %9s %6s\n", "viewpoints", "MB", "read s", "open s", "walks");
  const int counts[] = {0, 250, 1000};
  for (int viewpoints : counts) {
    lvbench::ScratchFile file("viewpoint-world.wrl");
    const std::string text = lvbench::ManyViewpointWorld(viewpoints, 20000);
    {
      std::ofstream out(file.Path(), std::ios::binary);
      out << text;
    }
    Clock::time_point start = Clock::now();
    {
      KsPartition scene;
      if (scene.ReadFile(file.Path().c_str()) != 0) {
        std::printf("the world of %d viewpoints could not be read\n", viewpoints);
        return 1;
      }
    }
    const double read = Since(start);

    Viewer viewer;
    KsPartition::ResetScanCount();
    start = Clock::now();
    if (viewer.LoadFile(file.Path().c_str()) != 1) {
      std::printf("the world of %d viewpoints could not be opened\n", viewpoints);
      return 1;
    }
    const double open = Since(start);
    std::printf("%-10d %8.2f %9.3f %9.3f %6ld\n", viewpoints,
                static_cast<double>(text.size()) / 1048576.0, read, open,
                KsPartition::GetScanCount());
  }
  return 0;
}
