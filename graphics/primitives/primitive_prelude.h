// The front halves of the 3D primitives, shared by the software and OpenGL
// back ends: eye space, model capture, culling, near-plane flags and the
// image/EPS outputs; and the depth-sorted items both make. Each back end
// keeps only how it draws.
#pragma once

#include <cstddef>

#include "graphics/math/pw_types.h"

// What a front half found: kPwFrontHidden and kPwFrontNoRoom are also the
// primitive's own return values (0 nothing to draw, 1 out of room).
constexpr int kPwFrontHidden = 0;
constexpr int kPwFrontNoRoom = 1;
constexpr int kPwFrontVisible = 2;

// Eye-space copy; in parallel projection immediate drawing puts every point
// at the parallel distance.
PwVec3 PwPrimToEye(PwVec3 p);
void PwPrimFlattenForParallel(int n, PwVec3* p);

// Point in eye space, finite and within the view volume: true to draw.
bool PwPrimEyePoint(PwVec3 p, PwVec3* eye);

// Lines: eye ends, model capture, culling, then the image output (the
// immediate form flattened first, with the EPS output too).
bool PwLine3Front(PwVec3 p0, PwVec3 p1, PwColor colour, PwVec3 eye[2], int* near_flag);
bool PwDrawLine3Front(PwVec3 p0, PwVec3 p1, PwColor colour, PwVec3 eye[2], int* near_flag);
int PwQueueLine3(const PwVec3 eye[2], int near_flag, PwColor colour);

// Points: eye, model capture, culling (sorted form: then the image output).
bool PwPoint3Front(PwVec3 p, PwColor colour, PwVec3* eye);
bool PwDrawPoint3Front(PwVec3 p, PwColor colour, PwVec3* eye);
// The immediate point's image and EPS outputs, after the back end drew it.
void PwDrawPoint3Outputs(PwVec3 eye, PwColor colour);
int PwQueuePoint3(PwVec3 eye, PwColor colour);

bool PwDisc3Front(PwVec3 centre, float radius, PwColor colour, PwVec3* eye);
int PwQueueDisc3(PwVec3 eye, float radius, PwColor colour);

// Markers: eye and culling (the immediate form flattened first).
bool PwDrawMarker3Front(PwVec3 p, PwVec3* eye);
int PwQueueMarker3(PwVec3 eye, PwColor colour, int kind);

// Labels: null lines read as none; the immediate form's point is put at the
// parallel distance after culling.
bool PwLabel3Front(PwVec3 p, const char* const** lines, PwVec3* eye);
bool PwDrawLabel3Front(PwVec3 p, const char* const** lines, PwVec3* eye);
// Keeps a copy of the lines in the scratch pool, so callers may free theirs.
int PwQueueLabel3(PwVec3 eye, const char* const* lines, PwColor colour, int halign, int valign);

// A polygon in eye space; its points (and normals) are scratch from mark on,
// given back by whoever keeps no item for them.
struct PwEyePolygon {
  std::size_t mark = 0;
  PwVec3* points = nullptr;
  PwVec3* normals = nullptr;  // smooth polygons only
  PwVec3 centre = {0, 0, 0};
  PwVec3 normal = {0, 0, 0};
  int has_normal = 0;
  int near_flag = 0;
};

// kPwFrontVisible with out filled (scratch held), or hidden / no room with
// the scratch given back.
int PwPolygon3Front(int count, const PwVec3* points, const PwVec3* centre, PwVec3 normal,
                    PwColor colour, PwEyePolygon* out);
int PwPolygon3TwoSidedFront(int count, const PwVec3* points, PwColor colour, PwEyePolygon* out);
int PwSmoothPolygon3Front(int count, const PwVec3* points, const PwVec3* normals, PwColor colour,
                          PwEyePolygon* out);
// The sorted item for a flat / smooth polygon: the eye points move into
// memory kept until the next PwSetEye (any pool) and the front half's
// temporary scratch is given back, whether or not there was room.
int PwQueuePolygon3(int count, const PwEyePolygon& poly, PwColor colour);
int PwQueueSmoothPolygon3(int count, const PwEyePolygon& poly, PwColor colour);

// The immediate polygon over eye room of at least count points the caller
// holds: eye points, model capture, flattening, culling, image and EPS.
bool PwDrawPolygon3Front(int count, const PwVec3* points, PwColor colour, PwVec3* eye,
                         int* near_flag);
