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
  if (RegOpenKeyExA(HKEY_CURRENT_USER,
                    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    return 0;
  }
  DWORD type = 0, bytes = static_cast<DWORD>(size - 1);
  LONG r = RegQueryValueExA(key, KwShellFolderName(kind), nullptr, &type,
                            reinterpret_cast<BYTE*>(out), &bytes);
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
  if (SUCCEEDED(
          link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_interface)))) {
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

int ProgmanGroups(int kind, int remove) {
  return SendProgman(kind, remove, KwShortcutItems(kind, true));
}

std::string KwLinkTarget(const std::string& file) {
  WCHAR wide[MAX_PATH];
  if (file.size() >= MAX_PATH || !MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH))
    return "";
  std::string target;
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return target;
  }
  IPersistFile* file_interface = nullptr;
  if (SUCCEEDED(
          link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_interface)))) {
    char path[MAX_PATH] = "";
    // The path as stored: resolving would search for a program that is gone.
    if (SUCCEEDED(file_interface->Load(wide, STGM_READ)) &&
        SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH))) {
      target = path;
    }
    file_interface->Release();
  }
  link->Release();
  return target;
}

namespace {

// 1 when the link file points at program (both as the system resolves them).
bool PointsAt(const std::string& file, const std::string& program) {
  std::string target = KwLinkTarget(file);
  return !target.empty() && KwSamePath(KwFullLongPath(target.c_str()).c_str(),
                                       KwFullLongPath(program.c_str()).c_str());
}

std::string ProgramOf(const KwShortcutItem& item) {
  std::string path, arguments;
  KwSplitTarget(item.target, &path, &arguments);
  return path;
}

}  // namespace

KwShortcutRemoval PlanShortcutRemoval(int kind) {
  KwShortcutRemoval plan;
  plan.kind = kind;
  if (!KwGlobal().new_shell) {
    plan.items = KwShortcutItems(kind, true);
    return plan;
  }
  // Without the shell's folder there are no links.
  char folder[kKwPathSize];
  if (!ShellFolder(kind, folder, sizeof folder) || !AddBackslash(folder, sizeof folder))
    return plan;
  plan.files = KwShortcutFiles(kind, folder);
  for (const KwShortcutItem& item : KwShortcutItems(kind, false))
    plan.targets.push_back(ProgramOf(item));
  std::string base = KwShortcutFolder(kind, folder);
  if (!plan.files.empty() && base != folder) plan.group = base.substr(0, base.size() - 1);
  return plan;
}

namespace {

// A group folder that is a link leads into another folder: nothing of
// ours is in it.
bool GroupIsLink(const std::string& group) {
  return !group.empty() && (KwIsReparsePoint(group.c_str()) ||
                            KwExistingFileKind(group.c_str()) == KwFileKind::kLink);
}

}  // namespace

std::vector<std::string> RemoveShortcuts(const KwShortcutRemoval& plan) {
  std::vector<std::string> kept;
  if (!KwGlobal().new_shell) {
    SendProgman(plan.kind, 1, plan.items);
    return kept;
  }
  // Kept as a folder, with its backslash.
  if (GroupIsLink(plan.group)) {
    kept.push_back(plan.group + "\\");
    return kept;
  }
  bool com = SUCCEEDED(CoInitialize(nullptr));
  for (std::size_t i = 0; i < plan.files.size(); ++i) {
    const std::string& file = plan.files[i];
    if (GetFileAttributesA(file.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
    // A link of the same name that leads elsewhere is someone else's, and
    // so is a file that is itself a link to another file.
    if (com && i < plan.targets.size() && KwExistingFileKind(file.c_str()) == KwFileKind::kPlain &&
        PointsAt(file, plan.targets[i])) {
      DeleteFileA(file.c_str());
    } else {
      kept.push_back(file);
    }
  }
  if (com) CoUninitialize();
  // The group goes only when nothing of anyone else's is left in it.
  if (!plan.group.empty()) RemoveDirectoryA(plan.group.c_str());
  return kept;
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
  if (base != folder && GroupIsLink(base.substr(0, base.size() - 1))) {
    KwMessage(
        KwWin().page,
        KwFormat("The Start menu group \"%s\" is a link to another folder. No shortcuts were made.",
                 base.c_str())
            .c_str(),
        nullptr, MB_OK | MB_ICONERROR);
    return;
  }
  std::vector<KwShortcutItem> items = KwShortcutItems(kind, false);
  if (FAILED(CoInitialize(nullptr))) return;
  for (std::size_t i = 0; i < items.size() && i < files.size(); ++i) {
    // An earlier install's link is ours to renew; another's stays as it is.
    KwFileKind kind = KwExistingFileKind(files[i].c_str());
    if (kind != KwFileKind::kAbsent &&
        (kind != KwFileKind::kPlain || !PointsAt(files[i], ProgramOf(items[i])))) {
      KwMessage(KwWin().page,
                KwFormat("The shortcut \"%s\" points at another program. It was left as it is.",
                         files[i].c_str())
                    .c_str(),
                nullptr, MB_OK | MB_ICONERROR);
      continue;
    }
    SaveLink(files[i], items[i]);
  }
  CoUninitialize();
}
