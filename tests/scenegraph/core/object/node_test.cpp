#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_duplicator.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/scene_test_util.h"

using kstest::Contains;
using kstest::PartitionProbe;

namespace {

class NodeTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    PartitionProbe::ReleaseHooks() = 0;
    kstest::RegisterProbes();
  }
  void TearDown() override { KsResetNodeFactory(); }
};

// A node with as many members as a test asks for.
class WideNode : public KsNode {
 public:
  explicit WideNode(int count) : fields(static_cast<size_t>(count)) {
    for (int i = 0; i < count; ++i) {
      names.push_back("m" + std::to_string(i));
    }
    for (int i = 0; i < count; ++i) {
      results.push_back(RegisterMember(names[static_cast<size_t>(i)].c_str(),
                                       &fields[static_cast<size_t>(i)], 1));
    }
    RegisterDone();
  }
  std::vector<std::string> names;
  std::vector<KsSFInt> fields;
  std::vector<int> results;
};

TEST_F(NodeTest, MemberTableHoldsAtMost256Members) {
  testing::internal::CaptureStderr();
  WideNode* node = new WideNode(257);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(node->results[255], 0);
  EXPECT_EQ(node->results[256], 1);
  EXPECT_EQ(err, "KsNode::RegisterMember\n  Member Table Overflow.\n");
  EXPECT_EQ(node->GetMemberCount(), 256);
  EXPECT_STREQ(node->GetMember(255)->name, "m255");
  EXPECT_EQ(node->LookUpMember("m255"), &node->fields[255]);
  node->Ref();
  node->Unref();
}

TEST_F(NodeTest, EventNamesReachTheirMemberEitherWay) {
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  KsSFInt value;
  value.Set(7);
  EXPECT_EQ(node->AcceptEvent("set_x", &value, nullptr), 0);
  EXPECT_EQ(node->x.Get(), 7);
  value.Set(9);
  EXPECT_EQ(node->AcceptEvent("x_changed", &value, nullptr), 0);
  EXPECT_EQ(node->x.Get(), 9);
  // "x" is exposed and an event-in: the copy and the special event both run.
  EXPECT_EQ(node->specialEvents, (std::vector<std::string>{"x", "x"}));
  EXPECT_EQ(node->AcceptEvent("set_poke", &value, nullptr), 0);
  EXPECT_EQ(node->specialEvents.back(), "poke");
  node->Unref();
}

TEST_F(NodeTest, EventThatNobodyTakesIsReported) {
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  KsSFFloat value;
  value.Set(2.0f);
  testing::internal::CaptureStderr();
  // "f" is a plain field: events do not store into it.
  EXPECT_EQ(node->AcceptEvent("set_f", &value, nullptr), 1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err,
            "KsNode::AcceptEvent()\nNode has no event.\n  Tag received   : set_f\n"
            "  Field Received : KsSFFloat\n  Accepter       : KsProbe\n");
  EXPECT_EQ(node->f.Get(), 0.5f);
  KsSFFloat wrong;
  testing::internal::CaptureStderr();
  EXPECT_EQ(node->AcceptEvent("x", &wrong, nullptr), 1);  // type mismatch fails the copy
  testing::internal::GetCapturedStderr();
  node->Unref();
}

TEST_F(NodeTest, UnrefDestroysOnceAndNoDeleteKeeps) {
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  EXPECT_EQ(node->GetRefCount(), 1);
  node->Unref();
  EXPECT_EQ(PartitionProbe::ReleaseHooks(), 1);
  EXPECT_EQ(KsNode::GetDestroyedCount(), 1);

  KsNode::SetNoDelete(1);
  PartitionProbe* kept = new PartitionProbe;
  kept->Ref();
  kept->Unref();
  EXPECT_EQ(kept->GetRefCount(), 0);
  EXPECT_EQ(KsNode::GetDestroyedCount(), 1);
  KsNode::SetNoDelete(0);

  // Counting off: Ref and Unref change nothing, but count 0 still destroys.
  KsNode::DisableRefCount();
  kept->Ref();
  EXPECT_EQ(kept->GetRefCount(), 0);
  KsNode::Unref(kept);
  KsNode::EnableRefCount();
  EXPECT_EQ(KsNode::GetDestroyedCount(), 2);
  KsNode::Unref(nullptr);
}

