#include "scenegraph/core/rotation.h"

#include "scenegraph/core/matrix.h"

int KsRotation::Apply(KsVec3f& result, const KsVec3f& v) const
{
    KsMatrix m;
    m.Rotate(*this);
    m.Apply(result, v, 0.0f);
    return 0;
}

int KsRotation::ApplyInverse(KsVec3f& result, const KsVec3f& v) const
{
    KsMatrix m;
    m.Rotate(*this);
    m.ApplyInverse(result, v, 0.0f);
    return 0;
}
