// The captured model as VRML 2.0 text: a first shape that only defines the
// shared coordinates, normals and per-face colours, then one shape per
// colour for the polygons with normals, one for the polygons without and one
// for the lines. z is negated into VRML's right-handed coordinates.
#include <algorithm>
#include <cstdlib>

#include "graphics/formats/model_capture_internal.h"
#include "graphics/math/pw_math.h"

namespace {

constexpr const char* kRow = "                    ";  // twenty blanks

void WriteTriples(PwModelText* out, int count, const PwVec3* (*at)(const PwCapture&, int, PwVec3*),
                  const PwCapture& c) {
  for (int i = 0; i < count; ++i) {
    PwVec3 v;
    at(c, i, &v);
    PwModelPrintf(out, "                        %.3f %.3f %.3f", v.x, v.y, v.z);
    PwModelPut(out, i + 1 < count ? ",\n" : "\n");
  }
}

const PwVec3* VertexAt(const PwCapture& c, int i, PwVec3* v) {
  const PwCapturedVertex& r = c.vertices.records[i];
  *v = {r.x, r.y, -r.z};
  return v;
}

const PwVec3* NormalAt(const PwCapture& c, int i, PwVec3* v) {
  const PwCapturedVertex& r = c.normals.records[i];
  PwVec3 n = {r.x, r.y, r.z};
  PwNormalize(&n, &n);
  *v = {n.x, n.y, -n.z};
  return v;
}

const PwVec3* ColourAt(const PwCapture& c, int i, PwVec3* v) {
  const PwCapturedFace& f = c.faces[i];
  *v = {static_cast<float>(f.red / 255.0), static_cast<float>(f.green / 255.0),
        static_cast<float>(f.blue / 255.0)};
  return v;
}

void WriteList(PwModelText* out, const char* member, const char* def, const char* field, int count,
               const PwVec3* (*at)(const PwCapture&, int, PwVec3*), const PwCapture& c) {
  PwModelPrintf(out, "                %s \n", member);
  PwModelPrintf(out, "                DEF %s\n", def);
  PwModelPut(out, "                {\n");
  PwModelPrintf(out, "                    %s\n", field);
  PwModelPut(out, "                    [\n");
  WriteTriples(out, count, at, c);
  PwModelPut(out, "                    ]\n");
  PwModelPut(out, "                }\n");
}

void WriteDefinitions(PwModelText* out, const PwCapture& c) {
  PwModelPut(out, "        Shape\n");
  PwModelPut(out, "        {\n");
  PwModelPut(out, "            geometry IndexedFaceSet\n");
  PwModelPut(out, "            {\n");
  WriteList(out, "coord", "PW_COORD Coordinate", "point", c.vertices.count, VertexAt, c);
  WriteList(out, "normal", "PW_NORMAL Normal", "vector", c.normals.count, NormalAt, c);
  WriteList(out, "color", "PW_COLOR Color", "color", c.face_count, ColourAt, c);
  PwModelPut(out, "            }\n");
  PwModelPut(out, "        }\n");
}

// One face's index row; a single face normal stands for every vertex.
void WriteRow(PwModelText* out, const int* indices, int count, bool repeat_first) {
  PwModelPut(out, kRow);
  for (int i = 0; i < count; ++i) {
    PwModelPrintf(out, i == 0 ? "%4d" : ",%4d", indices[repeat_first ? 0 : i]);
  }
  PwModelPut(out, ",-1");
}

void WriteCoordRows(PwModelText* out, const PwCapture& c, const int* faces, int n) {
  for (int k = 0; k < n; ++k) {
    const PwCapturedFace& f = c.faces[faces[k]];
    if (k > 0) PwModelPut(out, ",\n");
    WriteRow(out, c.indices + f.vertex_start, f.vertex_count, false);
  }
  PwModelPut(out, "\n");
}

void WriteNormalRows(PwModelText* out, PwCapture& c, const int* faces, int n) {
  for (int k = 0; k < n; ++k) {
    PwCapturedFace& f = c.faces[faces[k]];
    if (k > 0) PwModelPut(out, ",\n");
    WriteRow(out, c.indices + f.normal_start, f.vertex_count, f.normal_count == 1);
    f.written = 1;
  }
  PwModelPut(out, "\n");
}

// colorIndex of the faces of one kind: positions in the whole face list,
// laid out twelve positions of that list to a row.
void WriteColourIndices(PwModelText* out, const PwCapture& c,
                        bool (*member)(const PwCapturedFace&)) {
  bool first = true;
  for (int p = 0; p < c.face_count; ++p) {
    if (p % 12 == 0) {
      PwModelPut(out, "\n");
      PwModelPut(out, kRow);
    }
    if (member(c.faces[p])) {
      if (!first) PwModelPut(out, ",");
      PwModelPrintf(out, "%4d", p);
      first = false;
    }
  }
  PwModelPut(out, "\n");
}

bool LitPolygon(const PwCapturedFace& f) { return f.kind == 0 && f.normal_count > 0; }
bool PlainPolygon(const PwCapturedFace& f) { return f.kind == 0 && f.normal_count == 0; }
bool LineFace(const PwCapturedFace& f) { return f.kind == 1; }

int ColourKey(const PwCapturedFace& f) { return f.red << 16 | f.green << 8 | f.blue; }

void WriteColourShape(PwModelText* out, PwCapture& c, const int* faces, int n) {
  const PwCapturedFace& f = c.faces[faces[0]];
  PwModelPut(out, "        ,\n");
  PwModelPut(out, "        Shape\n");
  PwModelPut(out, "        {\n");
  PwModelPut(out, "            appearance Appearance\n");
  PwModelPut(out, "            {\n");
  PwModelPut(out, "                material Material\n");
  PwModelPut(out, "                {\n");
  PwModelPrintf(out, "                    diffuseColor %.3f %.3f %.3f\n", f.red / 255.0,
                f.green / 255.0, f.blue / 255.0);
  PwModelPut(out, "                }\n");
  PwModelPut(out, "            }\n");
  PwModelPut(out, "            geometry IndexedFaceSet\n");
  PwModelPut(out, "            {\n");
  PwModelPut(out, "                normalPerVertex TRUE\n");
  PwModelPut(out, "                coord USE PW_COORD\n");
  PwModelPut(out, "                color NULL\n");
  PwModelPut(out, "                normal USE PW_NORMAL\n");
  PwModelPut(out, "                creaseAngle 0.5\n");
  PwModelPut(out, "\n");
  PwModelPut(out, "                coordIndex\n");
  PwModelPut(out, "                [\n");
  WriteCoordRows(out, c, faces, n);
  PwModelPut(out, "                ]\n");
  PwModelPut(out, "                normalIndex\n");
  PwModelPut(out, "                [\n");
  WriteNormalRows(out, c, faces, n);
  PwModelPut(out, "                ]\n");
  PwModelPut(out, "            }\n");
  PwModelPut(out, "        }\n");
}

// The lit polygons grouped by colour, groups in the order in which their
// colour first occurs: a stable sort by colour, then the groups ordered by
// their first face. Without memory for the sort the model cannot be written.
int WriteColourShapes(PwModelText* out, PwCapture& c) {
  int n = 0;
  for (int i = 0; i < c.face_count; ++i) n += LitPolygon(c.faces[i]) ? 1 : 0;
  if (n == 0) return 0;
  auto* order = static_cast<int*>(std::malloc(sizeof(int) * static_cast<std::size_t>(n) * 3));
  if (order == nullptr) return 1;
  int* group_start = order + n;
  int* group_size = order + 2 * n;
  int k = 0;
  for (int i = 0; i < c.face_count; ++i) {
    if (LitPolygon(c.faces[i])) order[k++] = i;
  }
  std::stable_sort(order, order + n,
                   [&c](int a, int b) { return ColourKey(c.faces[a]) < ColourKey(c.faces[b]); });
  int groups = 0;
  for (int i = 0; i < n; ++i) {
    if (i == 0 || ColourKey(c.faces[order[i]]) != ColourKey(c.faces[order[i - 1]])) {
      group_start[groups] = i;
      group_size[groups] = 0;
      ++groups;
    }
    ++group_size[groups - 1];
  }
  // Each group's first face is its colour's first occurrence.
  int* by_first = static_cast<int*>(std::malloc(sizeof(int) * static_cast<std::size_t>(groups)));
  if (by_first == nullptr) {
    std::free(order);
    return 1;
  }
  for (int g = 0; g < groups; ++g) by_first[g] = g;
  std::sort(by_first, by_first + groups,
            [&](int a, int b) { return order[group_start[a]] < order[group_start[b]]; });
  for (int g = 0; g < groups; ++g) {
    const int at = by_first[g];
    WriteColourShape(out, c, order + group_start[at], group_size[at]);
  }
  std::free(by_first);
  std::free(order);
  return 0;
}

// The shape of all faces of one kind that carry no normals.
void WriteColourIndexedShape(PwModelText* out, const PwCapture& c, bool lines) {
  bool (*member)(const PwCapturedFace&) = lines ? LineFace : PlainPolygon;
  PwModelPut(out, "        ,\n");
  PwModelPut(out, "        Shape\n");
  PwModelPut(out, "        {\n");
  PwModelPut(out, lines ? "            geometry IndexedLineSet\n"
                        : "            geometry IndexedFaceSet\n");
  PwModelPut(out, "            {\n");
  PwModelPut(out, "                colorPerVertex FALSE\n");
  PwModelPut(out, "                coord USE PW_COORD\n");
  if (!lines) PwModelPut(out, "                normal NULL\n");
  PwModelPut(out, "                color USE PW_COLOR\n");
  PwModelPut(out, "\n");
  PwModelPut(out, "                coordIndex\n");
  PwModelPut(out, "                [\n");
  bool first = true;
  for (int i = 0; i < c.face_count; ++i) {
    const PwCapturedFace& f = c.faces[i];
    if (!member(f)) continue;
    if (!first) PwModelPut(out, ",\n");
    WriteRow(out, c.indices + f.vertex_start, f.vertex_count, false);
    first = false;
  }
  PwModelPut(out, "\n");
  PwModelPut(out, "                ]\n");
  PwModelPut(out, "                colorIndex\n");
  PwModelPut(out, "                [\n");
  WriteColourIndices(out, c, member);
  PwModelPut(out, "                ]\n");
  PwModelPut(out, "            }\n");
  PwModelPut(out, "        }\n");
}

}  // namespace

int PwWriteVrml2Model(PwModelText* out, PwCapture& c) {
  PwModelPut(out, "#VRML V2.0 utf8\n");
  PwModelPut(out, "Transform\n");
  PwModelPut(out, "{\n");
  PwModelPut(out, "    children\n");
  PwModelPut(out, "    [\n");
  WriteDefinitions(out, c);
  const int status = WriteColourShapes(out, c);
  WriteColourIndexedShape(out, c, false);
  WriteColourIndexedShape(out, c, true);
  PwModelPut(out, "    ]\n");
  PwModelPut(out, "}\n");
  return status;
}
