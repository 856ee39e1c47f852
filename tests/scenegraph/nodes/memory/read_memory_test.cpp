// What small files that copy much cost while they are read, counted in
// bytes held through operator new (never timed): PROTO copies are charged
// for the values they duplicate, an EXTERNPROTO file named again and again
// is read once, and memory running out inside a read fails it as too large
// for memory instead of ending the program.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scenegraph/core/object/node_factory.h"
#include "support/memory/counted_new.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/fields/value_bytes.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/nodes/node_library.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr size_t kMB = 1024 * 1024;

class ReadMemoryTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetProtoGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override {
    KsResetProtoGlobals();
    KsResetNodeFactory();
  }
  std::string Path(const std::string& name) {
    return testing::TempDir() + "lv_read_memory_" + name;
  }
  // Reads the file into *scene; what it printed, and its peak above what
  // was held before.
  std::string Read(KsPartition* scene, const std::string& path, size_t* peak, int expect = 0) {
    const size_t before = kstest::HeldBytes();
    kstest::ResetPeak();
    testing::internal::CaptureStderr();
    EXPECT_EQ(scene->ReadFile(path.c_str()), expect) << path;
    const std::string err = testing::internal::GetCapturedStderr();
    *peak = kstest::PeakBytes() - before;
    return err;
  }
};

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

std::string Points(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += std::to_string(i % 10) + " 0 1,\n";
  return text;
}

// A PROTO whose body holds one list of 10,000 points, instantiated 4,000
// times in about 100 KB, held about a gigabyte when only its nodes were
// charged. Its copies are refused once their values pass the allowance,
// with the one message, and the read holds no more than a few hundred MB.
TEST_F(ReadMemoryTest, ProtoCopiesAreChargedForTheValuesTheyDuplicate) {
  const std::string points = Points(10000);
  struct Case {
    const char* name;
    std::string text;
    int statements;
  } cases[] = {
      {"in the body", "PROTO P [ ] { Coordinate { point [\n" + points + "] } }\n", 4000},
      {"in a default handed on by IS",
       "PROTO P [ field MFVec3f p [\n" + points + "] ] { Coordinate { point IS p } }\n", 4000},
      {"nested instances",
       "PROTO P [ ] { PROTO C [ ] { Coordinate { point [\n" + points +
           "] } }\n"
           "Group { children [\n" +
           [] {
             std::string shapes;
             for (int i = 0; i < 20; ++i) shapes += "Shape { geometry PointSet { coord C { } } }\n";
             return shapes;
           }() +
           "] } }\n",
       400},
  };
  for (Case& c : cases) {
    for (int i = 0; i < c.statements; ++i) c.text += "P { }\n";
    const std::string path = Path("copies.wrl");
    ASSERT_TRUE(kstest::WriteFile(path, "#VRML V2.0 utf8\n" + c.text));
    size_t peak = 0;
    {
      KsPartition scene;
      const std::string err = Read(&scene, path, &peak);
      EXPECT_EQ(CountOf(err, "  PROTO instances add too many nodes to this file.\n"), 1)
          << c.name << "\n"
          << err.substr(0, 2000);
      EXPECT_GT(KsProtoBudgetRefused(), 0) << c.name;
      EXPECT_EQ(scene.GetNodeCount() + KsProtoBudgetRefused(), c.statements) << c.name;
    }
    std::printf("%s: %zu bytes, peak %zu MB, %d of %d refused\n", c.name, c.text.size(), peak / kMB,
                KsProtoBudgetRefused(), c.statements);
    EXPECT_LT(peak, 400 * kMB) << c.name;
    std::remove(path.c_str());
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
  }
}

