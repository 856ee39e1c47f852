// Until model capture exists: its entries record nothing. Replace this file
// with the real capture.
#include "graphics/model_capture_state.h"

int PwModelLine(PwVec3, PwVec3, PwColor) { return 1; }
int PwModelPoint(PwVec3, PwColor) { return 1; }
int PwModelPolygon(int, const PwVec3*, PwVec3, PwColor) { return 1; }
int PwModelSmoothPolygon(int, const PwVec3*, const PwVec3*, PwColor) { return 1; }
int PwModelSmoothPolygonN(int, const PwVec3*, const PwVec3*, PwVec3, PwColor) { return 1; }
int PwModelPolygonTwoSided(int, const PwVec3*, PwColor) { return 1; }
