// Expanded poses (PwFrame): building, applying and composing them.
#include "graphics/pw_math.h"

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
  float x1 = v->x * f->cosB - v->y * f->sinB;
  float y1 = v->x * f->sinB + v->y * f->cosB;
  float z1 = v->z * f->cosP - y1 * f->sinP;
  float y2 = v->z * f->sinP + y1 * f->cosP;
  float x2 = x1 * f->cosH - z1 * f->sinH;
  float z2 = x1 * f->sinH + z1 * f->cosH;
  *out = {x2, y2, z2};
}

void PwFrameApply(PwVec3* out, const PwFrame* f, const PwVec3* p) {
  PwVec3 r;
  PwFrameRotate(&r, f, p);
  *out = {r.x + f->x, r.y + f->y, r.z + f->z};
}

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

void PwBuildTransform(PwFrame* out, const PwFrame* model, const PwFrame* eye) {
  PwVec3 pos;
  PwVec3 model_pos = {model->x, model->y, model->z};
  PwFrameUnapply(&pos, eye, &model_pos);
  PwAttitudeF a = {model->heading, model->pitch, model->bank};
  PwVec3 forward, up;
  PwAttitudeToVectorsF(&forward, &up, &a);
  PwFrameUnrotate(&forward, eye, &forward);
  PwFrameUnrotate(&up, eye, &up);
  PwAttitudeF r;
  PwVectorsToAttitudeF(&r, &forward, &up);
  out->x = pos.x;
  out->y = pos.y;
  out->z = pos.z;
  PwFrameSetAngles(out, r.heading, r.pitch, r.bank);
}

void PwComposePose(PwFrame* out, const PwFrame* local, const PwFrame* parent) {
  PwVec3 pos;
  PwVec3 local_pos = {local->x, local->y, local->z};
  PwFrameApply(&pos, parent, &local_pos);
  PwAttitudeF a = {local->heading, local->pitch, local->bank};
  PwVec3 forward, up;
  PwAttitudeToVectorsF(&forward, &up, &a);
  PwFrameRotate(&forward, parent, &forward);
  PwFrameRotate(&up, parent, &up);
  PwAttitudeF r;
  PwVectorsToAttitudeF(&r, &forward, &up);
  out->x = pos.x;
  out->y = pos.y;
  out->z = pos.z;
  PwFrameSetAngles(out, r.heading, r.pitch, r.bank);
}

void PwPoseInFrame(PwFrame* out, const PwPose* pose, const PwFrame* frame) {
  PwVec3 pos;
  PwVec3 pose_pos = {pose->x, pose->y, pose->z};
  PwFrameUnapply(&pos, frame, &pose_pos);
  PwAttitude a = {pose->heading, pose->pitch, pose->bank};
  PwVec3 forward, up;
  PwAttitudeToVectors(&forward, &up, &a);
  PwFrameUnrotate(&forward, frame, &forward);
  PwFrameUnrotate(&up, frame, &up);
  PwAttitude r;
  PwVectorsToAttitude(&r, &forward, &up);
  out->x = pos.x;
  out->y = pos.y;
  out->z = pos.z;
  PwFrameSetAngles(out, static_cast<float>(r.heading), static_cast<float>(r.pitch),
                   static_cast<float>(r.bank));
}

void PwPoseToFrame(PwFrame* out, const PwPose* pose, const PwFrame* frame) {
  PwVec3 pos;
  PwVec3 pose_pos = {pose->x, pose->y, pose->z};
  PwFrameApply(&pos, frame, &pose_pos);
  PwAttitude a = {pose->heading, pose->pitch, pose->bank};
  PwVec3 forward, up;
  PwAttitudeToVectors(&forward, &up, &a);
  PwFrameRotate(&forward, frame, &forward);
  PwFrameRotate(&up, frame, &up);
  PwAttitude r;
  PwVectorsToAttitude(&r, &forward, &up);
  out->x = pos.x;
  out->y = pos.y;
  out->z = pos.z;
  PwFrameSetAngles(out, static_cast<float>(r.heading), static_cast<float>(r.pitch),
                   static_cast<float>(r.bank));
}

void PwFrameUpRay(PwRay3* out, const PwFrame* f) {
  out->point = {f->x, f->y, f->z};
  out->direction = {f->cosB * f->sinP * f->sinH - f->sinB * f->cosH, f->cosB * f->cosP,
                    -(f->sinB * f->sinH + f->cosB * f->sinP * f->cosH)};
}
