// Light nodes.
#pragma once

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsDirectionalLight : public KsNode {
    KS_NODE_CLASS(KsDirectionalLight)
    KsDirectionalLight();
    KsNode* NewInstance() override;
    int ExecTraverse(KsMatrix* matrix) override;

    KsSFFloat ambientIntensity;
    KsSFColor color;
    KsSFVec3f direction;
    KsSFFloat intensity;
    KsSFBool on;

private:
    int warned_ = 0;  // an unnormalised direction is reported once
};

class KsPointLight : public KsNode {
    KS_NODE_CLASS(KsPointLight)
    KsPointLight();

    KsSFFloat ambientIntensity;
    KsSFVec3f attenuation;
    KsSFColor color;
    KsSFFloat intensity;
    KsSFVec3f location;
    KsSFBool on;
    KsSFFloat radius;
};

class KsSpotLight : public KsNode {
    KS_NODE_CLASS(KsSpotLight)
    KsSpotLight();

    KsSFFloat ambientIntensity;
    KsSFVec3f attenuation;
    KsSFFloat beamWidth;
    KsSFColor color;
    KsSFFloat cutOffAngle;
    KsSFVec3f direction;
    KsSFFloat intensity;
    KsSFVec3f location;
    KsSFBool on;
    KsSFFloat radius;
};
