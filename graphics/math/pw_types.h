// Records shared by the whole graphics library and its callers.
#pragma once

// <windows.h> defines "near" and "far" as empty words, which would erase the
// projection's fields of those names; win32 files include it before this one.
#ifdef near
#undef near
#endif
#ifdef far
#undef far
#endif

// 3D point or vector. Eye space: x right, y up, z forward (z is the depth).
struct PwVec3 {
  float x, y, z;
};

// Screen point in pixels: origin at the top left of the drawing area, y down.
struct PwPoint2 {
  int x, y;
};

// Colour channels 0..255, green first.
struct PwColor {
  int green, red, blue;
};

// Position and attitude; angles in 1/65536 of a turn (16384 = 90 degrees).
struct PwPose {
  float x, y, z;
  int heading, pitch, bank;
};

// Drawing-area size, screen centre, pixels per unit of x/z and y/z, depths.
struct PwProjection {
  int width, height, cx, cy;
  float magx, magy, near, far;
};

// A pose expanded for fast use: the angles stay in 1/65536-turn units, held
// as floats, followed by the sine and cosine of each.
struct PwFrame {
  float x, y, z;
  float heading, pitch, bank;
  float sinH, cosH, sinP, cosP, sinB, cosB;
};
