// What reading a file records about the statements it had to skip.
#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <string>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/reading/local_heap.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/scene_test_util.h"

namespace {

class ReadErrorsTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetReadErrors();
    kstest::RegisterProbes();
  }
  void TearDown() override {
    KsResetNodeFactory();
    KsResetReadErrors();
  }
  // Reads text as a file (header on line 1): the partition's record.
  KsReadErrors Read(const std::string& name, const std::string& body, int* roots) {
    const std::string path = testing::TempDir() + name;
    EXPECT_TRUE(kstest::WriteFile(path, "#VRML V2.0 utf8\n" + body));
    KsPartition p;
    testing::internal::CaptureStderr();
    EXPECT_EQ(p.ReadFile(path.c_str()), 0);
    testing::internal::GetCapturedStderr();
    std::remove(path.c_str());
    *roots = p.GetNodeCount();
    return p.GetReadErrors();
  }
};

TEST_F(ReadErrorsTest, EverySkippedStatementCountsAndTheFirstLineIsKept) {
  struct Case {
    const char* name;
    const char* body;
    int skipped, first_line, cut_line, roots;
  } cases[] = {
      {"clean", "Group { x 1 }\nTransform { children [ Group { } ] }\nNULL\n", 0, 0, 0, 2},
      {"unknown_node", "Group { }\n\nFoo { x 1 }\nGroup { }\n", 1, 4, 0, 2},
      // The line a word starts on, not the next one that its line end begins.
      {"word_ends_line", "Group { }\nFoo\n{ x 1 }\n", 1, 3, 0, 1},
      {"member_ends_line", "Group {\n y\n 1 }\n", 1, 2, 0, 0},
      {"unknown_member", "Group { y 1 }\nGroup { }\n", 1, 2, 0, 1},
      {"nested_member", "Group {\n children [ Group { y 1 } ]\n}\n", 1, 3, 0, 1},
      {"bad_use", "Group { }\nUSE NOPE\n", 2, 3, 0, 1},  // the USE, then NOPE read as a node
      {"def_at_end", "Group { }\nDEF", 1, 3, 0, 1},
      {"def_label_at_end", "Group { }\nDEF A\n", 1, 3, 0, 1},
      {"def_label_at_end_of_body", "Group { children [ DEF A ] }\n", 1, 2, 0, 1},
      {"bad_route", "DEF A Group { }\nROUTE A.x TO B.x\n", 1, 3, 0, 1},
      // Cut off in a node: what came before stays; the rest of the file
      // is lost from the outermost open group on.
      {"truncated", "Group { x 1 }\nFoo { }\nTransform {\n children [ Group {\n", 1, 3, 4, 2},
      // A stray closing mark ends the tree: nothing after it is read.
      {"stray_close", "Group { }\n}\nGroup { }\nGroup { }\n", 0, 0, 3, 1},
      {"stray_close_after_error", "Foo { }\nGroup { }\n]\nGroup { }\n", 1, 2, 4, 1},
      // A bracket closed by the wrong mark loses its group; reading goes on.
      {"mismatched", "Group { children [ Group { } }\nGroup { }\n", 1, 2, 0, 2},
      // An error inside a PROTO body counts for the file.
      {"proto_body", "PROTO P [ ] {\n Group { }\n Bar { }\n}\nP { }\n", 1, 4, 0, 1},
  };
  for (const Case& c : cases) {
    int roots = -1;
    KsReadErrors e = Read(std::string("ks_read_errors_") + c.name + ".wrl", c.body, &roots);
    EXPECT_EQ(e.skipped, c.skipped) << c.name;
    EXPECT_EQ(e.firstLine, c.first_line) << c.name;
    EXPECT_EQ(e.cutLine, c.cut_line) << c.name;
    EXPECT_EQ(roots, c.roots) << c.name;
    EXPECT_EQ(e.failure, kKsReadOk) << c.name;
  }
}

