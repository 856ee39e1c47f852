// Works lumaview from outside, as a person would: posts menu commands, keys
// and mouse messages to its window, fills and presses the dialogs it opens
// and answers the close question. One action per run; every wait ends
// after 30 s.
//   find | gone | cmd ID | key VK | mouse MESSAGE WPARAM X Y | menu
//   dialog CAPTION [set ID TEXT]... [press ID]
//   count CAPTION                 (visible dialogs of that caption, after 1 s)
//   filedlg CAPTION PATH|-        (PATH: typed and OK; -: Cancel)
//   colordlg CAPTION R G B|-
//   close yes|no
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kTimeoutMs = 30000;
constexpr char kCaption[] = "QM VRML 2.0 VIEWER";

HWND FindViewer(DWORD timeout) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND w = FindWindowA("PWAPPCLASS", kCaption);
    if (w && IsWindowVisible(w)) return w;
    if (GetTickCount() - start > timeout) return nullptr;
    Sleep(50);
  }
}

struct DialogSearch {
  HWND owner;
  const char* caption;
  HWND found;
  int count;
};

BOOL CALLBACK FindOwnedDialog(HWND w, LPARAM lparam) {
  DialogSearch* s = reinterpret_cast<DialogSearch*>(lparam);
  char cls[32] = "", caption[128] = "";
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, caption, sizeof caption);
  if (std::strcmp(cls, "#32770") == 0 && std::strcmp(caption, s->caption) == 0 &&
      GetWindow(w, GW_OWNER) == s->owner && IsWindowVisible(w)) {
    if (!s->found) s->found = w;
    ++s->count;
  }
  return TRUE;
}

HWND FindDialog(HWND owner, const char* caption) {
  DWORD start = GetTickCount();
  for (;;) {
    DialogSearch s = {owner, caption, nullptr, 0};
    EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (GetTickCount() - start > kTimeoutMs) return nullptr;
    Sleep(50);
  }
}

BOOL CALLBACK DumpChild(HWND child, LPARAM) {
  char cls[32] = "", text[256] = "";
  GetClassNameA(child, cls, sizeof cls);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, &ignored);
  for (char* p = text; *p; ++p) {
    if (*p == '\n' || *p == '\r') *p = '|';
  }
  std::printf("control %d %s [%s]\n", GetDlgCtrlID(child), cls, text);
  return TRUE;
}

int WaitGone(HWND dialog) {
  DWORD start = GetTickCount();
  while (IsWindow(dialog) && IsWindowVisible(dialog)) {
    if (GetTickCount() - start > kTimeoutMs) {
      std::printf("still open\n");
      return 1;
    }
    Sleep(50);
  }
  std::printf("closed\n");
  return 0;
}

void Press(HWND dialog, int id) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int Dialog(HWND owner, int argc, char** argv) {
  HWND dialog = FindDialog(owner, argv[2]);
  if (!dialog) {
    std::printf("no dialog\n");
    return 1;
  }
  std::printf("dialog found\n");
  EnumChildWindows(dialog, DumpChild, 0);
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

int FileDialog(HWND owner, const char* caption, const char* path) {
  HWND dialog = FindDialog(owner, caption);
  if (!dialog) {
    std::printf("no dialog\n");
    return 1;
  }
  std::printf("dialog found\n");
  if (std::strcmp(path, "-") == 0) {
    Press(dialog, IDCANCEL);
    return WaitGone(dialog);
  }
  HWND box = FileNameBox(dialog);
  if (!box) {
    std::printf("no file name box\n");
    return 1;
  }
  char shown[260] = "";
  SendMessageA(box, WM_GETTEXT, sizeof shown, reinterpret_cast<LPARAM>(shown));
  std::printf("default [%s]\n", shown);
  SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
  Press(dialog, IDOK);
  return WaitGone(dialog);
}

int ColorDialog(HWND owner, int argc, char** argv) {
  HWND dialog = FindDialog(owner, argv[2]);
  if (!dialog) {
    std::printf("no dialog\n");
    return 1;
  }
  std::printf("dialog found\n");
  if (std::strcmp(argv[3], "-") == 0) {
    Press(dialog, IDCANCEL);
    return WaitGone(dialog);
  }
  const int edits[3] = {706, 707, 708};  // red, green, blue
  for (int i = 0; i < 3 && 3 + i < argc; ++i) {
    SendMessageA(GetDlgItem(dialog, edits[i]), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(argv[3 + i]));
  }
  Press(dialog, IDOK);
  return WaitGone(dialog);
}

int Close(HWND window, bool yes) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  HWND box = FindDialog(window, "QUIT?");
  if (!box) {
    std::printf("no question\n");
    return 1;
  }
  EnumChildWindows(box, DumpChild, 0);
  Press(box, yes ? IDYES : IDNO);
  int result = WaitGone(box);
  if (!yes) {
    Sleep(300);
    std::printf("window %s\n", IsWindow(window) ? "alive" : "gone");
  }
  return result;
}

