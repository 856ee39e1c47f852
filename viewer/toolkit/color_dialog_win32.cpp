// The system's colour chooser, captioned through its hook.
#include <windows.h>
#include <commdlg.h>

#include "graphics/window/window.h"
#include "viewer/toolkit/color_value.h"
#include "viewer/toolkit/toolkit.h"

namespace {

UINT_PTR CALLBACK ColorHook(HWND dialog, UINT message, WPARAM, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    const CHOOSECOLORA* cc = reinterpret_cast<const CHOOSECOLORA*>(lparam);
    const char* title = reinterpret_cast<const char*>(cc->lCustData);
    if (title) SetWindowTextA(dialog, title);
  }
  return 0;
}

}  // namespace

int KrChooseColor(PwColor* out, const PwColor* initial, const char* title) {
  COLORREF custom[16];
  for (COLORREF& c : custom) c = RGB(255, 255, 255);
  COLORREF start = RGB(255, 255, 255);
  if (initial) {
    start = kr::RgbFromColor(*initial);
    custom[0] = start;
  }
  CHOOSECOLORA cc = {};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = static_cast<HWND>(PwGetWindowHandle());
  cc.rgbResult = start;
  cc.lpCustColors = custom;
  cc.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK;
  cc.lCustData = reinterpret_cast<LPARAM>(title);
  cc.lpfnHook = ColorHook;
  if (!ChooseColorA(&cc)) return 0;
  kr::ColorFromRgb(cc.rgbResult, out);
  return 1;
}