TEST_F(ReadErrorsTest, AFileTooLargeForMemoryFailsAndSaysWhereReadingStopped) {
  const std::string path = testing::TempDir() + "ks_read_errors_large.wrl";
  std::string text = "#VRML V2.0 utf8\nGroup { }\nGroup { children [\n";
  for (int i = 0; i < 50000; ++i) text += "Group { }\n";
  text += "] }\n";
  ASSERT_TRUE(kstest::WriteFile(path, text));
  KsSetLocalHeapLimit(3 * KsLocalHeap::kBlockSize);
  KsPartition p;
  testing::internal::CaptureStderr();
  EXPECT_EQ(p.ReadFile(path.c_str()), 1);
  const std::string err = testing::internal::GetCapturedStderr();
  KsResetLocalHeapLimit();
  EXPECT_EQ(err, "Local Heap Allocation Error!!\n");
  EXPECT_EQ(p.GetNodeCount(), 0);  // nothing of a half-read world
  EXPECT_EQ(p.GetReadErrors().failure, kKsReadTooLarge);
  EXPECT_GT(p.GetReadErrors().failureLine, 4);
  EXPECT_LT(p.GetReadErrors().failureLine, 50004);
  EXPECT_EQ(KsLocalHeapBytes(), 0u);
  // The same partition reads it whole once memory allows.
  testing::internal::CaptureStderr();
  EXPECT_EQ(p.ReadFile(path.c_str()), 0);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(p.GetReadErrors().failure, kKsReadOk);
  EXPECT_EQ(p.GetNodeCount(), 2);
  std::remove(path.c_str());
}

TEST_F(ReadErrorsTest, AFailedOpenSaysWhy) {
  KsPartition p;
  EXPECT_EQ(p.ReadFile((testing::TempDir() + "ks_read_errors_none.wrl").c_str()), 1);
  EXPECT_EQ(p.GetReadErrors().failure, kKsReadNotFound);
  testing::internal::CaptureStderr();
  EXPECT_EQ(p.ReadFile(testing::TempDir().c_str()), 1);
  EXPECT_EQ(p.ReadFile("NUL"), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(p.GetReadErrors().failure, kKsReadNotRegular);
}

TEST_F(ReadErrorsTest, AnExternprotoFileKeepsItsErrorsToItself) {
  const std::string lib = testing::TempDir() + "ks_read_errors_lib.wrl";
  ASSERT_TRUE(kstest::WriteFile(lib, "#VRML V2.0 utf8\nBad { }\nPROTO Q [ ] { Group { } }\n"));
  int roots = -1;
  KsReadErrors e = Read("ks_read_errors_user.wrl",
                        "EXTERNPROTO Q [ ] \"" + lib + "\"\nQ { }\nOops { }\n", &roots);
  EXPECT_EQ(e.skipped, 1);
  EXPECT_EQ(e.firstLine, 4);
  EXPECT_EQ(roots, 1);
  std::remove(lib.c_str());
}

// Numbers beyond the float range are told once per file, with how many
// there were, however many the file holds; an EXTERNPROTO file tells its own.
TEST_F(ReadErrorsTest, ReplacedNumbersAreToldOncePerFileWithACount) {
  const std::string lib = testing::TempDir() + "ks_read_errors_floats_lib.wrl";
  ASSERT_TRUE(kstest::WriteFile(lib,
                                "#VRML V2.0 utf8\nPROTO Q [ ] { Group { f 1e40 } }\n"
                                "Group { f -1e39 } Group { f nan }\n"));
  std::string body = "EXTERNPROTO Q [ ] \"" + lib + "\"\n";
  const int bad = 20000;
  for (int i = 0; i < bad; ++i) body += "Group { f 1e39 }\n";
  body += "Group { f inf } Group { f 3.5 }\n";
  const std::string path = testing::TempDir() + "ks_read_errors_floats.wrl";
  ASSERT_TRUE(kstest::WriteFile(path, "#VRML V2.0 utf8\n" + body));
  KsPartition p;
  testing::internal::CaptureStderr();
  EXPECT_EQ(p.ReadFile(path.c_str()), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err,
            // The library file's, when its read ends: one of each kind.
            "KsParseFloat()\n  Warning : 1e40 and 1 more number are out of the float range, "
            "read as the largest float of their sign.\n"
            "KsParseFloat()\n  Warning : nan is not a decimal number, read as 0.\n"
            "KsParseFloat()\n  Warning : 1e39 and 19999 more numbers are out of the float range, "
            "read as the largest float of their sign.\n"
            "KsParseFloat()\n  Warning : inf is not a decimal number, read as 0.\n");
  ASSERT_EQ(p.GetNodeCount(), bad + 2);
  EXPECT_EQ(static_cast<kstest::PartitionProbe*>(p.GetNode(0))->f.Get(), FLT_MAX);
  EXPECT_EQ(static_cast<kstest::PartitionProbe*>(p.GetNode(bad + 1))->f.Get(), 3.5f);
  std::remove(path.c_str());
  std::remove(lib.c_str());

  // Outside a read each is told at once, as before.
  testing::internal::CaptureStderr();
  EXPECT_EQ(KsParseFloat("-1e39"), -FLT_MAX);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsParseFloat()\n  Warning : -1e39 is out of the float range, read as -3.40282e+38.\n");
}

}  // namespace
