// The EPS output's switch and the entries that the 3D state, the 3D
// primitives, the sorted-list flush and the 2D calls hand their geometry to
// while it is on. Callers test PwEpsIsActive() first.
#pragma once

#include "graphics/math/pw_types.h"

int PwEpsIsActive();
void PwEpsSetActive(int on);  // set by the output's begin and end

void PwEpsSetProjection(const PwProjection* projection);

// 3D entries, eye-space points; 0 when not active, else 1.
int PwEpsLine3(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwEpsPolygon3(int count, const PwVec3* points, PwColor colour);
int PwEpsDisc3(PwVec3 centre, float radius, PwColor colour);
int PwEpsPoint3(PwVec3 p, PwColor colour);
int PwEpsMarker3(PwVec3 p, int kind, PwColor colour);
int PwEpsText3(PwVec3 p, const char* const* lines, int halign, int valign, PwColor colour);

// 2D entries, drawing-area coordinates; 0 when not active, else 1.
int PwEpsLine2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
int PwEpsBox2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
int PwEpsPoint2(PwPoint2 p, PwColor colour);
int PwEpsPolygon2(int count, const PwPoint2* points, PwColor colour);
int PwEpsText2(const char* text, PwPoint2 p, PwColor colour);
int PwEpsEllipse2(PwPoint2 centre, int rx, int ry, PwColor colour);
int PwEpsEllipseOutline2(PwPoint2 centre, int rx, int ry, PwColor colour);
int PwEpsMarker2(PwPoint2 p, int kind, PwColor colour);
int PwEpsTextLines2(PwPoint2 p, const char* const* lines, int halign, int valign, PwColor colour);
int PwEpsRect2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
int PwEpsPolyline2(int count, const PwPoint2* points, PwColor colour);
int PwEpsOutline2(int count, const PwPoint2* points, PwColor colour);
// The whole page painted black (the 2D clear).
int PwEpsClearPage();