TEST_F(NodeTest, DestructionReleasesMemberNodesWhileFieldsLive) {
  PartitionProbe* parent = new PartitionProbe;
  PartitionProbe* a = new PartitionProbe;
  PartitionProbe* b = new PartitionProbe;
  parent->Ref();
  parent->child.Set(a);
  parent->AddChild(b);
  parent->AddChild(a);
  EXPECT_EQ(a->GetRefCount(), 2);
  EXPECT_EQ(b->GetRefCount(), 1);
  parent->Unref();
  EXPECT_EQ(KsNode::GetConstructedCount(), 3);
  EXPECT_EQ(KsNode::GetDestroyedCount(), 3);
  EXPECT_EQ(PartitionProbe::ReleaseHooks(), 3);
}

TEST_F(NodeTest, DefineNameOf255IsKept256Refused) {
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  std::string ok(255, 'a'), tooLong(256, 'b');
  EXPECT_EQ(node->SetDefineName(ok.c_str()), 0);
  EXPECT_EQ(node->GetDefineName(), ok);
  testing::internal::CaptureStderr();
  EXPECT_EQ(node->SetDefineName(tooLong.c_str()), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "KsNode::SetDefineName\n  Name is too long.\n");
  EXPECT_EQ(node->GetDefineName(), ok);
  node->Unref();
}

TEST_F(NodeTest, LookUpIsExactAndReportsMisses) {
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  EXPECT_EQ(node->LookUpMember("x"), &node->x);
  testing::internal::CaptureStderr();
  EXPECT_EQ(node->LookUpMember("set_x"), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsNode::LookUpMember()\n  Member not found.\n  Node Type      : KsProbe\n"
            "  Requested Tag : set_x\n");
  node->Unref();
}

// Records visited nodes and stops at a chosen one.
class Recorder : public KsNodeScanner {
 public:
  int Visit(KsNode* node) override {
    visited.push_back(node);
    return node == stopAt ? 1 : 0;
  }
  std::vector<KsNode*> visited;
  KsNode* stopAt = nullptr;
};

TEST_F(NodeTest, ScanWalksDepthFirstAndStopsCleanly) {
  PartitionProbe* root = new PartitionProbe;
  PartitionProbe* a = new PartitionProbe;
  PartitionProbe* b = new PartitionProbe;
  PartitionProbe* c = new PartitionProbe;
  root->Ref();
  root->child.Set(a);
  a->AddChild(c);
  root->AddChild(b);
  root->AddChild(a);  // shared: visited twice
  Recorder all;
  EXPECT_EQ(root->Scan(&all), 0);
  EXPECT_EQ(all.visited, (std::vector<KsNode*>{root, a, c, b, a, c}));
  EXPECT_EQ(all.GetDepth(), 0);

  Recorder stop;
  stop.stopAt = c;
  stop.Push(nullptr);
  EXPECT_EQ(root->Scan(&stop), 1);
  EXPECT_EQ(stop.visited, (std::vector<KsNode*>{root, a, c}));
  EXPECT_EQ(stop.GetDepth(), 1);
  root->Unref();
  EXPECT_EQ(KsNode::GetDestroyedCount(), 4);
}

TEST_F(NodeTest, ScanOfACyclicGraphEnds) {
  PartitionProbe* a = new PartitionProbe;
  PartitionProbe* b = new PartitionProbe;
  a->Ref();
  a->AddChild(b);
  b->AddChild(a);
  Recorder rec;
  EXPECT_EQ(a->Scan(&rec), 0);
  EXPECT_EQ(rec.visited, (std::vector<KsNode*>{a, b}));
  EXPECT_EQ(rec.GetDepth(), 0);
  b->children.Set(0, nullptr);  // break the cycle so that both go
  a->Unref();
  EXPECT_EQ(KsNode::GetDestroyedCount(), 2);
}

