// The callbacks' portable half: which are set, the mouse event record of a
// message, and the decisions of the window hook and the main loop.
#pragma once

#include <cstdint>

#include "viewer/toolkit/toolkit.h"

// A mouse message's record: x and y from the low and high 16 bits of
// lparam (unsigned), left = bit 0 of wparam, right = bit 1.
KrMouseEvent KrMouseEventFrom(std::uintptr_t wparam, std::intptr_t lparam);

// Button callbacks: 0 left, 1 middle, 2 right.
enum KrButton { kKrLeftButton = 0, kKrMiddleButton = 1, kKrRightButton = 2 };
void KrCallButton(KrButton button, int pressed, KrMouseEvent event);
// The move callback, only while the left or right button is held.
void KrCallMouseMove(KrMouseEvent event);

// 1 while the paint / idle callback is the default (does nothing).
int KrPaintIsDefault();
int KrIdleIsDefault();
void KrCallPaint();
void KrCallIdle();

// The main loop's quit flag (0/1).
int KrQuitRequested();
void KrSetQuitRequested(int quit);

// Bit 7 of the keyboard state bytes of Shift (16) and Control (17).
void KrShiftCtrlFromState(const unsigned char state[256], int out[2]);

void KrResetCallbacks();
