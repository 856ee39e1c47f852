// Portable parts of the uninstall: Reg entries, help index files and the
// WININIT.INI rename block.
#pragma once

#include <cstddef>
#include <string>

enum class KwRegRoot { kNone, kCurrentUser, kLocalMachine, kClassesRoot };

// The root and subkey a Reg entry names; kNone for anything else,
// including a bare root without a subkey.
KwRegRoot KwParseRegEntry(const char* value, const char** subkey);

enum class KwRegCheck { kOk, kBroken, kTooBroad, kNotOwn };

// Whether a Reg entry may be deleted by the uninstall. kBroken: no root
// it knows (reported and skipped as before). kTooBroad: a root, a key
// directly under one, or a vendor's whole key directly under Software.
// kNotOwn: the system's or the shell's (Classes, HKEY_CLASSES_ROOT, keys
// outside Software, Software\Microsoft and its kind), which holds every
// uninstall entry. Only HKCU or HKLM "Software\<vendor>\<key>..." passes.
KwRegCheck KwJudgeRegEntry(const char* value);

// 1 when the text after the file name's first dot is "gid" in any case.
int KwIsHelpIndexFile(const char* name);

inline constexpr std::size_t kKwWininitBuffer = 32768;
inline constexpr std::size_t kKwWininitLimit = 30000;

// The block written to WININIT.INI: "[Rename]", the section's existing
// lines (profile-section form: "key=value" strings, each NUL-terminated,
// the list ended by an empty one) and "NUL=<short path>", every line
// ending in CR LF. 0 (nothing to write) when the existing lines exceed
// the limit.
int KwBuildWininitBlock(const char* section_lines, const char* short_path, std::string* block);

// Where the block goes in a file of size bytes whose last byte is
// last_byte: over a final Ctrl-Z, else at the end; newline says whether a
// line break must come first so the block starts on a line of its own.
void KwWininitPlacement(long size, int last_byte, long* offset, bool* newline);
