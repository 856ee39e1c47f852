// Two- and three-component float vectors of the scene graph (right-handed).
#ifndef KS_VEC_H
#define KS_VEC_H

#include "scenegraph/core/ks_types.h"

struct KsWordNode;

// Converts up to count words from the cursor on into out, moving the cursor
// past each; stops at the end of the chain and returns how many were read.
int KsReadFloatWords(KsWordNode* cursor, float* out, int count);

class KsVec2f {
public:
    float x, y;

    KsVec2f() : x(0.0f), y(0.0f) {}
    KsVec2f(float ax, float ay) : x(ax), y(ay) {}
    // Reads up to two numbers from the cursor's current word on and leaves the
    // cursor after the last one read; components with no word left stay 0.
    explicit KsVec2f(KsWordNode* cursor);

    virtual const char* GetClassName() const { return "KsVec2f"; }

    void Assign(const KsVec2f& v) { x = v.x; y = v.y; }
    KSBOOL IsNormalized() const;
    int Normalize();
};

class KsVec3f {
public:
    float x, y, z;

    KsVec3f() : x(0.0f), y(0.0f), z(0.0f) {}
    KsVec3f(float ax, float ay, float az) : x(ax), y(ay), z(az) {}
    KsVec3f(const KsVec3f& v) = default;
    explicit KsVec3f(KsWordNode* cursor);

    virtual const char* GetClassName() const { return "KsVec3f"; }

    KsVec3f& operator=(const KsVec3f& v) = default;
    void Assign(const KsVec3f& v) { x = v.x; y = v.y; z = v.z; }

    KsVec3f operator+(const KsVec3f& v) const { return KsVec3f(x + v.x, y + v.y, z + v.z); }
    KsVec3f operator-(const KsVec3f& v) const { return KsVec3f(x - v.x, y - v.y, z - v.z); }
    KsVec3f operator*(float s) const { return KsVec3f(x * s, y * s, z * s); }
    KsVec3f operator/(float s) const { return KsVec3f(x / s, y / s, z / s); }

    float SquaredLength() const { return x * x + y * y + z * z; }
    float Length() const;
    float Dot(const KsVec3f& v) const { return x * v.x + y * v.y + z * v.z; }
    KsVec3f Cross(const KsVec3f& v) const
    {
        return KsVec3f(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
    }

    KSBOOL IsNormalized() const;
    int Normalize();
};

#endif
