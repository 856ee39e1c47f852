// What the toolkit's modal dialogs share: the module's templates and the
// main window as owner.
#pragma once

#include <windows.h>

namespace kr {

// Runs the template modally, owned by the main window, with param handed to
// the procedure's WM_INITDIALOG; -1 when the dialog could not be made.
INT_PTR RunDialog(const char* name, DLGPROC proc, void* param);
// The request a procedure stored at WM_INITDIALOG.
template <typename T>
T* DialogRequest(HWND dialog) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
}
void StoreDialogRequest(HWND dialog, LPARAM param);

}  // namespace kr
