// What the OpenGL back end's files share (all of them run with the context
// current on the GUI thread).
#pragma once

#include "graphics/math/pw_types.h"

// Context and frame (gl_context_win32.cpp).
void* PwGlCreateContext(void* window_dc);  // the palette, or null
void PwGlInit(int width, int height);
void* PwGlTessellator();  // null when GLU gave none

// Camera and light (gl_camera_win32.cpp).
void PwGlInstallModeOps();  // the drawing modes' OpenGL calls
void PwGlSetCamera();
const PwFrame* PwGlCombinedFrame();  // copy taken at the last camera update
// Eye depth of a model point for screen-sized text and markers.
float PwGlEyeDepth(PwVec3 p);

// Colour through the cache (gl_screen_win32.cpp).
void PwGlSetColor(PwColor colour);
// Tessellates up to 128 vertices of xyz (and normal, when normals is set);
// vertex callback glVertex3dv, or the lit one with normals. 0 when there is
// no tessellator.
int PwGlTessellate(int count, const double* xyz, int stride, int with_normals);

// OpenGL 3D primitives in model coordinates (gl_draw3d_win32.cpp).
void PwGlDepthLine3(PwVec3 a, PwVec3 b, PwColor colour);
void PwGlDepthPoint3(PwVec3 p, PwColor colour);
void PwGlDepthCircle3(PwVec3 p, float rx, float ry, PwColor colour);
void PwGlDepthMarker3(PwVec3 p, PwColor colour, int kind);
void PwGlDepthText3(PwVec3 p, const char* const* lines, PwColor colour);
void PwGlOverlayLine3(PwVec3 a, PwVec3 b, PwColor colour);
void PwGlOverlayPoint3(PwVec3 p, PwColor colour);
void PwGlOverlayPolygon3(int count, const PwVec3* points, PwColor colour);
void PwGlOverlayMarker3(PwVec3 p, PwColor colour, int kind);
void PwGlOverlayText3(PwVec3 p, const char* const* lines, PwColor colour);
void PwGlLitPolygon3(int count, const PwVec3* points, PwVec3 normal, PwColor colour);
void PwGlSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour);
void PwGlMarker3(PwVec3 p, PwColor colour, int kind);
void PwGlText3(PwVec3 p, const char* const* lines, PwColor colour);
