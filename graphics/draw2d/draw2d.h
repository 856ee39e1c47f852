// The 2D drawing API: each call draws on the screen and repeats the drawing
// in the image and EPS outputs while they are active.
#pragma once

#include "graphics/math/pw_types.h"

void PwClearScreen();
void PwDrawLine2(PwPoint2 a, PwPoint2 b, PwColor color);
void PwDrawPoint2(PwPoint2 p, PwColor color);
void PwDrawEllipse2(PwPoint2 centre, int rx, int ry, PwColor color);
void PwDrawPolygon2(int count, const PwPoint2* points, PwColor color);
void PwDrawBox2(PwPoint2 a, PwPoint2 b, PwColor color);
void PwDrawMarker2(PwPoint2 p, int kind, PwColor color);
void PwDrawText2(PwPoint2 p, const char* text, PwColor color);
// lines: null-terminated list; alignments as for PwScreenTextLines.
void PwDrawTextLines2(PwPoint2 p, const char* const* lines, int halign, int valign, PwColor color);
void PwDrawRect2(PwPoint2 a, PwPoint2 b, PwColor color);
void PwDrawOutline2(int count, const PwPoint2* points, PwColor color);
void PwDrawPolyline2(int count, const PwPoint2* points, PwColor color);
void PwDrawEllipseOutline2(PwPoint2 centre, int rx, int ry, PwColor color);
