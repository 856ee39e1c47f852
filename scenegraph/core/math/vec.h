// Two- and three-component float vectors of the scene graph (right-handed).
#ifndef KS_VEC_H
#define KS_VEC_H

#include "scenegraph/core/ks_types.h"

class KsVec2f {
 public:
  float x, y;

  KsVec2f() : x(0.0f), y(0.0f) {}
  KsVec2f(float ax, float ay) : x(ax), y(ay) {}
  // Takes up to two numbers from a source that a KsReadFloatWords overload
  // reads (the reader's word cursor, see word_reading.h), which it leaves
  // after the last one taken; components with nothing left stay 0.
  template <class Source>
  explicit KsVec2f(Source* source) : x(0.0f), y(0.0f) {
    float v[2] = {0.0f, 0.0f};
    KsReadFloatWords(source, v, 2);
    x = v[0];
    y = v[1];
  }

  virtual const char* GetClassName() const { return "KsVec2f"; }

  void Assign(const KsVec2f& v) {
    x = v.x;
    y = v.y;
  }
  KSBOOL IsNormalized() const;
  int Normalize();
};

class KsVec3f {
 public:
  float x, y, z;

  KsVec3f() : x(0.0f), y(0.0f), z(0.0f) {}
  KsVec3f(float ax, float ay, float az) : x(ax), y(ay), z(az) {}
  KsVec3f(const KsVec3f& v) = default;
  // As KsVec2f's, three numbers.
  template <class Source>
  explicit KsVec3f(Source* source) : x(0.0f), y(0.0f), z(0.0f) {
    float v[3] = {0.0f, 0.0f, 0.0f};
    KsReadFloatWords(source, v, 3);
    x = v[0];
    y = v[1];
    z = v[2];
  }

  virtual const char* GetClassName() const { return "KsVec3f"; }

  KsVec3f& operator=(const KsVec3f& v) = default;
  void Assign(const KsVec3f& v) {
    x = v.x;
    y = v.y;
    z = v.z;
  }

  KsVec3f operator+(const KsVec3f& v) const { return KsVec3f(x + v.x, y + v.y, z + v.z); }
  KsVec3f operator-(const KsVec3f& v) const { return KsVec3f(x - v.x, y - v.y, z - v.z); }
  KsVec3f operator*(float s) const { return KsVec3f(x * s, y * s, z * s); }
  KsVec3f operator/(float s) const { return KsVec3f(x / s, y / s, z / s); }

  float SquaredLength() const { return x * x + y * y + z * z; }
  float Length() const;
  float Dot(const KsVec3f& v) const { return x * v.x + y * v.y + z * v.z; }
  KsVec3f Cross(const KsVec3f& v) const {
    return KsVec3f(y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x);
  }

  KSBOOL IsNormalized() const;
  int Normalize();
};

#endif
