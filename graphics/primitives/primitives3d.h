// 3D drawing calls: points in model coordinates, carried into eye space with
// the combined frame. Sorted calls queue an item of the depth-sorted list,
// Draw calls draw at once. 0 on success (or when culled), 1 when the scratch
// pools are exhausted. Marker kinds and alignments are the screen layer's.
#pragma once

#include "graphics/math/pw_types.h"

int PwLine3(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwDrawLine3(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwDrawShadowLine3(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwPoint3(PwVec3 p, PwColor colour);
int PwDrawPoint3(PwVec3 p, PwColor colour);
int PwDisc3(PwVec3 centre, float radius, PwColor colour);
int PwSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour);
// centre may be null (the mean of the points is used).
int PwPolygon3(int count, const PwVec3* points, const PwVec3* centre, PwVec3 normal,
               PwColor colour);
int PwPolygon3TwoSided(int count, const PwVec3* points, PwColor colour);
int PwDrawPolygon3(int count, const PwVec3* points, PwColor colour);
int PwDrawShadowPolygon3(int count, const PwVec3* points, PwColor colour);
int PwMarker3(PwVec3 p, PwColor colour, int kind);
int PwDrawMarker3(PwVec3 p, PwColor colour, int kind);
// lines: null-terminated list of text lines; PwLabel3 copies them.
int PwLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign);
int PwDrawLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign);
int PwLabelLine3(PwVec3 p, const char* line, PwColor colour, int halign, int valign);
int PwDrawLabelLine3(PwVec3 p, const char* line, PwColor colour, int halign, int valign);

// Eye-space copies of n model points into out, with their bounding box.
void PwEyePoints(PwVec3* out, int n, const PwVec3* in, PwVec3* box_min, PwVec3* box_max);
void PwEyePointsCentroid(PwVec3* out, int n, const PwVec3* in, PwVec3* box_min, PwVec3* box_max,
                         PwVec3* centroid);
