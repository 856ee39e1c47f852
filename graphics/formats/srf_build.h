// What the SRF reader collects (in the reader pool) and hands to the pass
// that builds and completes the model record.
#pragma once

#include "graphics/formats/srf_model.h"

struct PwSrfReadVertex {
  PwSrfVertex vertex;
  PwSrfReadVertex* next;
};

struct PwSrfReadIndex {
  int index;
  PwSrfReadIndex* next;
};

struct PwSrfReadFace {
  int has_normal;
  int has_centre;  // the block gave an N line
  PwColor colour;
  PwVec3 normal;
  PwVec3 centre;
  int no_shading;
  int count;
  PwSrfReadIndex* first_index;
  PwSrfReadIndex* last_index;
  PwSrfReadFace* next;
};

struct PwSrfRead {
  PwSrfReadVertex* first_vertex;
  PwSrfReadVertex* last_vertex;
  int vertex_count;
  PwSrfReadFace* first_face;
  PwSrfReadFace* last_face;
  int face_count;
  int index_count;
};

// Allocates and fills the model's arrays, then completes the model (box,
// normals, winding, colour grouping). 1, or 0 on an index outside the
// vertex list or when memory runs out. Runs inside a read (reader pool).
int PwBuildSrf(PwSrf* model, const PwSrfRead* read);
