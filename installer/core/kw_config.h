// The configuration file beside the installer and the install location.
#pragma once

#include <cstddef>
#include <string>

// The product's uninstall key under HKEY_LOCAL_MACHINE.
std::string KwUninstallKeyName(const char* folder);

// Splits path at its last backslash into the program folder and file name
// and derives the configuration file's name and path; 0 when a part does
// not fit.
int KwSplitProgramPath(const char* path);

// The configuration file name for an installer file name: its last three
// characters replaced by "INF" (".INF" appended to a shorter name).
int KwConfigFileName(const char* program_file, char* out, std::size_t size);

// "<drive>:\Program Files\<folder>\" from the Windows folder, or
// "c:\<folder>\" when it has no drive letter.
int KwDefaultLocation(const char* windows_folder, const char* folder, char* out, std::size_t size);

// The folder of the program a registered UninstallString runs, with its
// trailing backslash; 0 (out untouched) when the text names none.
int KwLocationFromUninstallString(const char* text, char* out, std::size_t size);

// The folder of a program path, with its trailing backslash; 0 (out
// untouched) when it has none or it does not fit.
int KwLocationFromProgram(const char* program, char* out, std::size_t size);

// The program a registered UninstallString runs; 0 when it names none.
int KwProgramFromUninstallString(const char* text, char* out, std::size_t size);

// Reads Title, Folder, TSR, the default or previous location (and the
// registered program) and the entry counts; 0 when Title or Folder is
// missing, or when an entry is refused (then in refused, with refusal):
// a Folder that is no plain name or whose uninstall key is another
// product's, an Install destination, Open or Group target that would
// leave the install folder, a Group name its group, or a Reg key that is
// not the product's own.
int KwLoadConfig();

// Install entry n (n >= 1), the installer itself (-1) or its configuration
// file (0) into entry source and destination; 0 when missing or too long.
int GetInstallEntry(int n);
// Group entry n into shortcut name (source) and target (destination); the
// name is emptied when the entry has no comma. 0 when there is no shortcut.
int GetGroupEntry(int n);
