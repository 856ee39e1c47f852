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
    radius.Set(1.0f);
    RegisterMember("radius", &radius, 1);
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
    size.Set(2.0f, 2.0f, 2.0f);
    RegisterMember("size", &size, 1);
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
    bottom.Set(KS_TRUE);
    height.Set(2.0f);
    radius.Set(1.0f);
    side.Set(KS_TRUE);
    top.Set(KS_TRUE);
    RegisterMember("bottom", &bottom, 1);
    RegisterMember("height", &height, 1);
    RegisterMember("radius", &radius, 1);
    RegisterMember("side", &side, 1);
    RegisterMember("top", &top, 1);
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
    bottomRadius.Set(1.0f);
    height.Set(2.0f);
    side.Set(KS_TRUE);
    bottom.Set(KS_TRUE);
    RegisterMember("bottomRadius", &bottomRadius, 1);
    RegisterMember("height", &height, 1);
    RegisterMember("side", &side, 1);
    RegisterMember("bottom", &bottom, 1);
    RegisterDone();
}

KsNode* KsCone::NewInstance() { return new (std::nothrow) KsCone(); }

int KsCone::GetBoundingBox(KsVec3f* min, KsVec3f* max) {
    const float r = bottomRadius.Get();
    SetBox(min, max, r, height.Get() / 2.0f, r);
    return 0;
}
