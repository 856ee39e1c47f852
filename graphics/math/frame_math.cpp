// Expanded poses (PwFrame): building, applying and composing them.
#include "graphics/math/frame_inline.h"
#include "graphics/math/pw_math.h"

void PwFrameSetAngles(PwFrame* f, float heading, float pitch, float bank) {
  f->heading = heading;
  f->pitch = pitch;
  f->bank = bank;
  f->sinH = static_cast<float>(PwAngleSin(heading));
  f->cosH = static_cast<float>(PwAngleCos(heading));
  f->sinP = static_cast<float>(PwAngleSin(pitch));
  f->cosP = static_cast<float>(PwAngleCos(pitch));
  f->sinB = static_cast<float>(PwAngleSin(bank));
  f->cosB = static_cast<float>(PwAngleCos(bank));
}

void PwFrameFromPose(PwFrame* out, const PwPose* pose) {
  out->x = pose->x;
  out->y = pose->y;
  out->z = pose->z;
  PwFrameSetAngles(out, static_cast<float>(pose->heading), static_cast<float>(pose->pitch),
                   static_cast<float>(pose->bank));
}

void PwFrameRotate(PwVec3* out, const PwFrame* f, const PwVec3* v) {
  *out = PwFrameRotated(*f, *v);
}

void PwFrameApply(PwVec3* out, const PwFrame* f, const PwVec3* p) { *out = PwFrameApplied(*f, *p); }

void PwFrameUnrotate(PwVec3* out, const PwFrame* f, const PwVec3* d) {
  float x1 = d->x * f->cosH + d->z * f->sinH;
  float z1 = d->z * f->cosH - d->x * f->sinH;
  float z2 = z1 * f->cosP + d->y * f->sinP;
  float y2 = d->y * f->cosP - z1 * f->sinP;
  float x = x1 * f->cosB + y2 * f->sinB;
  float y = y2 * f->cosB - x1 * f->sinB;
  *out = {x, y, z2};
}

void PwFrameUnapply(PwVec3* out, const PwFrame* f, const PwVec3* p) {
  PwVec3 d = {p->x - f->x, p->y - f->y, p->z - f->z};
  PwFrameUnrotate(out, f, &d);
}

namespace {

void ToVectors(PwVec3* forward, PwVec3* up, const PwAttitude* a) {
  PwAttitudeToVectors(forward, up, a);
}
void ToVectors(PwVec3* forward, PwVec3* up, const PwAttitudeF* a) {
  PwAttitudeToVectorsF(forward, up, a);
}
void FromVectors(PwAttitude* out, const PwVec3* forward, const PwVec3* up) {
  PwVectorsToAttitude(out, forward, up);
}
void FromVectors(PwAttitudeF* out, const PwVec3* forward, const PwVec3* up) {
  PwVectorsToAttitudeF(out, forward, up);
}

// A position and attitude carried into (inverse: out of) frame; Attitude
// picks the integer or float attitude arithmetic.
template <typename Attitude>
void Reframe(PwFrame* out, PwVec3 position, Attitude a, const PwFrame* frame, bool inverse) {
  PwVec3 pos;
  PwVec3 forward, up;
  ToVectors(&forward, &up, &a);
  if (inverse) {
    PwFrameUnapply(&pos, frame, &position);
    PwFrameUnrotate(&forward, frame, &forward);
    PwFrameUnrotate(&up, frame, &up);
  } else {
    PwFrameApply(&pos, frame, &position);
    PwFrameRotate(&forward, frame, &forward);
    PwFrameRotate(&up, frame, &up);
  }
  Attitude r;
  FromVectors(&r, &forward, &up);
  out->x = pos.x;
  out->y = pos.y;
  out->z = pos.z;
  PwFrameSetAngles(out, static_cast<float>(r.heading), static_cast<float>(r.pitch),
                   static_cast<float>(r.bank));
}

}  // namespace

void PwBuildTransform(PwFrame* out, const PwFrame* model, const PwFrame* eye) {
  Reframe(out, PwVec3{model->x, model->y, model->z},
          PwAttitudeF{model->heading, model->pitch, model->bank}, eye, true);
}

void PwComposePose(PwFrame* out, const PwFrame* local, const PwFrame* parent) {
  Reframe(out, PwVec3{local->x, local->y, local->z},
          PwAttitudeF{local->heading, local->pitch, local->bank}, parent, false);
}

void PwPoseInFrame(PwFrame* out, const PwPose* pose, const PwFrame* frame) {
  Reframe(out, PwVec3{pose->x, pose->y, pose->z},
          PwAttitude{pose->heading, pose->pitch, pose->bank}, frame, true);
}

void PwPoseToFrame(PwFrame* out, const PwPose* pose, const PwFrame* frame) {
  Reframe(out, PwVec3{pose->x, pose->y, pose->z},
          PwAttitude{pose->heading, pose->pitch, pose->bank}, frame, false);
}

void PwFrameUpRay(PwRay3* out, const PwFrame* f) {
  out->point = {f->x, f->y, f->z};
  out->direction = {f->cosB * f->sinP * f->sinH - f->sinB * f->cosH, f->cosB * f->cosP,
                    -(f->sinB * f->sinH + f->cosB * f->sinP * f->cosH)};
}
