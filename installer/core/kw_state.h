// Process-wide state of the installer and the seams through which the
// portable core reaches the platform (profile file, registry, Windows
// folder, double-byte lead bytes).
#pragma once

#include <cstddef>

inline constexpr std::size_t kKwPathSize = 260;  // every path buffer
inline constexpr std::size_t kKwNameSize = 100;  // title and folder name

// Why the configuration was refused.
enum class KwRefusal { kNone, kOutside, kDevice, kFolderName, kRegKey, kForeignEntry };

struct KwState {
  int new_shell;                     // 1: shell links and Shell Folders; 0: Program Manager
  char program_path[kKwPathSize];    // the running installer's own module path
  char program_folder[kKwPathSize];  // folder of the chosen path, with trailing backslash
  char program_file[kKwPathSize];    // file name of that path
  char config_file[kKwPathSize];     // program file name with "INF" for its extension
  char config_path[kKwPathSize];     // program folder + configuration file name
  char title[kKwNameSize];
  char folder[kKwNameSize];
  int resident;                         // TSR=1: Startup shortcut only
  char location[kKwPathSize];           // install location, always ending in a backslash
  char installed_program[kKwPathSize];  // the copy the uninstall entry runs; "" when none
  char refused[kKwPathSize];            // the configuration entry that was refused, for its message
  KwRefusal refusal;                    // and why
  char owner[kKwNameSize];              // kForeignEntry: the product whose entry Folder names
  int install_count;                    // N: consecutive non-empty Install entries
  int group_count;                      // G: consecutive Group entries holding a comma
  char entry_source[kKwPathSize];       // last entry read: source or shortcut name
  char entry_dest[kKwPathSize];         // location + destination, or shortcut target
};

KwState& KwGlobal();
void KwResetState();

// Platform services; a null hook reads nothing.
struct KwPlatform {
  // Value of key in section of the configuration file ("" when missing);
  // the result is NUL-terminated within size.
  void (*read_profile)(const char* section, const char* key, char* out, std::size_t size);
  int (*is_lead_byte)(unsigned char c);
  // The Windows folder; 0 when unknown.
  int (*windows_folder)(char* out, std::size_t size);
  // UninstallString of the registered uninstall key of folder: 1 when the
  // key opened (out may still be empty), 0 when there is none.
  int (*read_uninstall_string)(const char* folder, char* out, std::size_t size);
  // DisplayName of that key: 1 when the key exists (out empty when it
  // has none).
  int (*read_display_name)(const char* folder, char* out, std::size_t size);
  // 1 when two paths name the same file as the file system compares
  // names (ordinal, ignoring case); null: KwSamePath's own folding.
  int (*same_path)(const char* a, const char* b);
  // The full, normalised long form of path; null: KwNormalizePath.
  int (*full_path)(const char* path, char* out, std::size_t size);
  // Where a full path finally leads (links, mapped drives); null: as named.
  int (*final_path)(const char* path, char* out, std::size_t size);
};

KwPlatform& KwPlatformHooks();
void KwResetPlatform();

// Reads section/key through the hook into out (always terminated).
void KwReadProfile(const char* section, const char* key, char* out, std::size_t size);
