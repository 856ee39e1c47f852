// The capture's lists, shared by the capture calls and the model writers.
#pragma once

#include <cstddef>
#include <cstdio>

#include "graphics/math/pw_types.h"

struct PwCapturedVertex {
  float x, y, z;
  int flag;  // 1: a vertex of a smooth polygon
};

struct PwCapturedFace {
  int kind;  // 0 polygon, 1 line
  int green, red, blue;
  int vertex_count;
  int vertex_start;  // into the index array
  int normal_count;  // 0, 1 or vertex_count
  int normal_start;
  int written;  // the VRML 2.0 writer's mark
};

// A list of merged points: records in order of creation and a hash index
// over cells of 0.001, so that merging never searches the whole list.
struct PwCapturedPoints {
  PwCapturedVertex* records = nullptr;
  int* chain = nullptr;  // next record of the same bucket, -1 ends
  int count = 0;
  int capacity = 0;
  int* buckets = nullptr;  // first (newest) record of each bucket, -1 none
  int bucket_count = 0;    // a power of two
};

struct PwCapture {
  int mode = 0;  // 0 VRML 1.0, 1 SRF, 2 VRML 2.0
  char path[256] = {};
  int path_too_long = 0;
  PwVec3 offset = {0, 0, 0};
  PwCapturedPoints vertices;
  PwCapturedPoints normals;
  PwCapturedFace* faces = nullptr;
  int face_count = 0;
  int face_capacity = 0;
  int* indices = nullptr;  // every face's vertex and normal indices
  int index_count = 0;
  int index_capacity = 0;
};

PwCapture& PwCaptureState();

// Allocation of the capture (realloc semantics), failing on request.
void* PwCaptureRealloc(void* block, std::size_t bytes);

// Merges a world point into a list: its index, or -1 when memory runs out.
int PwCapturedPointsMerge(PwCapturedPoints* list, PwVec3 p, int flag);
// Drops the records from count on (the newest first).
void PwCapturedPointsTruncate(PwCapturedPoints* list, int count);
void PwCapturedPointsFree(PwCapturedPoints* list);

// The writers; the file is open for writing in text mode. 0 on success.
struct PwModelText {
  std::FILE* file;
  int failed;
};
int PwWriteSrfModel(PwModelText* out, const PwCapture& capture);
int PwWriteVrml1Model(PwModelText* out, const PwCapture& capture);
int PwWriteVrml2Model(PwModelText* out, PwCapture& capture);

// Formatted output that remembers a failed write.
void PwModelPut(PwModelText* out, const char* text);
void PwModelPrintf(PwModelText* out, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
