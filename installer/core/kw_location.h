// Checks and texts around the install location.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class KwLocationCheck { kOk, kRoot, kNotFullPath, kProtected };

// Judges a location as typed, already ending in a backslash: a drive root
// (or anything of two characters) is refused, as is anything not of the
// form letter, ":", "\".
KwLocationCheck KwCheckLocation(const char* location);

// A folder of the system that no install may take or sweep: the folder
// itself and every folder holding it are refused; with children, also
// every folder directly in it (the profiles folder: each user's profile).
struct KwProtectedFolder {
  std::string folder;  // normalised, ending in a backslash
  bool children;
};

// Judges a location by what it names: it is normalised first, and refused
// when that is a root or a protected folder (or holds one). *normalised
// (when given) receives the normalised location.
KwLocationCheck KwJudgeLocation(const char* location, const std::vector<KwProtectedFolder>& protected_folders,
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
