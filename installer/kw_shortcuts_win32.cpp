// Shortcuts: shell links in the Shell Folders, or Program Manager groups.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstring>

#include "installer/core/kw_shortcuts.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/kitwright_win32.h"

namespace {

int ShellFolder(int kind, char* out, std::size_t size) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                    0, KEY_READ, &key) != ERROR_SUCCESS) {
    return 0;
  }
  DWORD type = 0, bytes = static_cast<DWORD>(size - 1);
  LONG r = RegQueryValueExA(key, KwShellFolderName(kind), nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes);
  RegCloseKey(key);
  if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return 0;
  out[bytes < size ? bytes : size - 1] = '\0';
  return out[0] != '\0' ? 1 : 0;
}

void RemoveFolderFiles(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*.*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA((folder + "\\" + found.cFileName).c_str());
      }
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

void SaveLink(const std::string& folder, const KwShortcutItem& item) {
  std::string file = folder + item.name + ".lnk";
  WCHAR wide[MAX_PATH];
  if (file.size() >= MAX_PATH ||
      !MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH)) {
    return;
  }
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return;
  }
  std::string path, arguments;
  if (KwSplitTarget(item.target, &path, &arguments)) link->SetArguments(arguments.c_str());
  link->SetPath(path.c_str());
  link->SetDescription(item.name.c_str());
  IPersistFile* file_interface = nullptr;
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_interface)))) {
    file_interface->Save(wide, TRUE);
    file_interface->Release();
  }
  link->Release();
}

}  // namespace

std::string ShortPathWithArgs(const std::string& target) {
  std::string path, arguments;
  bool has_arguments = KwSplitTarget(target, &path, &arguments);
  char short_path[kKwPathSize];
  DWORD n = GetShortPathNameA(path.c_str(), short_path, sizeof short_path);
  if (n > 0 && n < sizeof short_path) path = short_path;
  return KwJoinPathArgs(path, has_arguments, arguments);
}

int ProgmanGroups(int kind, int remove) {
  const KwState& s = KwGlobal();
  ProgmanInit();
  ProgmanConnect("PROGMAN", "PROGMAN");
  std::vector<KwShortcutItem> items;
  if (!remove) {
    items = KwShortcutItems(kind, true);
    for (KwShortcutItem& item : items) item.target = ShortPathWithArgs(item.target);
  }
  int result = 0;
  for (const std::string& command : KwProgmanCommands(kind, remove != 0, s.title, items)) {
    result = ProgmanCommand(command.c_str());
  }
  ProgmanEnd();
  return result;
}

void MakeShortcuts(int kind, int remove) {
  const KwState& s = KwGlobal();
  if (!s.new_shell) {
    ProgmanGroups(kind, remove);
    return;
  }
  // Without the shell's folder there is nowhere to put the links.
  char folder[kKwPathSize];
  if (!ShellFolder(kind, folder, sizeof folder) || !AddBackslash(folder, sizeof folder)) return;
  std::string base = folder;
  if (kind == kKwPrograms && s.group_count > 0) {
    base += s.title;
    if (remove) {
      RemoveFolderFiles(base);
      return;
    }
    base += "\\";
    if (!CreateOneFolder(base.c_str())) return;
  } else if (remove) {
    DeleteFileA((base + s.title + ".lnk").c_str());
    return;
  }
  std::vector<KwShortcutItem> items = KwShortcutItems(kind, false);
  if (FAILED(CoInitialize(nullptr))) return;
  for (const KwShortcutItem& item : items) SaveLink(base, item);
  CoUninitialize();
}
