#include "scenegraph/core/partition/partition_hooks.h"

namespace {
struct Hooks {
  KsPickHook pick = nullptr;
  KsFrameStartHook frameStart = nullptr;
  KsTimeTickHook tick = nullptr;
  KsViewpointPathHook viewpointPath = nullptr;
};

Hooks& TheHooks() {
  static Hooks hooks;
  return hooks;
}
}  // namespace

void KsSetPickHook(KsPickHook hook) { TheHooks().pick = hook; }
void KsSetFrameStartHook(KsFrameStartHook hook) { TheHooks().frameStart = hook; }
void KsSetTimeTickHook(KsTimeTickHook hook) { TheHooks().tick = hook; }
void KsSetViewpointPathHook(KsViewpointPathHook hook) { TheHooks().viewpointPath = hook; }
KsPickHook KsGetPickHook() { return TheHooks().pick; }
KsFrameStartHook KsGetFrameStartHook() { return TheHooks().frameStart; }
KsTimeTickHook KsGetTimeTickHook() { return TheHooks().tick; }
KsViewpointPathHook KsGetViewpointPathHook() { return TheHooks().viewpointPath; }
void KsResetSceneHooks() { TheHooks() = Hooks(); }
