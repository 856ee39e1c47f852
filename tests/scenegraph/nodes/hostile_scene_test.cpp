// Small hostile files that multiply when read, scanned or drawn: the read
// stays within its PROTO expansion allowance, the load-time scans visit
// each node a bounded number of times, and a frame stops after a fixed
// number of shape visits. The work is counted (nodes made, visits), never
// timed; the benchmarks time the same files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <filesystem>
#include <fstream>
#include <string>

#include "render_test_util.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/box_query.h"
#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/core/math/vec.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "scenegraph/nodes/render/render_traversal.h"
#include "tests/bench/hostile_worlds.h"

using kstest::Contains;

namespace {

class HostileSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetProtoGlobals();
    KsResetProtoBudget();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override {
    KsResetProtoBudget();
    KsResetNodeFactory();
  }
  // Writes text to a file of its own and reads it as the viewer does;
  // returns what the read printed.
  std::string ReadFile(KsPartition* p, const std::string& text) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("lv_hostile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wrl");
    {
      std::ofstream out(path, std::ios::binary);
      out << text;
    }
    testing::internal::CaptureStderr();
    EXPECT_EQ(p->ReadFile(path.string().c_str()), 0);
    std::string err = testing::internal::GetCapturedStderr();
    std::filesystem::remove(path);
    return err;
  }
};

