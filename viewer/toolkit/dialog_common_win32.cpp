// Modal dialogs from the toolkit's templates.
#include "viewer/toolkit/dialog_common_win32.h"

#include "graphics/window/window.h"

namespace kr {

INT_PTR RunDialog(const char* name, DLGPROC proc, void* param) {
  return DialogBoxParamA(GetModuleHandleA(nullptr), name, static_cast<HWND>(PwGetWindowHandle()),
                         proc, reinterpret_cast<LPARAM>(param));
}

void StoreDialogRequest(HWND dialog, LPARAM param) { SetWindowLongPtrA(dialog, DWLP_USER, param); }

}  // namespace kr
