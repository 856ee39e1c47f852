// The large worlds the reading benchmarks measure: a 500 x 500 point
// IndexedFaceSet grid (498,002 triangles) and files that are mostly integer
// indices (2.8 million of them, with and without commas). Generated in
// memory, the same on every build, so that figures compare across builds and
// runs; the grid also at any side, streamed (grid_world_file.h).
#ifndef LV_BENCH_BIG_WORLDS_H
#define LV_BENCH_BIG_WORLDS_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace lvbench {

constexpr int kGridSide = 500;

// The grid world of side x side points (side at most 46,340, so that every
// index fits an int) is made piece by piece: out(text, length) takes each
// line in order, so that a world larger than memory can be streamed to a
// file. The point lines of row j:
template <class Out>
void GridPointRow(int side, int j, Out&& out) {
  char line[128];
  for (int i = 0; i < side; ++i) {
    const int n = std::snprintf(line, sizeof line, "   %.4f %.4f %.4f,\n", i * 0.02 - 5.0,
                                ((i * 7 + j * 3) % 100) * 0.001, j * 0.02 - 5.0);
    out(line, static_cast<std::size_t>(n));
  }
}

// Two triangles for each cell of row j (j + 1 < side).
template <class Out>
void GridIndexRow(int side, int j, Out&& out) {
  char line[128];
  for (int i = 0; i + 1 < side; ++i) {
    const int a = j * side + i, b = a + 1, c = a + side, d = c + 1;
    const int n =
        std::snprintf(line, sizeof line, "   %d, %d, %d, -1, %d, %d, %d, -1,\n", a, c, b, b, c, d);
    out(line, static_cast<std::size_t>(n));
  }
}

// The whole world: header, points, indices and the closing brackets.
template <class Out>
void EmitGridWorld(int side, Out&& out) {
  char head[64];
  const int n = std::snprintf(head, sizeof head, "#VRML V2.0 utf8\n# %d x %d grid\n", side, side);
  out(head, static_cast<std::size_t>(n));
  static const char open[] =
      "Shape {\n appearance Appearance { material Material { } }\n"
      " geometry IndexedFaceSet {\n  coord Coordinate { point [\n";
  out(open, sizeof open - 1);
  for (int j = 0; j < side; ++j) GridPointRow(side, j, out);
  static const char middle[] = "  ] }\n  coordIndex [\n";
  out(middle, sizeof middle - 1);
  for (int j = 0; j + 1 < side; ++j) GridIndexRow(side, j, out);
  static const char close[] = "  ]\n }\n}\n";
  out(close, sizeof close - 1);
}

inline const std::string& GridWorld() {
  static const std::string text = [] {
    std::string t;
    EmitGridWorld(kGridSide, [&t](const char* piece, std::size_t n) { t.append(piece, n); });
    return t;
  }();
  return text;
}

// With commas each index is two words of the file: the harder case for a
// reader that holds every word.
inline std::string MakeIndexWorld(bool commas) {
  std::string t =
      "#VRML V2.0 utf8\n# mostly integer indices\n"
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
    std::snprintf(line, sizeof line, commas ? "%d, %d, %d, %d, -1,\n" : "%d %d %d %d -1\n", a,
                  a + 1, a + 11, a + 10);
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
