#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> CorpusFiles(const char* folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  fs::path dir = fs::path(LV_SOURCE_DIR "/../shared/corpus/parse-suite") / folder;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->is_regular_file()) files.push_back(it->path());
  return files;
}

int CountNodes(const KsWordNode* node, int depth, int* maxDepth) {
  int n = 0;
  if (depth > *maxDepth) *maxDepth = depth;
  for (; node; node = node->next) {
    ++n;
    EXPECT_NE(node->text, nullptr);
    n += CountNodes(node->child, depth + 1, maxDepth);
  }
  return n;
}

}  // namespace

TEST(ReaderCorpus, EveryFileReadsThroughThePrePass) {
  int total = 0;
  for (const char* folder : {"good", "bad"}) {
    std::vector<fs::path> files = CorpusFiles(folder);
    EXPECT_GE(files.size(), 10u) << folder;
    for (const fs::path& path : files) {
      ++total;
      const std::string name = path.string();
      QmReadWordFile reader;
      ASSERT_NE(reader.Open(name.c_str()), nullptr) << name;
      KsVrmlPass1 pass;
      int result = pass.Run(&reader);
      int maxDepth = 0;
      int nodes = CountNodes(pass.GetRoot(), 0, &maxDepth);
      EXPECT_LE(maxDepth, KsVrmlPass1::kMaxDepth + 1);
      if (std::string(folder) == "good") {
        // Valid files have balanced brackets and strings; only a
        // file without statements gives no tree.
        EXPECT_EQ(pass.GetErrorCode(), 0) << name << ": " << pass.GetMessage();
        EXPECT_EQ(result != 0, nodes == 0) << name;
      }

      // Reading from memory gives the same tree as reading the file.
      std::ifstream in(path, std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      kstest::Parsed again(text);
      EXPECT_EQ(again.result, result) << name;
      EXPECT_EQ(kstest::Shape(again.root()), kstest::Shape(pass.GetRoot())) << name;
    }
  }
  EXPECT_GE(total, 20);
}
