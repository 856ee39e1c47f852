// Small files that multiply when read or drawn: PROTOs nested in one
// another's bodies and used many times at each level, PROTO instances nested
// through an MFNode field that their body holds by IS, and a USE graph that
// doubles at each level. Shared by the tests, which count the work, and the
// benchmarks, which time it.
#ifndef LV_BENCH_HOSTILE_WORLDS_H
#define LV_BENCH_HOSTILE_WORLDS_H

#include <string>

namespace lvbench {

// PROTO L0 holds the declaration of L1 and uses it `width` times, L1 holds
// L2 ... down to `levels`; the file uses L0 `instances` times. Five levels
// of ten with 40 instances: each instance would build some 22,000 nodes.
inline std::string NestedProtoWorld(int levels, int width, int instances) {
  std::string t = "#VRML V2.0 utf8\n";
  for (int i = 0; i < levels; ++i) t += "PROTO L" + std::to_string(i) + " [ ] { ";
  t += "Shape { geometry Box { } } ";
  for (int i = levels - 1; i >= 0; --i) {
    t += "}\n";
    const int uses = i == 0 ? instances : width;
    for (int k = 0; k < uses; ++k) t += "L" + std::to_string(i) + " { } ";
  }
  return t + "\n";
}

// P { k [ P { k [ ... Shape { geometry Box { } } ] } ] }, `levels` deep,
// where P's body holds k by IS: the instance's field and its private scene
// lead to the same nodes at every level.
inline std::string ProtoIsNest(int levels) {
  std::string t =
      "#VRML V2.0 utf8\n"
      "PROTO P [ exposedField MFNode k [ ] ] { Group { children IS k } }\n";
  for (int i = 0; i < levels; ++i) t += "P{k[";
  t += "Shape{geometry Box{}}";
  for (int i = 0; i < levels; ++i) t += "]}";
  return t + "\n";
}

// DEF A0 Shape { ... } and DEF An Group { children [ USE An-1 USE An-1 ] }
// for n up to `levels`: 2^levels paths to the one shape.
inline std::string UseGraph(int levels) {
  std::string t = "#VRML V2.0 utf8\nDEF A0 Shape { geometry Box { } }\n";
  for (int i = 1; i <= levels; ++i) {
    const std::string prev = "A" + std::to_string(i - 1);
    t +=
        "DEF A" + std::to_string(i) + " Group { children [ USE " + prev + " USE " + prev + " ] }\n";
  }
  return t;
}

}  // namespace lvbench

#endif
