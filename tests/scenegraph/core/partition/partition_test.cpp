#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/label_table.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/core/reading/working_dir.h"

#ifdef _WIN32
#include <direct.h>
#define KS_TEST_GETCWD _getcwd
#define KS_TEST_CHDIR _chdir
#define KS_TEST_MKDIR(p) _mkdir(p)
#define KS_TEST_RMDIR(p) _rmdir(p)
#else
#include <sys/stat.h>
#include <unistd.h>
#define KS_TEST_GETCWD getcwd
#define KS_TEST_CHDIR chdir
#define KS_TEST_MKDIR(p) mkdir(p, 0777)
#define KS_TEST_RMDIR(p) rmdir(p)
#endif

using kstest::Contains;
using kstest::PartitionProbe;
using kstest::Realize;

namespace {

class PartitionTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    kstest::RegisterProbes();
  }
  void TearDown() override { KsResetNodeFactory(); }
};

PartitionProbe* Probe(KsNode* node) { return static_cast<PartitionProbe*>(node); }

TEST_F(PartitionTest, TwoStatementsGiveTwoRootsReferencedOnce) {
  KsPartition p;
  std::string err = Realize(p, "Group { } Transform { x 2 }");
  EXPECT_EQ(err, "");
  ASSERT_EQ(p.GetNodeCount(), 2);
  EXPECT_EQ(p.GetNode(0)->GetRefCount(), 1);
  EXPECT_EQ(p.GetNode(1)->GetRefCount(), 1);
  EXPECT_EQ(Probe(p.GetNode(1))->x.Get(), 2);
  EXPECT_EQ(p.GetNode(2), nullptr);
  EXPECT_EQ(p.GetNode(-1), nullptr);
}

TEST_F(PartitionTest, DefUseSharesOneNodeWithCountedReferences) {
  KsPartition p;
  std::string err =
      Realize(p, "DEF A Shape { x 1 } Group { children [ USE A USE A ] child USE A }");
  EXPECT_EQ(err, "");
  ASSERT_EQ(p.GetNodeCount(), 2);
  KsNode* a = p.GetNode(0);
  EXPECT_STREQ(a->GetDefineName(), "A");
  EXPECT_EQ(p.FindLabel("A"), a);
  PartitionProbe* group = Probe(p.GetNode(1));
  ASSERT_EQ(group->children.GetCount(), 2);
  EXPECT_EQ(group->children.GetElements()[0], a);
  EXPECT_EQ(group->child.Get(), a);
  EXPECT_EQ(a->GetRefCount(), 4);  // root, two list entries, one field
}

TEST_F(PartitionTest, SecondDefWinsAndTopLevelUseOfARootIsRefused) {
  KsPartition p;
  std::string err =
      Realize(p, "DEF A Group { x 1 } DEF A Group { x 2 } Shape { child USE A } USE A");
  ASSERT_EQ(p.GetNodeCount(), 3);
  EXPECT_EQ(Probe(Probe(p.GetNode(2))->child.Get())->x.Get(), 2);
  EXPECT_EQ(err, "KsPartition::AppendNode()\n  Node is already included.\n");
  EXPECT_EQ(p.GetNode(1)->GetRefCount(), 2);
}

TEST_F(PartitionTest, UseOfAMissingLabelReadsTheLabelAsAStatement) {
  KsPartition p;
  std::string err = Realize(p, "USE Missing Group { x 1 }");
  EXPECT_EQ(err,
            "Failed to USE Missing\nKsPartition::RealizeUse()\n  Error at line number 1\n"
            "Unknown Node Identifier Missing\nSkipping Unknown Node.\n");
  ASSERT_EQ(p.GetNodeCount(), 1);
  // Inside a body the label word is read as a member name, which drops
  // that node; the next statement is read normally.
  KsPartition q;
  err = Realize(q, "Group { child USE Missing }\nGroup { x 2 }");
  EXPECT_TRUE(Contains(err, "Failed to USE Missing\n"));
  EXPECT_TRUE(Contains(err, "  Unknown Tag Missing\n"));
  ASSERT_EQ(q.GetNodeCount(), 1);
  EXPECT_EQ(Probe(q.GetNode(0))->x.Get(), 2);
}

