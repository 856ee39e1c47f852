// The 2D drawing API: the screen first, then the active outputs.
#include "graphics/draw2d/draw2d.h"

#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/draw2d/screen_layer.h"

void PwClearScreen() {
  PwScreenClear();
  if (PwEpsIsActive()) PwEpsClearPage();
}

void PwDrawLine2(PwPoint2 a, PwPoint2 b, PwColor color) {
  PwScreenLine(a, b, color);
  if (PwImageIsActive()) PwImageLine2(a, b, color);
  if (PwEpsIsActive()) PwEpsLine2(a, b, color);
}

void PwDrawPoint2(PwPoint2 p, PwColor color) {
  PwScreenPoint(p, color);
  if (PwImageIsActive()) PwImagePoint2(p, color);
  if (PwEpsIsActive()) PwEpsPoint2(p, color);
}

void PwDrawEllipse2(PwPoint2 centre, int rx, int ry, PwColor color) {
  PwScreenEllipse(centre, rx, ry, color);
  if (PwImageIsActive()) PwImageEllipse2(centre, rx, ry, color);
  if (PwEpsIsActive()) PwEpsEllipse2(centre, rx, ry, color);
}

void PwDrawPolygon2(int count, const PwPoint2* points, PwColor color) {
  PwScreenPolygon(count, points, color);
  if (PwImageIsActive()) PwImagePolygon2(count, points, color);
  if (PwEpsIsActive()) PwEpsPolygon2(count, points, color);
}

void PwDrawBox2(PwPoint2 a, PwPoint2 b, PwColor color) {
  PwScreenBox(a, b, color);
  if (PwImageIsActive()) PwImageBox2(a, b, color);
  if (PwEpsIsActive()) PwEpsBox2(a, b, color);
}

void PwDrawMarker2(PwPoint2 p, int kind, PwColor color) {
  PwScreenMarker(p, kind, color);
  if (PwEpsIsActive()) PwEpsMarker2(p, kind, color);
}

void PwDrawText2(PwPoint2 p, const char* text, PwColor color) {
  PwScreenText(p, text, color);
  if (PwEpsIsActive()) PwEpsText2(text, p, color);
}

void PwDrawTextLines2(PwPoint2 p, const char* const* lines, int halign, int valign, PwColor color) {
  PwScreenTextLines(p, lines, halign, valign, color);
  if (PwEpsIsActive()) PwEpsTextLines2(p, lines, halign, valign, color);
}

void PwDrawRect2(PwPoint2 a, PwPoint2 b, PwColor color) {
  PwScreenRect(a, b, color);
  if (PwImageIsActive()) PwImageRect2(a, b, color);
  if (PwEpsIsActive()) PwEpsRect2(a, b, color);
}

void PwDrawOutline2(int count, const PwPoint2* points, PwColor color) {
  PwScreenOutline(count, points, color);
  if (PwImageIsActive()) PwImageOutline2(count, points, color);
  if (PwEpsIsActive()) PwEpsOutline2(count, points, color);
}

void PwDrawPolyline2(int count, const PwPoint2* points, PwColor color) {
  PwScreenPolyline(count, points, color);
  if (PwImageIsActive()) PwImagePolyline2(count, points, color);
  if (PwEpsIsActive()) PwEpsPolyline2(count, points, color);
}

void PwDrawEllipseOutline2(PwPoint2 centre, int rx, int ry, PwColor color) {
  PwScreenEllipseOutline(centre, rx, ry, color);
  if (PwEpsIsActive()) PwEpsEllipseOutline2(centre, rx, ry, color);
}
