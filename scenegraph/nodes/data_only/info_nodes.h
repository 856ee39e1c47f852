// Data-only nodes: sound, audio clip, script and world information.
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

class KsSound : public KsNode {
  KS_NODE_CLASS(KsSound)
  KsSound();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFVec3f, direction, exposedField, 0.0f, 0.0f, 1.0f);
  KS_FIELD(KsSFFloat, intensity, exposedField, 1.0f);
  KS_FIELD(KsSFVec3f, location, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFFloat, maxBack, exposedField, 10.0f);
  KS_FIELD(KsSFFloat, maxFront, exposedField, 10.0f);
  KS_FIELD(KsSFFloat, minBack, exposedField, 1.0f);
  KS_FIELD(KsSFFloat, minFront, exposedField, 1.0f);
  KS_FIELD(KsSFFloat, priority, exposedField, 0.0f);
  KS_FIELD(KsSFNode, source, exposedField);
  KS_FIELD(KsSFBool, spatialize, field, KS_TRUE);
};

class KsAudioClip : public KsNode {
  KS_NODE_CLASS(KsAudioClip)
  KsAudioClip();
  KsNode* NewInstance() override;

  KS_FIELD(KsSFString, description, exposedField, "");
  KS_FIELD(KsSFBool, loop, exposedField, KS_FALSE);
  KS_FIELD(KsSFFloat, pitch, exposedField, 1.0f);
  KS_FIELD(KsSFTime, startTime, exposedField, 0.0f);
  KS_FIELD(KsSFTime, stopTime, exposedField, 0.0f);
  KS_FIELD(KsMFString, url, exposedField);
};

// Its scripts are never run.
class KsScript : public KsNode {
  KS_NODE_CLASS(KsScript)
  KsScript();

  KS_FIELD(KsMFString, url, exposedField);
  KS_FIELD(KsSFBool, directOutput, field, KS_FALSE);
  KS_FIELD(KsSFBool, mustEvaluate, field, KS_FALSE);
};

class KsWorldInfo : public KsNode {
  KS_NODE_CLASS(KsWorldInfo)
  KsWorldInfo();

  KS_FIELD(KsMFString, info, field);
  KS_FIELD(KsSFString, title, field, "");
};
