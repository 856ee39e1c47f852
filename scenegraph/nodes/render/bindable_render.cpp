// Bindable nodes draw nothing where they stand: the viewer reads the bound
// viewpoint for its camera and the bound background fills the frame.
#include "graphics/primitives/sky.h"
#include "scenegraph/core/fields/color_value.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"

int KsViewpoint::ExecTraverse(KsMatrix*) { return 0; }
int KsNavigationInfo::ExecTraverse(KsMatrix*) { return 0; }
int KsFog::ExecTraverse(KsMatrix*) { return 0; }
int KsBackground::ExecTraverse(KsMatrix*) { return 0; }

namespace {
int Channel(float c) { return KsColorByte(c); }

PwColor ToPwColor(const KsCol* c) {
  PwColor out;
  out.red = c ? Channel(c->r) : 0;
  out.green = c ? Channel(c->g) : 0;
  out.blue = c ? Channel(c->b) : 0;
  return out;
}
}  // namespace

void KsBackground::ApplyColors() {
  const KsCol* ground = groundColor.GetCount() > 0 ? groundColor.GetElements() : nullptr;
  const KsCol* sky = skyColor.GetCount() > 0 ? skyColor.GetElements() : nullptr;
  // Without ground colours the sky goes all round, below the horizon too.
  if (ground == nullptr && sky != nullptr) {
    PwSkyFill(ToPwColor(sky));
    return;
  }
  PwBackground(ToPwColor(ground), ToPwColor(sky));
}
