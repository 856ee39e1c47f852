// Text of the screen layer, handed to the installed text output.
#include <cstring>

#include "graphics/software/screen.h"
#include "graphics/software/surface.h"
#include "graphics/software/text_output.h"

namespace {

PwTextOutputFn& Hook() {
  static PwTextOutputFn hook = nullptr;
  return hook;
}

}  // namespace

void PwSetTextOutput(PwTextOutputFn fn) { Hook() = fn; }

PwTextOutputFn PwGetTextOutput() { return Hook(); }

void PwScreenText(PwPoint2 p, const char* text, PwColor color) {
  const PwPixelBuffer* pixels = PwCurrentPixels();
  if (pixels == nullptr || pixels->created == 0 || text == nullptr) return;
  int w = 0;
  int h = 0;
  PwGetSurfaceSize(&w, &h);
  if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h) return;
  if (Hook() != nullptr) Hook()(p.x, p.y - 16, text, color);
}

void PwScreenTextLines(PwPoint2 p, const char* const* lines, int halign, int valign,
                       PwColor color) {
  if (lines == nullptr) return;
  int longest = 0;
  int n = 0;
  for (; lines[n] != nullptr; ++n) {
    const int len = static_cast<int>(std::strlen(lines[n]));
    if (len > longest) longest = len;
  }
  int x;
  if (halign == kPwAlignLeft) {
    x = p.x;
  } else if (halign == kPwAlignRight) {
    x = p.x - 8 * longest;
  } else {
    x = p.x - 4 * longest;
  }
  int y;
  if (valign == kPwAlignTop) {
    y = p.y + 15;
  } else if (valign == kPwAlignBottom) {
    y = p.y - 16 * n;
  } else {
    y = p.y - 8 * n + 8;
  }
  for (int i = 0; i < n; ++i, y += 16) PwScreenText({x, y}, lines[i], color);
}