// N lines of the same EXTERNPROTO statement read and copied their file N
// times, and the count of files read started afresh after each: 1,000
// lines took gigabytes. The file is read once for the whole read, and its
// copies are charged to the one allowance of the file that names them.
TEST_F(ReadMemoryTest, RepeatedExternprotoStatementsReadTheirFileOnce) {
  const std::string lib = Path("extern_lib.wrl");
  std::string body = "#VRML V2.0 utf8\nPROTO X [ ] { Group { children [\n";
  for (int i = 0; i < 400; ++i) body += "Shape { geometry Box { } }\n";
  body += "] } }\n";
  ASSERT_TRUE(kstest::WriteFile(lib, body));
  // The nodes reading the file makes, and one copy of its declaration.
  int fileNodes = 0;
  {
    KsPartition once;
    size_t peak = 0;
    Read(&once, lib, &peak);
    fileNodes = KsNode::GetConstructedCount();
  }
  const int statements = 1000;
  std::string text = "#VRML V2.0 utf8\n";
  for (int i = 0; i < statements; ++i) text += "EXTERNPROTO X [ ] \"" + lib + "\"\n";
  text += "X { }\n";
  const std::string path = Path("extern_user.wrl");
  ASSERT_TRUE(kstest::WriteFile(path, text));
  KsNode::ResetGlobals();
  size_t peak = 0;
  {
    KsPartition scene;
    const std::string err = Read(&scene, path, &peak);
    EXPECT_EQ(CountOf(err, "  PROTO instances add too many nodes to this file.\n"), 1)
        << err.substr(0, 2000);
    const int64_t made = KsNode::GetConstructedCount();
    // One read of the file, copies up to the allowance (the file's and
    // the library's words widen it), and the one that went past it.
    const int64_t allowance = KS_PROTO_EXPANSION_BASE +
                              KS_PROTO_EXPANSION_PER_BYTE * (int64_t)(text.size() + body.size());
    EXPECT_LE(made, fileNodes + allowance + fileNodes);
    EXPECT_LE(KsProtoBudgetUsed(), allowance);
    EXPECT_GT(scene.GetReadErrors().skipped, statements / 4);
    // The allowance spent, the instance is refused too.
    EXPECT_EQ(scene.GetNodeCount(), 0);
    std::printf("%d EXTERNPROTO lines: %lld nodes made, peak %zu MB, %d skipped\n", statements,
                (long long)made, peak / kMB, scene.GetReadErrors().skipped);
  }
  EXPECT_LT(peak, 400 * kMB);
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
  std::remove(path.c_str());
  std::remove(lib.c_str());
}

// Memory running out in a standard container inside a read (a 32-bit
// process reaches it long before the machine does) no longer ends the
// program: the read fails as too large for memory, as the viewer's box
// says, and the next read works.
TEST_F(ReadMemoryTest, MemoryRunningOutInsideAReadFailsItAsTooLarge) {
  std::string text = "#VRML V2.0 utf8\nPROTO P [ ] { Group { } }\n";
  for (int i = 0; i < 20000; ++i) text += "P { }\n";
  const std::string path = Path("bad_alloc.wrl");
  ASSERT_TRUE(kstest::WriteFile(path, text));
  {
#if defined(__SANITIZE_ADDRESS__)
    // What a read abandoned part way had built may be left unfreed.
    __lsan::ScopedDisabler leaksOfTheAbandonedRead;
#endif
    KsPartition scene;
    kstest::SetThrowingCeiling(kstest::HeldBytes() + 2 * kMB);
    size_t peak = 0;
    const std::string err = Read(&scene, path, &peak, 1);
    kstest::SetThrowingCeiling(0);
    EXPECT_EQ(scene.GetReadErrors().failure, kKsReadTooLarge);
    EXPECT_NE(err.find("KsPartition::ReadFile()\n  Out of memory.\n"), std::string::npos)
        << err.substr(0, 2000);
  }
  KsPartition again;
  size_t peak = 0;
  EXPECT_EQ(Read(&again, path, &peak), "");
  EXPECT_EQ(again.GetNodeCount(), 20000);
  std::remove(path.c_str());
}

}  // namespace
