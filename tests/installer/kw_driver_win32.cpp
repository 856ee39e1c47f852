// Works Kitwright's windows from outside, as a person would: finds them by
// caption, reads and fills controls, presses buttons and answers message
// boxes. One action per run; every wait ends after 30 seconds.
//   wait CAPTION | gone CAPTION | close CAPTION
//   text CAPTION ID | wait-text CAPTION ID TEXT | visible CAPTION ID 0|1
//   set CAPTION ID TEXT | set-wide CAPTION ID TEXT | check CAPTION ID 0|1 | press CAPTION ID
//   box TEXT-PREFIX BUTTON-ID (also says the default button) | list | controls CAPTION
//   wide-caption CAPTION (the caption as the window holds it, in UTF-8)
//   make-link FILE TARGET (a shell link, as another program would make it)
// A CAPTION ending in "*" matches as a prefix.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <shellapi.h>

#include "tests/support/win32/driver_util_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using e2e_driver::kTimeoutMs;
using e2e_driver::TimedOut;

std::string CaptionOf(HWND w) {
  char text[1024] = "";
  GetWindowTextA(w, text, sizeof text);
  return text;
}

std::string TextOf(HWND w) { return e2e_driver::TextOf(w, 2000); }

bool CaptionMatches(const std::string& caption, const std::string& want) {
  if (!want.empty() && want.back() == '*')
    return caption.compare(0, want.size() - 1, want, 0, want.size() - 1) == 0;
  return caption == want;
}

struct WindowSearch {
  std::string caption;
  HWND found;
};

BOOL CALLBACK FindTop(HWND w, LPARAM lparam) {
  WindowSearch* s = reinterpret_cast<WindowSearch*>(lparam);
  if (IsWindowVisible(w) && CaptionMatches(CaptionOf(w), s->caption)) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopNow(const char* caption) {
  WindowSearch s = {caption, nullptr};
  EnumWindows(FindTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND AwaitTop(const char* caption) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = FindTopNow(caption)) return w;
    if (TimedOut(start)) return nullptr;
    Sleep(50);
  }
}

struct ControlSearch {
  int id;
  HWND found;
};

BOOL CALLBACK FindControlProc(HWND w, LPARAM lparam) {
  ControlSearch* s = reinterpret_cast<ControlSearch*>(lparam);
  if (GetDlgCtrlID(w) == s->id) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

HWND AwaitControl(const char* caption, int id) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND top = FindTopNow(caption)) {
      ControlSearch s = {id, nullptr};
      EnumChildWindows(top, FindControlProc, reinterpret_cast<LPARAM>(&s));
      if (s.found) return s.found;
    }
    if (TimedOut(start)) return nullptr;
    Sleep(50);
  }
}

struct BoxSearch {
  std::string prefix;
  HWND box;
  std::string text;
};

