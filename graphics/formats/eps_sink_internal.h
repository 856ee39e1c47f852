// State shared by the EPS output's 2D and 3D entries.
#pragma once

#include "graphics/formats/eps_writer.h"
#include "graphics/math/pw_types.h"

struct PwEpsSink {
  PwEpsFile* file = nullptr;
  int eps_width = 0, eps_height = 0;  // EW, EH
  float scale = 0.0f;                 // EPS units per screen pixel
  PwProjection projection = {};       // magnified and centred for the page
};

PwEpsSink& PwEpsSinkState();

// Screen pixels to EPS units, trunc(v * s) saturated.
int PwEpsScaled(int v);
PwPoint2 PwEpsScaledPoint(PwPoint2 p);

// A 2D clip to the page rectangle [0, EW-1] x [0, EH-1], restoring the
// clipper's own rectangle afterwards.
int PwEpsClipLineToPage(PwPoint2* a, PwPoint2* b, PwPoint2 p0, PwPoint2 p1);
// out holds 4 * count points.
int PwEpsClipPolygonToPage(int* out_count, PwPoint2* out, int count, const PwPoint2* points);
// Writes an EPS-unit polygon clipped to the page; temporary memory from the
// main pool, given back.
void PwEpsWriteClippedPolygon(int count, const PwPoint2* points, PwColor colour);
