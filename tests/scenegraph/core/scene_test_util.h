// Helpers for tests that realise VRML text into a partition.
#ifndef KS_TESTS_SCENE_TEST_UTIL_H
#define KS_TESTS_SCENE_TEST_UTIL_H

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reader_test_util.h"

namespace kstest {

// Realises text as a file's top level; returns what the partition printed.
inline std::string Realize(KsPartition& partition, const std::string& text) {
  Parsed parsed(text);
  testing::internal::CaptureStderr();
  partition.RealizeTree(parsed.root());
  return testing::internal::GetCapturedStderr();
}

inline bool Contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}

// Writes a file; false when it cannot be written.
inline bool WriteFile(const std::string& path, const std::string& text) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace kstest

#endif
