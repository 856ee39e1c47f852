// Heading, pitch and bank to and from forward and up vectors. An attitude
// rotates body into world coordinates by H(h) * P(p) * B(b), bank first.
#include <cmath>

#include "graphics/math/pw_math.h"

namespace {

struct Trig {
  float sh, ch, sp, cp, sb, cb;
};

Trig TrigOf(float h, float p, float b) {
  return {static_cast<float>(PwAngleSin(h)), static_cast<float>(PwAngleCos(h)),
          static_cast<float>(PwAngleSin(p)), static_cast<float>(PwAngleCos(p)),
          static_cast<float>(PwAngleSin(b)), static_cast<float>(PwAngleCos(b))};
}

void Vectors(PwVec3* forward, PwVec3* up, const Trig& t) {
  *forward = {-t.cp * t.sh, t.sp, t.cp * t.ch};
  *up = {t.cb * t.sp * t.sh - t.sb * t.ch, t.cb * t.cp, -(t.sb * t.sh + t.cb * t.sp * t.ch)};
}

// R(h, p, b) applied to v: bank, then pitch, then heading.
PwVec3 Rotate(const Trig& t, const PwVec3& v) {
  float x1 = v.x * t.cb - v.y * t.sb;
  float y1 = v.x * t.sb + v.y * t.cb;
  float z1 = v.z * t.cp - y1 * t.sp;
  float y2 = v.z * t.sp + y1 * t.cp;
  float x2 = x1 * t.ch - z1 * t.sh;
  float z2 = x1 * t.sh + z1 * t.ch;
  return {x2, y2, z2};
}

// The integer and float attitudes differ only in how an angle is rounded.
void SetAngle2(int* out, float a, float b) { *out = PwAngle2(a, b); }
void SetAngle2(float* out, float a, float b) { *out = PwAngle2F(a, b); }

template <typename Attitude>
void VectorToAttitude(Attitude* out, const PwVec3* d) {
  using Angle = decltype(out->heading);
  out->bank = Angle(0);
  if (std::fabs(d->x) <= 0.0001f && std::fabs(d->z) <= 0.0001f) {
    out->heading = Angle(0);
    out->pitch = d->y >= 0 ? Angle(16384) : Angle(-16384);
    return;
  }
  Angle h;
  SetAngle2(&h, d->z, -d->x);
  float g = std::fabs(d->z) > std::fabs(d->x) ? d->z / static_cast<float>(PwAngleCos(h))
                                              : -d->x / static_cast<float>(PwAngleSin(h));
  out->heading = h;
  SetAngle2(&out->pitch, g, d->y);
}

template <typename Attitude>
auto VectorsToAttitude(Attitude* out, const PwVec3* forward, const PwVec3* up) {
  VectorToAttitude(out, forward);
  float ch = static_cast<float>(PwAngleCos(out->heading));
  float sh = static_cast<float>(PwAngleSin(out->heading));
  float cp = static_cast<float>(PwAngleCos(out->pitch));
  float sp = static_cast<float>(PwAngleSin(out->pitch));
  float bx = up->x * ch + up->z * sh;
  float by = up->y * cp - (up->z * ch - up->x * sh) * sp;
  SetAngle2(&out->bank, by, -bx);
  return out->bank;
}

}  // namespace

void PwAttitudeToVectors(PwVec3* forward, PwVec3* up, const PwAttitude* a) {
  Vectors(forward, up,
          TrigOf(static_cast<float>(a->heading), static_cast<float>(a->pitch),
                 static_cast<float>(a->bank)));
}

void PwAttitudeToVectorsF(PwVec3* forward, PwVec3* up, const PwAttitudeF* a) {
  Vectors(forward, up, TrigOf(a->heading, a->pitch, a->bank));
}

void PwVectorToAttitude(PwAttitude* out, const PwVec3* d) { VectorToAttitude(out, d); }

void PwVectorToAttitudeF(PwAttitudeF* out, const PwVec3* d) { VectorToAttitude(out, d); }

int PwVectorsToAttitude(PwAttitude* out, const PwVec3* forward, const PwVec3* up) {
  return VectorsToAttitude(out, forward, up);
}

float PwVectorsToAttitudeF(PwAttitudeF* out, const PwVec3* forward, const PwVec3* up) {
  return VectorsToAttitude(out, forward, up);
}

void PwTurnAttitude(PwAttitude* out, const PwAttitude* in, int dp, int dh) {
  float cdp = static_cast<float>(PwAngleCos(dp)), sdp = static_cast<float>(PwAngleSin(dp));
  float cdh = static_cast<float>(PwAngleCos(dh)), sdh = static_cast<float>(PwAngleSin(dh));
  PwVec3 forward = {-cdp * sdh, sdp, cdp * cdh};
  PwVec3 up = {sdp * sdh, cdp, -sdp * cdh};
  Trig t = TrigOf(static_cast<float>(in->heading), static_cast<float>(in->pitch),
                  static_cast<float>(in->bank));
  forward = Rotate(t, forward);
  up = Rotate(t, up);
  PwVectorsToAttitude(out, &forward, &up);
}

void PwBlendAttitude(PwAttitude* out, const PwAttitude* a, const PwAttitude* b, float t) {
  PwVec3 fa, ua, fb, ub, f, u;
  PwAttitudeToVectors(&fa, &ua, a);
  PwAttitudeToVectors(&fb, &ub, b);
  PwSlerpVectors(&f, &fa, &fb, t);
  PwSlerpVectors(&u, &ua, &ub, t);
  PwVectorsToAttitude(out, &f, &u);
}
