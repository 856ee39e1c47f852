#include "scenegraph/nodes/render/primitive_buffer.h"

#include <cstdlib>
#include <cstring>

#include "graphics/picking/picking.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/core/events/sensor_table.h"
#include "scenegraph/nodes/render/polygon_pieces.h"

namespace {

// Points of one kind (vertices or normals): the fixed room first, then a
// heap block grown by doubling and kept for later primitives.
struct PointRoom {
  PwVec3 fixed[KS_PRIMITIVE_CAPACITY];
  PwVec3* points = fixed;
  int room = KS_PRIMITIVE_CAPACITY;

  // Room for one more after count; false when the bound is reached or
  // memory runs out.
  bool Grow(int count) {
    if (count < room) return true;
    if (room >= KS_PRIMITIVE_MAX_VERTICES) return false;
    const int wanted = room * 2 < KS_PRIMITIVE_MAX_VERTICES ? room * 2 : KS_PRIMITIVE_MAX_VERTICES;
    auto* grown =
        static_cast<PwVec3*>(std::malloc(static_cast<std::size_t>(wanted) * sizeof(PwVec3)));
    if (grown == nullptr) return false;
    std::memcpy(grown, points, static_cast<std::size_t>(count) * sizeof(PwVec3));
    Release();
    points = grown;
    room = wanted;
    return true;
  }
  void Release() {
    if (points != fixed) std::free(points);
    points = fixed;
    room = KS_PRIMITIVE_CAPACITY;
  }
};

struct PrimitiveBuffer {
  int mode = 0;
  int vertexCount = 0;
  int normalCount = 0;
  bool refused = false;
  PointRoom vertices;
  PointRoom normals;
  PwColor colour = {255, 255, 255};
  int tessellation = KS_TESSELLATION_DEFAULT;
  KsPrimitiveObserver observer = nullptr;
  long long steps = 0;

  void Reset() {
    vertices.Release();
    normals.Release();
    mode = vertexCount = normalCount = 0;
    refused = false;
    colour = {255, 255, 255};
    tessellation = KS_TESSELLATION_DEFAULT;
    observer = nullptr;
    steps = 0;
  }
};

PrimitiveBuffer& Buffer() {
  static PrimitiveBuffer buffer;
  return buffer;
}

// Out-of-range and non-finite components would make the int conversion
// undefined; they are clamped.
int ColorChannel(float c) {
  float v = c * 255.0f;
  if (!(v > 0.0f)) return 0;
  if (v >= 255.0f) return 255;
  return static_cast<int>(v);
}

// The graphics call chosen by the normals, for the whole polygon or a piece.
void DrawFace(const PrimitiveBuffer& b, int count, const PwVec3* vertices, const PwVec3* normals) {
  if (b.normalCount == b.vertexCount) {
    PwSmoothPolygon3(count, vertices, normals, b.colour);
  } else if (b.normalCount == 0) {
    PwPolygon3TwoSided(count, vertices, b.colour);
  } else {
    PwPolygon3(count, vertices, nullptr, b.normals.points[0], b.colour);
  }
}

// A smooth piece goes on as the triangles of its fan: the image renderer
// triangulates a smooth polygon itself, and the long thin corners of a fine
// face's pieces defeat its triangulation.
void DrawPiece(void* context, const int* indices, int count) {
  const PrimitiveBuffer& b = *static_cast<const PrimitiveBuffer*>(context);
  if (b.normalCount == b.vertexCount) {
    for (int i = 1; i + 1 < count; ++i) {
      const int t[3] = {indices[0], indices[i], indices[i + 1]};
      const PwVec3 vertices[3] = {b.vertices.points[t[0]], b.vertices.points[t[1]],
                                  b.vertices.points[t[2]]};
      const PwVec3 normals[3] = {b.normals.points[t[0]], b.normals.points[t[1]],
                                 b.normals.points[t[2]]};
      DrawFace(b, 3, vertices, normals);
    }
    return;
  }
  PwVec3 vertices[KS_PIECE_VERTICES];
  for (int i = 0; i < count; ++i) vertices[i] = b.vertices.points[indices[i]];
  DrawFace(b, count, vertices, nullptr);
}

void DrawPolygon(const PrimitiveBuffer& b, int pickId) {
  const int v = b.vertexCount;
  if (v < 3) return;
  if (v <= KS_PIECE_VERTICES) {
    DrawFace(b, v, b.vertices.points, b.normals.points);
  } else {
    KsSplitPolygon(v, b.vertices.points, DrawPiece, const_cast<PrimitiveBuffer*>(&b));
  }
  if (pickId >= 0) PwPickPolygon(v, b.vertices.points, nullptr, pickId, 0, 0, 0);
}

void DrawPoints(const PrimitiveBuffer& b, int pickId) {
  const PwVec3* v = b.vertices.points;
  for (int i = 0; i < b.vertexCount; ++i) {
    PwPoint3(v[i], b.colour);
    if (pickId >= 0) PwPickPoint(v[i], 0.0f, 3, pickId, 0, 0, 0);
  }
}

void DrawPolyline(const PrimitiveBuffer& b, int pickId) {
  const PwVec3* v = b.vertices.points;
  for (int i = 0; i + 1 < b.vertexCount; ++i) {
    PwLine3(v[i], v[i + 1], b.colour);
    if (pickId >= 0) PwPickLine(v[i], v[i + 1], pickId, 0, 0, 0);
  }
}

}  // namespace

