// The GDI text output: the system fixed font on the surface's memory DC.
#include <windows.h>

#include <cstring>

#include "graphics/software/surface.h"
#include "graphics/software/text_output.h"

namespace {

void GdiText(int left, int top, const char* text, PwColor color) {
  HDC dc = static_cast<HDC>(PwSurfaceMemoryDC());
  if (dc == nullptr || text == nullptr) return;
  HGDIOBJ old_font = SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
  const int old_mode = SetBkMode(dc, TRANSPARENT);
  const COLORREF old_color =
      SetTextColor(dc, RGB(static_cast<BYTE>(color.red), static_cast<BYTE>(color.green),
                           static_cast<BYTE>(color.blue)));
  TextOutA(dc, left, top, text, static_cast<int>(std::strlen(text)));
  SetTextColor(dc, old_color);
  SetBkMode(dc, old_mode);
  if (old_font != nullptr) SelectObject(dc, old_font);
}

}  // namespace

void PwInstallGdiTextOutput() { PwSetTextOutput(GdiText); }
