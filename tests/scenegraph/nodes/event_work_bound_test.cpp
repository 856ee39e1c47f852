// Work that events set off besides their deliveries is held to the bound of
// a time step: values handed on through IS into nested PROTO instances, and
// the walks that keep MFNode routes from making cycles. The work is counted
// (values copied, nodes walked), never timed.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node_containment.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/geometry/property_nodes.h"
#include "tests/bench/bounded_worlds.h"

namespace {

class EventWorkBoundTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsClock::Reset();
    KsRouter::ResetGlobals();
    KsResetProtoGlobals();
    KsResetProtoBudget();
    KsResetContainmentChecks();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override {
    KsResetNodeFactory();
    KsRouter::ResetGlobals();
  }
  // Reads text as the viewer does; what the read printed.
  std::string Read(KsPartition* scene, const std::string& text) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("lv_work_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wrl");
    {
      std::ofstream out(path, std::ios::binary);
      out << text;
    }
    KsRouter::NewFile();
    testing::internal::CaptureStderr();
    EXPECT_EQ(scene->ReadFile(path.string().c_str()), 0);
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

// Coordinates, PROTO bodies included, holding exactly `points` points.
int CoordinatesHolding(KsPartition* scene, int points) {
  KsNodeFinder finder;
  finder.SetTargetName("KsCoordinate");
  finder.SetEnterProto(0);
  scene->Scan(&finder);
  int n = 0;
  for (int i = 0; i < finder.GetCount(); ++i)
    if (static_cast<KsCoordinate*>(finder.Get(i))->point.GetCount() == points) ++n;
  return n;
}

// One time step as the viewer runs it; the values it copied.
int64_t Frame(KsPartition* scene) {
  const int64_t before = KsRouter::GetValuesCopied();
  KsClock::Advance(0.1f);
  scene->SetTime();
  return KsRouter::GetValuesCopied() - before;
}

TEST_F(EventWorkBoundTest, ValuesHandedOnThroughIsAreCopiesOfTheFrame) {
  struct Case {
    int levels, width, points;
    int reached;  // Coordinates given the value each frame
  } cases[] = {
      // 100 fields: all are reached, well within the bound.
      {2, 10, 1000, 100},
      // 10,000 fields of 1,000 points, 10 M values a frame: the bound
      // stops the hand-on after some 4 M.
      {4, 10, 1000, -1},
  };
  for (const Case& c : cases) {
    SetUp();
    KsPartition scene;
    Read(&scene, lvbench::IsFanOutWorld(c.levels, c.width, c.points));
    testing::internal::CaptureStderr();
    int64_t most = 0;
    for (int f = 0; f < 3; ++f) {
      const int64_t copied = Frame(&scene);
      if (copied > most) most = copied;
    }
    const std::string err = testing::internal::GetCapturedStderr();
    // The copy that crosses the bound still runs, and the delivery.
    EXPECT_LE(most, KS_MAX_FRAME_VALUES + 2 * c.points) << c.levels;
    const int reached = CoordinatesHolding(&scene, c.points);
    if (c.reached >= 0) {
      EXPECT_EQ(reached, c.reached) << c.levels;
      EXPECT_EQ(err, "") << c.levels;
    } else {
      // The fields that took the value hold no more than the bound.
      EXPECT_GT(reached, 0) << c.levels;
      EXPECT_LE(reached, KS_MAX_FRAME_VALUES / c.points + 1) << c.levels;
      EXPECT_GT(most, KS_MAX_FRAME_VALUES / 2) << c.levels;
      // Told once for the file, not every frame.
      EXPECT_EQ(CountOf(err, "Too many events in one frame"), 1) << c.levels;
    }
  }
}

}  // namespace

namespace {

// Every later group of a PROTO body takes the children of every earlier one
// along MFNode routes: 2^(groups-1) deliveries (the bound stops them at
// KS_MAX_FRAME_DELIVERIES), each of the same 50 subtrees. Each is walked
// once per group it comes to, not again at every delivery that brings it.
TEST_F(EventWorkBoundTest, MfNodeRoutesWalkEachNewChildOnceNotEveryChildAtEveryDelivery) {
  struct Case {
    int groups, leaves;
  } cases[] = {{12, 50}, {18, 50}};
  for (const Case& c : cases) {
    SetUp();
    KsPartition scene;
    Read(&scene, lvbench::ChildrenRouteLattice(c.groups, c.leaves, 1));
    // A subtree is a Transform, its Shape, the Sphere and a Group.
    EXPECT_LE(KsGetContainmentVisits(), 2LL * c.groups * c.leaves * 4) << c.groups;
    // Every group holds the instance's 50 subtrees, and none holds itself.
    KsNodeFinder finder;
    finder.SetTargetName("KsGroup");
    finder.SetEnterProto(0);
    scene.Scan(&finder);
    int full = 0;
    for (int i = 0; i < finder.GetCount(); ++i) {
      KsMFNode* kids = finder.Get(i)->GetChildren();
      if (kids->GetCount() == c.leaves) ++full;
      for (int k = 0; k < kids->GetCount(); ++k)
        EXPECT_FALSE(KsContainsNode(kids->GetElements()[k], finder.Get(i)));
    }
    EXPECT_EQ(full, c.groups) << c.groups;
  }
}

// The walks are work of the time step: each node walked counts as a value
// copied, so a frame that walks subtrees without end spends its bound.
TEST_F(EventWorkBoundTest, TheCycleChecksWalksAreChargedToTheFrame) {
  KsPartition scene;
  Read(&scene,
       "#VRML V2.0 utf8\nDEF O Group { }\n"
       "DEF C Group { children [ Group { } Group { } Group { } ] }\n");
  KsNode* owner = scene.GetNode(0);
  KsNode* candidate = scene.GetNode(1);
  // 5,000 nodes under the candidate, none of them the owner.
  KsNode* below = static_cast<KsNode*>(candidate->GetChildren()->GetElements()[0]);
  for (int i = 0; i < 5000; ++i) below->AddChild(KsFindNodeConstructor("Group")());
  // The first walk of the time step begins its count.
  KsClock::Advance(0.1f);
  owner->GetChildren()->Set(1, &candidate);
  owner->GetChildren()->Set(0, nullptr);
  const long long visits = KsGetContainmentVisits();
  const int64_t values = KsRouter::GetFrameValues();
  for (int i = 0; i < 20; ++i) {
    owner->GetChildren()->Set(1, &candidate);
    owner->GetChildren()->Set(0, nullptr);
  }
  const long long walked = KsGetContainmentVisits() - visits;
  EXPECT_GE(walked, 20LL * 5000);
  EXPECT_EQ(KsRouter::GetFrameValues() - values, walked);
}

}  // namespace
