#include "scenegraph/nodes/lights/light_nodes.h"

#include <new>

KS_NODE_CLASS_IMPL(KsDirectionalLight, KsNode)
KS_NODE_CLASS_IMPL(KsPointLight, KsNode)
KS_NODE_CLASS_IMPL(KsSpotLight, KsNode)

KsDirectionalLight::KsDirectionalLight() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsDirectionalLight::NewInstance() { return new (std::nothrow) KsDirectionalLight(); }

KsPointLight::KsPointLight() {
  EnsureRecord();
  RegisterDone();
}

KsSpotLight::KsSpotLight() {
  EnsureRecord();
  RegisterDone();
}
