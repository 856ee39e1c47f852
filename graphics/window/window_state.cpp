// The window's portable state; the Win32 window reads and writes it.
#include "graphics/window/window.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int ConsumeNothing(void*, unsigned int, std::uintptr_t, std::intptr_t) { return 0; }

struct WindowState {
  char title[kPwTitleSize];
  PwMessageHook hook = ConsumeNothing;
  int closed = 0;
  int depth_mode = 0;
  void* menu_bar = nullptr;
  int width = 0;
  int height = 0;
  WindowState() { std::memcpy(title, kPwDefaultTitle, sizeof kPwDefaultTitle); }
};

WindowState& State() {
  static WindowState state;
  return state;
}

}  // namespace

void PwSetTitle(const char* text) {
  if (!text) return;
  char* title = State().title;
  int n = 0;
  while (n < kPwTitleSize - 1 && text[n] != '\0') {
    title[n] = text[n];
    ++n;
  }
  title[n] = '\0';
}

const char* PwGetTitle() { return State().title; }

void PwSetMessageHook(PwMessageHook hook) { State().hook = hook ? hook : ConsumeNothing; }

PwMessageHook PwGetMessageHook() { return State().hook; }

int PwWindowClosed() { return State().closed; }

void PwSetWindowClosed(int closed) { State().closed = closed; }

int PwGetDepthMode() { return State().depth_mode; }

void PwSetDepthMode(int mode) { State().depth_mode = mode; }

int PwDepthForCommand(std::uintptr_t wparam) {
  switch (wparam) {
    case kPwCmdColors256: return 8;
    case kPwCmdColors32K: return 16;
    case kPwCmdSameAsDisplay: return 0;
    default: return -1;
  }
}

unsigned int PwCommandForDepth(int mode) {
  if (mode == 8) return kPwCmdColors256;
  if (mode == 16) return kPwCmdColors32K;
  return kPwCmdSameAsDisplay;
}

void PwSetMenuBar(void* menu) { State().menu_bar = menu; }

void* PwGetMenuBar() { return State().menu_bar; }

void PwSetClientSize(int width, int height) {
  State().width = width;
  State().height = height;
}

void PwGetClientSize(int* width, int* height) {
  *width = State().width;
  *height = State().height;
}

void PwResetWindowState() { State() = WindowState(); }

void PwExitProcess(int status) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(status);
}
