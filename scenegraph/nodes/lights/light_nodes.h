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

  KS_FIELD(KsSFFloat, ambientIntensity, exposedField, 0.0f);
  KS_FIELD(KsSFColor, color, exposedField, 1.0f, 1.0f, 1.0f);
  KS_FIELD(KsSFVec3f, direction, exposedField, 0.0f, 0.0f, -1.0f);
  KS_FIELD(KsSFFloat, intensity, exposedField, 1.0f);
  KS_FIELD(KsSFBool, on, exposedField, KS_TRUE);

 private:
  int warned_ = 0;  // an unnormalised direction is reported once
};

class KsPointLight : public KsNode {
  KS_NODE_CLASS(KsPointLight)
  KsPointLight();

  KS_FIELD(KsSFFloat, ambientIntensity, exposedField, 0.0f);
  KS_FIELD(KsSFVec3f, attenuation, exposedField, 1.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFColor, color, exposedField, 1.0f, 1.0f, 1.0f);
  KS_FIELD(KsSFFloat, intensity, exposedField, 1.0f);
  KS_FIELD(KsSFVec3f, location, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFBool, on, exposedField, KS_TRUE);
  KS_FIELD(KsSFFloat, radius, exposedField, 100.0f);
};

class KsSpotLight : public KsNode {
  KS_NODE_CLASS(KsSpotLight)
  KsSpotLight();

  KS_FIELD(KsSFFloat, ambientIntensity, exposedField, 0.0f);
  KS_FIELD(KsSFVec3f, attenuation, exposedField, 1.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFFloat, beamWidth, exposedField, 1.570796f);  // just below pi/2
  KS_FIELD(KsSFColor, color, exposedField, 1.0f, 1.0f, 1.0f);
  KS_FIELD(KsSFFloat, cutOffAngle, exposedField, 0.785398f);  // just below pi/4
  KS_FIELD(KsSFVec3f, direction, exposedField, 0.0f, 0.0f, -1.0f);
  KS_FIELD(KsSFFloat, intensity, exposedField, 1.0f);
  KS_FIELD(KsSFVec3f, location, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFBool, on, exposedField, KS_TRUE);
  KS_FIELD(KsSFFloat, radius, exposedField, 100.0f);
};
