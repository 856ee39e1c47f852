#include "scenegraph/nodes/geometry/property_nodes.h"

#include <new>

KS_NODE_CLASS_IMPL(KsCoordinate, KsNode)
KS_NODE_CLASS_IMPL(KsNormal, KsNode)
KS_NODE_CLASS_IMPL(KsColor, KsNode)
KS_NODE_CLASS_IMPL(KsTextureCoordinate, KsNode)

KsCoordinate::KsCoordinate() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsCoordinate::NewInstance() { return new (std::nothrow) KsCoordinate(); }

int KsCoordinate::InvalidateCache() {
  boxStale_ = 1;
  boxMin_ = KsVec3f();
  boxMax_ = KsVec3f();
  return 0;
}

int KsCoordinate::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
  if (boxStale_ == 0) {
    if (min) *min = boxMin_;
    if (max) *max = boxMax_;
    return 0;
  }
  int n = point.GetCount();
  if (n == 0) return 1;
  const KsVec3f* p = point.GetElements();
  KsVec3f lo = p[0], hi = p[0];
  for (int i = 1; i < n; ++i) {
    if (p[i].x < lo.x) lo.x = p[i].x;
    if (p[i].y < lo.y) lo.y = p[i].y;
    if (p[i].z < lo.z) lo.z = p[i].z;
    if (p[i].x > hi.x) hi.x = p[i].x;
    if (p[i].y > hi.y) hi.y = p[i].y;
    if (p[i].z > hi.z) hi.z = p[i].z;
  }
  boxMin_ = lo;
  boxMax_ = hi;
  boxStale_ = 0;
  if (min) *min = lo;
  if (max) *max = hi;
  return 0;
}

KsNormal::KsNormal() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsNormal::NewInstance() { return new (std::nothrow) KsNormal(); }

KsColor::KsColor() {
  EnsureRecord();
  RegisterMember("rgb", &color, 0);
  RegisterDone();
}

KsNode* KsColor::NewInstance() { return new (std::nothrow) KsColor(); }

KsTextureCoordinate::KsTextureCoordinate() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsTextureCoordinate::NewInstance() { return new (std::nothrow) KsTextureCoordinate(); }