TEST_F(PartitionTest, UnknownNodesAreSkippedWithTheirBodies) {
  KsPartition p;
  std::string err = Realize(p, "Foo { x 1 } group { x 2 } Box { } Group { x 3 }");
  EXPECT_EQ(err,
            "Unknown Node Identifier Foo\nSkipping Unknown Node.\n"
            "Unknown Node Identifier group\nSkipping Unknown Node.\n"
            "Unknown Node Identifier Box\nSkipping Unknown Node.\n");
  ASSERT_EQ(p.GetNodeCount(), 1);
  EXPECT_EQ(Probe(p.GetNode(0))->x.Get(), 3);
}

TEST_F(PartitionTest, UnknownMemberDropsOnlyThatNode) {
  KsPartition p;
  std::string err =
      Realize(p, "Group { children [ Shape { bogus 1 } Shape { x 2 } ] x 4 }\nNULL Group { }");
  EXPECT_TRUE(Contains(err, "  Unknown Tag bogus\n"));
  EXPECT_TRUE(Contains(
      err, "Failed to Realize Member.\nLine Number 1\nError at KsPartition::RealizeNode()\n\n"))
      << err;
  ASSERT_EQ(p.GetNodeCount(), 2);
  PartitionProbe* group = Probe(p.GetNode(0));
  EXPECT_EQ(group->x.Get(), 4);
  ASSERT_EQ(group->children.GetCount(), 1);
  EXPECT_EQ(Probe(group->children.GetElements()[0])->x.Get(), 2);
}

