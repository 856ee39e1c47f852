// Operations on a loaded SRF model record: scaling, freeing, its extent.
#include <cmath>
#include <cstring>

#include "graphics/formats/srf_model.h"
#include "graphics/files/pw_alloc.h"
#include "graphics/math/pw_math.h"

void PwScaleSrf(PwSrf* m, float factor) {
  for (int i = 0; i < m->vertex_count; ++i) {
    m->vertices[i].x *= factor;
    m->vertices[i].y *= factor;
    m->vertices[i].z *= factor;
  }
  for (int f = 0; f < m->face_count; ++f) {
    PwVec3& c = m->faces[f].centre;
    c = {c.x * factor, c.y * factor, c.z * factor};
  }
  for (PwVec3& c : m->corners) c = {c.x * factor, c.y * factor, c.z * factor};
}

void PwFreeSrf(PwSrf* m) {
  PwFree(m->indices);
  PwFree(m->work);
  PwFree(m->vertices);
  PwFree(m->faces);
  m->indices = nullptr;
  m->work = nullptr;
  m->vertices = nullptr;
  m->faces = nullptr;
  m->vertex_count = 0;
  m->face_count = 0;
}

void PwSrfRadius(float* out, const PwSrf* m) {
  const PwVec3& a = m->corners[0];
  const PwVec3& b = m->corners[7];
  float ra = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
  float rb = std::sqrt(b.x * b.x + b.y * b.y + b.z * b.z);
  *out = ra > rb ? ra : rb;
}

int PwSrfInside(const PwSrf* m, const PwPose* pose, const PwVec3* point, float margin) {
  PwFrame f;
  PwFrameFromPose(&f, pose);
  PwVec3 p;
  PwFrameUnapply(&p, &f, point);
  const PwVec3& lo = m->corners[0];
  const PwVec3& hi = m->corners[7];
  return p.x >= lo.x - margin && p.x <= hi.x + margin && p.y >= lo.y - margin &&
         p.y <= hi.y + margin && p.z >= lo.z - margin && p.z <= hi.z + margin;
}
