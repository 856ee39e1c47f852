// The drawing area of the OpenGL build: the same entry points as the
// software surface's, kept by the rendering context instead.
#pragma once

// Stores the size, makes the context current on the window DC and sets the
// viewport. The depth mode means nothing to OpenGL.
void PwSetSurface(void* window_dc, int width, int height, int depth_mode);
void PwFreeSurface();
void PwGetSurfaceSize(int* width, int* height);
// glFlush, then SwapBuffers on the current DC.
int PwPresent();
