// The module state that the 3D state's files share (one 3D context).
#pragma once

#include <cstddef>

#include "graphics/pw_types.h"

constexpr int kPwFrameStackSize = 16;

struct PwScratchPool {
  std::size_t size;
  std::size_t used;
  unsigned char* base;
};

struct PwState3D {
  PwProjection projection;
  float slope_left, slope_right, slope_top, slope_bottom;
  int projection_mode;
  float parallel_distance;
  int lighting;
  PwFrame eye;
  PwFrame model;
  PwFrame combined;
  PwFrame shadow;
  PwFrame stack[kPwFrameStackSize];
  int depth;
  PwVec3 light_world;
  PwVec3 light_eye;
  PwScratchPool pools[3];  // main, second, third
};

PwState3D& PwState();
// Combined frame := the model frame within the eye.
void PwRebuildTransform();
