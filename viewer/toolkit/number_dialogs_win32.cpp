// The number dialogs: one, two or three integers, floats or angles.
#include <windows.h>

#include "resources/toolkit_resource.h"
#include "viewer/toolkit/dialog_common_win32.h"
#include "viewer/toolkit/number_dialog.h"
#include "viewer/toolkit/toolkit.h"

namespace {

void InitNumberDialog(HWND dialog, const kr::NumberRequest& r) {
  for (int i = 0; i < r.count; ++i) {
    SetDlgItemTextA(dialog, kr::NumberLabelId(i), kr::NumberLabel(r.mode, i));
    char text[kr::kNumberTextSize];
    kr::FormatNumberField(r, i, text, sizeof text);
    SetDlgItemTextA(dialog, kr::NumberEditId(i), text);
  }
  SetDlgItemTextA(dialog, KR_IDC_NUMBER_OK, kr::OkLabel(r));
  SetDlgItemTextA(dialog, KR_IDC_NUMBER_CANCEL, kr::CancelLabel(r));
  if (r.title) SetWindowTextA(dialog, r.title);
}

INT_PTR CALLBACK NumberProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    kr::StoreDialogRequest(dialog, lparam);
    InitNumberDialog(dialog, *reinterpret_cast<kr::NumberRequest*>(lparam));
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  kr::NumberRequest* r = kr::DialogRequest<kr::NumberRequest>(dialog);
  if (!r) return FALSE;
  const int id = LOWORD(wparam);
  if (id == KR_IDC_NUMBER_OK || id == IDOK) {
    for (int i = 0; i < r->count; ++i) {
      char text[kr::kNumberTextSize] = "";
      GetDlgItemTextA(dialog, kr::NumberEditId(i), text, sizeof text);
      kr::ParseNumberField(r, i, text);
    }
    EndDialog(dialog, 1);
    return TRUE;
  }
  if (id == KR_IDC_NUMBER_CANCEL || id == IDCANCEL) {
    EndDialog(dialog, 0);
    return TRUE;
  }
  return FALSE;
}

const char* TemplateFor(int count) {
  if (count == 3) return "KR_NUMBER3";
  if (count == 2) return "KR_NUMBER2";
  return "KR_NUMBER";
}

int Run(kr::NumberRequest* r) {
  return kr::RunDialog(TemplateFor(r->count), NumberProc, r) == 1 ? 1 : 0;
}

int RunInts(int mode, int count, int* out, const int* initial, const char* title, const char* ok,
            const char* cancel) {
  kr::NumberRequest r = kr::MakeIntRequest(mode, count, initial, title, ok, cancel);
  int result = Run(&r);
  for (int i = 0; i < count; ++i) out[i] = r.ints[i];
  return result;
}

int RunFloats(int count, float* out, const float* initial, const char* title, const char* ok,
              const char* cancel) {
  kr::NumberRequest r = kr::MakeFloatRequest(count, initial, title, ok, cancel);
  int result = Run(&r);
  for (int i = 0; i < count; ++i) out[i] = r.floats[i];
  return result;
}

}  // namespace

int KrNumberInt(int* out, int initial, const char* title, const char* ok, const char* cancel) {
  return RunInts(kr::kModeInt, 1, out, &initial, title, ok, cancel);
}

int KrNumberFloat(float* out, float initial, const char* title, const char* ok,
                  const char* cancel) {
  return RunFloats(1, out, &initial, title, ok, cancel);
}

int KrNumber2Int(int out[2], const int* initial, const char* title, const char* ok,
                 const char* cancel) {
  return RunInts(kr::kModeInt, 2, out, initial, title, ok, cancel);
}

int KrNumber2Float(float out[2], const float* initial, const char* title, const char* ok,
                   const char* cancel) {
  return RunFloats(2, out, initial, title, ok, cancel);
}

int KrNumber3Int(int out[3], const int* initial, const char* title, const char* ok,
                 const char* cancel) {
  return RunInts(kr::kModeInt, 3, out, initial, title, ok, cancel);
}

int KrNumber3Float(float out[3], const float* initial, const char* title, const char* ok,
                   const char* cancel) {
  return RunFloats(3, out, initial, title, ok, cancel);
}

int KrNumber3Angle(int out[3], const int* initial, const char* title, const char* ok,
                   const char* cancel) {
  return RunInts(kr::kModeAngle, 3, out, initial, title, ok, cancel);
}
