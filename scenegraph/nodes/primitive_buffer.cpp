#include "scenegraph/nodes/primitive_buffer.h"

#include "graphics/picking/picking.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/core/events/sensor_table.h"

namespace {

struct PrimitiveBuffer {
    int mode = 0;
    int vertexCount = 0;
    int normalCount = 0;
    PwVec3 vertices[KS_PRIMITIVE_CAPACITY];
    PwVec3 normals[KS_PRIMITIVE_CAPACITY];
    PwColor colour = {255, 255, 255};
    int tessellation = KS_TESSELLATION_DEFAULT;
    KsPrimitiveObserver observer = nullptr;
    long long steps = 0;
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

void DrawPolygon(const PrimitiveBuffer& b, int pickId) {
    const int v = b.vertexCount;
    if (v < 3) return;
    if (b.normalCount == v) {
        PwSmoothPolygon3(v, b.vertices, b.normals, b.colour);
    } else if (b.normalCount == 0) {
        PwPolygon3TwoSided(v, b.vertices, b.colour);
    } else {
        PwPolygon3(v, b.vertices, nullptr, b.normals[0], b.colour);
    }
    if (pickId >= 0) PwPickPolygon(v, b.vertices, nullptr, pickId, 0, 0, 0);
}

void DrawPoints(const PrimitiveBuffer& b, int pickId) {
    for (int i = 0; i < b.vertexCount; ++i) {
        PwPoint3(b.vertices[i], b.colour);
        if (pickId >= 0) PwPickPoint(b.vertices[i], 0.0f, 3, pickId, 0, 0, 0);
    }
}

void DrawPolyline(const PrimitiveBuffer& b, int pickId) {
    for (int i = 0; i + 1 < b.vertexCount; ++i) {
        PwLine3(b.vertices[i], b.vertices[i + 1], b.colour);
        if (pickId >= 0) PwPickLine(b.vertices[i], b.vertices[i + 1], pickId, 0, 0, 0);
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
}

void KsAddVertex(float x, float y, float z) {
    PrimitiveBuffer& b = Buffer();
    if (b.vertexCount >= KS_PRIMITIVE_CAPACITY) return;
    b.vertices[b.vertexCount++] = KsToLibrary(KsCurrentMatrix(), KsVec3f(x, y, z), 1.0f);
}

void KsAddVertexv(const float v[3]) { KsAddVertex(v[0], v[1], v[2]); }

void KsAddNormal(float x, float y, float z) {
    PrimitiveBuffer& b = Buffer();
    if (b.normalCount >= KS_PRIMITIVE_CAPACITY) return;
    b.normals[b.normalCount++] = KsToLibrary(KsCurrentMatrix(), KsVec3f(x, y, z), 0.0f);
}

void KsAddNormalv(const float n[3]) { KsAddNormal(n[0], n[1], n[2]); }

void KsEndPrimitive() {
    const PrimitiveBuffer& b = Buffer();
    const int pickId = KsSensorTable::GetCurrent();
    if (b.observer) {
        b.observer(b.mode, b.vertexCount, b.vertices, b.normalCount, b.normals, b.colour,
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
const PwVec3* KsGetPrimitiveVertices() { return Buffer().vertices; }
int KsGetPrimitiveNormalCount() { return Buffer().normalCount; }
const PwVec3* KsGetPrimitiveNormals() { return Buffer().normals; }

void KsSetPrimitiveObserver(KsPrimitiveObserver observer) { Buffer().observer = observer; }

void KsCountDrawSteps(long long steps) { Buffer().steps += steps; }
long long KsDrawSteps() { return Buffer().steps; }

void KsResetPrimitiveBuffer() {
    Buffer() = PrimitiveBuffer();
    KsResetMatrix();
}
