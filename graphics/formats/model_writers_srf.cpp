// The captured model as SRF text, as the SRF reader reads it back: the
// vertices, then each polygon with its colour, centre and normal. Lines have
// no place in SRF.
#include "graphics/formats/model_capture_internal.h"
#include "graphics/math/pw_math.h"

namespace {

void WriteFace(PwModelText* out, const PwCapture& c, const PwCapturedFace& f) {
  PwModelPut(out, "FAC\n");
  PwModelPrintf(out, "COL %d\n", (f.green >> 3) << 10 | (f.red >> 3) << 5 | (f.blue >> 3));
  PwVec3 centre = {0, 0, 0};
  const int* v = c.indices + f.vertex_start;
  for (int i = 0; i < f.vertex_count; ++i) {
    const PwCapturedVertex& r = c.vertices.records[v[i]];
    centre.x += r.x;
    centre.y += r.y;
    centre.z += r.z;
  }
  if (f.vertex_count > 0) {
    const float n = static_cast<float>(f.vertex_count);
    centre = {centre.x / n, centre.y / n, centre.z / n};
  }
  PwVec3 normal = {0, 0, 0};
  const int* nv = c.indices + f.normal_start;
  for (int i = 0; i < f.normal_count; ++i) {
    const PwCapturedVertex& r = c.normals.records[nv[i]];
    normal.x += r.x;
    normal.y += r.y;
    normal.z += r.z;
  }
  PwNormalize(&normal, &normal);
  PwModelPrintf(out, "NOR %.3f %.3f %.3f %.3f %.3f %.3f\n", centre.x, centre.y, centre.z, normal.x,
                normal.y, normal.z);
  for (int i = 0; i < f.vertex_count; ++i) {
    if (i % 8 == 0) PwModelPut(out, "VER");
    PwModelPrintf(out, " %d", v[i]);
    if (i % 8 == 7 || i == f.vertex_count - 1) PwModelPut(out, "\n");
  }
  PwModelPut(out, "END\n");
}

}  // namespace

int PwWriteSrfModel(PwModelText* out, const PwCapture& c) {
  PwModelPut(out, "SURF\n");
  for (int i = 0; i < c.vertices.count; ++i) {
    const PwCapturedVertex& r = c.vertices.records[i];
    PwModelPrintf(out, "VER %.3f %.3f %.3f", r.x, r.y, r.z);
    if (r.flag == 1) PwModelPut(out, " R");
    PwModelPut(out, "\n");
  }
  for (int i = 0; i < c.face_count; ++i) {
    if (c.faces[i].kind == 0) WriteFace(out, c, c.faces[i]);
  }
  PwModelPut(out, "END\n");
  return 0;
}
