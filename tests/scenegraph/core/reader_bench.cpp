#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "scenegraph/core/word_reader.h"
#include "scenegraph/core/word_tree.h"

// Reading a large generated world (long point and coordIndex lists) through
// the word reader and the bracket pre-pass.

namespace {

const std::string& World() {
    static const std::string text = [] {
        std::string t = "#VRML V2.0 utf8\n# generated\n";
        char line[128];
        int shape = 0;
        while (t.size() < 20u * 1024 * 1024) {
            t += "DEF S" + std::to_string(shape++) +
                 " Shape {\n appearance Appearance { material Material { diffuseColor 0.8 0.2 0.1 } }\n"
                 " geometry IndexedFaceSet {\n  coord Coordinate { point [\n";
            for (int i = 0; i < 2000; ++i) {
                std::snprintf(line, sizeof line, "   %.4f %.4f %.4f,\n", i * 0.013, i * -0.71, 3.5 + i);
                t += line;
            }
            t += "  ] }\n  coordIndex [\n";
            for (int i = 0; i + 2 < 2000; i += 3) {
                std::snprintf(line, sizeof line, "   %d, %d, %d, -1,\n", i, i + 1, i + 2);
                t += line;
            }
            t += "  ]\n  solid FALSE\n }\n}\n";
        }
        return t;
    }();
    return text;
}

void BM_ReadWorld(benchmark::State& state) {
    const std::string& text = World();
    for (auto _ : state) {
        QmReadCharMemory source(text.data(), text.size());
        QmReadWordFile reader(&source);
        KsVrmlPass1 pass;
        int result = pass.Run(&reader);
        if (result != 0) state.SkipWithError("pre-pass failed");
        benchmark::DoNotOptimize(pass.GetRoot());
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)text.size());
}
BENCHMARK(BM_ReadWorld)->Unit(benchmark::kMillisecond);

void BM_ReadWords(benchmark::State& state) {
    const std::string& text = World();
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
BENCHMARK(BM_ReadWords)->Unit(benchmark::kMillisecond);

}  // namespace
