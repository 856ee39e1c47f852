// The drawing area the back end keeps for the window. lumaview's software
// surface (graphics/software) and lumaviewgl's rendering context
// (graphics/opengl) each supply these, so portable code sizes and shows
// frames without knowing which build it is in.
#pragma once

// Software: rebuilds the surface for the window DC at width x height (each
// raised to at least 16) and depth mode, keeping the current one, drawing
// included, when it already matches. OpenGL: stores the size, makes the
// context current on the window DC and sets the viewport (no depth mode).
void PwSetSurface(void* window_dc, int width, int height, int depth_mode);
void PwFreeSurface();
// The drawing-area size (software: 16 x 16 before any surface exists).
void PwGetSurfaceSize(int* width, int* height);
// Shows the drawing area in the window: the software surface is copied to
// the window DC it was made for; OpenGL flushes and swaps buffers.
int PwPresent();
