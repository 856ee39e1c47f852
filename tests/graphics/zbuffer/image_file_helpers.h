// Temporary files of the image tests: names in the test temp folder and
// their bytes read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline std::string ImageTempPath(const std::string& name) {
  std::string dir = ::testing::TempDir();
  if (!dir.empty() && dir.back() != '/' && dir.back() != '\\') dir += '/';
  return dir + name;
}

// The bytes of a file; *exists = false when it cannot be opened.
inline std::vector<unsigned char> ReadImageFile(const std::string& path, bool* exists = nullptr) {
  std::vector<unsigned char> bytes;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (exists) *exists = f != nullptr;
  if (f == nullptr) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  std::fclose(f);
  return bytes;
}

inline bool ImageFileExists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

inline std::uint32_t Big16(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] << 8 | b[at + 1]);
}
inline std::uint32_t Big32(const std::vector<unsigned char>& b, std::size_t at) {
  return Big16(b, at) << 16 | Big16(b, at + 2);
}
inline std::uint32_t Little16(const std::vector<unsigned char>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}
inline std::uint32_t Little32(const std::vector<unsigned char>& b, std::size_t at) {
  return Little16(b, at) | Little16(b, at + 2) << 16;
}
