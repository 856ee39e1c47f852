#include "scenegraph/nodes/geometry/geometry_solids.h"

#include <new>

KS_NODE_CLASS_IMPL(KsSphere, KsNode)
KS_NODE_CLASS_IMPL(KsBox, KsNode)
KS_NODE_CLASS_IMPL(KsCylinder, KsNode)
KS_NODE_CLASS_IMPL(KsCone, KsNode)

namespace {
void SetBox(KsVec3f* min, KsVec3f* max, float x, float y, float z) {
  if (min) *min = KsVec3f(-x, -y, -z);
  if (max) *max = KsVec3f(x, y, z);
}
}  // namespace

KsSphere::KsSphere() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsSphere::NewInstance() { return new (std::nothrow) KsSphere(); }

int KsSphere::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  const float r = radius.Get();
  SetBox(min, max, r, r, r);
  return 0;
}

KsBox::KsBox() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsBox::NewInstance() { return new (std::nothrow) KsBox(); }

int KsBox::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  const KsVec3f& s = size.Get();
  SetBox(min, max, s.x / 2.0f, s.y / 2.0f, s.z / 2.0f);
  return 0;
}

KsCylinder::KsCylinder() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsCylinder::NewInstance() { return new (std::nothrow) KsCylinder(); }

int KsCylinder::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  const float r = radius.Get();
  SetBox(min, max, r, height.Get() / 2.0f, r);
  return 0;
}

KsCone::KsCone() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsCone::NewInstance() { return new (std::nothrow) KsCone(); }

int KsCone::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  const float r = bottomRadius.Get();
  SetBox(min, max, r, height.Get() / 2.0f, r);
  return 0;
}
