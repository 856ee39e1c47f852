#include "scenegraph/nodes/lights/light_nodes.h"

#include <new>

KS_NODE_CLASS_IMPL(KsDirectionalLight, KsNode)
KS_NODE_CLASS_IMPL(KsPointLight, KsNode)
KS_NODE_CLASS_IMPL(KsSpotLight, KsNode)

KsDirectionalLight::KsDirectionalLight() {
    EnsureRecord();
    ambientIntensity.Set(0.0f);
    color.Set(1.0f, 1.0f, 1.0f);
    direction.Set(0.0f, 0.0f, -1.0f);
    intensity.Set(1.0f);
    on.Set(KS_TRUE);
    RegisterMember("ambientIntensity", &ambientIntensity, 0);
    RegisterMember("color", &color, 0);
    RegisterMember("direction", &direction, 0);
    RegisterMember("intensity", &intensity, 0);
    RegisterMember("on", &on, 0);
    RegisterDone();
}

KsNode* KsDirectionalLight::NewInstance() { return new (std::nothrow) KsDirectionalLight(); }

KsPointLight::KsPointLight() {
    EnsureRecord();
    ambientIntensity.Set(0.0f);
    attenuation.Set(1.0f, 0.0f, 0.0f);
    color.Set(1.0f, 1.0f, 1.0f);
    intensity.Set(1.0f);
    location.Set(0.0f, 0.0f, 0.0f);
    on.Set(KS_TRUE);
    radius.Set(100.0f);
    RegisterMember("ambientIntensity", &ambientIntensity, 0);
    RegisterMember("attenuation", &attenuation, 0);
    RegisterMember("color", &color, 0);
    RegisterMember("intensity", &intensity, 0);
    RegisterMember("location", &location, 0);
    RegisterMember("on", &on, 0);
    RegisterMember("radius", &radius, 0);
    RegisterDone();
}

KsSpotLight::KsSpotLight() {
    EnsureRecord();
    ambientIntensity.Set(0.0f);
    attenuation.Set(1.0f, 0.0f, 0.0f);
    beamWidth.Set(1.570796f);     // just below pi/2
    color.Set(1.0f, 1.0f, 1.0f);
    cutOffAngle.Set(0.785398f);   // just below pi/4
    direction.Set(0.0f, 0.0f, -1.0f);
    intensity.Set(1.0f);
    location.Set(0.0f, 0.0f, 0.0f);
    on.Set(KS_TRUE);
    radius.Set(100.0f);
    RegisterMember("ambientIntensity", &ambientIntensity, 0);
    RegisterMember("attenuation", &attenuation, 0);
    RegisterMember("beamWidth", &beamWidth, 0);
    RegisterMember("color", &color, 0);
    RegisterMember("cutOffAngle", &cutOffAngle, 0);
    RegisterMember("direction", &direction, 0);
    RegisterMember("intensity", &intensity, 0);
    RegisterMember("location", &location, 0);
    RegisterMember("on", &on, 0);
    RegisterMember("radius", &radius, 0);
    RegisterDone();
}
