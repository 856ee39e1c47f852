// Opens and draws the small hostile worlds as the viewer does (read, the
// load-time scans, one frame) and prints the time and peak memory of each,
// with the work the bounds left: nodes made, instances refused, shapes drawn.
// Natively and as a Windows program under Wine; CTest runs it once.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if defined(__linux__)
#include <sys/resource.h>
#endif

#include "support/memory/counted_new.h"
#include "grid_frame.h"
#include "hostile_worlds.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/render/render_traversal.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

long MaxResidentKb() {
#if defined(__linux__)
  struct rusage usage;
  if (getrusage(RUSAGE_SELF, &usage) == 0) return usage.ru_maxrss;
#endif
  return -1;
}

// The load-time work of the viewer's LoadFile on a read scene.
void LoadScans(KsPartition* scene) {
  scene->StoreViewpointPaths();
  KsVec3f lo, hi, centre;
  scene->GetBoundingBox(&lo, &hi);
  scene->GetCenter(&centre);
  int viewpoints = 0;
  while (scene->GetViewpoint(viewpoints)) ++viewpoints;
  scene->SetTime();
}

int Run(const char* name, const std::string& text, std::vector<unsigned char>* pool) {
  const size_t before = kstest::HeldBytes();
  kstest::ResetPeak();
  const int made = KsNode::GetConstructedCount();
  const auto start = Clock::now();
  KsPartition* scene = new KsPartition;
  {
    QmReadCharMemory source(text.data(), text.size());
    QmReadWordFile reader(&source);
    KsVrmlPass1 pass;
    pass.Run(&reader);
    scene->RealizeTree(pass.GetRoot());
  }
  const double read = Since(start);
  const int refused = KsProtoBudgetRefused();
  const auto scanned = Clock::now();
  LoadScans(scene);
  const double scans = Since(scanned);
  const auto drawn = Clock::now();
  lvbench::StartLitView(pool);
  // Close enough for the box to fill much of the view, as the viewer's
  // examiner shows a scene.
  const PwPose eye = {0, 0, -4, 0, 0, 0};
  PwSetEye(&eye);
  scene->TraverseFromRoot();
  PwFlushSorted();
  const double frame = Since(drawn);
  const int shapes = KsTraversalShapeVisits();
  const double peakMb = (double)(kstest::PeakBytes() - before) / 1e6;
  const int nodes = KsNode::GetConstructedCount() - made;
  delete scene;
  PwReset3D();
  PwFreeSurface();
  std::printf(
      "%-10s %5zu bytes  read %7.1f ms  scans %7.1f ms  frame %7.1f ms  total %7.1f ms"
      "  peak %6.1f MB  %d nodes, %d refused, %d shapes drawn\n",
      name, text.size(), read * 1e3, scans * 1e3, frame * 1e3, Since(start) * 1e3, peakMb, nodes,
      refused, shapes);
  std::fflush(stdout);
  return 0;
}

}  // namespace

// A world's name as an argument opens that one alone.
int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  auto wanted = [&only](const char* name) { return only.empty() || only == name; };
  KsRegisterNodeLibrary();
  std::printf("hostile worlds, opened and drawn once, %d-bit build\n", (int)(sizeof(void*) * 8));
  // The viewer's own main pool size.
  std::vector<unsigned char> pool(1u << 20);
  int failed = 0;
  // stderr takes the refusals; the figures go to stdout.
  if (wanted("protos")) failed |= Run("protos", lvbench::NestedProtoWorld(5, 10, 40), &pool);
  if (wanted("is-nest")) failed |= Run("is-nest", lvbench::ProtoIsNest(30), &pool);
  if (wanted("use-graph")) failed |= Run("use-graph", lvbench::UseGraph(30), &pool);
  const long rss = MaxResidentKb();
  if (rss >= 0) std::printf("max resident %.1f MB\n", rss / 1024.0);
  return failed;
}
