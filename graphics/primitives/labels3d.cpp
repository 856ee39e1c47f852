// One-line text labels at 3D points, through the list forms.
#include "graphics/primitives/primitives3d.h"

int PwLabelLine3(PwVec3 p, const char* line, PwColor colour, int halign, int valign) {
  const char* lines[2] = {line, nullptr};
  PwLabel3(p, lines, colour, halign, valign);
  return 0;
}

int PwDrawLabelLine3(PwVec3 p, const char* line, PwColor colour, int halign, int valign) {
  const char* lines[2] = {line, nullptr};
  PwDrawLabel3(p, lines, colour, halign, valign);
  return 0;
}
