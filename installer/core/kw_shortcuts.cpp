#include "installer/core/kw_shortcuts.h"

#include "installer/core/kw_config.h"
#include "installer/core/kw_removal.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"

const char* KwShellFolderName(int kind) {
  switch (kind) {
    case kKwPrograms: return "Programs";
    case kKwDesktop: return "Desktop";
    default: return "Startup";
  }
}

std::vector<KwShortcutItem> KwShortcutItems(int kind, bool program_manager) {
  const KwState& s = KwGlobal();
  std::vector<KwShortcutItem> items;
  // A title that is no plain file name would put its group or link
  // outside the shell's folder.
  bool title_fits = program_manager || KwIsPlainName(s.title);
  if (s.group_count > 0 && (program_manager || kind == kKwPrograms)) {
    for (int n = 1; title_fits && n <= s.group_count; ++n) {
      if (GetGroupEntry(n)) items.push_back({s.entry_source, s.entry_dest});
    }
    return items;
  }
  if (title_fits && GetInstallEntry(1)) items.push_back({s.title, s.entry_dest});
  if (program_manager) {
    std::string uninstaller = std::string(s.location) + s.program_file + ",/r";
    items.push_back({std::string(s.program_file) + " Uninstallation", uninstaller});
  }
  return items;
}

std::string KwShortcutFolder(int kind, const std::string& shell_folder) {
  const KwState& s = KwGlobal();
  if (kind == kKwPrograms && s.group_count > 0) return shell_folder + s.title + "\\";
  return shell_folder;
}

std::vector<std::string> KwShortcutFiles(int kind, const std::string& shell_folder) {
  std::vector<std::string> files;
  std::string folder = KwShortcutFolder(kind, shell_folder);
  for (const KwShortcutItem& item : KwShortcutItems(kind, false))
    files.push_back(folder + item.name + ".lnk");
  return files;
}

std::string KwTargetFolder(const std::string& path) {
  const char* slash = FindLastCharDbcs(path.c_str(), '\\');
  if (!slash) return std::string();
  std::size_t at = static_cast<std::size_t>(slash - path.c_str());
  // A drive root keeps its backslash: "C:" alone is that drive's current folder.
  return path.substr(0, at == 2 && path[1] == ':' ? at + 1 : at);
}

bool KwSplitTarget(const std::string& target, std::string* path, std::string* arguments) {
  const char* comma = FindCharDbcs(target.c_str(), ',');
  if (!comma) {
    *path = target;
    arguments->clear();
    return false;
  }
  std::size_t at = static_cast<std::size_t>(comma - target.c_str());
  *path = target.substr(0, at);
  *arguments = target.substr(at + 1);
  return true;
}

std::string KwJoinPathArgs(const std::string& path, bool has_arguments,
                           const std::string& arguments) {
  return has_arguments ? path + " " + arguments : path;
}

std::vector<std::string> KwProgmanCommands(int kind, bool remove, const std::string& title,
                                           const std::vector<KwShortcutItem>& items) {
  std::vector<std::string> commands;
  if (remove) {
    if (kind == kKwStartup) {
      commands.push_back("[ShowGroup(\"Startup\",1)]");
      commands.push_back("[DeleteItem(\"" + title + "\")]");
    } else {
      commands.push_back("[ShowGroup(\"" + title + "\",1)]");
      for (const KwShortcutItem& item : items)
        commands.push_back("[DeleteItem(\"" + item.name + "\")]");
    }
    return commands;
  }
  if (kind == kKwStartup) {
    commands.push_back("[ShowGroup(\"Startup\",1)]");
    if (!items.empty()) {
      commands.push_back("[AddItem(\"" + items[0].target + "\",\"" + title + "\")]");
    }
    return commands;
  }
  commands.push_back("[CreateGroup(\"" + title + "\",0)]");
  for (const KwShortcutItem& item : items) {
    commands.push_back("[AddItem(\"" + item.target + "\",\"" + item.name + "\")]");
  }
  return commands;
}
