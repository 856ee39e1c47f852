// Capturing the frame's polygons and lines: each call adds its vertices,
// normals and faces, or, when memory runs out, leaves the lists exactly as
// they were.
#include "graphics/formats/model_capture.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "graphics/formats/model_capture_internal.h"
#include "graphics/geometry/polygon_geometry.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/math/pw_math.h"
#include "graphics/math/vec_inline.h"
#include "graphics/state3d/state3d.h"

namespace {

int g_allocations_left = -1;

int ClampChannel(int c) { return c < 0 ? 0 : (c > 255 ? 255 : c); }

bool GrowFaces(PwCapture& c, int more) {
  if (c.face_count + more <= c.face_capacity) return true;
  if (c.face_capacity > (1 << 27)) return false;
  int capacity = c.face_capacity == 0 ? 256 : c.face_capacity * 2;
  while (capacity < c.face_count + more) capacity *= 2;
  auto* faces = static_cast<PwCapturedFace*>(
      PwCaptureRealloc(c.faces, sizeof(PwCapturedFace) * static_cast<std::size_t>(capacity)));
  if (faces == nullptr) return false;
  c.faces = faces;
  c.face_capacity = capacity;
  return true;
}

bool GrowIndices(PwCapture& c, long long more) {
  if (c.index_count + more <= c.index_capacity) return true;
  if (c.index_count + more > (1 << 28)) return false;
  long long capacity = c.index_capacity == 0 ? 1024 : c.index_capacity * 2LL;
  while (capacity < c.index_count + more) capacity *= 2;
  auto* indices = static_cast<int*>(
      PwCaptureRealloc(c.indices, sizeof(int) * static_cast<std::size_t>(capacity)));
  if (indices == nullptr) return false;
  c.indices = indices;
  c.index_capacity = static_cast<int>(capacity);
  return true;
}

// The lists' sizes before a call, to go back to when it fails.
struct Undo {
  int vertices, normals, faces, indices;
  Undo() {
    const PwCapture& c = PwCaptureState();
    vertices = c.vertices.count;
    normals = c.normals.count;
    faces = c.face_count;
    indices = c.index_count;
  }
  int Fail() const {
    PwCapture& c = PwCaptureState();
    PwCapturedPointsTruncate(&c.vertices, vertices);
    PwCapturedPointsTruncate(&c.normals, normals);
    c.face_count = faces;
    c.index_count = indices;
    return 0;
  }
};

// Appends a face whose vertices (and normals) are merged from eye space;
// reversed, vertex i and its normal go to position count - 1 - i. normals
// holds normal_count entries (0, 1 or count).
bool AddFace(int kind, int count, const PwVec3* points, int flag, int normal_count,
             const PwVec3* normals, bool reversed, PwColor colour) {
  PwCapture& c = PwCaptureState();
  if (!GrowFaces(c, 1) || !GrowIndices(c, static_cast<long long>(count) + normal_count)) {
    return false;
  }
  PwCapturedFace face;
  face.kind = kind;
  face.green = ClampChannel(colour.green);
  face.red = ClampChannel(colour.red);
  face.blue = ClampChannel(colour.blue);
  face.vertex_count = count;
  face.vertex_start = c.index_count;
  face.normal_count = normal_count;
  face.normal_start = c.index_count + count;
  face.written = 0;
  for (int i = 0; i < count; ++i) {
    const int from = reversed ? count - 1 - i : i;
    const int v = PwModelVertex(points[from], flag);
    if (v < 0) return false;
    c.indices[face.vertex_start + i] = v;
  }
  for (int i = 0; i < normal_count; ++i) {
    const int from = reversed && normal_count == count ? count - 1 - i : i;
    const int n = PwModelNormal(normals[from]);
    if (n < 0) return false;
    c.indices[face.normal_start + i] = n;
  }
  c.index_count += count + normal_count;
  c.faces[c.face_count++] = face;
  return true;
}

// The primitives hand geometry over before they test it: a face with a
// coordinate that is not a number would write "nan" into the model file,
// which no reader takes, so such faces are left out.
bool Usable(int count, const PwVec3* points) {
  return count >= 1 && points != nullptr && count <= (1 << 24) && PwAllFinite(count, points);
}

}  // namespace

PwCapture& PwCaptureState() {
  static PwCapture capture;
  return capture;
}

void* PwCaptureRealloc(void* block, std::size_t bytes) {
  if (bytes == 0) {
    std::free(block);
    return nullptr;
  }
  if (g_allocations_left == 0) return nullptr;
  if (g_allocations_left > 0) --g_allocations_left;
  return std::realloc(block, bytes);
}

void PwModelFailAllocationsAfter(int n) { g_allocations_left = n < 0 ? -1 : n; }

int PwModelBegin(const char* path) {
  PwModelFree();
  PwCapture& c = PwCaptureState();
  c.path[0] = '\0';
  c.path_too_long = 0;
  const std::size_t len = path != nullptr ? std::strlen(path) : 0;
  if (len >= sizeof c.path) {
    c.path_too_long = 1;
  } else if (len > 0) {
    std::memcpy(c.path, path, len + 1);
  }
  c.offset = {0, 0, 0};
  c.mode = 0;
  PwModelSetActive(1);
  return 1;
}

int PwSrfBegin(const char* path) {
  PwModelBegin(path);
  PwCaptureState().mode = 1;
  return 1;
}

