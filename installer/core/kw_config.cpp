#include "installer/core/kw_config.h"

#include <cstring>

#include "installer/core/kw_normalize.h"
#include "installer/core/kw_removal.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/core/kw_uninstall.h"

#include <string>

std::string KwUninstallKeyName(const char* folder) {
  return std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + folder;
}

int KwConfigFileName(const char* program_file, char* out, std::size_t size) {
  std::size_t n = std::strlen(program_file);
  if (n < 3) {
    if (!KwCopy(out, size, program_file)) return 0;
    return KwAppend(out, size, ".INF");
  }
  if (n >= size) {
    out[0] = '\0';
    return 0;
  }
  std::memcpy(out, program_file, n - 3);
  std::memcpy(out + n - 3, "INF", 4);
  return 1;
}

int KwSplitProgramPath(const char* path) {
  KwState& s = KwGlobal();
  const char* slash = FindLastCharDbcs(path, '\\');
  std::size_t folder_len = slash ? static_cast<std::size_t>(slash - path) + 1 : 0;
  const char* name = path + folder_len;
  s.program_folder[0] = s.program_file[0] = s.config_file[0] = s.config_path[0] = '\0';
  if (folder_len >= kKwPathSize) return 0;
  std::memcpy(s.program_folder, path, folder_len);
  s.program_folder[folder_len] = '\0';
  if (!KwCopy(s.program_file, sizeof s.program_file, name)) return 0;
  if (!KwConfigFileName(s.program_file, s.config_file, sizeof s.config_file)) return 0;
  if (!KwCopy(s.config_path, sizeof s.config_path, s.program_folder)) return 0;
  return KwAppend(s.config_path, sizeof s.config_path, s.config_file);
}

int KwDefaultLocation(const char* windows_folder, const char* folder, char* out, std::size_t size) {
  if (size < 4) return 0;
  if (windows_folder[0] != '\0' && windows_folder[1] == ':') {
    out[0] = windows_folder[0];
    out[1] = ':';
    out[2] = '\0';
    if (!KwAppend(out, size, "\\Program Files\\")) return 0;
  } else if (!KwCopy(out, size, "c:\\")) {
    return 0;
  }
  if (!KwAppend(out, size, folder) || !KwAppend(out, size, "\\")) {
    out[0] = '\0';
    return 0;
  }
  return 1;
}

int KwProgramFromUninstallString(const char* text, char* out, std::size_t size) {
  const char* start = text;
  const char* end = nullptr;
  if (*start == '"') {
    ++start;
    end = FindCharDbcs(start, '"');
  } else {
    end = FindCharDbcs(start, ' ');
  }
  // Without a closing quote or arguments the whole text is the program.
  std::size_t len = end ? static_cast<std::size_t>(end - start) : std::strlen(start);
  if (len >= size) return 0;
  std::memcpy(out, start, len);
  out[len] = '\0';
  if (!FindLastCharDbcs(out, '\\')) {
    out[0] = '\0';
    return 0;
  }
  return 1;
}

int KwLocationFromUninstallString(const char* text, char* out, std::size_t size) {
  char program[kKwPathSize];
  if (!KwProgramFromUninstallString(text, program, sizeof program)) return 0;
  return KwLocationFromProgram(program, out, size);
}

int KwLocationFromProgram(const char* program, char* out, std::size_t size) {
  const char* slash = FindLastCharDbcs(program, '\\');
  if (!slash) return 0;
  std::size_t keep = static_cast<std::size_t>(slash - program) + 1;
  if (keep >= size) return 0;
  std::memcpy(out, program, keep);
  out[keep] = '\0';
  return 1;
}

namespace {

// Cuts value at its first comma; returns the text after it, or null.
char* SplitAtComma(char* value) {
  char* comma = const_cast<char*>(FindCharDbcs(value, ','));
  if (!comma) return nullptr;
  *comma = '\0';
  return comma + 1;
}

// Notes entry section/key of value as refused; returns 0 for the caller.
int Refuse(const char* section, const char* key, const char* value,
           KwRefusal why = KwRefusal::kOutside) {
  KwState& s = KwGlobal();
  s.refusal = why;
  s.refused[0] = '\0';
  KwAppend(s.refused, sizeof s.refused, "[");
  KwAppend(s.refused, sizeof s.refused, section);
  KwAppend(s.refused, sizeof s.refused, "] ");
  KwAppend(s.refused, sizeof s.refused, key);
  KwAppend(s.refused, sizeof s.refused, "=");
  KwAppend(s.refused, sizeof s.refused, value);
  return 0;
}

}  // namespace

