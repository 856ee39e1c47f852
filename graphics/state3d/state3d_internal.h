// The module state that the 3D state's files share (one 3D context).
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/math/pw_types.h"

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
  // Bytes of temp_pool that kept memory may not take: the flush's working
  // memory for the largest item queued this frame.
  std::size_t flush_room;
  int temp_pool;  // the pool that keeps flush_room back and serves marks
  int left_out;   // 1 once something of this frame found no room
  std::uint32_t highlight;
  int model_tinted;      // 1 while PwSetModelColour holds a colour
  PwColor model_colour;  // PwSetHighlight's code, 0 the library's own
};

PwState3D& PwState();
// A new frame: every pool empty, no room kept back, nothing left out.
void PwScratchNewFrame();
// Combined frame := the model frame within the eye.
void PwRebuildTransform();
