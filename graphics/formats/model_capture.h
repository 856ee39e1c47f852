// Model capture: the polygons and lines that the 3D primitives draw while it
// is on, taken back to world coordinates, with equal vertices and normals
// merged into shared lists, and written as an SRF, VRML 1.0 or VRML 2.0
// model when it ends. The entries the primitives feed are declared in
// graphics/state3d/model_capture_state.h.
#pragma once

#include "graphics/math/pw_types.h"

// Each begin empties the lists, resets the offset and returns 1. A path of
// more than 255 characters cannot be opened at the end.
int PwModelBegin(const char* path);  // VRML 1.0
int PwSrfBegin(const char* path);
int PwVrml2Begin(const char* path);
// Added to every captured vertex (the two names are one operation).
void PwModelSetOffset(PwVec3 offset);
void PwSrfSetOffset(PwVec3 offset);

// An eye-space point (taken to the world by the eye frame, plus the offset)
// or normal (rotated only) merged into its list: the index of the first
// record within 0.0001 on every axis (and of the same flag), else of a new
// one; -1 when memory runs out.
int PwModelVertex(PwVec3 point, int flag);
int PwModelNormal(PwVec3 normal);

// Each ends a capture of its own mode: 1 when the file was written, 0 when
// the capture is of another mode or inactive, or the file cannot be opened
// or written. A capture of the right mode is over and freed either way.
int PwSrfEnd();
int PwVrml1End();
int PwVrml2End();
// Frees the captured vertices, normals and faces.
void PwModelFree();

// For tests.
void PwModelResetState();
// Fails every capture allocation after the next n (n < 0: never).
void PwModelFailAllocationsAfter(int n);
int PwModelVertexCount();
int PwModelNormalCount();
int PwModelFaceCount();
// Record i of the vertex or normal list: 1, or 0 out of range.
int PwModelGetVertex(int i, PwVec3* out, int* flag);
int PwModelGetNormal(int i, PwVec3* out);
// Face i: kind (0 polygon, 1 line), its vertex indices and normal indices
// (arrays of the counts given back, valid until the capture changes).
int PwModelGetFace(int i, int* kind, PwColor* colour, int* vertex_count, const int** vertices,
                   int* normal_count, const int** normals);
