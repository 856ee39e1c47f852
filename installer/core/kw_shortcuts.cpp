#include "installer/core/kw_shortcuts.h"

#include "installer/core/kw_config.h"
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
  if (s.group_count > 0 && (program_manager || kind == kKwPrograms)) {
    for (int n = 1; n <= s.group_count; ++n) {
      if (GetGroupEntry(n)) items.push_back({s.entry_source, s.entry_dest});
    }
    return items;
  }
  if (GetInstallEntry(1)) items.push_back({s.title, s.entry_dest});
  if (program_manager) {
    std::string uninstaller = std::string(s.location) + s.program_file + ",/r";
    items.push_back({std::string(s.program_file) + " Uninstallation", uninstaller});
  }
  return items;
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

std::string KwJoinPathArgs(const std::string& path, bool has_arguments, const std::string& arguments) {
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
      commands.push_back("[DeleteGroup(\"" + title + "\",0)]");
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
