// The captured model as VRML 1.0 text: shared coordinate and normal lists,
// then one separator with its material and indices per polygon. z is
// negated into VRML's right-handed coordinates.
#include "graphics/formats/model_capture_internal.h"

namespace {

void WritePoints(PwModelText* out, const PwCapturedPoints& list) {
  for (int i = 0; i < list.count; ++i) {
    const PwCapturedVertex& r = list.records[i];
    PwModelPrintf(out, "%.3f %.3f %.3f,\n", r.x, r.y, -r.z);
  }
}

void WriteIndices(PwModelText* out, int count, const int* indices) {
  for (int i = 0; i < count; ++i) {
    PwModelPrintf(out, "%4d,", indices[i]);
    if (i % 12 == 0) PwModelPut(out, "\n");
  }
  PwModelPut(out, "-1\n");
  PwModelPut(out, "]\n");
}

void WriteMaterial(PwModelText* out, const PwCapturedFace& f) {
  PwModelPrintf(out, "Material { diffuseColor %4.2f %4.2f %4.2f }\n", f.red / 255.0,
                f.green / 255.0, f.blue / 255.0);
}

void WritePolygon(PwModelText* out, const PwCapture& c, const PwCapturedFace& f) {
  PwModelPut(out, "Separator {\n");
  PwModelPut(out, "ShapeHints { vertexOrdering COUNTERCLOCKWISE shapeType SOLID }\n");
  PwModelPut(out, f.normal_count < 2 ? "NormalBinding { value PER_FACE }\n"
                                     : "NormalBinding { value PER_VERTEX }\n");
  WriteMaterial(out, f);
  PwModelPut(out, "IndexedFaceSet {\n");
  if (f.vertex_count > 0) {
    PwModelPut(out, "coordIndex [\n");
    WriteIndices(out, f.vertex_count, c.indices + f.vertex_start);
  }
  if (f.normal_count > 0) {
    PwModelPut(out, "normalIndex [\n");
    WriteIndices(out, f.normal_count, c.indices + f.normal_start);
  }
  PwModelPut(out, "}\n");
  PwModelPut(out, "}\n");
}

void WriteLine(PwModelText* out, const PwCapture& c, const PwCapturedFace& f) {
  WriteMaterial(out, f);
  PwModelPut(out, "IndexedLineSet {\n");
  PwModelPut(out, "coordIndex [\n");
  WriteIndices(out, f.vertex_count, c.indices + f.vertex_start);
  PwModelPut(out, "}\n");
}

}  // namespace

int PwWriteVrml1Model(PwModelText* out, const PwCapture& c) {
  PwModelPut(out, "#VRML V1.0 ascii\n");
  PwModelPut(out, "Separator {\n");
  PwModelPut(out, "ShapeHints {\n");
  PwModelPut(out, "vertexOrdering UNKNOWN_ORDERING faceType UNKNOWN_FACE_TYPE\n");
  PwModelPut(out, "}\n");
  if (c.vertices.count > 0) {
    PwModelPut(out, "Coordinate3 {\n");
    PwModelPut(out, "point [\n");
    WritePoints(out, c.vertices);
    PwModelPut(out, "] }\n");
  }
  if (c.normals.count > 0) {
    PwModelPut(out, "Normal {\n");
    PwModelPut(out, "vector [\n");
    WritePoints(out, c.normals);
    PwModelPut(out, "] }\n");
  }
  for (int i = 0; i < c.face_count; ++i) {
    if (c.faces[i].kind == 0) {
      WritePolygon(out, c, c.faces[i]);
    } else {
      WriteLine(out, c, c.faces[i]);
    }
  }
  PwModelPut(out, "}\n");
  return 0;
}
