// Paint, idle, button and move callbacks with their defaults, and the
// quit flag.
#include "viewer/toolkit/callbacks.h"

namespace {

void NoVoid() {}
void NoButton(int, KrMouseEvent) {}
void NoMove(KrMouseEvent) {}

struct Callbacks {
  KrVoidFunc paint = NoVoid;
  KrVoidFunc idle = NoVoid;
  KrButtonFunc buttons[3] = {NoButton, NoButton, NoButton};
  KrMoveFunc move = NoMove;
  int quit = 0;
};

Callbacks& Cb() {
  static Callbacks cb;
  return cb;
}

}  // namespace

void KrSetPaintFunc(KrVoidFunc f) { Cb().paint = f ? f : NoVoid; }
void KrSetIdleFunc(KrVoidFunc f) { Cb().idle = f ? f : NoVoid; }
void KrSetLeftButtonFunc(KrButtonFunc f) { Cb().buttons[kKrLeftButton] = f ? f : NoButton; }
void KrSetMiddleButtonFunc(KrButtonFunc f) { Cb().buttons[kKrMiddleButton] = f ? f : NoButton; }
void KrSetRightButtonFunc(KrButtonFunc f) { Cb().buttons[kKrRightButton] = f ? f : NoButton; }
void KrSetMouseMoveFunc(KrMoveFunc f) { Cb().move = f ? f : NoMove; }
void KrResetPaintFunc() { Cb().paint = NoVoid; }
void KrResetIdleFunc() { Cb().idle = NoVoid; }
void KrResetLeftButtonFunc() { Cb().buttons[kKrLeftButton] = NoButton; }
void KrResetMiddleButtonFunc() { Cb().buttons[kKrMiddleButton] = NoButton; }
void KrResetRightButtonFunc() { Cb().buttons[kKrRightButton] = NoButton; }
void KrResetMouseMoveFunc() { Cb().move = NoMove; }

KrMouseEvent KrMouseEventFrom(std::uintptr_t wparam, std::intptr_t lparam) {
  const std::uintptr_t l = static_cast<std::uintptr_t>(lparam);
  KrMouseEvent e;
  e.x = static_cast<int>(l & 0xFFFFu);
  e.y = static_cast<int>((l >> 16) & 0xFFFFu);
  e.left = static_cast<int>(wparam & 1u);
  e.middle = 0;
  e.right = static_cast<int>((wparam >> 1) & 1u);
  return e;
}

void KrCallButton(KrButton button, int pressed, KrMouseEvent event) {
  Cb().buttons[button](pressed, event);
}

void KrCallMouseMove(KrMouseEvent event) {
  if (event.left == 1 || event.right == 1) Cb().move(event);
}

int KrPaintIsDefault() { return Cb().paint == NoVoid ? 1 : 0; }
int KrIdleIsDefault() { return Cb().idle == NoVoid ? 1 : 0; }
void KrCallPaint() { Cb().paint(); }
void KrCallIdle() { Cb().idle(); }

int KrQuitRequested() { return Cb().quit; }
void KrSetQuitRequested(int quit) { Cb().quit = quit; }

void KrShiftCtrlFromState(const unsigned char state[256], int out[2]) {
  out[0] = (state[16] & 0x80) ? 1 : 0;
  out[1] = (state[17] & 0x80) ? 1 : 0;
}

void KrResetCallbacks() { Cb() = Callbacks(); }
