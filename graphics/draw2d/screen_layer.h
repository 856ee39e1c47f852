// The screen layer: 2D drawing in pixel coordinates of the drawing area.
// lumaview's rasteriser (graphics/software) and lumaviewgl's OpenGL back end
// (graphics/opengl) each supply it, so the portable 2D layer and formats draw
// without knowing which build they are in.
#pragma once

#include "graphics/math/pw_types.h"

// Marker kinds of PwScreenMarker.
constexpr int kPwMarkerSquare = 0;  // filled 5 x 5 square
constexpr int kPwMarkerCircle = 1;  // filled circle of radius 3
constexpr int kPwMarkerCross = 2;   // diagonal cross 9 pixels wide

// Alignments of PwScreenTextLines; any other value centres.
constexpr int kPwAlignLeft = 1;
constexpr int kPwAlignRight = 2;
constexpr int kPwAlignTop = 3;
constexpr int kPwAlignBottom = 4;

// Draws into the current drawing area; nothing without one.
// Every pixel it sets lies inside the drawing area [0, w-1] x [0, h-1].
void PwScreenClear();
void PwScreenLine(PwPoint2 a, PwPoint2 b, PwColor color);
void PwScreenPoint(PwPoint2 p, PwColor color);
void PwScreenEllipse(PwPoint2 centre, int rx, int ry, PwColor color);
void PwScreenPolygon(int count, const PwPoint2* points, PwColor color);
void PwScreenBox(PwPoint2 a, PwPoint2 b, PwColor color);
void PwScreenMarker(PwPoint2 p, int kind, PwColor color);
void PwScreenText(PwPoint2 p, const char* text, PwColor color);
// lines: null-terminated list of lines.
void PwScreenTextLines(PwPoint2 p, const char* const* lines, int halign, int valign, PwColor color);
void PwScreenRect(PwPoint2 a, PwPoint2 b, PwColor color);
void PwScreenOutline(int count, const PwPoint2* points, PwColor color);
void PwScreenPolyline(int count, const PwPoint2* points, PwColor color);
void PwScreenEllipseOutline(PwPoint2 centre, int rx, int ry, PwColor color);
// Save the 2D clip rectangle and set it to the drawing area; put it back.
void PwSetScreenClip();
void PwRestoreScreenClip();
