// Every world of the tree and of the shared corpus reads into the same scene
// whether its lists of numbers are held packed or as nodes: the same roots,
// the same written text, the same messages and skipped statements.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"
#include "scenegraph/core/reading/working_dir.h"
#include "scenegraph/nodes/writer_test_util.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Worlds() {
  std::vector<fs::path> files;
  for (const char* folder : {LV_SOURCE_DIR "/examples", LV_SOURCE_DIR "/tests",
                             LV_SOURCE_DIR "/../shared/corpus/parse-suite"}) {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
      const bool corpus = it->path().string().find("parse-suite") != std::string::npos;
      if (it->is_regular_file() && (corpus || it->path().extension() == ".wrl"))
        files.push_back(it->path());
    }
  }
  return files;
}

struct Scene {
  int roots = 0;
  int skipped = 0, firstLine = 0, cutLine = 0;
  std::string written, messages;
};

// As the partition reads a file, with the pass's lists packed or not.
Scene ReadWorld(const fs::path& path, bool pack) {
  Scene scene;
  QmReadWordFile reader;
  if (!reader.Open(path.string().c_str())) return scene;
  KsVrmlPass1 pass;
  pass.SetPackNumbers(pack);
  KsPartition partition;
  KsReadErrors errors;
  testing::internal::CaptureStderr();
  {
    KsWorkingDirScope folder(KsFolderOfPath(path.string().c_str()));
    KsReadErrorScope scope(&errors);
    pass.Run(&reader);
    partition.RealizeTree(pass.GetRoot());
  }
  kstest::TextStream out;
  partition.WriteHeader(&out);
  scene.messages = testing::internal::GetCapturedStderr();
  scene.written = out.out;
  scene.roots = partition.GetNodeCount();
  scene.skipped = errors.skipped;
  scene.firstLine = errors.firstLine;
  scene.cutLine = errors.cutLine;
  return scene;
}

}  // namespace

typedef kstest::NodeLibraryWriterTest PackedLists;

TEST_F(PackedLists, EveryWorldReadsAsFromNodes) {
  const std::vector<fs::path> worlds = Worlds();
  EXPECT_GE(worlds.size(), 40u);
  for (const fs::path& path : worlds) {
    const Scene nodes = ReadWorld(path, false);
    TearDown();
    SetUp();
    const Scene packed = ReadWorld(path, true);
    TearDown();
    SetUp();
    EXPECT_EQ(packed.roots, nodes.roots) << path;
    EXPECT_EQ(packed.written, nodes.written) << path;
    EXPECT_EQ(packed.messages, nodes.messages) << path;
    EXPECT_EQ(packed.skipped, nodes.skipped) << path;
    EXPECT_EQ(packed.firstLine, nodes.firstLine) << path;
    EXPECT_EQ(packed.cutLine, nodes.cutLine) << path;
  }
}
