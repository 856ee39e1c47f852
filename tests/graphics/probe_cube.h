// The lit cube that the software and OpenGL probe programs draw.
#ifndef TESTS_GRAPHICS_PROBE_CUBE_H
#define TESTS_GRAPHICS_PROBE_CUBE_H

#include "graphics/math/pw_types.h"

namespace probe_cube {

// Half-size 1, placed 6 units ahead of the eye and turned by a heading and
// a pitch so that exactly three faces look at the eye.
constexpr PwPose kPlacement = {0, 0, 6, 6000, 6000, 0};

struct Face {
  const char* name;
  PwVec3 normal;
  PwColor colour;  // green, red, blue
};

// Visible from the placement: -x red, +y green, -z blue. Hidden: +x yellow,
// -y cyan, +z magenta.
constexpr Face kFaces[6] = {
    {"+x", {1, 0, 0}, {255, 255, 0}}, {"-x", {-1, 0, 0}, {0, 255, 0}},
    {"+y", {0, 1, 0}, {255, 0, 0}},   {"-y", {0, -1, 0}, {255, 0, 255}},
    {"+z", {0, 0, 1}, {0, 255, 255}}, {"-z", {0, 0, -1}, {0, 0, 255}},
};

// The face's corners in order around it.
inline void Corners(const Face& f, PwVec3 out[4]) {
  const PwVec3 n = f.normal;
  const PwVec3 u = n.x != 0 ? PwVec3{0, 1, 0} : PwVec3{1, 0, 0};
  PwVec3 v = {n.y * u.z - n.z * u.y, n.z * u.x - n.x * u.z, n.x * u.y - n.y * u.x};
  const float s[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
  for (int i = 0; i < 4; ++i) {
    out[i] = {n.x + s[i][0] * u.x + s[i][1] * v.x, n.y + s[i][0] * u.y + s[i][1] * v.y,
              n.z + s[i][0] * u.z + s[i][1] * v.z};
  }
}

}  // namespace probe_cube

#endif
