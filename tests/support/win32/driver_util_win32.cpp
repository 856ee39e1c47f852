#include "tests/support/win32/driver_util_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace e2e_driver {

bool TimedOut(DWORD start) { return GetTickCount() - start > kTimeoutMs; }

HWND AwaitWindow(const char* cls, const char* caption, DWORD timeout) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND w = FindWindowA(cls, caption);
    if (w && IsWindowVisible(w)) return w;
    if (GetTickCount() - start > timeout) return nullptr;
    Sleep(50);
  }
}

std::string TextOf(HWND w, UINT timeout_ms) {
  char text[1024] = "";
  DWORD_PTR got = 0;
  SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      timeout_ms, &got);
  text[sizeof text - 1] = '\0';
  return text;
}

namespace {

struct DialogSearch {
  HWND owner;
  const char* caption;
  bool visible_only;
  DialogMatch match;
};

BOOL CALLBACK FindOwnedDialog(HWND w, LPARAM lparam) {
  DialogSearch* s = reinterpret_cast<DialogSearch*>(lparam);
  char cls[32] = "", caption[128] = "";
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, caption, sizeof caption);
  if (std::strcmp(cls, "#32770") == 0 && std::strcmp(caption, s->caption) == 0 &&
      GetWindow(w, GW_OWNER) == s->owner && (!s->visible_only || IsWindowVisible(w))) {
    if (!s->match.first) s->match.first = w;
    ++s->match.count;
  }
  return TRUE;
}

BOOL CALLBACK DumpChild(HWND child, LPARAM join_lines) {
  char cls[32] = "";
  GetClassNameA(child, cls, sizeof cls);
  std::string text = TextOf(child, 5000);
  if (join_lines) {
    for (char& c : text) {
      if (c == '\n' || c == '\r') c = '|';
    }
  }
  std::printf("control %d %s [%s]\n", GetDlgCtrlID(child), cls, text.c_str());
  return TRUE;
}

// The file name box of the system dialog: a combo box's edit or an edit.
HWND FileNameBox(HWND dialog) {
  const int ids[] = {0x47c, 0x480};  // cmb13, edt1
  for (int id : ids) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) continue;
    HWND edit = FindWindowExA(control, nullptr, "Edit", nullptr);
    return edit ? edit : control;
  }
  return nullptr;
}

HWND FoundDialog(HWND owner, const char* caption) {
  HWND dialog = AwaitOwnedDialog(owner, caption, true);
  std::printf(dialog ? "dialog found\n" : "no dialog\n");
  return dialog;
}

}  // namespace

DialogMatch FindOwnedDialogs(HWND owner, const char* caption, bool visible_only) {
  DialogSearch s = {owner, caption, visible_only, {nullptr, 0}};
  EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&s));
  return s.match;
}

HWND AwaitOwnedDialog(HWND owner, const char* caption, bool visible_only) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = FindOwnedDialogs(owner, caption, visible_only).first) return w;
    if (TimedOut(start)) return nullptr;
    Sleep(50);
  }
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int WaitGone(HWND dialog) {
  DWORD start = GetTickCount();
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (TimedOut(start)) {
      std::printf("still open\n");
      return 1;
    }
    Sleep(50);
  }
  std::printf("closed\n");
  return 0;
}

void DumpControls(HWND dialog, bool join_lines) {
  EnumChildWindows(dialog, DumpChild, join_lines ? 1 : 0);
}

int WorkDialog(HWND owner, int argc, char** argv, bool join_lines) {
  HWND dialog = FoundDialog(owner, argv[2]);
  if (!dialog) return 1;
  DumpControls(dialog, join_lines);
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "set") == 0 && i + 2 < argc) {
      SetDlgItemTextA(dialog, std::atoi(argv[i + 1]), argv[i + 2]);
      i += 2;
    } else if (std::strcmp(argv[i], "press") == 0 && i + 1 < argc) {
      Press(dialog, std::atoi(argv[++i]));
      return WaitGone(dialog);
    }
  }
  return 0;
}

int WorkFileDialog(HWND owner, const char* caption, const char* path, bool show_default) {
  HWND dialog = FoundDialog(owner, caption);
  if (!dialog) return 1;
  if (std::strcmp(path, "-") == 0) {
    Press(dialog, IDCANCEL);
    return WaitGone(dialog);
  }
  HWND box = FileNameBox(dialog);
  if (!box) {
    std::printf("no file name box\n");
    return 1;
  }
  if (show_default) {
    char shown[260] = "";
    SendMessageA(box, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));
    std::printf("default [%s]\n", shown);
  }
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  Press(dialog, IDOK);
  return WaitGone(dialog);
}

int WorkColorDialog(HWND owner, int argc, char** argv, bool show_current) {
  HWND dialog = FoundDialog(owner, argv[2]);
  if (!dialog) return 1;
  const int edits[3] = {706, 707, 708};  // red, green, blue
  if (show_current) {
    char shown[3][16] = {};
    for (int i = 0; i < 3; ++i) {
      SendMessageA(GetDlgItem(dialog, edits[i]), WM_GETTEXT, sizeof shown[i],
                   reinterpret_cast<LPARAM>(shown[i]));
    }
    std::printf("shown %s %s %s\n", shown[0], shown[1], shown[2]);
  }
  if (std::strcmp(argv[3], "-") == 0) {
    Press(dialog, IDCANCEL);
    return WaitGone(dialog);
  }
  for (int i = 0; i < 3 && 3 + i < argc; ++i) {
    SendMessageA(GetDlgItem(dialog, edits[i]), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(argv[3 + i]));
  }
  Press(dialog, IDOK);
  return WaitGone(dialog);
}

void PostKey(HWND window, WPARAM vk) {
  PostMessageA(window, WM_KEYDOWN, vk, 1);
  PostMessageA(window, WM_KEYUP, vk, 0xC0000001);
}

void PostMouse(HWND window, const char* message, const char* flags, const char* x, const char* y) {
  PostMessageA(window, std::strtoul(message, nullptr, 0), std::strtoul(flags, nullptr, 0),
               MAKELPARAM(std::atoi(x), std::atoi(y)));
}

void PrintClient(HWND window, bool with_origin) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RECT client;
  GetClientRect(window, &client);
  std::printf("client %ld %ld\n", client.right, client.bottom);
  if (with_origin) {
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("origin %ld %ld\n", origin.x, origin.y);
  }
}

}  // namespace e2e_driver
