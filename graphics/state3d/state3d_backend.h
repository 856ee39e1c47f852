// Steps that the drawing back end adds to the 3D state calls, run after the
// library's own state has taken the change. The software build's are empty;
// the OpenGL build keeps its camera, light and drawing mode in step.
#pragma once

#include "graphics/math/pw_types.h"

void PwBackendSetProjectionMode();    // an accepted mode (0 or 1)
void PwBackendSetLighting();          // an accepted switch (0 or 1)
void PwBackendSetParallelDistance();  // an accepted distance (> 0)
void PwBackendSetProjection();
void PwBackendFrameChanged();  // the combined transform was rebuilt
void PwBackendSetEye();        // the end of PwSetEye
void PwBackendSetLight(const PwVec3* world_position);
void PwBackendSetHighlight();  // a caller set the surfaces' highlight
