// Text output of the screen layer goes through one hook: the Win32 build
// installs a GDI writer on the surface's memory DC, tests install a recorder.
#pragma once

#include "graphics/math/pw_types.h"

// Draws text in the system fixed font with a transparent background, its
// top-left corner at (left, top) of the drawing area.
using PwTextOutputFn = void (*)(int left, int top, const char* text, PwColor color);

// null drops text (the start-up state).
void PwSetTextOutput(PwTextOutputFn fn);
PwTextOutputFn PwGetTextOutput();

// Win32 build only: installs the GDI writer.
void PwInstallGdiTextOutput();
