#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "scenegraph/core/partition.h"
#include "scenegraph/core/word_reader.h"
#include "scenegraph/core/word_tree.h"
#include "scenegraph/nodes/node_library.h"

// Reading a large generated world (long point and colour lists) from text
// into a scene: word reader, pre-pass and realisation of the nodes.

namespace {

const std::string& World() {
    static const std::string text = [] {
        std::string t = "#VRML V2.0 utf8\n# generated\n";
        char line[128];
        int shape = 0;
        while (t.size() < 20u * 1024 * 1024) {
            t += "DEF T" + std::to_string(shape++) +
                 " Transform { translation 1 2 3 children [ Shape {\n"
                 " appearance Appearance { material Material { diffuseColor 0.8 0.2 0.1 } }\n"
                 " geometry Coordinate { point [\n";
            for (int i = 0; i < 2000; ++i) {
                std::snprintf(line, sizeof line, "   %.4f %.4f %.4f,\n", i * 0.013, i * -0.71, 3.5 + i);
                t += line;
            }
            t += "  ] }\n }\n Color { color [\n";
            for (int i = 0; i < 700; ++i) {
                std::snprintf(line, sizeof line, "   %.3f %.3f %.3f,\n", (i % 10) * 0.1, 0.5, 1.0);
                t += line;
            }
            t += " ] } ] }\n";
        }
        return t;
    }();
    return text;
}

// Resident-set figures of this process in kB (Linux); 0 where unknown.
long StatusKb(const char* key) {
    std::FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long value = 0;
    size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, key, n) == 0) value = std::atol(line + n);
    std::fclose(f);
    return value;
}

void ResetPeak() {
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f) return;
    std::fputs("5", f);
    std::fclose(f);
}

void BM_ReadScene(benchmark::State& state) {
    KsRegisterNodeLibrary();
    const std::string& text = World();
    double bytesPerByte = 0.0;
    int roots = 0;
    for (auto _ : state) {
        ResetPeak();
        long before = StatusKb("VmRSS:");
        QmReadCharMemory source(text.data(), text.size());
        QmReadWordFile reader(&source);
        KsVrmlPass1* pass = new KsVrmlPass1;
        pass->Run(&reader);
        KsPartition* scene = new KsPartition;
        scene->RealizeTree(pass->GetRoot());
        delete pass;
        long peak = StatusKb("VmHWM:");
        roots = scene->GetNodeCount();
        delete scene;
        if (peak > before)
            bytesPerByte = (peak - before) * 1024.0 / static_cast<double>(text.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(text.size()));
    state.counters["peak_bytes_per_input_byte"] = bytesPerByte;
    state.counters["roots"] = roots;
}
BENCHMARK(BM_ReadScene)->Unit(benchmark::kMillisecond);

}  // namespace