BOOL CALLBACK FindBoxText(HWND child, LPARAM lparam) {
  BoxSearch* s = reinterpret_cast<BoxSearch*>(lparam);
  std::string t = TextOf(child);
  if (t.compare(0, s->prefix.size(), s->prefix) == 0) {
    s->text = t;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindBox(HWND w, LPARAM lparam) {
  BoxSearch* s = reinterpret_cast<BoxSearch*>(lparam);
  char cls[32] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(w)) return TRUE;
  s->text.clear();
  EnumChildWindows(w, FindBoxText, lparam);
  if (!s->text.empty()) {
    s->box = w;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK DefaultButton(HWND child, LPARAM lparam) {
  char cls[32] = "";
  GetClassNameA(child, cls, sizeof cls);
  if (lstrcmpiA(cls, "Button") == 0 &&
      (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
    *reinterpret_cast<int*>(lparam) = GetDlgCtrlID(child);
    return FALSE;
  }
  return TRUE;
}

int Fail(const char* what) {
  std::printf("%s\n", what);
  return 1;
}

int MakeLink(const char* file, const char* target) {
  WCHAR wide[MAX_PATH];
  if (!MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH) || FAILED(CoInitialize(nullptr)))
    return 1;
  int result = 1;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    link->SetPath(target);
    IPersistFile* persist = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      if (SUCCEEDED(persist->Save(wide, TRUE))) result = 0;
      persist->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}

}  // namespace

BOOL CALLBACK ListTop(HWND w, LPARAM) {
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  if (IsWindowVisible(w)) std::printf("window [%s] class %s\n", CaptionOf(w).c_str(), cls);
  return TRUE;
}

BOOL CALLBACK ListChild(HWND w, LPARAM) {
  char cls[64] = "";
  GetClassNameA(w, cls, sizeof cls);
  std::printf("  control %d class %s visible %d [%s]\n", GetDlgCtrlID(w), cls,
              IsWindowVisible(w) ? 1 : 0, CaptionOf(w).c_str());
  return TRUE;
}

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
    EnumWindows(ListTop, 0);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "controls") == 0) {
    // What a window holds, for reading a failed run.
    if (HWND top = FindTopNow(argv[2])) EnumChildWindows(top, ListChild, 0);
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "make-link") == 0) return MakeLink(argv[2], argv[3]);
  if (argc < 3) return 2;
  const std::string action = argv[1];
  const char* caption = argv[2];
  int id = argc > 3 ? std::atoi(argv[3]) : 0;
  int result = 0;
  if (action == "wait") {
    HWND w = AwaitTop(caption);
    if (!w) return Fail("no window");
    std::printf("found %s\n", CaptionOf(w).c_str());
  } else if (action == "gone") {
    DWORD start = GetTickCount();
    while (FindTopNow(caption)) {
      if (TimedOut(start)) return Fail("still there");
      Sleep(50);
    }
    std::printf("gone\n");
  } else if (action == "close") {
    HWND w = AwaitTop(caption);
    if (!w) return Fail("no window");
    PostMessageA(w, WM_CLOSE, 0, 0);
  } else if (action == "wide-caption") {
    HWND w = AwaitTop(caption);
    if (!w) return Fail("no window");
    wchar_t wide[1024] = L"";
    GetWindowTextW(w, wide, static_cast<int>(sizeof wide / sizeof wide[0]));
    char utf8[4096] = "";
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("caption %s\n", utf8);
  } else if (action == "text" && argc > 3) {
    HWND c = AwaitControl(caption, id);
    if (!c) return Fail("no control");
    std::printf("text %s\n", TextOf(c).c_str());
  } else if (action == "wait-text" && argc > 4) {
    HWND c = AwaitControl(caption, id);
    if (!c) return Fail("no control");
    DWORD start = GetTickCount();
    while (TextOf(c) != argv[4]) {
      if (TimedOut(start)) break;
      Sleep(50);
    }
    std::printf("text %s\n", TextOf(c).c_str());
    result = TextOf(c) == argv[4] ? 0 : 1;
  } else if (action == "visible" && argc > 4) {
    // Waits for the control to exist and show (1) or hide (0).
    int want = std::atoi(argv[4]);
    DWORD start = GetTickCount();
    int now = -1;
    for (;;) {
      HWND top = FindTopNow(caption);
      ControlSearch s = {id, nullptr};
      if (top) EnumChildWindows(top, FindControlProc, reinterpret_cast<LPARAM>(&s));
      now = s.found ? (IsWindowVisible(s.found) ? 1 : 0) : -1;
      if (now == want || TimedOut(start)) break;
      Sleep(50);
    }
    std::printf("visible %d\n", now);
    result = now == want ? 0 : 1;
  } else if (action == "set" && argc > 4) {
    HWND c = AwaitControl(caption, id);
    if (!c) return Fail("no control");
    SendMessageA(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
  } else if (action == "set-wide" && argc > 4) {
    // The text as the wide text a person could type.
    HWND c = AwaitControl(caption, id);
    if (!c) return Fail("no control");
    // The narrow arguments have lost what the code page cannot hold.
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide || count < 5) return Fail("no wide text");
    SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide[4]));
    LocalFree(wide);
  } else if (action == "check" && argc > 4) {
    HWND c = AwaitControl(caption, id);
    if (!c) return Fail("no control");
    SendMessageA(c, BM_SETCHECK, std::atoi(argv[4]) ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (action == "press" && argc > 3) {
    HWND c = AwaitControl(caption, id);
    if (!c) return Fail("no control");
    DWORD start = GetTickCount();
    while (!IsWindowEnabled(c) || !IsWindowVisible(c)) {
      if (TimedOut(start)) return Fail("button never enabled");
      Sleep(50);
    }
    PostMessageA(GetParent(c), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(c));
  } else if (action == "box" && argc > 3) {
    // caption here is the prefix of the box's text.
    BoxSearch s = {caption, nullptr, ""};
    DWORD start = GetTickCount();
    for (;;) {
      s.box = nullptr;
      EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
      if (s.box) break;
      if (TimedOut(start)) return Fail("no box");
      Sleep(50);
    }
    std::printf("box [%s] %s\n", CaptionOf(s.box).c_str(), s.text.c_str());
    // The button Enter would press (the answer given by habit): the one
    // drawn as the default.
    int default_id = 0;
    EnumChildWindows(s.box, DefaultButton, reinterpret_cast<LPARAM>(&default_id));
    if (default_id) std::printf("default %d\n", default_id);
    HWND button = GetDlgItem(s.box, id);
    if (!button) return Fail("no such button");
    PostMessageA(s.box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    start = GetTickCount();
    while (IsWindow(s.box) && IsWindowVisible(s.box) && !TimedOut(start)) Sleep(50);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
