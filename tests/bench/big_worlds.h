// The large worlds the reading benchmarks measure: a 500 x 500 point
// IndexedFaceSet grid (498,002 triangles) and files that are mostly integer
// indices (2.8 million of them, with and without commas). Generated in memory, the same on every
// build, so that figures compare across builds and runs.
#ifndef LV_BENCH_BIG_WORLDS_H
#define LV_BENCH_BIG_WORLDS_H

#include <cstdio>
#include <string>

namespace lvbench {

constexpr int kGridSide = 500;

inline const std::string& GridWorld() {
    static const std::string text = [] {
        std::string t = "#VRML V2.0 utf8\n# 500 x 500 grid\n"
                        "Shape {\n appearance Appearance { material Material { } }\n"
                        " geometry IndexedFaceSet {\n  coord Coordinate { point [\n";
        char line[128];
        for (int j = 0; j < kGridSide; ++j)
            for (int i = 0; i < kGridSide; ++i) {
                std::snprintf(line, sizeof line, "   %.4f %.4f %.4f,\n", i * 0.02 - 5.0,
                              ((i * 7 + j * 3) % 100) * 0.001, j * 0.02 - 5.0);
                t += line;
            }
        t += "  ] }\n  coordIndex [\n";
        for (int j = 0; j + 1 < kGridSide; ++j)
            for (int i = 0; i + 1 < kGridSide; ++i) {
                const int a = j * kGridSide + i, b = a + 1, c = a + kGridSide, d = c + 1;
                std::snprintf(line, sizeof line, "   %d, %d, %d, -1, %d, %d, %d, -1,\n", a, c, b,
                              b, c, d);
                t += line;
            }
        t += "  ]\n }\n}\n";
        return t;
    }();
    return text;
}

// With commas each index is two words of the file: the harder case for a
// reader that holds every word.
inline std::string MakeIndexWorld(bool commas) {
    std::string t = "#VRML V2.0 utf8\n# mostly integer indices\n"
                    "Shape {\n geometry IndexedFaceSet {\n  coord Coordinate { point [\n";
    char line[128];
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i) {
            std::snprintf(line, sizeof line, "   %d %d 0,\n", i, j);
            t += line;
        }
    t += "  ] }\n  coordIndex [\n";
    // 560,000 quads of a 10 x 10 grid over and over: five numbers each.
    for (int q = 0; q < 560000; ++q) {
        const int cell = q % 81, i = cell % 9, j = cell / 9;
        const int a = j * 10 + i;
        std::snprintf(line, sizeof line, commas ? "%d, %d, %d, %d, -1,\n" : "%d %d %d %d -1\n",
                      a, a + 1, a + 11, a + 10);
        t += line;
    }
    t += "  ]\n }\n}\n";
    return t;
}

inline const std::string& IndexWorld() {
    static const std::string text = MakeIndexWorld(false);
    return text;
}

inline const std::string& CommaIndexWorld() {
    static const std::string text = MakeIndexWorld(true);
    return text;
}

}  // namespace lvbench

#endif
