// What the installer may write and the uninstaller may delete: names and
// destinations that stay inside their folder, the copy that may uninstall,
// the folder walk's handling of each entry and the second stage's copy.
#pragma once

#include <cstddef>

// Whether [begin, end) is a name Windows keeps for a device in every
// folder (CON, PRN, AUX, NUL, COM1-9, LPT1-9 ...), with any extension.
bool KwIsDeviceName(const char* begin, const char* end);

// 1 when name is one plain file or folder name: not empty, no separator,
// drive or stream colon, not made of dots and blanks only (".."), and no
// device name.
int KwIsPlainName(const char* name);

// 1 when a part of path between separators is a device name.
int KwNamesDevice(const char* path);

// 1 when a destination relative to the install folder stays inside it:
// every part between separators ("\" or "/") is a plain name, so it has
// no root, drive, "..", empty part or trailing separator.
int KwIsInsideDestination(const char* destination);

enum class KwUninstallSource { kOk, kNotInstalled, kOtherCopy };

// Whether the copy at running (already a full path) may uninstall: only
// the copy that the uninstall entry registered (registered_program; empty
// when the title has no entry).
KwUninstallSource KwCheckUninstallSource(const char* registered_program, const char* running);

enum class KwWalkAction { kRecurse, kDeleteQuietly, kAsk, kKeep };

// What the uninstall's folder walk does with one entry. A link (junction
// or symbolic link, to a file or a folder, or dangling) is never entered
// nor deleted: its target may lie outside the install folder, and
// deleting a link can delete what it points at (Wine does, for files and
// for empty folders). The install folder then stays for the user to clear.
KwWalkAction KwFolderEntryAction(const char* name, bool directory, bool link);

// The second stage's copy runs from a folder of its own, which the first
// stage creates afresh: "<temp folder>KwUninstall-<stamp>\KwUninstall.exe",
// so no file that another program left beside it is loaded with it.
// KwStageCopyName gives the folder (with its backslash) and the copy;
// KwIsStageCopy tells such a copy from any other file.
int KwStageCopyName(const char* temp_folder, unsigned stamp, char* folder, std::size_t folder_size,
                    char* out, std::size_t size);
int KwIsStageCopy(const char* path, const char* temp_folder);

// 1 when the second stage's "x" path may name an installed copy: a full
// path whose every part is a plain name (no "." or ".." to climb with),
// ending in a plain program name whose configuration name is plain too.
int KwIsStageProgramPath(const char* path);
