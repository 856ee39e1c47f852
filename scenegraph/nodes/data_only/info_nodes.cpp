#include "scenegraph/nodes/data_only/info_nodes.h"

#include <new>

KS_NODE_CLASS_IMPL(KsSound, KsNode)
KS_NODE_CLASS_IMPL(KsAudioClip, KsNode)
KS_NODE_CLASS_IMPL(KsScript, KsNode)
KS_NODE_CLASS_IMPL(KsWorldInfo, KsNode)

KsSound::KsSound() {
    EnsureRecord();
    direction.Set(0.0f, 0.0f, 1.0f);
    intensity.Set(1.0f);
    location.Set(0.0f, 0.0f, 0.0f);
    maxBack.Set(10.0f);
    maxFront.Set(10.0f);
    minBack.Set(1.0f);
    minFront.Set(1.0f);
    priority.Set(0.0f);
    spatialize.Set(KS_TRUE);
    RegisterMember("direction", &direction, 0);
    RegisterMember("intensity", &intensity, 0);
    RegisterMember("location", &location, 0);
    RegisterMember("maxBack", &maxBack, 0);
    RegisterMember("maxFront", &maxFront, 0);
    RegisterMember("minBack", &minBack, 0);
    RegisterMember("minFront", &minFront, 0);
    RegisterMember("priority", &priority, 0);
    RegisterMember("source", &source, 0);
    RegisterMember("spatialize", &spatialize, 1);
    RegisterDone();
}

KsNode* KsSound::NewInstance() { return new (std::nothrow) KsSound(); }

KsAudioClip::KsAudioClip() {
    EnsureRecord();
    description.Set("");
    loop.Set(KS_FALSE);
    pitch.Set(1.0f);
    startTime.Set(0.0f);
    stopTime.Set(0.0f);
    RegisterMember("description", &description, 0);
    RegisterMember("loop", &loop, 0);
    RegisterMember("pitch", &pitch, 0);
    RegisterMember("startTime", &startTime, 0);
    RegisterMember("stopTime", &stopTime, 0);
    RegisterMember("url", &url, 0);
    RegisterDone();
}

KsNode* KsAudioClip::NewInstance() { return new (std::nothrow) KsAudioClip(); }

KsScript::KsScript() {
    EnsureRecord();
    directOutput.Set(KS_FALSE);
    mustEvaluate.Set(KS_FALSE);
    RegisterMember("url", &url, 0);
    RegisterMember("directOutput", &directOutput, 1);
    RegisterMember("mustEvaluate", &mustEvaluate, 1);
    RegisterDone();
}

KsWorldInfo::KsWorldInfo() {
    EnsureRecord();
    title.Set("");
    RegisterMember("info", &info, 1);
    RegisterMember("title", &title, 1);
    RegisterDone();
}
