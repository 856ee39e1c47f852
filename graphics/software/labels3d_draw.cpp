// Text labels at 3D points, sorted or drawn at once. Sorted labels keep a
// copy of their lines in the scratch pool, so callers may free their text at
// once.
#include "graphics/state3d/eps_output_state.h"
#include "graphics/primitives/primitive_prelude.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/software/screen.h"
#include "graphics/state3d/state3d.h"

int PwLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  PwVec3 e;
  if (!PwLabel3Front(p, &lines, &e)) return 0;
  return PwQueueLabel3(e, lines, colour, halign, valign);
}

int PwDrawLabel3(PwVec3 p, const char* const* lines, PwColor colour, int halign, int valign) {
  PwVec3 e;
  if (!PwDrawLabel3Front(p, &lines, &e)) return 0;
  PwPoint2 s;
  if (PwProjectToScreen(&s, &e)) PwScreenTextLines(s, lines, halign, valign, colour);
  if (PwEpsIsActive()) PwEpsText3(e, lines, halign, valign, colour);
  return 0;
}