int KwLoadConfig() {
  KwState& s = KwGlobal();
  KwReadProfile("Install", "Title", s.title, sizeof s.title);
  KwReadProfile("Install", "Folder", s.folder, sizeof s.folder);
  s.refused[0] = s.owner[0] = '\0';
  s.refusal = KwRefusal::kNone;
  if (s.title[0] == '\0' || s.folder[0] == '\0') return 0;
  // Folder names the product's one uninstall key and its folder under
  // Program Files: "\", ".." or "a\b" would reach the Uninstall key
  // itself or another's.
  if (!KwIsPlainName(s.folder)) {
    return Refuse("Install", "Folder", s.folder,
                  KwNamesDevice(s.folder) ? KwRefusal::kDevice : KwRefusal::kFolderName);
  }

  char tsr[10];
  KwReadProfile("Install", "TSR", tsr, sizeof tsr);
  s.resident = tsr[0] == '1' ? 1 : 0;

  char windows[kKwPathSize] = "";
  const KwPlatform& p = KwPlatformHooks();
  if (!p.windows_folder || !p.windows_folder(windows, sizeof windows)) windows[0] = '\0';
  KwDefaultLocation(windows, s.folder, s.location, sizeof s.location);

  char registered[kKwPathSize] = "";
  s.installed_program[0] = '\0';
  // An entry of that name with another product's title (or none: every
  // install of this one writes it) is that product's.
  char shown[kKwNameSize];
  if (p.read_display_name && p.read_display_name(s.folder, shown, sizeof shown)) {
    shown[sizeof shown - 1] = '\0';
    if (!KwSamePath(shown, s.title)) {
      KwCopy(s.owner, sizeof s.owner, shown[0] ? shown : s.folder);
      return Refuse("Install", "Folder", s.folder, KwRefusal::kForeignEntry);
    }
  }
  if (p.read_uninstall_string && p.read_uninstall_string(s.folder, registered, sizeof registered)) {
    registered[sizeof registered - 1] = '\0';
    // The entry's text may be stale or hand-made ("Q:\.\SETUP.EXE"): the
    // location is the folder of the program it names, as that resolves.
    char program[kKwPathSize];
    if (KwProgramFromUninstallString(registered, program, sizeof program) &&
        KwFullPath(program, s.installed_program, sizeof s.installed_program) &&
        !KwLocationFromProgram(s.installed_program, s.location, sizeof s.location)) {
      s.installed_program[0] = '\0';
    }
  }

  // Entries are judged here, so neither the install nor the uninstall
  // ever acts on one that leaves its folder.
  char key[kKwKeySize];
  char value[kKwPathSize];
  char whole[kKwPathSize];
  s.install_count = 0;
  for (unsigned n = 1;; ++n) {
    EntryKey(n, key);
    KwReadProfile("Install", key, value, sizeof value);
    if (value[0] == '\0') break;
    KwCopy(whole, sizeof whole, value);
    const char* dest = SplitAtComma(value);
    if (!KwIsInsideDestination(dest ? dest : value)) {
      return Refuse("Install", key, whole,
                    KwNamesDevice(dest ? dest : value) ? KwRefusal::kDevice : KwRefusal::kOutside);
    }
    s.install_count = static_cast<int>(n);
  }
  s.group_count = 0;
  for (unsigned n = 1;; ++n) {
    EntryKey(n, key);
    KwReadProfile("Group", key, value, sizeof value);
    KwCopy(whole, sizeof whole, value);
    // The name is the link's, the target a file of the install.
    char* target = SplitAtComma(value);
    if (!target) break;
    SplitAtComma(target);
    if (!KwIsPlainName(value) || !KwIsInsideDestination(target)) {
      return Refuse(
          "Group", key, whole,
          KwNamesDevice(value) || KwNamesDevice(target) ? KwRefusal::kDevice : KwRefusal::kOutside);
    }
    s.group_count = static_cast<int>(n);
  }
  KwReadProfile("Install", "Open", value, sizeof value);
  if (value[0] != '\0' && !KwIsInsideDestination(value)) {
    return Refuse("Install", "Open", value,
                  KwNamesDevice(value) ? KwRefusal::kDevice : KwRefusal::kOutside);
  }
  const std::string own = std::string("HKEY_LOCAL_MACHINE\\") + KwUninstallKeyName(s.folder);
  for (unsigned n = 1;; ++n) {
    EntryKey(n, key);
    KwReadProfile("Reg", key, value, sizeof value);
    if (value[0] == '\0') break;
    // The product's own entry goes with the uninstall anyway.
    KwRegCheck check = KwSamePath(value, own.c_str()) ? KwRegCheck::kOk : KwJudgeRegEntry(value);
    if (check == KwRegCheck::kTooBroad || check == KwRegCheck::kNotOwn) {
      return Refuse("Reg", key, value, KwRefusal::kRegKey);
    }
  }
  return 1;
}

int GetInstallEntry(int n) {
  KwState& s = KwGlobal();
  char value[kKwPathSize];
  if (n == -1) {
    KwCopy(value, sizeof value, s.program_file);
  } else if (n == 0) {
    KwCopy(value, sizeof value, s.config_file);
  } else {
    char key[kKwKeySize];
    EntryKey(static_cast<unsigned>(n), key);
    KwReadProfile("Install", key, value, sizeof value);
  }
  s.entry_source[0] = s.entry_dest[0] = '\0';
  if (value[0] == '\0') return 0;
  const char* dest = SplitAtComma(value);
  if (!dest) dest = value;
  KwCopy(s.entry_source, sizeof s.entry_source, value);
  if (!KwCopy(s.entry_dest, sizeof s.entry_dest, s.location) ||
      !KwAppend(s.entry_dest, sizeof s.entry_dest, dest)) {
    s.entry_dest[0] = '\0';
    return 0;
  }
  return 1;
}

int GetGroupEntry(int n) {
  KwState& s = KwGlobal();
  char key[kKwKeySize];
  char value[kKwPathSize];
  EntryKey(static_cast<unsigned>(n), key);
  KwReadProfile("Group", key, value, sizeof value);
  s.entry_source[0] = s.entry_dest[0] = '\0';
  const char* target = SplitAtComma(value);
  if (!target) return 0;
  KwCopy(s.entry_source, sizeof s.entry_source, value);
  if (!KwCopy(s.entry_dest, sizeof s.entry_dest, s.location) ||
      !KwAppend(s.entry_dest, sizeof s.entry_dest, target)) {
    s.entry_source[0] = s.entry_dest[0] = '\0';
    return 0;
  }
  return 1;
}