int PwVrml2Begin(const char* path) {
  PwModelBegin(path);
  PwCaptureState().mode = 2;
  return 1;
}

void PwModelSetOffset(PwVec3 offset) { PwCaptureState().offset = offset; }
void PwSrfSetOffset(PwVec3 offset) { PwModelSetOffset(offset); }

int PwModelVertex(PwVec3 point, int flag) {
  PwCapture& c = PwCaptureState();
  PwVec3 world;
  PwFrameApply(&world, PwGetEyeFrame(), &point);
  world.x += c.offset.x;
  world.y += c.offset.y;
  world.z += c.offset.z;
  return PwCapturedPointsMerge(&c.vertices, world, flag);
}

int PwModelNormal(PwVec3 normal) {
  PwVec3 world;
  PwFrameRotate(&world, PwGetEyeFrame(), &normal);
  return PwCapturedPointsMerge(&PwCaptureState().normals, world, 0);
}

int PwModelPolygonTwoSided(int count, const PwVec3* points, PwColor colour) {
  if (!Usable(count, points)) return 1;
  const Undo undo;
  if (!AddFace(0, count, points, 0, 0, nullptr, false, colour) ||
      !AddFace(0, count, points, 0, 0, nullptr, true, colour)) {
    return undo.Fail();
  }
  return 1;
}

int PwModelPolygon(int count, const PwVec3* points, PwVec3 normal, PwColor colour) {
  if (!Usable(count, points) || !PwFinite(normal)) return 1;
  const Undo undo;
  const bool keep = PwWinding(count, points, &normal) == 2;
  if (!AddFace(0, count, points, 0, 1, &normal, !keep, colour)) return undo.Fail();
  return 1;
}

int PwModelSmoothPolygonN(int count, const PwVec3* points, const PwVec3* normals, PwVec3 normal,
                          PwColor colour) {
  if (!Usable(count, points) || normals == nullptr || !PwAllFinite(count, normals)) return 1;
  const Undo undo;
  const bool keep = PwWinding(count, points, &normal) == 2;
  if (!AddFace(0, count, points, 1, count, normals, !keep, colour)) return undo.Fail();
  return 1;
}

int PwModelSmoothPolygon(int count, const PwVec3* points, const PwVec3* normals, PwColor colour) {
  if (!Usable(count, points) || normals == nullptr || !PwAllFinite(count, normals)) return 1;
  PwVec3 sum = {0, 0, 0};
  for (int i = 0; i < count; ++i) {
    sum.x += normals[i].x;
    sum.y += normals[i].y;
    sum.z += normals[i].z;
  }
  if (sum.x * sum.x + sum.y * sum.y + sum.z * sum.z > 0.0001f) PwNormalize(&sum, &sum);
  return PwModelSmoothPolygonN(count, points, normals, sum, colour);
}

int PwModelLine(PwVec3 p0, PwVec3 p1, PwColor colour) {
  const PwVec3 ends[2] = {p0, p1};
  if (!PwAllFinite(2, ends)) return 1;
  const Undo undo;
  if (!AddFace(1, 2, ends, 0, 0, nullptr, false, colour)) return undo.Fail();
  return 1;
}

int PwModelPoint(PwVec3, PwColor) { return 1; }

void PwModelFree() {
  PwCapture& c = PwCaptureState();
  PwCapturedPointsFree(&c.vertices);
  PwCapturedPointsFree(&c.normals);
  PwCaptureRealloc(c.faces, 0);
  PwCaptureRealloc(c.indices, 0);
  c.faces = nullptr;
  c.indices = nullptr;
  c.face_count = c.face_capacity = 0;
  c.index_count = c.index_capacity = 0;
}

void PwModelResetState() {
  PwModelFree();
  PwCaptureState() = PwCapture();
  g_allocations_left = -1;
  PwModelSetActive(0);
}

int PwModelVertexCount() { return PwCaptureState().vertices.count; }
int PwModelNormalCount() { return PwCaptureState().normals.count; }
int PwModelFaceCount() { return PwCaptureState().face_count; }

namespace {

int GetRecord(const PwCapturedPoints& list, int i, PwVec3* out, int* flag) {
  if (i < 0 || i >= list.count) return 0;
  const PwCapturedVertex& r = list.records[i];
  if (out != nullptr) *out = {r.x, r.y, r.z};
  if (flag != nullptr) *flag = r.flag;
  return 1;
}

}  // namespace

int PwModelGetVertex(int i, PwVec3* out, int* flag) {
  return GetRecord(PwCaptureState().vertices, i, out, flag);
}

int PwModelGetNormal(int i, PwVec3* out) {
  return GetRecord(PwCaptureState().normals, i, out, nullptr);
}

int PwModelGetFace(int i, int* kind, PwColor* colour, int* vertex_count, const int** vertices,
                   int* normal_count, const int** normals) {
  const PwCapture& c = PwCaptureState();
  if (i < 0 || i >= c.face_count) return 0;
  const PwCapturedFace& f = c.faces[i];
  if (kind != nullptr) *kind = f.kind;
  if (colour != nullptr) *colour = {f.green, f.red, f.blue};
  if (vertex_count != nullptr) *vertex_count = f.vertex_count;
  if (vertices != nullptr) *vertices = c.indices + f.vertex_start;
  if (normal_count != nullptr) *normal_count = f.normal_count;
  if (normals != nullptr) *normals = c.indices + f.normal_start;
  return 1;
}
