// Until the EPS output exists: its entries accept nothing (0, as when not
// active). Replace this file with the real output.
#include "graphics/eps_output_state.h"

void PwEpsSetProjection(const PwProjection*) {}
int PwEpsLine3(PwVec3, PwVec3, PwColor) { return 0; }
int PwEpsPolygon3(int, const PwVec3*, PwColor) { return 0; }
int PwEpsDisc3(PwVec3, float, PwColor) { return 0; }
int PwEpsPoint3(PwVec3, PwColor) { return 0; }
int PwEpsMarker3(PwVec3, int, PwColor) { return 0; }
int PwEpsText3(PwVec3, const char* const*, int, int, PwColor) { return 0; }
int PwEpsLine2(PwPoint2, PwPoint2, PwColor) { return 0; }
int PwEpsBox2(PwPoint2, PwPoint2, PwColor) { return 0; }
int PwEpsPoint2(PwPoint2, PwColor) { return 0; }
int PwEpsPolygon2(int, const PwPoint2*, PwColor) { return 0; }
int PwEpsText2(const char*, PwPoint2, PwColor) { return 0; }
int PwEpsEllipse2(PwPoint2, int, int, PwColor) { return 0; }
int PwEpsEllipseOutline2(PwPoint2, int, int, PwColor) { return 0; }
int PwEpsMarker2(PwPoint2, int, PwColor) { return 0; }
int PwEpsTextLines2(PwPoint2, const char* const*, int, int, PwColor) { return 0; }
int PwEpsRect2(PwPoint2, PwPoint2, PwColor) { return 0; }
int PwEpsPolyline2(int, const PwPoint2*, PwColor) { return 0; }
int PwEpsOutline2(int, const PwPoint2*, PwColor) { return 0; }
int PwEpsClearPage() { return 0; }
