// A small world whose routes multiply one large value: a looping TimeSensor
// drives a CoordinateInterpolator of `points` points, whose value feeds a
// lattice of Coordinate nodes in layers of two, each routed to both of the
// next layer (2^layers paths to the last layer). With 10,000 points and 18
// layers it is about 200 KB of text and 71 routes. Generated in memory, the
// same on every build.
#ifndef LV_BENCH_ROUTE_LATTICE_H
#define LV_BENCH_ROUTE_LATTICE_H

#include <cstdio>
#include <string>

namespace lvbench {

// The nodes are labelled C<layer>a and C<layer>b; the last layer is
// `layers` - 1. With several sensors, each drives an interpolator of its own
// into the first layer: one cascade each per frame.
inline std::string RouteLattice(int points, int layers, int sensors = 1) {
  std::string t = "#VRML V2.0 utf8\n";
  char line[256];
  for (int s = 0; s < sensors; ++s) {
    std::snprintf(line, sizeof line,
                  "DEF S%d TimeSensor { loop TRUE cycleInterval 2 }\n"
                  "DEF CI%d CoordinateInterpolator { key [ 0 1 ] keyValue [\n",
                  s, s);
    t += line;
    for (int k = 0; k < 2; ++k)
      for (int i = 0; i < points; ++i) {
        std::snprintf(line, sizeof line, "%d %d %d,\n", i % 100, k + s, i / 100);
        t += line;
      }
    t += "] }\n";
  }
  for (int l = 0; l < layers; ++l) {
    std::snprintf(line, sizeof line, "DEF C%da Coordinate { }\nDEF C%db Coordinate { }\n", l, l);
    t += line;
  }
  for (int s = 0; s < sensors; ++s) {
    std::snprintf(line, sizeof line,
                  "ROUTE S%d.fraction_changed TO CI%d.set_fraction\n"
                  "ROUTE CI%d.value_changed TO C0a.set_point\n"
                  "ROUTE CI%d.value_changed TO C0b.set_point\n",
                  s, s, s, s);
    t += line;
  }
  for (int l = 0; l + 1 < layers; ++l)
    for (char from : {'a', 'b'})
      for (char to : {'a', 'b'}) {
        std::snprintf(line, sizeof line, "ROUTE C%d%c.point_changed TO C%d%c.set_point\n", l, from,
                      l + 1, to);
        t += line;
      }
  return t;
}

}  // namespace lvbench

#endif
