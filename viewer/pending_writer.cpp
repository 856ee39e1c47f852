// The WRL export until the scene writer's file stream exists: nothing is
// written and the export reports failure.
#include <cstdio>

#include "viewer/scene_export.h"

int ViewerWriteScene(KsPartition*, const char*) {
  std::fprintf(stderr, "ViewerWriteScene()\n  VRML 2.0 writer not available.\n");
  return 1;
}
