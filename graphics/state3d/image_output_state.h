// The image output's switch and the entries that the 3D state, the 3D
// primitives and the 2D calls hand their geometry to while it is on.
// Callers test PwImageIsActive() first; the entries do nothing while it is off.
#pragma once

#include "graphics/math/pw_types.h"

int PwImageIsActive();
void PwImageSetActive(int on);  // set by the output's begin and end

void PwImageSetProjection(const PwProjection* projection);
void PwImageSetLight();
void PwImageClearDepth();

// 3D entries, eye-space points. Depth-tested:
int PwImagePolygon3(int count, const PwVec3* points, PwColor colour);
int PwImageFacet3(int count, const PwVec3* points, PwVec3 normal, PwColor colour);
int PwImageSmoothFacet3(int count, const PwVec3* points, const PwVec3* normals, PwVec3 normal,
                        PwColor colour);
int PwImageSmoothPolygon3(int count, const PwVec3* points, const PwVec3* normals, PwColor colour);
int PwImageLine3(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwImagePoint3(PwVec3 p, PwColor colour);
int PwImageDisc3(PwVec3 centre, float radius, PwColor colour);
// Written over:
int PwImageDrawPolygon3(int count, const PwVec3* points, PwColor colour);
int PwImageDrawLine3(PwVec3 p0, PwVec3 p1, PwColor colour);
int PwImageDrawPoint3(PwVec3 p, PwColor colour);
int PwImageDrawDisc3(PwVec3 centre, float radius, PwColor colour);

// 2D entries, drawing-area coordinates.
void PwImageLine2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
void PwImagePoint2(PwPoint2 p, PwColor colour);
void PwImageBox2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
void PwImageEllipse2(PwPoint2 centre, int rx, int ry, PwColor colour);
void PwImagePolygon2(int count, const PwPoint2* points, PwColor colour);
void PwImageRect2(PwPoint2 p0, PwPoint2 p1, PwColor colour);
void PwImageOutline2(int count, const PwPoint2* points, PwColor colour);
void PwImagePolyline2(int count, const PwPoint2* points, PwColor colour);
