#include "graphics/geometry/plane_frame.h"

void PwMakePlaneFrame(PwPlaneFrame* out, const PwVec3* forward, const PwVec3* up,
                      const PwVec3* origin) {
  PwAttitude a = {0, 0, 0};
  PwVectorsToAttitude(&a, forward, up);
  const PwPose pose = {0.0f, 0.0f, 0.0f, a.heading, a.pitch, a.bank};
  PwFrameFromPose(&out->rotation, &pose);
  out->origin = *origin;
}

PwVec2 PwToPlane(const PwPlaneFrame* f, const PwVec3* p) {
  const PwFrame& e = f->rotation;
  const float dx = p->x - f->origin.x;
  const float dy = p->y - f->origin.y;
  const float dz = p->z - f->origin.z;
  const float x1 = dx * e.cosH + dz * e.sinH;
  const float z1 = dz * e.cosH - dx * e.sinH;
  const float z2 = z1 * e.cosP + dy * e.sinP;
  const float y2 = dy * e.cosP - z1 * e.sinP;
  const float x = x1 * e.cosB + y2 * e.sinB;
  return PwVec2{x, z2};
}