void Menu(HWND window) {
  HMENU bar = GetMenu(window);
  int n = GetMenuItemCount(bar);
  for (int i = 0; i < n; ++i) {
    char text[128] = "";
    GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
    HMENU popup = GetSubMenu(bar, i);
    std::printf("popup [%s] %d\n", text, GetMenuItemCount(popup));
    for (int j = 0; j < GetMenuItemCount(popup); ++j) {
      char item[128] = "";
      GetMenuStringA(popup, j, item, sizeof item, MF_BYPOSITION);
      for (char* p = item; *p; ++p) {
        if (*p == '\t') *p = '|';
      }
      std::printf("item %u [%s]\n", GetMenuItemID(popup, j), item);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* action = argv[1];
  if (std::strcmp(action, "gone") == 0) {
    DWORD start = GetTickCount();
    while (FindWindowA("PWAPPCLASS", kCaption)) {
      if (GetTickCount() - start > kTimeoutMs) {
        std::printf("still there\n");
        return 1;
      }
      Sleep(50);
    }
    std::printf("gone\n");
    return 0;
  }
  HWND window = FindViewer(kTimeoutMs);
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  int result = 0;
  if (std::strcmp(action, "find") == 0) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("client %ld %ld\n", client.right, client.bottom);
    std::printf("origin %ld %ld\n", origin.x, origin.y);
  } else if (std::strcmp(action, "cmd") == 0 && argc > 2) {
    PostMessageA(window, WM_COMMAND, std::strtoul(argv[2], nullptr, 10), 0);
  } else if (std::strcmp(action, "key") == 0 && argc > 2) {
    WPARAM vk = std::strtoul(argv[2], nullptr, 10);
    PostMessageA(window, WM_KEYDOWN, vk, 1);
    PostMessageA(window, WM_KEYUP, vk, 0xC0000001);
  } else if (std::strcmp(action, "mouse") == 0 && argc > 5) {
    UINT message = std::strtoul(argv[2], nullptr, 0);
    WPARAM flags = std::strtoul(argv[3], nullptr, 0);
    PostMessageA(window, message, flags, MAKELPARAM(std::atoi(argv[4]), std::atoi(argv[5])));
  } else if (std::strcmp(action, "menu") == 0) {
    Menu(window);
  } else if (std::strcmp(action, "dialog") == 0 && argc > 2) {
    result = Dialog(window, argc, argv);
  } else if (std::strcmp(action, "count") == 0 && argc > 2) {
    Sleep(1000);
    DialogSearch s = {window, argv[2], nullptr, 0};
    EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&s));
    std::printf("count %d\n", s.count);
  } else if (std::strcmp(action, "filedlg") == 0 && argc > 3) {
    result = FileDialog(window, argv[2], argv[3]);
  } else if (std::strcmp(action, "colordlg") == 0 && argc > 3) {
    result = ColorDialog(window, argc, argv);
  } else if (std::strcmp(action, "close") == 0 && argc > 2) {
    result = Close(window, std::strcmp(argv[2], "yes") == 0);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