// A body that fails after a DEF inside it: the label must stay usable.
TEST_F(PartitionTest, LabelsInsideADroppedNodeStayValid) {
  int before = KsNode::GetDestroyedCount();
  {
    KsPartition p;
    Realize(p, "Group { children [ DEF In Shape { x 9 } ] bogus } Group { child USE In }");
    ASSERT_EQ(p.GetNodeCount(), 1);
    KsNode* in = Probe(p.GetNode(0))->child.Get();
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(Probe(in)->x.Get(), 9);
    EXPECT_EQ(p.GetDiscardCount(), 1);
  }
  EXPECT_EQ(KsNode::GetDestroyedCount() - before, 3);
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

// A labelled node that its field lets go of is destroyed once the read is
// over; its label must then name nothing rather than freed memory.
TEST_F(PartitionTest, LabelOfADestroyedNodeNamesNothing) {
  KsPartition p;
  std::string err = Realize(p, "Shape { child DEF B Group { x 1 } child Group { } }");
  err += Realize(p, "Shape { child USE B }");
  ASSERT_EQ(p.GetNodeCount(), 1);
  EXPECT_EQ(p.FindLabel("B"), nullptr);
  EXPECT_TRUE(Contains(err, "Failed to USE B\n"));
  char name[KS_NAME_SIZE];
  KsNode* node = p.GetNode(0);
  EXPECT_EQ(p.GetLabelTable()->Get(0, name, &node), 0);
  EXPECT_STREQ(name, "B");
  EXPECT_EQ(node, nullptr);
}

TEST_F(PartitionTest, DefAndUseAtTheEndOfAListYieldNothing) {
  const char* texts[] = {"DEF",
                         "USE",
                         "Group { child DEF }",
                         "Group { child USE }",
                         "DEF A",
                         "Group { children [ DEF ] }",
                         "ROUTE",
                         "ROUTE a.b TO"};
  for (const char* text : texts) {
    KsPartition p;
    std::string err = Realize(p, text);
    EXPECT_LE(p.GetNodeCount(), 1) << text;
  }
  KsPartition p;
  std::string err = Realize(p, "Group { } DEF");
  EXPECT_EQ(err,
            "KsPartition::RealizeDef()\n  Failed to fetch label for DEF.\n  Line number = 1\n");
  err = Realize(p, "USE");
  EXPECT_EQ(err,
            "No label is defined for USE directive.\nKsPartition::RealizeUse()\n  Error at line "
            "number 1\n");
  // A label with no statement after it: the statement's error tail.
  err = Realize(p, "Group { child DEF A }");
  EXPECT_EQ(err, "Error at KsPartition::RealizeNode()\n\n");
  EXPECT_EQ(p.FindLabel("A"), nullptr);
}

// Reading n top-level statements and dropping the last 100: the root-list
// entries looked at (the time is measured by the benchmarks).
long long ReadWork(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += i % 2 ? "Group { }\n" : "DEF G Transform { }\n";
  KsPartition::ResetRootVisits();
  KsPartition p;
  Realize(p, text);
  if (p.GetNodeCount() != n) return -1;
  for (int i = n - 1; i >= n - 100; --i) p.DeleteNode(p.GetNode(i));
  return KsPartition::GetRootVisits();
}

TEST_F(PartitionTest, ReadingTopLevelStatementsIsLinear) {
  const long long half = ReadWork(20000);
  const long long full = ReadWork(40000);
  ASSERT_GT(half, 0);
  // Linear: twice the statements, twice the work (a search of the roots
  // for each new one gives four times).
  EXPECT_LE(full * 10, half * 21);
  EXPECT_LE(full, 2 * 40000);
}

TEST_F(PartitionTest, LongLabelsAreCutAndStillMatch) {
  // The longest word a file can hold is a label and a DEF name.
  std::string name(255, 'L');
  KsPartition p;
  std::string err = Realize(p, "DEF " + name + " Group { x 5 } Shape { child USE " + name + " }");
  EXPECT_EQ(err, "");
  ASSERT_EQ(p.GetNodeCount(), 2);
  EXPECT_EQ(Probe(p.GetNode(1))->child.Get(), p.GetNode(0));
  EXPECT_EQ(p.GetNode(0)->GetDefineName(), name);
  // Longer names given through the table are cut, and look-ups cut alike.
  std::string longer(300, 'M');
  PartitionProbe* node = new PartitionProbe;
  p.AppendNode(node);
  EXPECT_EQ(p.AddLabel(longer.c_str(), node), 0);
  EXPECT_EQ(p.FindLabel(longer.c_str()), node);
  EXPECT_EQ(p.FindLabel(longer.substr(0, 255).c_str()), node);
  char got[KS_NAME_SIZE];
  KsNode* found = nullptr;
  ASSERT_EQ(p.GetLabelTable()->Get(0, got, &found), 0);
  EXPECT_EQ(std::string(got), longer.substr(0, 255));
  EXPECT_EQ(found, node);
  EXPECT_EQ(p.GetLabelTable()->Get(2, got, &found), 1);
}

TEST_F(PartitionTest, LabelTableIsNewestFirst) {
  KsLabelTable t;
  PartitionProbe* a = new PartitionProbe;
  PartitionProbe* b = new PartitionProbe;
  t.Add("x", a);
  t.Add("y", b);
  t.Add("x", b);
  EXPECT_EQ(t.GetCount(), 3);
  EXPECT_EQ(t.Find("x"), b);
  EXPECT_EQ(t.Find("X"), nullptr);
  char name[KS_NAME_SIZE];
  KsNode* node = nullptr;
  EXPECT_EQ(t.Get(2, name, &node), 0);
  EXPECT_STREQ(name, "x");
  EXPECT_EQ(node, a);
  EXPECT_EQ(t.Get(3, name, &node), 1);
  EXPECT_EQ(t.Get(-1, name, &node), 1);
  EXPECT_EQ(a->GetRefCount(), 0);  // labels hold no reference
  a->Ref();
  a->Unref();
  b->Ref();
  b->Unref();
}

TEST_F(PartitionTest, AppendAndDeleteReportMisuse) {
  KsPartition p;
  PartitionProbe* n = new PartitionProbe;
  EXPECT_EQ(p.AppendNode(n), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(p.AppendNode(n), 1);
  EXPECT_EQ(p.DeleteNode(n), 0);
  EXPECT_EQ(p.GetNodeCount(), 0);
  PartitionProbe* m = new PartitionProbe;
  m->Ref();
  EXPECT_EQ(p.DeleteNode(m), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsPartition::AppendNode()\n  Node is already included.\n"
            "KsPartition::DeleteNode()\n  Node is not included.\n");
  m->Unref();
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

TEST_F(PartitionTest, ListsThatOpenWithGroupsLoseNothingAfterThem) {
  KsPartition p;
  Realize(p, "{ Group { x 1 } } Group { x 2 }");
  ASSERT_EQ(p.GetNodeCount(), 2);
  EXPECT_EQ(Probe(p.GetNode(1))->x.Get(), 2);
  KsPartition q;
  Realize(q, "[ ] Group { x 3 }");
  ASSERT_EQ(q.GetNodeCount(), 1);
}

TEST_F(PartitionTest, ProtoDeclarationsAreSteppedOver) {
  KsPartition p;
  Realize(p,
          "PROTO P [ field SFInt a 1 ] { Group { } } EXTERNPROTO E [ ] \"e.wrl\" "
          "EXTERNPROTO F [ ] [ \"f.wrl\" ] Group { x 1 }");
  ASSERT_EQ(p.GetNodeCount(), 1);
  EXPECT_EQ(Probe(p.GetNode(0))->x.Get(), 1);
}

TEST_F(PartitionTest, DeepNestingIsRealisedWithoutOverflow) {
  const int depth = 480;  // two groups a level, within the pre-pass bound
  std::string text;
  for (int i = 0; i < depth; ++i) text += "Group { children [ ";
  for (int i = 0; i < depth; ++i) text += "] } ";
  KsPartition* p = new KsPartition;
  Realize(*p, text);
  ASSERT_EQ(p->GetNodeCount(), 1);
  delete p;
  EXPECT_EQ(KsNode::GetConstructedCount(), depth);
  EXPECT_EQ(KsNode::GetDestroyedCount(), depth);

  // Bodies without braces nest without groups: the realiser bounds them.
  std::string chain;
  for (int i = 0; i < 5000; ++i) chain += "Group children ";
  KsPartition* c = new KsPartition;
  std::string err = Realize(*c, chain);
  EXPECT_TRUE(Contains(err, "Nesting Too Deep.\n"));
  EXPECT_EQ(c->GetNodeCount(), 1);
  delete c;
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());

  // Too deep for the pre-pass: the rest is refused, nothing crashes.
  std::string deeper;
  for (int i = 0; i < 1200; ++i) deeper += "Group { child ";
  KsPartition q;
  Realize(q, deeper);
}

TEST_F(PartitionTest, FolderOfAPath) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"a.wrl", ""},       {"/a.wrl", ""},        {"\\a.wrl", ""},        {"C:\\a.wrl", "C:\\"},
      {"C:/a.wrl", "C:/"}, {"d/e\\f.wrl", "d/e"}, {"d\\e/f.wrl", "d\\e"}, {"C:\\x\\a.wrl", "C:\\x"},
      {"C:a.wrl", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(KsFolderOfPath(c.path), c.folder) << c.path;
  std::string longFolder = "x/" + std::string(300, 'd');
  EXPECT_EQ(KsFolderOfPath((longFolder + "/a.wrl").c_str()), longFolder);
}

std::string CurrentDir() {
  char* d = KS_TEST_GETCWD(nullptr, 0);
  std::string s = d ? d : "";
  std::free(d);
  return s;
}

std::string& DirAtConstruction() {
  static std::string dir;
  return dir;
}

KsNode* MakeDirProbe() {
  DirAtConstruction() = CurrentDir();
  return kstest::MakeProbe();
}

TEST_F(PartitionTest, ReadFileWorksInTheFilesFolderAndComesBack) {
  KsRegisterNodeConstructor("WorldInfo", MakeDirProbe);
  std::string start = CurrentDir();
  KS_TEST_MKDIR("ks_partition_dir");
  ASSERT_TRUE(kstest::WriteFile("ks_partition_dir/scene.wrl",
                                "#VRML V2.0 utf8\nWorldInfo { } Group { x 8 }\n"));
  {
    KsPartition p;
    DirAtConstruction().clear();
    EXPECT_EQ(p.ReadFile("ks_partition_dir/scene.wrl"), 0);
    ASSERT_EQ(p.GetNodeCount(), 2);
    EXPECT_EQ(Probe(p.GetNode(1))->x.Get(), 8);
    std::string inside = DirAtConstruction();
    EXPECT_NE(inside, start);
    EXPECT_EQ(inside.substr(inside.size() - std::string("ks_partition_dir").size()),
              "ks_partition_dir");
    EXPECT_EQ(CurrentDir(), start);
  }
  // A name without a folder reads where it is.
  ASSERT_EQ(KS_TEST_CHDIR("ks_partition_dir"), 0);
  {
    KsPartition p;
    EXPECT_EQ(p.ReadFile("scene.wrl"), 0);
    EXPECT_EQ(p.GetNodeCount(), 2);
  }
  ASSERT_EQ(KS_TEST_CHDIR(start.c_str()), 0);
  KsPartition missing;
  EXPECT_EQ(missing.ReadFile("ks_partition_dir/none.wrl"), 1);
  EXPECT_EQ(missing.GetNodeCount(), 0);
  EXPECT_EQ(missing.ReadFile(nullptr), 1);
  std::remove("ks_partition_dir/scene.wrl");
  KS_TEST_RMDIR("ks_partition_dir");
}

#ifdef _WIN32
// A file at a drive root makes the root current, not the drive's directory.
TEST_F(PartitionTest, ReadFileAtADriveRoot) {
  KsRegisterNodeConstructor("WorldInfo", MakeDirProbe);
  std::string start = CurrentDir();
  const char* path = "C:\\ks_root_scene.wrl";
  ASSERT_TRUE(kstest::WriteFile(path, "#VRML V2.0 utf8\nWorldInfo { }\n"));
  KsPartition p;
  EXPECT_EQ(p.ReadFile(path), 0);
  EXPECT_EQ(p.GetNodeCount(), 1);
  EXPECT_EQ(DirAtConstruction(), "C:\\");
  EXPECT_EQ(CurrentDir(), start);
  std::remove(path);
}
#endif

}  // namespace

