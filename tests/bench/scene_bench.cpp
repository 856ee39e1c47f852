#include <benchmark/benchmark.h>

#include <string>

#include "support/memory/counted_new.h"
#include "bench/big_worlds.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"
#include "scenegraph/nodes/node_library.h"

// Reading the two large worlds from text into a scene: word reader,
// pre-pass and realisation of the nodes. Memory is the peak of the bytes
// allocated during one read above what the process held before it.

namespace {

const std::string& World(int which) {
  return which == 0 ? lvbench::GridWorld() : lvbench::IndexWorld();
}

void BM_ReadScene(benchmark::State& state) {
  KsRegisterNodeLibrary();
  const std::string& text = World((int)state.range(0));
  state.SetLabel(state.range(0) == 0 ? "500 x 500 grid" : "mostly indices");
  double bytesPerByte = 0.0;
  int roots = 0;
  auto readOnce = [&] {
    const size_t before = kstest::HeldBytes();
    kstest::ResetPeak();
    KsPartition* scene = new KsPartition;
    {
      QmReadCharMemory source(text.data(), text.size());
      QmReadWordFile reader(&source);
      KsVrmlPass1 pass;
      pass.Run(&reader);
      scene->RealizeTree(pass.GetRoot());
    }
    bytesPerByte = (double)(kstest::PeakBytes() - before) / (double)text.size();
    roots = scene->GetNodeCount();
    delete scene;
  };
  // A first read pays for the process's first touch of its memory, which
  // on a virtual machine can cost more than the reading: keep it untimed.
  readOnce();
  for (auto _ : state) readOnce();
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(text.size()));
  state.counters["peak_bytes_per_input_byte"] = bytesPerByte;
  state.counters["roots"] = roots;
}
BENCHMARK(BM_ReadScene)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
