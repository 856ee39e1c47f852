// The 2D frame of a polygon's plane shared by the geometry files.
#pragma once

#include "graphics/math/pw_math.h"

struct PwPlaneFrame {
  PwFrame rotation;  // the attitude's sines and cosines
  PwVec3 origin;     // reference point subtracted first
};

// The attitude of forward (in the plane) and up (the normal).
void PwMakePlaneFrame(PwPlaneFrame* out, const PwVec3* forward, const PwVec3* up,
                      const PwVec3* origin);
// x and z of the world-to-eye rotation of p - origin.
PwVec2 PwToPlane(const PwPlaneFrame* f, const PwVec3* p);
