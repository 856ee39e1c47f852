// Which shortcuts an install makes, and the Program Manager commands for
// them.
#pragma once

#include <string>
#include <vector>

enum KwShortcutKind { kKwPrograms = 0, kKwDesktop = 1, kKwStartup = 2 };

// Name of the kind's value under the Shell Folders key.
const char* KwShellFolderName(int kind);

struct KwShortcutItem {
  std::string name;
  std::string target;  // path, optionally followed by "," and arguments
};

// The shortcuts of a kind. Shell links: the Group entries for Programs
// when there are any, else one link to Install entry 1 named with the
// title. Program Manager: the Group entries when there are any, else the
// program and the installer's uninstall item.
std::vector<KwShortcutItem> KwShortcutItems(int kind, bool program_manager);

// The folder a kind's links go in: the shell folder (ending in a
// backslash) and, for Programs with Group entries, the title's group.
std::string KwShortcutFolder(int kind, const std::string& shell_folder);
// The link files of a kind: the very list creating makes, so removing
// deletes these and never another program's or the user's shortcuts.
std::vector<std::string> KwShortcutFiles(int kind, const std::string& shell_folder);

// The folder a link starts its target in: the target's own folder.
std::string KwTargetFolder(const std::string& path);

// Splits a target at its first comma into path and arguments; returns
// whether there was a comma.
bool KwSplitTarget(const std::string& target, std::string* path, std::string* arguments);

// Program Manager's text for a target: the (short) path, then one blank
// and the arguments when the target had any.
std::string KwJoinPathArgs(const std::string& path, bool has_arguments,
                           const std::string& arguments);

// The DDE commands of one call; items hold targets already in Program
// Manager's form. Removing deletes the items by name, not the group,
// which may hold others' items too.
std::vector<std::string> KwProgmanCommands(int kind, bool remove, const std::string& title,
                                           const std::vector<KwShortcutItem>& items);
