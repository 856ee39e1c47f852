// Prints the times of the scene's event work, natively and under Wine:
// dropping a node with 100k and 200k routes (linear: a ratio near 2), the
// frames of the route lattice (one value of 10,000 points along 2^18 paths),
// and reading 50k and 100k top-level statements (linear: a ratio near 2).
// Figures only: nothing here passes or fails on time.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "route_lattice.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"
#include "scenegraph/nodes/node_library.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// Reads text from memory into a fresh scene.
KsPartition* ReadScene(const std::string& text) {
  KsPartition* scene = new KsPartition;
  QmReadCharMemory source(text.data(), text.size());
  QmReadWordFile reader(&source);
  KsVrmlPass1 pass;
  pass.Run(&reader);
  scene->RealizeTree(pass.GetRoot());
  return scene;
}

// Seconds to drop one node that is the source of `routes` routes, to as
// many targets, and the target of as many from one node (best of five).
double DropSeconds(int routes) {
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    KsPartition* scene = ReadScene("DEF S Group { } DEF O Group { }");
    KsNode* s = scene->FindLabel("S");
    KsNode* o = scene->FindLabel("O");
    KsRouter* router = scene->GetRouter();
    for (int i = 0; i < routes; ++i) {
      KsNode* t = scene->CreateNode("Group");
      if (!t) break;
      scene->AppendNode(t);
      router->AddRoute(s, "children", t, "children");
      router->AddRoute(o, "children", s, "children");
    }
    const Clock::time_point start = Clock::now();
    scene->DeleteNode(s);
    router->GetRouteCount();
    best = std::min(best, Seconds(start));
    delete scene;
  }
  return best;
}

void ReportDrop() {
  DropSeconds(50000);  // the allocator's first growth is not measured
  const double small = DropSeconds(100000);
  const double large = DropSeconds(200000);
  std::printf("drop a node with 100k routes out and in: %.4f s, 200k: %.4f s, ratio %.2f\n", small,
              large, small > 0.0 ? large / small : 0.0);
}

void ReportLattice() {
  const std::string text = lvbench::RouteLattice(10000, 18);
  KsClock::Reset();
  KsRouter::ResetGlobals();
  KsRouter::NewFile();
  KsPartition* scene = ReadScene(text);
  const int frames = 20;
  double best = 1e9, total = 0.0;
  int64_t values = 0;
  int deliveries = 0;
  std::fflush(stdout);
  for (int i = 0; i < frames; ++i) {
    KsClock::Advance(0.1f);
    const Clock::time_point start = Clock::now();
    scene->SetTime();
    const double s = Seconds(start);
    best = std::min(best, s);
    total += s;
    values = KsRouter::GetFrameValues();
    deliveries = KsRouter::GetFrameDeliveries();
  }
  std::printf(
      "route lattice (%.0f KB, %d routes, 10,000 points): frame best %.1f ms, mean %.1f ms, "
      "%d deliveries and %lld values a frame\n",
      text.size() / 1024.0, scene->GetRouter()->GetRouteCount(), 1000.0 * best,
      1000.0 * total / frames, deliveries, static_cast<long long>(values));
  delete scene;
}

// Seconds to read and release n top-level statements (best of two).
double StatementSeconds(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += i % 2 ? "Group { }\n" : "DEF G Transform { }\n";
  double best = 1e9;
  for (int run = 0; run < 2; ++run) {
    const Clock::time_point start = Clock::now();
    KsPartition* scene = ReadScene(text);
    for (int i = n - 1; i >= n - 100; --i) scene->DeleteNode(scene->GetNode(i));
    delete scene;
    best = std::min(best, Seconds(start));
  }
  return best;
}

void ReportStatements() {
  StatementSeconds(20000);  // the allocator's first growth is not measured
  const double half = StatementSeconds(50000);
  const double full = StatementSeconds(100000);
  std::printf("read 50000 statements in %.3f s, 100000 in %.3f s: ratio %.2f\n", half, full,
              half > 0.0 ? full / half : 0.0);
}

}  // namespace

int main() {
  KsRegisterNodeLibrary();
  // The bound's notice goes to the error stream once; the figures to stdout.
  ReportDrop();
  std::fflush(stdout);
  ReportLattice();
  std::fflush(stdout);
  ReportStatements();
  std::fflush(stdout);
  std::fflush(stderr);
  return 0;
}