TEST_F(NodeTest, RealizeMemberReadsBodyAndStopsAtUnknownTag) {
  KsPartition partition;
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  kstest::Parsed ok("{ x 3 f 1.5 }");
  KsWordNode cursor = KsMakeCursor(ok.root());
  EXPECT_EQ(node->RealizeMember(&cursor, &partition), 0);
  EXPECT_EQ(node->x.Get(), 3);
  EXPECT_EQ(node->f.Get(), 1.5f);
  EXPECT_EQ(KsCursorWord(&cursor), nullptr);

  kstest::Parsed bad("{ x 4 bogus 1 f 2 } next");
  cursor = KsMakeCursor(bad.root());
  testing::internal::CaptureStderr();
  EXPECT_EQ(node->RealizeMember(&cursor, &partition), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsNode::RealizeMember\n  Unknown Tag bogus\n  Class = KsProbe\n");
  EXPECT_EQ(node->x.Get(), 4);
  EXPECT_EQ(node->f.Get(), 1.5f);
  ASSERT_NE(KsCursorWord(&cursor), nullptr);  // past the body all the same
  EXPECT_STREQ(KsCursorWord(&cursor)->text, "next");
  node->Unref();
}

TEST_F(NodeTest, RouteInsideABodyAlwaysMakesProgress) {
  KsPartition partition;
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  const char* bodies[] = {"{ ROUTE }", "{ ROUTE a }", "{ ROUTE a.b TO }", "{ x 1 ROUTE ROUTE x 2 }",
                          "{ ROUTE a.x TO b.x x 5 }"};
  for (const char* body : bodies) {
    kstest::Parsed parsed(body);
    KsWordNode cursor = KsMakeCursor(parsed.root());
    testing::internal::CaptureStderr();
    node->RealizeMember(&cursor, &partition);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(KsCursorWord(&cursor), nullptr) << body;
  }
  EXPECT_EQ(node->x.Get(), 5);
  node->Unref();
}

TEST_F(NodeTest, DuplicateCopiesMembersButNotName) {
  PartitionProbe* node = new PartitionProbe;
  PartitionProbe* kid = new PartitionProbe;
  node->Ref();
  node->x.Set(11);
  node->child.Set(kid);
  node->SetDefineName("N");
  KsNode* copy = node->Duplicate();
  ASSERT_NE(copy, nullptr);
  copy->Ref();
  EXPECT_EQ(static_cast<PartitionProbe*>(copy)->x.Get(), 11);
  EXPECT_EQ(static_cast<PartitionProbe*>(copy)->child.Get(), kid);
  EXPECT_STREQ(copy->GetDefineName(), "");
  EXPECT_EQ(kid->GetRefCount(), 2);

  KsDuplicatorList list;
  node->CollectNodes(&list);
  copy->CollectNodes(&list);
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_EQ(list.Find(kid)->useCount, 2);
  copy->Unref();
  node->Unref();
  EXPECT_EQ(KsNode::GetDestroyedCount(), 3);
}

TEST_F(NodeTest, BaseOperationsReport) {
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  testing::internal::CaptureStderr();
  EXPECT_EQ(node->KsNode::NewInstance(), nullptr);
  EXPECT_EQ(node->KsNode::ExecSpecialEvent("a", nullptr, nullptr), 1);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(node->ExecTraverse(nullptr), 0);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(Contains(err,
                       "KsNode::NewInstance is called.\n  This function must not be called.\n"
                       "  Owner = KsProbe\n"));
  EXPECT_TRUE(Contains(err,
                       "KsNode::ExecSpecialEvent()\n  Special Event is not defined.\n"
                       "  Owner Type = KsProbe\n"));
  size_t warnings = 0;
  for (size_t p = err.find("KsNode::ExecTraverse is called"); p != std::string::npos;
       p = err.find("KsNode::ExecTraverse is called", p + 1))
    ++warnings;
  EXPECT_EQ(warnings, 5u);
  EXPECT_EQ(node->IsPointingSensor(), KS_FALSE);
  EXPECT_EQ(node->GetBoundingBox(nullptr, nullptr), 1);
  kstest::TextStream out;
  node->WriteTypeName(&out);
  EXPECT_EQ(out.out, "Probe\n");
  node->Unref();
}

TEST_F(NodeTest, TypedAccessorsCheckTheClass) {
  PartitionProbe* node = new PartitionProbe;
  node->Ref();
  EXPECT_EQ(KsNode::GetCoord(nullptr, 0), nullptr);
  testing::internal::CaptureStderr();
  EXPECT_EQ(KsNode::GetCoord(node, 0), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsNode::GetCoord()\n  Source node is not a Coordinate node.\n  KsProbe is given.\n");
  testing::internal::CaptureStderr();
  EXPECT_EQ(KsNode::GetMFColor(node), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsNode::GetMFColor()\n  Node must be KsColor.\n");
  node->Unref();
}

}  // namespace
