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

    KsSFVec3f direction;
    KsSFFloat intensity;
    KsSFVec3f location;
    KsSFFloat maxBack;
    KsSFFloat maxFront;
    KsSFFloat minBack;
    KsSFFloat minFront;
    KsSFFloat priority;
    KsSFNode source;
    KsSFBool spatialize;
};

class KsAudioClip : public KsNode {
    KS_NODE_CLASS(KsAudioClip)
    KsAudioClip();
    KsNode* NewInstance() override;

    KsSFString description;
    KsSFBool loop;
    KsSFFloat pitch;
    KsSFTime startTime;
    KsSFTime stopTime;
    KsMFString url;
};

// Its scripts are never run.
class KsScript : public KsNode {
    KS_NODE_CLASS(KsScript)
    KsScript();

    KsMFString url;
    KsSFBool directOutput;
    KsSFBool mustEvaluate;
};

class KsWorldInfo : public KsNode {
    KS_NODE_CLASS(KsWorldInfo)
    KsWorldInfo();

    KsMFString info;
    KsSFString title;
};