int CountOf(const std::string& text, const std::string& part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// Counts the nodes of one class that a walk entering PROTO instances meets.
int CountClass(KsNode* node, const char* cls) {
  KsNodeFinder finder;
  finder.SetTargetName(cls);
  finder.SetEnterProto(0);
  node->Scan(&finder);
  return finder.GetCount();
}

// Five levels of ten PROTO uses, used 40 times: each instance builds some
// 22,000 nodes, all 40 nearly a million. The read builds instances up to its
// allowance, refuses the rest with one message, and reports each refused
// statement as skipped.
TEST_F(HostileSceneTest, NestedProtoExpansionStaysWithinTheReadsAllowance) {
  const std::string text = lvbench::NestedProtoWorld(5, 10, 40);
  {
    KsPartition p;
    const std::string err = ReadFile(&p, text);
    const int64_t made = KsNode::GetConstructedCount();
    // One instance's build may go past the allowance before it is refused.
    const int64_t instanceNodes = 22300;
    EXPECT_LE(made, KS_PROTO_EXPANSION_BASE + KS_PROTO_EXPANSION_PER_BYTE * (int64_t)text.size() +
                        instanceNodes);
    EXPECT_EQ(CountOf(err, "  PROTO instances add too many nodes to this file.\n"), 1)
        << err.substr(0, 3000);
    const int refused = KsProtoBudgetRefused();
    EXPECT_GT(refused, 0);
    EXPECT_EQ(p.GetNodeCount() + refused, 40);
    EXPECT_GE(p.GetNodeCount(), 5);
    EXPECT_EQ(p.GetReadErrors().skipped, refused);
    // Besides the one message, each refused statement says it is skipped
    // and nothing else is reported.
    EXPECT_EQ(CountOf(err, "Skipping Unknown Node.\n"), refused);
    EXPECT_EQ(CountOf(err, "\n"), 4 + refused) << err.substr(0, 3000);
    // The instances that were built are whole.
    for (int i = 0; i < p.GetNodeCount(); ++i)
      EXPECT_EQ(CountClass(p.GetNode(i), "KsBox"), 10000) << i;
  }
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

// Counts the visits of a walk and the distinct nodes visited.
class VisitCounter : public KsNodeScanner {
 public:
  explicit VisitCounter(int enterProto) { SetEnterProto(enterProto); }
  int Visit(KsNode* node) override {
    ++visits;
    if (std::find(seen.begin(), seen.end(), node) == seen.end()) seen.push_back(node);
    return 0;
  }
  long visits = 0;
  std::vector<KsNode*> seen;
};

// P { k [ P { k [ ... ] } ] } with k held by IS in P's body: the instance's
// field and its private scene lead to the same nodes, so a walk entering
// instances went both ways at every level (2^30 visits). Each node is now
// met once, on the path through the body that places it.
TEST_F(HostileSceneTest, ProtoNestThroughIsFieldsIsScannedOncePerNode) {
  {
    KsPartition p;
    EXPECT_EQ(kstest::Realize(p, lvbench::ProtoIsNest(30)), "");
    VisitCounter entering(0);
    EXPECT_EQ(p.Scan(&entering), 0);
    // 30 instances, the Group of each body, the shape and its box.
    EXPECT_EQ(entering.visits, 30 * 2 + 2);
    EXPECT_EQ(entering.seen.size(), 62u);
    VisitCounter outside(1);
    p.Scan(&outside);
    EXPECT_EQ(outside.visits, 30 + 2);
    p.StoreViewpointPaths();
    p.SetTime();
    KsVec3f lo, hi;
    EXPECT_EQ(p.GetBoundingBox(&lo, &hi), 0);
    EXPECT_EQ(hi.x, 1.0f);
  }
  {
    // A viewpoint at the bottom keeps the path through each body.
    KsPartition p;
    EXPECT_EQ(kstest::Realize(p,
                              "PROTO P [ exposedField MFNode k [ ] ] "
                              "{ Transform { translation 0 0 1 children IS k } }\n"
                              "P { k [ P { k [ P { k [ Viewpoint { } ] } ] } ] }"),
              "");
    VisitCounter entering(0);
    p.Scan(&entering);
    EXPECT_EQ(entering.visits, 7);
    p.StoreViewpointPaths();
    KsNodeFinder finder;
    finder.SetTargetName("KsViewpoint");
    finder.SetEnterProto(0);
    p.Scan(&finder);
    ASSERT_EQ(finder.GetCount(), 1);
    KsViewpoint* v = static_cast<KsViewpoint*>(finder.Get(0));
    ASSERT_EQ(v->GetPathCount(), 6);
    KsMatrix m;
    v->GetMatrix(&m);
    KsVec3f at;
    m.Apply(at, KsVec3f(0, 0, 0), 1.0f);
    EXPECT_EQ(at.z, 13.0f);  // three translations and the position
  }
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

// DEF An Group { children [ USE An-1 USE An-1 ] }, 30 levels: 2^30 paths to
// A0. Walks enter a shared node at most KS_SCAN_MAX_VISITS times, boxes are
// worked out once per shared node; a node shared a few times, as real
// worlds share, is still met on every path.
TEST_F(HostileSceneTest, UseGraphDoublingAtEachLevelIsScannedBoundedly) {
  {
    KsPartition p;
    EXPECT_EQ(kstest::Realize(p, lvbench::UseGraph(30)), "");
    ASSERT_EQ(p.GetNodeCount(), 31);
    for (int enterProto : {0, 1}) {
      VisitCounter c(enterProto);
      EXPECT_EQ(p.Scan(&c), 0);
      EXPECT_EQ(c.seen.size(), 32u);  // 31 nodes and the box
      EXPECT_LE(c.visits, (long)KS_SCAN_MAX_VISITS * 32);
      EXPECT_GT(c.GetLeftOut(), 0);
    }
    p.StoreViewpointPaths();
    p.SetTime();
    EXPECT_EQ(p.GetViewpoint(0), nullptr);
    KsVec3f lo, hi;
    EXPECT_EQ(p.GetBoundingBox(&lo, &hi), 0);
    EXPECT_LE(KsBoxQueryComputed(), 32 + 31);
    EXPECT_EQ(lo.x, -1.0f);
    EXPECT_EQ(hi.y, 1.0f);
  }
  {
    KsPartition p;
    EXPECT_EQ(kstest::Realize(p,
                              "DEF S Shape { geometry Box { } } "
                              "Group { children [ USE S USE S USE S ] }"),
              "");
    VisitCounter c(0);
    p.Scan(&c);
    EXPECT_EQ(c.visits, 1 + 4 * 2);  // the group, and the shape with its box four times
    EXPECT_EQ(c.GetLeftOut(), 0);
  }
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

class HostileDrawTest : public kstest::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    KsSetPrimitiveObserver(nullptr);  // hundreds of thousands of boxes
  }
};

// A frame stops drawing after KS_MAX_FRAME_SHAPES shapes and says it left
// the rest out; a world within the limit draws whole.
TEST_F(HostileDrawTest, FrameStopsAfterTheShapeLimit) {
  Read(lvbench::UseGraph(18));  // 262,144 paths to the shape
  scene->TraverseFromRoot();
  EXPECT_EQ(KsTraversalShapeVisits(), KS_MAX_FRAME_SHAPES);
  EXPECT_EQ(KsTraversalWasCut(), 1);
  // The next frame counts afresh.
  Read(lvbench::UseGraph(10));
  scene->TraverseFromRoot();
  // Every root is drawn: A1 .. A10 reach 2 + 4 + ... + 1024 shapes; A0 is
  // a root shape of its own, drawn directly.
  EXPECT_EQ(KsTraversalShapeVisits(), 2046);
  EXPECT_EQ(KsTraversalWasCut(), 0);
}

}  // namespace
