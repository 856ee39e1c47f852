// Until the image output exists: its entries accept nothing. Replace this
// file with the real output.
#include "graphics/image_output_state.h"

void PwImageSetProjection(const PwProjection*) {}
void PwImageSetLight() {}
void PwImageClearDepth() {}
int PwImagePolygon3(int, const PwVec3*, PwColor) { return 0; }
int PwImageFacet3(int, const PwVec3*, PwVec3, PwColor) { return 0; }
int PwImageSmoothFacet3(int, const PwVec3*, const PwVec3*, PwVec3, PwColor) { return 0; }
int PwImageSmoothPolygon3(int, const PwVec3*, const PwVec3*, PwColor) { return 0; }
int PwImageLine3(PwVec3, PwVec3, PwColor) { return 0; }
int PwImagePoint3(PwVec3, PwColor) { return 0; }
int PwImageDisc3(PwVec3, float, PwColor) { return 0; }
int PwImageDrawPolygon3(int, const PwVec3*, PwColor) { return 0; }
int PwImageDrawLine3(PwVec3, PwVec3, PwColor) { return 0; }
int PwImageDrawPoint3(PwVec3, PwColor) { return 0; }
int PwImageDrawDisc3(PwVec3, float, PwColor) { return 0; }
void PwImageLine2(PwPoint2, PwPoint2, PwColor) {}
void PwImagePoint2(PwPoint2, PwColor) {}
void PwImageBox2(PwPoint2, PwPoint2, PwColor) {}
void PwImageEllipse2(PwPoint2, int, int, PwColor) {}
void PwImagePolygon2(int, const PwPoint2*, PwColor) {}
void PwImageRect2(PwPoint2, PwPoint2, PwColor) {}
void PwImageOutline2(int, const PwPoint2*, PwColor) {}
void PwImagePolyline2(int, const PwPoint2*, PwColor) {}
