// SRF polygon models: the loaded record, reading it from a file or from an
// array of strings, completing it, and drawing it placed by a pose.
#pragma once

#include "graphics/math/pw_types.h"

struct PwSrfVertex {
  float x, y, z;
  float nx, ny, nz;  // vertex normal, computed after reading
  int smooth;        // 1: takes part in smooth shading (V ... R)
};

// One entry of the work array: a vertex in eye space.
struct PwSrfWork {
  PwVec3 position;
  PwVec3 normal;
};

struct PwSrfFace {
  int has_normal;  // 1 when the block gave a usable normal (then unit length)
  PwColor colour;
  PwVec3 normal;
  PwVec3 centre;
  int index_count;
  int* indices;    // into the model's index array
  int no_shading;  // 1 when the block holds a B line
};

// The caller owns the record; the reader fills it and PwFreeSrf empties it.
struct PwSrf {
  // Corner k: max x when bit 0 is set, max y for bit 1, max z for bit 2.
  PwVec3 corners[8];
  int* indices;
  int vertex_count;
  PwSrfVertex* vertices;
  PwSrfWork* work;  // scratch of the immediate drawing and the output feeding
  int face_count;
  PwSrfFace* faces;
};

// A face's index names one of the model's vertices (files may hold others).
inline bool PwSrfValidIndex(const PwSrf* m, int i) { return i >= 0 && i < m->vertex_count; }

// 1 on success; 0 when the file cannot be opened or the text is not a
// well-formed model (the record is then empty and must not be drawn). The
// record is overwritten: free a loaded model first.
int PwLoadSrf(PwSrf* model, const char* file_name);
int PwLoadSrfStrings(PwSrf* model, const char* const* strings);

void PwScaleSrf(PwSrf* model, float factor);
void PwFreeSrf(PwSrf* model);
void PwSrfRadius(float* out, const PwSrf* model);
// 1 when the world point lies in the model's box, widened by margin, with
// the model placed by the pose.
int PwSrfInside(const PwSrf* model, const PwPose* pose, const PwVec3* point, float margin);

// One depth-sorted item for the whole model; its faces are sorted among
// themselves when the list is flushed. 0, or 1 when the list is full.
int PwSrfSorted(const PwSrf* model, const PwPose* pose);
// Every visible face as its own polygon item. 0, or 1 when the list is full.
int PwDrawSrf(PwSrf* model, const PwPose* pose);
// The faces to the image output and the model capture.
void PwSrfToSinks(const PwSrf* model, const PwPose* pose);
// Each face that faces the eye (or is two-sided) drawn at once in black.
void PwDrawSrfFlat(const PwSrf* model, const PwPose* pose);

// The 15-bit colour of a C line.
PwColor PwSrfColour(int value);