KsMatrix& KsCurrentMatrix() {
  static KsMatrix current;
  return current;
}

void KsResetMatrix() { KsCurrentMatrix().Identity(); }

int KsTessellationLevel() { return Buffer().tessellation; }

int KsSetTessellation(int level) {
  if (level >= KS_TESSELLATION_MIN && level <= KS_TESSELLATION_MAX) {
    Buffer().tessellation = level;
  }
  return level;
}

void KsBeginPrimitive(int mode) {
  PrimitiveBuffer& b = Buffer();
  b.mode = mode;
  b.vertexCount = 0;
  b.normalCount = 0;
  b.refused = false;
}

void KsAddVertex(float x, float y, float z) {
  PrimitiveBuffer& b = Buffer();
  if (b.refused || !b.vertices.Grow(b.vertexCount)) {
    b.refused = true;
    return;
  }
  b.vertices.points[b.vertexCount++] = KsToLibrary(KsCurrentMatrix(), KsVec3f(x, y, z), 1.0f);
}

void KsAddVertexv(const float v[3]) { KsAddVertex(v[0], v[1], v[2]); }

void KsAddNormal(float x, float y, float z) {
  PrimitiveBuffer& b = Buffer();
  if (b.refused || !b.normals.Grow(b.normalCount)) {
    b.refused = true;
    return;
  }
  b.normals.points[b.normalCount++] = KsToLibrary(KsCurrentMatrix(), KsVec3f(x, y, z), 0.0f);
}

void KsAddNormalv(const float n[3]) { KsAddNormal(n[0], n[1], n[2]); }

void KsEndPrimitive() {
  const PrimitiveBuffer& b = Buffer();
  if (b.refused) return;
  const int pickId = KsSensorTable::GetCurrent();
  if (b.observer) {
    b.observer(b.mode, b.vertexCount, b.vertices.points, b.normalCount, b.normals.points, b.colour,
               pickId);
  }
  switch (b.mode) {
    case KS_PRIMITIVE_POLYGON: DrawPolygon(b, pickId); break;
    case KS_PRIMITIVE_POINTS: DrawPoints(b, pickId); break;
    case KS_PRIMITIVE_POLYLINE: DrawPolyline(b, pickId); break;
    default: break;
  }
}

void KsSetColor(float r, float g, float b) {
  PwColor& c = Buffer().colour;
  c.red = ColorChannel(r);
  c.green = ColorChannel(g);
  c.blue = ColorChannel(b);
}

void KsSetColorv(const float rgb[3]) { KsSetColor(rgb[0], rgb[1], rgb[2]); }

PwColor KsGetDrawingColor() { return Buffer().colour; }

void KsSetSpecular(float r, float g, float b, float shininess) {
  PwSetHighlight(PwColor{ColorChannel(g), ColorChannel(r), ColorChannel(b)}, shininess);
}

// VRML's default material has no highlight (black specular colour).
void KsSetDefaultColor() {
  KsSetColor(1.0f, 1.0f, 1.0f);
  KsSetSpecular(0.0f, 0.0f, 0.0f, 0.2f);
}

void KsResetDrawingState() {
  KsResetMatrix();
  KsSetDefaultColor();
}

int KsPickAt(int x, int y) {
  int id = -1;
  if (PwPickFind(&id, nullptr, nullptr, nullptr, PwPoint2{x, y}, 1) != 1) return -1;
  return id;
}

void KsInitProjection(PwProjection* out) {
  if (!out) return;
  PwDefaultProjection(out);
  out->near = 0.05f;
}

int KsGetProjectionKind() { return 0; }

int KsGetPrimitiveMode() { return Buffer().mode; }
int KsGetPrimitiveVertexCount() { return Buffer().vertexCount; }
const PwVec3* KsGetPrimitiveVertices() { return Buffer().vertices.points; }
int KsGetPrimitiveNormalCount() { return Buffer().normalCount; }
const PwVec3* KsGetPrimitiveNormals() { return Buffer().normals.points; }
bool KsPrimitiveRefused() { return Buffer().refused; }

void KsSetPrimitiveObserver(KsPrimitiveObserver observer) { Buffer().observer = observer; }

void KsCountDrawSteps(long long steps) { Buffer().steps += steps; }
long long KsDrawSteps() { return Buffer().steps; }

void KsResetPrimitiveBuffer() {
  Buffer().Reset();
  KsResetMatrix();
}
