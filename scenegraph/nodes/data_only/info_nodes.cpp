#include "scenegraph/nodes/data_only/info_nodes.h"

#include <new>

KS_NODE_CLASS_IMPL(KsSound, KsNode)
KS_NODE_CLASS_IMPL(KsAudioClip, KsNode)
KS_NODE_CLASS_IMPL(KsScript, KsNode)
KS_NODE_CLASS_IMPL(KsWorldInfo, KsNode)

KsSound::KsSound() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsSound::NewInstance() { return new (std::nothrow) KsSound(); }

KsAudioClip::KsAudioClip() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsAudioClip::NewInstance() { return new (std::nothrow) KsAudioClip(); }

KsScript::KsScript() {
  EnsureRecord();
  RegisterDone();
}

KsWorldInfo::KsWorldInfo() {
  EnsureRecord();
  RegisterDone();
}