namespace {
// Groups nested as deep as the reader follows them, in the shapes that
// realise them recursively: braces at the top level, PROTO declarations in
// one another's bodies, node lists, interface lists. None may exhaust the
// stack (the programs' 8 MB; less for a test thread is not assumed).
TEST_F(PartitionTest, GroupsNestedToTheReadersBoundRealiseWithoutOverflow) {
  // Each opening text opens groups groups.
  auto nest = [](const std::string& open, int groups, const std::string& close) {
    const int levels = (KsVrmlPass1::kMaxDepth - 1) / groups;
    std::string text;
    for (int i = 0; i < levels; ++i) text += open;
    text += "Group { }";
    for (int i = 0; i < levels; ++i) text += close;
    return text + " Group { x 7 }";
  };
  const std::string texts[] = {
      nest("{ ", 1, " }"),
      nest("PROTO P [ ] { ", 1, " }"),
      nest("[ ", 1, " ]"),
      nest("Group { children [ ", 2, " ] }"),
      nest("Group { children ", 1, " }"),
      nest("PROTO P [ field MFNode f [ ", 2, " ] ] { Group { } }"),
  };
  for (const std::string& text : texts) {
    KsPartition p;
    Realize(p, text);
    ASSERT_GE(p.GetNodeCount(), 1) << text.substr(0, 60);
    EXPECT_EQ(static_cast<PartitionProbe*>(p.GetNode(p.GetNodeCount() - 1))->x.Get(), 7)
        << text.substr(0, 60);
  }
}
}  // namespace
