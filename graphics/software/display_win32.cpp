// The window's drawing target in the software build: palette and surface.
#include "graphics/window/display.h"
#include "graphics/software/surface.h"
#include "graphics/software/text_output.h"

void PwDisplayOpen(void* window_dc, int width, int height) {
  PwCreatePalette(window_dc);
  PwSetSurfaceBackend(PwGdiSurfaceBackend());
  PwInstallGdiTextOutput();
  PwSetSurface(window_dc, width, height, kPwDepthDisplay);
}

void PwDisplayResize(void* window_dc, int width, int height, int depth_mode) {
  PwSetSurface(window_dc, width, height, depth_mode);
}

int PwDisplayPresent() { return PwPresent(); }

void* PwDisplayPalette() { return PwGetPalette(); }

void PwDisplayClose() { PwFreeSurface(); }
