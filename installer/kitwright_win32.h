// Kitwright's Win32 side: entry, wizard, file copy, shortcuts, Program
// Manager DDE and the uninstaller.
#pragma once

#include <windows.h>
// The 16-bit GetFreeSpace macro of <windows.h> would hide ours.
#undef GetFreeSpace

#include <cstdint>
#include <string>
#include <vector>

#include "installer/core/kw_location.h"
#include "installer/core/kw_record.h"
#include "installer/core/kw_shortcuts.h"

// Window-side state of the one install or uninstall.
struct KwWindows {
  HINSTANCE instance;
  HWND sheet;                           // the property sheet
  HWND page;                            // current page or dialog: owner of message boxes
  int start_menu;                       // "Register to Start Menu" ticked
  int desktop;                          // "Create Shortcut on the Desktop" ticked
  int step;                             // install step counter
  int timer_started;                    // the progress page's first step is on its way
  int uninstall_done;                   // EXIT may end the uninstall dialog
  std::vector<std::string> kept_links;  // links of our names that point elsewhere
  KwInstallRecord previous;             // what an earlier install of this product wrote
  KwInstallRecord written;              // what this install wrote, kept with its entry
};
KwWindows& KwWin();
void KwResetWindows();

// Every message box goes through here, so tests can answer them.
using KwMessageHook = int (*)(HWND owner, const char* text, const char* caption, UINT flags);
void KwSetMessageHook(KwMessageHook hook);
int KwMessage(HWND owner, const char* text, const char* caption, UINT flags);
std::string KwFormat(const char* format, ...);

// The portable core's platform seams, served by Win32.
void KwInstallWin32Platform();

int InstallerMain(HINSTANCE instance, LPSTR command_line);
int LoadInstallConfig();
void CenterWindow(HWND window);

// Program Manager DDE client.
int ProgmanInit();
int ProgmanConnect(const char* service, const char* topic);
int ProgmanCommand(const char* command);
void ProgmanEnd();

// Install.
int RunInstallWizard();
std::uint64_t GetFreeSpace();
int CreateOneFolder(const char* path);
int CreateFolderPath(const char* path);
// Makes the missing levels of path, noting each one made in made (in
// order); 0 when one cannot be made.
int CreateFolderPathNoting(const char* path, std::vector<std::string>* made);
// Removes those folders again, deepest first, when empty.
void RemoveMadeFolders(const std::vector<std::string>& made);
int CopyInstallFile();
void WriteUninstallEntry();
void MakeShortcuts(int kind, int remove);
int ProgmanGroups(int kind, int remove);
std::string ShortPathWithArgs(const std::string& target);
// What removing a kind's shortcuts deletes, read from the configuration
// before the uninstall deletes it: the link files and their group folder
// (removed only when empty), or the Program Manager items.
struct KwShortcutRemoval {
  int kind;
  std::vector<std::string> files;
  std::vector<std::string> targets;  // the program each file's link must point at
  std::string group;
  std::vector<KwShortcutItem> items;
};
KwShortcutRemoval PlanShortcutRemoval(int kind);
// Deletes the planned links that point at the installed program; returns
// the others of those names, which are left alone (and the group folder,
// with its backslash, when it is a link to another folder).
std::vector<std::string> RemoveShortcuts(const KwShortcutRemoval& plan);
// The program a link file points at; empty when it cannot be read.
std::string KwLinkTarget(const std::string& file);
void InstallStep();
// The uninstall key of the configured folder.
std::string KwUninstallKey();

// Paths. The full path of path, normalised, with long names, so one file
// compares equal however it was named ("C:\\.\\" is "C:\\").
std::string KwFullLongPath(const char* path);
// Serves the core's path comparison and resolution from the system.
void KwInstallPathHooks();
// The Windows, system, program files and profile folders, normalised.
std::vector<KwProtectedFolder> KwSystemFolders();
// The path as the system finally resolves it (links, mapped drives): the
// longest part that exists resolved, the rest as it stands; empty when
// path is not a full path.
std::string KwFinalPath(const char* path);
enum class KwFileKind { kAbsent, kPlain, kLink, kHardLink, kFolder, kOther };
// What lies at path: nothing, a file of its own, a link (to a file or a
// folder, or dangling), a file with other names (hard links), a folder.
KwFileKind KwExistingFileKind(const char* path);
// The record an install keeps under its uninstall key, read back; empty
// when there is none.
KwInstallRecord KwReadRecord();
// 1 when path (with or without its trailing backslash) is a link:
// junction, symbolic link or any other reparse point.
int KwIsReparsePoint(const char* path);
// 1 when the install location, a folder between it and path, or path
// itself is a link, so writing or deleting path could reach elsewhere.
int KwLinkOnTheWay(const char* path, const char* location);

// Uninstall.
// 1 when copy is the installed copy that the uninstall entry registered
// and its folder may be swept (no root, system folder or link); the
// location is then that copy's own normalised folder. Otherwise says why
// not (nothing is deleted) and 0.
int KwMayUninstall(const char* copy);
// The uninstall dialog's caption: the title and the word for its removal.
std::wstring KwRemovalCaption();
void UninstallSecondStage();
int UninstallAll();
int DeleteInstalledFile(const char* path);
// Deletes path when record says this product wrote it and it is still a
// file of its own; a link or a file with other names in its place is left
// (kept is set). 1 when nothing of the product's stays there.
int DeleteRecordedFile(const char* path, const KwInstallRecord& record, bool* kept);
int DeleteFolderTree(const char* folder);
void DeleteRegTree(HKEY root, const char* subkey);
// Keys DeleteRegTree has opened, so tests see what it reached.
unsigned KwRegistryOpenCount();
void KwResetRegistryOpenCount();
void DeleteOnReboot(const char* path);
// The WININIT.INI fallback of DeleteOnReboot on the given file; 1 when
// the block was written.
int KwAppendWininitRename(const char* ini_path, const char* path);
