// Small files whose scenes outgrow their text or whose events multiply: a
// chain of nests each ending in USE of the one before (a scene far deeper
// than any nesting of the text), a value handed on through IS to many
// fields, MFNode routes over large subtrees, and a world of many viewpoints.
// Shared by the tests, which count the work, and the benchmarks, which time
// it.
#ifndef LV_BENCH_BOUNDED_WORLDS_H
#define LV_BENCH_BOUNDED_WORLDS_H

#include <string>

namespace lvbench {

// DEF N0 Group { children Group { children ... Shape { geometry Box { } } } }
// `levels` deep, then DEF Nk the same ending in USE Nk-1, `nests` in all:
// nests x levels levels in the scene, never more than `levels` in the text.
inline std::string DeepUseWorld(int nests, int levels) {
  std::string t = "#VRML V2.0 utf8\n";
  for (int k = 0; k < nests; ++k) {
    t += "DEF N" + std::to_string(k) + " ";
    for (int i = 0; i < levels; ++i) t += "Group{children ";
    t += k == 0 ? "Shape{geometry Box{}}" : "USE N" + std::to_string(k - 1);
    t.append(static_cast<size_t>(levels), '}');
    t += "\n";
  }
  return t;
}

// PROTO Ak [ exposedField MFVec3f p [ ] ] whose body declares Ak+1 and
// holds `width` instances of it, each taking p by IS, `levels` deep; the
// innermost holds a Coordinate whose point IS p. A CoordinateInterpolator
// sends `points` points into the outermost instance every time its fraction
// changes: width^levels Coordinate fields take each value.
inline std::string IsFanOutWorld(int levels, int width, int points) {
  std::string t = "#VRML V2.0 utf8\n";
  for (int k = 0; k <= levels; ++k) {
    t += "PROTO A" + std::to_string(k) + " [ exposedField MFVec3f p [ ] ] {\n";
    if (k == levels) t += "Coordinate { point IS p }\n";
  }
  for (int k = levels - 1; k >= 0; --k) {
    t += "}\nGroup { children [";
    for (int i = 0; i < width; ++i) t += " A" + std::to_string(k + 1) + " { p IS p }";
    t += " ] }\n";
  }
  t += "}\n";
  t += "DEF T TimeSensor { loop TRUE cycleInterval 1 }\n";
  t += "DEF I CoordinateInterpolator { key [ 0 1 ] keyValue [";
  for (int half = 0; half < 2; ++half)
    for (int i = 0; i < points; ++i) t += half ? " 1 1 1" : " 0 0 0";
  t += " ] }\n";
  t += "DEF P A0 { }\n";
  t += "ROUTE T.fraction_changed TO I.set_fraction\n";
  t += "ROUTE I.value_changed TO P.set_p\n";
  return t;
}

// A PROTO body of `groups` Groups G0..Gn-1, each holding `leaves` shapes of
// its own, with routes Gi.children_changed TO Gj.set_children for every
// i < j: every later group takes the children of every earlier one. G0's
// children are IS kids, so each of the `instances` instances, giving kids
// `leaves` subtrees, sets the lattice off as it is read.
inline std::string ChildrenRouteLattice(int groups, int leaves, int instances) {
  std::string t = "#VRML V2.0 utf8\nPROTO L [ exposedField MFNode kids [ ] ] {\n";
  for (int g = 0; g < groups; ++g) {
    t += "DEF G" + std::to_string(g) + " Group { children [";
    if (g == 0) {
      t += " ] children IS kids }\n";
      continue;
    }
    for (int i = 0; i < leaves; ++i) t += " Shape { geometry Box { } }";
    t += " ] }\n";
  }
  for (int i = 0; i < groups; ++i)
    for (int j = i + 1; j < groups; ++j)
      t += "ROUTE G" + std::to_string(i) + ".children_changed TO G" + std::to_string(j) +
           ".set_children\n";
  t += "}\n";
  for (int k = 0; k < instances; ++k) {
    t += "L { kids [";
    for (int i = 0; i < leaves; ++i)
      t += " Transform { children [ Shape { geometry Sphere { } } Group { } ] }";
    t += " ] }\n";
  }
  return t;
}

// `viewpoints` Viewpoints among `shapes` shapes, spread through nested
// Transforms: Viewpoint i has the description "v<i>" and sits at (i, 0, 10).
inline std::string ManyViewpointWorld(int viewpoints, int shapes) {
  std::string t = "#VRML V2.0 utf8\n";
  const int per = viewpoints > 0 ? shapes / viewpoints : shapes;
  int shape = 0;
  for (int v = 0; v < viewpoints || shape < shapes; ++v) {
    t += "Transform { children [\n";
    if (v < viewpoints)
      t += " Viewpoint { description \"v" + std::to_string(v) + "\" position " + std::to_string(v) +
           " 0 10 }\n";
    for (int i = 0; i < per && shape < shapes; ++i, ++shape)
      t += " Transform { translation " + std::to_string(shape % 100) + " " +
           std::to_string(shape / 100) + " 0 children Shape { geometry Box { } } }\n";
    t += "] }\n";
    if (v >= viewpoints && per == 0) break;
  }
  return t;
}

}  // namespace lvbench

#endif
