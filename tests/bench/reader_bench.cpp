#include <benchmark/benchmark.h>

#include <string>

#include "support/memory/counted_new.h"
#include "bench/big_worlds.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"

// The two large worlds through the word reader alone and through the
// bracket pre-pass; the tree's memory as bytes per input byte.

namespace {

const std::string& World(int which) {
  return which == 0 ? lvbench::GridWorld() : lvbench::IndexWorld();
}

void BM_ReadWorld(benchmark::State& state) {
  const std::string& text = World((int)state.range(0));
  state.SetLabel(state.range(0) == 0 ? "500 x 500 grid" : "mostly indices");
  double bytesPerByte = 0.0;
  auto readOnce = [&] {
    const size_t before = kstest::HeldBytes();
    kstest::ResetPeak();
    QmReadCharMemory source(text.data(), text.size());
    QmReadWordFile reader(&source);
    KsVrmlPass1 pass;
    int result = pass.Run(&reader);
    if (result != 0) state.SkipWithError("pre-pass failed");
    benchmark::DoNotOptimize(pass.GetRoot());
    bytesPerByte = (double)(kstest::PeakBytes() - before) / (double)text.size();
  };
  // The first read, which first touches the process's memory, is untimed.
  readOnce();
  for (auto _ : state) readOnce();
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
  state.counters["tree_bytes_per_input_byte"] = bytesPerByte;
}
BENCHMARK(BM_ReadWorld)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReadWords(benchmark::State& state) {
  const std::string& text = World((int)state.range(0));
  char buffer[256];
  for (auto _ : state) {
    QmReadCharMemory source(text.data(), text.size());
    QmReadWordFile reader(&source);
    reader.CommentOn();
    long words = 0;
    while (reader.GetWord(buffer, sizeof buffer) > 0) ++words;
    benchmark::DoNotOptimize(words);
  }
  state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}
BENCHMARK(BM_ReadWords)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
