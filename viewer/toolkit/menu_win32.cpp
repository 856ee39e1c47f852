// The menu bar and its pop-ups as Win32 menus; the item list and ids are
// the portable model's.
#include <windows.h>

#include "graphics/window/window.h"
#include "viewer/toolkit/menu_model.h"
#include "viewer/toolkit/toolkit.h"

int KrCreateMenuBar(const char* const* names) {
  HMENU bar = CreateMenu();
  KrMenuSetBar(bar);
  PwSetMenuBar(bar);
  for (int i = 0; names && names[i]; ++i) {
    HMENU popup = CreatePopupMenu();
    if (popup) KrMenuAddPopup(popup, names[i]);
  }
  return KrMenuPopupCount();
}

KrCommandFunc KrAddMenuItem(int popup, const char* text, int mnemonic, KrCommandFunc callback) {
  HMENU menu = static_cast<HMENU>(KrMenuPopupHandle(popup));
  if (!menu) return nullptr;
  KrMenuItem* item = KrMenuNewItem(mnemonic, callback);
  if (!item) return nullptr;
  char shown[kKrItemTextSize];
  KrFormatItemText(shown, sizeof shown, text, mnemonic);
  AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item->id), shown);
  return callback;
}

void KrShowMenu() {
  HMENU bar = static_cast<HMENU>(KrMenuBar());
  if (!bar) return;
  for (int i = 1; i <= KrMenuPopupCount(); ++i) {
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(KrMenuPopupHandle(i)),
                KrMenuPopupName(i));
  }
  HWND window = static_cast<HWND>(PwGetWindowHandle());
  if (window) {
    SetMenu(window, bar);
    DrawMenuBar(window);
  }
}

void KrDispatchCommand(int id) {
  if (KrMenuRunCommand(id) == 1) return;
  MessageBoxA(static_cast<HWND>(PwGetWindowHandle()), kKrUnknownCommandText, "", MB_OK);
}
