// Drives the probe's window from outside, as a person would: finds it by
// class, reads its client area, posts system commands and keys,
// and answers the close question. One action per run; every wait ends
// after 30 seconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kTimeoutMs = 30000;

HWND FindProbe() {
  DWORD start = GetTickCount();
  for (;;) {
    // Other programs of the tree share the class: the title tells ours.
    HWND w = FindWindowA("PWAPPCLASS", "Window Probe");
    if (w && IsWindowVisible(w)) return w;
    if (GetTickCount() - start > kTimeoutMs) return nullptr;
    Sleep(50);
  }
}

struct TextSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK FindText(HWND child, LPARAM lparam) {
  TextSearch* s = reinterpret_cast<TextSearch*>(lparam);
  char text[256] = "";
  GetWindowTextA(child, text, sizeof text);
  if (std::strcmp(text, s->text) == 0) {
    s->found = child;
    return FALSE;
  }
  return TRUE;
}

struct BoxSearch {
  HWND owner;
  HWND found;
};

BOOL CALLBACK FindOwnedBox(HWND w, LPARAM lparam) {
  BoxSearch* s = reinterpret_cast<BoxSearch*>(lparam);
  char cls[32] = "", caption[32] = "";
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, caption, sizeof caption);
  if (std::strcmp(cls, "#32770") == 0 && std::strcmp(caption, "QUIT?") == 0 &&
      GetWindow(w, GW_OWNER) == s->owner) {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

// The question box that the window owns.
HWND FindQuestion(HWND owner) {
  DWORD start = GetTickCount();
  for (;;) {
    BoxSearch s = {owner, nullptr};
    EnumWindows(FindOwnedBox, reinterpret_cast<LPARAM>(&s));
    if (s.found) return s.found;
    if (GetTickCount() - start > kTimeoutMs) return nullptr;
    Sleep(50);
  }
}

int Answer(HWND window, bool yes) {
  PostMessageA(window, WM_CLOSE, 0, 0);
  HWND box = FindQuestion(window);
  if (!box) {
    std::printf("no question\n");
    return 1;
  }
  TextSearch s = {"Really Quit? You may lose some data!", nullptr};
  EnumChildWindows(box, FindText, reinterpret_cast<LPARAM>(&s));
  std::printf("question %s\n", s.found ? "found" : "missing");
  int id = yes ? IDYES : IDNO;
  HWND button = GetDlgItem(box, id);
  std::printf("button %s\n", button ? "found" : "missing");
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  DWORD start = GetTickCount();
  while (IsWindow(box) && GetTickCount() - start < kTimeoutMs) Sleep(50);
  if (!yes) {
    Sleep(300);
    std::printf("window %s\n", IsWindow(window) ? "alive" : "gone");
  }
  return s.found && button ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = FindProbe();
  if (!window) {
    std::printf("no window\n");
    return 1;
  }
  const char* action = argv[1];
  int result = 0;
  if (std::strcmp(action, "find") == 0) {
    // Kept above other test programs' windows on the same screen.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    std::printf("client %ld %ld\norigin %ld %ld\n", client.right, client.bottom, origin.x,
                origin.y);
  } else if (std::strcmp(action, "sys") == 0 && argc > 2) {
    PostMessageA(window, WM_SYSCOMMAND, std::strtoul(argv[2], nullptr, 10), 0);
  } else if (std::strcmp(action, "key") == 0 && argc > 2) {
    PostMessageA(window, WM_KEYDOWN, std::strtoul(argv[2], nullptr, 10), 1);
    PostMessageA(window, WM_KEYUP, std::strtoul(argv[2], nullptr, 10), 0xC0000001);
  } else if (std::strcmp(action, "close-no") == 0) {
    result = Answer(window, false);
  } else if (std::strcmp(action, "close-yes") == 0) {
    result = Answer(window, true);
  } else {
    return 2;
  }
  std::fflush(stdout);
  return result;
}
