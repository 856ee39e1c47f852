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

void SaveLink(const std::string& file, const KwShortcutItem& item) {
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
  // Relative arguments are meant from the program's own folder.
  link->SetWorkingDirectory(KwTargetFolder(path).c_str());
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

namespace {

int SendProgman(int kind, int remove, std::vector<KwShortcutItem> items) {
  ProgmanInit();
  ProgmanConnect("PROGMAN", "PROGMAN");
  if (!remove) {
    for (KwShortcutItem& item : items) item.target = ShortPathWithArgs(item.target);
  }
  int result = 0;
  for (const std::string& command : KwProgmanCommands(kind, remove != 0, KwGlobal().title, items)) {
    result = ProgmanCommand(command.c_str());
  }
  ProgmanEnd();
  return result;
}

}  // namespace

int ProgmanGroups(int kind, int remove) { return SendProgman(kind, remove, KwShortcutItems(kind, true)); }

KwShortcutRemoval PlanShortcutRemoval(int kind) {
  KwShortcutRemoval plan;
  plan.kind = kind;
  if (!KwGlobal().new_shell) {
    plan.items = KwShortcutItems(kind, true);
    return plan;
  }
  // Without the shell's folder there are no links.
  char folder[kKwPathSize];
  if (!ShellFolder(kind, folder, sizeof folder) || !AddBackslash(folder, sizeof folder)) return plan;
  plan.files = KwShortcutFiles(kind, folder);
  std::string base = KwShortcutFolder(kind, folder);
  if (!plan.files.empty() && base != folder) plan.group = base.substr(0, base.size() - 1);
  return plan;
}

void RemoveShortcuts(const KwShortcutRemoval& plan) {
  if (!KwGlobal().new_shell) {
    SendProgman(plan.kind, 1, plan.items);
    return;
  }
  for (const std::string& file : plan.files) DeleteFileA(file.c_str());
  // The group goes only when nothing of anyone else's is left in it.
  if (!plan.group.empty()) RemoveDirectoryA(plan.group.c_str());
}

void MakeShortcuts(int kind, int remove) {
  const KwState& s = KwGlobal();
  if (remove) {
    RemoveShortcuts(PlanShortcutRemoval(kind));
    return;
  }
  if (!s.new_shell) {
    ProgmanGroups(kind, remove);
    return;
  }
  // Without the shell's folder there is nowhere to put the links.
  char folder[kKwPathSize];
  if (!ShellFolder(kind, folder, sizeof folder) || !AddBackslash(folder, sizeof folder)) return;
  std::string base = KwShortcutFolder(kind, folder);
  std::vector<std::string> files = KwShortcutFiles(kind, folder);
  if (files.empty()) return;
  if (base != folder && !CreateOneFolder(base.c_str())) return;
  std::vector<KwShortcutItem> items = KwShortcutItems(kind, false);
  if (FAILED(CoInitialize(nullptr))) return;
  for (std::size_t i = 0; i < items.size() && i < files.size(); ++i) SaveLink(files[i], items[i]);
  CoUninitialize();
}
