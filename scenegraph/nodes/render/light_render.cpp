// Drawing state set by lights.
#include <cstdio>

#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/lights/light_nodes.h"

// The library's one point light is put far against the direction, in world
// coordinates (the current matrix does not apply); z changes sign for the
// library's left-handed space. It stays in force for later shapes and frames.
// The direction is normalised for drawing only: the field keeps what was
// given, and drawing sends no event along routes.
int KsDirectionalLight::ExecTraverse(KsMatrix*) {
  if (on.Get() == KS_FALSE) {
    PwSetLighting(0);
    return 0;
  }
  PwSetLighting(1);
  KsVec3f d = direction.Get();
  if (d.IsNormalized() != KS_TRUE) {
    d.Normalize();
    if (!warned_) {
      warned_ = 1;
      std::fprintf(stderr, "KsDirectionalLight::Traverse()\n");
      std::fprintf(stderr, "  Unnormalized Direction Detected.\n");
      std::fprintf(stderr, "  Automatically Normalizing.\n");
    }
  }
  const PwVec3 light = {-100000.0f * d.x, -100000.0f * d.y, 100000.0f * d.z};
  PwSetLight(&light);
  return 0;
}
