// Checks and texts around the install location.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "installer/core/kw_state.h"

enum class KwLocationCheck { kOk, kRoot, kNotFullPath, kProtected, kBadName, kTooLong };

// Judges a location as typed, already ending in a backslash: a drive root
// (or anything of two characters) is refused, as is anything not of the
// form letter, ":", "\".
KwLocationCheck KwCheckLocation(const char* location);

// A folder of the system that no install may take or sweep: the folder
// itself and every folder holding it are refused; with children, also
// every folder directly in it (the profiles folder: each user's profile);
// with inside, every folder within it as well (the Windows folder, a
// user's Documents, a program's folder under Program Files).
struct KwProtectedFolder {
  std::string folder;  // normalised, ending in a backslash
  bool children;
  bool inside = false;
};

// Judges the text of a location before anything is made: kTooLong when it
// leaves no room for the files (kKwLocationLimit characters at most),
// kBadName when a part holds a character no file name may hold (< > " | ?
// * or a control character), a colon past the drive, or a device name.
inline constexpr std::size_t kKwLocationLimit = 246;  // an 8.3 name still fits 259
KwLocationCheck KwCheckLocationText(const char* location);

// Judges a location by what it names: it is normalised first, and refused
// when that is a root or a protected folder (or holds one). *normalised
// (when given) receives the normalised location.
KwLocationCheck KwJudgeLocation(const char* location,
                                const std::vector<KwProtectedFolder>& protected_folders,
                                std::string* normalised);

// A tenth of the free bytes, from the drive's geometry (64-bit, so large
// drives neither wrap nor turn negative).
std::uint64_t KwFreeSpaceTenth(std::uint32_t sectors_per_cluster, std::uint32_t bytes_per_sector,
                               std::uint32_t free_clusters);
inline constexpr std::uint64_t kKwLowSpaceTenth = 10485760;  // about 100 MB free
// The number the low-space question shows (about the free megabytes).
std::uint32_t KwFreeSpaceShown(std::uint64_t tenth);

// The folders CreateFolderPath makes, in order: every prefix of path that
// ends at a backslash after its drive root; a path without a drive root
// is one folder as it stands.
std::vector<std::string> KwFolderLevels(const char* path);
// The folders below the install location that a destination needs: every
// prefix of dest ending at a backslash after the first location_length
// characters.
std::vector<std::string> KwDestinationLevels(const char* dest, std::size_t location_length);

// "\"<location><file>\" /r": the registered uninstall command.
int KwUninstallString(const char* location, const char* file, char* out, std::size_t size);

// Another program's uninstall entry, as the registry lists it.
struct KwUninstallEntry {
  std::string key;       // the name under the Uninstall key
  std::string location;  // the folder of the program its UninstallString runs
};
// The entry, other than own_key's, whose folder the location is, holds or
// lies in: that product's place. Null when there is none.
const KwUninstallEntry* KwForeignOwner(const char* location, const char* own_key,
                                       const std::vector<KwUninstallEntry>& entries);
