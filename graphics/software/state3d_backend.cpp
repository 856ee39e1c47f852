// The software build draws from the library's own 3D state alone.
#include "graphics/state3d/state3d_backend.h"

void PwBackendSetProjectionMode() {}
void PwBackendSetLighting() {}
void PwBackendSetParallelDistance() {}
void PwBackendSetProjection() {}
void PwBackendFrameChanged() {}
void PwBackendSetEye() {}
void PwBackendSetLight(const PwVec3*) {}
void PwBackendSetHighlight() {}
