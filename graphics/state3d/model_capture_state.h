// Model capture's switch and the entries the 3D primitives hand their
// eye-space geometry to, before culling, while it is on. Callers test
// PwModelIsActive() first. Each entry returns 1, or 0 when memory runs out.
#pragma once

#include "graphics/math/pw_types.h"

int PwModelIsActive();
void PwModelSetActive(int on);  // set by the capture's begin and end

int PwModelLine(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwModelPoint(PwVec3 p, PwColor colour);
int PwModelPolygon(int count, const PwVec3* points, PwVec3 normal, PwColor colour);
int PwModelSmoothPolygon(int count, const PwVec3* points, const PwVec3* normals, PwColor colour);
int PwModelSmoothPolygonN(int count, const PwVec3* points, const PwVec3* normals, PwVec3 normal,
                          PwColor colour);
int PwModelPolygonTwoSided(int count, const PwVec3* points, PwColor colour);
