// What the window needs of the drawing back end. lumaview links the
// software surface (graphics/software), lumaviewgl its OpenGL context in
// place of it: same functions, other library.
#pragma once

// After the window and its DC exist: palette and drawing target at the
// client size, depth mode 0.
void PwDisplayOpen(void* window_dc, int width, int height);
// A new client size or depth mode.
void PwDisplayResize(void* window_dc, int width, int height, int depth_mode);
// Shows the finished frame in the window (WM_PAINT).
int PwDisplayPresent();
// The palette to select into the window DC (null when there is none).
void* PwDisplayPalette();
// The window closes: the drawing target goes.
void PwDisplayClose();
