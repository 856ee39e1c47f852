// Angles in 1/65536 of a turn, and the scalar helpers built on them.
#include <cmath>

#include "graphics/math/pw_math.h"

namespace {

// Integer angle results are truncated toward zero; NaN has no angle.
int TruncAngle(double units) {
  if (std::isnan(units)) return 0;
  return static_cast<int>(units);
}

// Float dot products of unit vectors reach 1.0000001: keep asin/acos defined.
double ClampUnit(float x) {
  if (x > 1.0f) return 1.0;
  if (x < -1.0f) return -1.0;
  return x;
}

}  // namespace

void PwInitMath() {}

double PwAngleSin(double angle_units) { return std::sin(angle_units * kPwRadiansPerUnit); }
double PwAngleCos(double angle_units) { return std::cos(angle_units * kPwRadiansPerUnit); }

float PwAsinAngleF(float x) {
  if (std::isnan(x)) return 0.0f;
  return static_cast<float>(std::asin(ClampUnit(x)) / kPwRadiansPerUnit);
}
float PwAcosAngleF(float x) {
  if (std::isnan(x)) return 0.0f;
  return static_cast<float>(std::acos(ClampUnit(x)) / kPwRadiansPerUnit);
}
float PwAtanAngleF(float x) {
  if (std::isnan(x)) return 0.0f;
  return static_cast<float>(std::atan(static_cast<double>(x)) / kPwRadiansPerUnit);
}

int PwAsinAngle(float x) { return TruncAngle(PwAsinAngleF(x)); }
int PwAcosAngle(float x) { return TruncAngle(PwAcosAngleF(x)); }
int PwAtanAngle(float x) { return TruncAngle(PwAtanAngleF(x)); }

int PwAngle2(float a, float b) {
  float fa = std::fabs(a);
  float fb = std::fabs(b);
  if ((fa < 0.0001f && fb < 0.0001f) || std::isnan(a) || std::isnan(b)) return 0;
  if (fb <= fa) {
    int f = PwAtanAngle(b / fa);
    if (a > 0) return f;
    if (b > 0) return 32768 - f;
    return -f - 32768;
  }
  int f = PwAtanAngle(a / fb);
  if (b > 0) return 16384 - f;
  return f - 16384;
}

float PwAngle2F(float a, float b) {
  float fa = std::fabs(a);
  float fb = std::fabs(b);
  if ((fa < 0.0001f && fb < 0.0001f) || std::isnan(a) || std::isnan(b)) return 0.0f;
  if (fb <= fa) {
    float f = PwAtanAngleF(b / fa);
    if (a > 0) return f;
    if (b > 0) return 32768.0f - f;
    return -f - 32768.0f;
  }
  float f = PwAtanAngleF(a / fb);
  if (b > 0) return 16384.0f - f;
  return f - 16384.0f;
}

float PwLength2(float a, float b) { return std::sqrt(a * a + b * b); }

void PwRotate2(PwVec2* out, const PwVec2* in, int angle) {
  PwRotate2F(out, in, static_cast<float>(angle));
}

void PwRotate2F(PwVec2* out, const PwVec2* in, float angle) {
  float c = static_cast<float>(PwAngleCos(angle));
  float s = static_cast<float>(PwAngleSin(angle));
  float x = in->x, y = in->y;
  out->x = x * c - y * s;
  out->y = y * c + x * s;
}
