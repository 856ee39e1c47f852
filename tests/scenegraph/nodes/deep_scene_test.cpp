// Scenes far deeper than their text (nests chained through USE, chains that
// events build): freeing them and asking their box take no stack beyond a
// fixed depth, in either build (the 32-bit one has an 8 MB stack).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/math/vec.h"
#include "scenegraph/core/partition/box_query.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/node_library.h"
#include "tests/bench/bounded_worlds.h"

namespace {

class DeepSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetProtoGlobals();
    KsResetProtoBudget();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override { KsResetNodeFactory(); }

  std::string WriteWorld(const std::string& text) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("lv_deep_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wrl");
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path.string();
  }
};

// A chain of `length` transforms, each the only child of the one above:
// one reference each, nothing shared, as routes could build it.
KsGroup* TransformChain(int length) {
  KsGroup* top = new KsTransform();
  KsGroup* at = top;
  for (int i = 1; i < length; ++i) {
    KsNode* next = new KsTransform();
    at->children.Set(1, &next);
    at = static_cast<KsGroup*>(next);
  }
  return top;
}

TEST_F(DeepSceneTest, NestsChainedThroughUseAreFreedWithoutRecursion) {
  // 100 nests of 990: 99,000 levels in the scene, 990 in the text.
  const std::string path = WriteWorld(lvbench::DeepUseWorld(100, 990));
  KsPartition* scene = new KsPartition();
  testing::internal::CaptureStderr();
  ASSERT_EQ(scene->ReadFile(path.c_str()), 0);
  const std::string err = testing::internal::GetCapturedStderr();
  std::filesystem::remove(path);
  EXPECT_EQ(err, "");
  ASSERT_EQ(scene->GetNodeCount(), 100);
  EXPECT_EQ(KsNode::GetConstructedCount(), 99000 + 2);

  // N0's box is asked first and kept; every later nest finds it there.
  KsVec3f lo, hi;
  EXPECT_EQ(scene->GetBoundingBox(&lo, &hi), 0);
  EXPECT_EQ(lo.x, -1.0f);
  EXPECT_EQ(hi.z, 1.0f);
  EXPECT_LE(KsBoxQueryDeepest(), 2 * 990 + 3);

  // The last nest holds the whole chain: dropping it frees 99,000 levels.
  delete scene;
  EXPECT_EQ(KsNode::GetDestroyedCount(), KsNode::GetConstructedCount());
}

TEST_F(DeepSceneTest, AChainDeeperThanAFrameDrawsHasNoBoxBelowThatDepthAndIsFreed) {
  struct Case {
    int length;
    int boxed;  // whether the Box at the bottom is in the scene's box
  } cases[] = {
      {KS_MAX_BOX_DEPTH - 2, 1},  // the Shape's Box at the deepest level asked
      {KS_MAX_BOX_DEPTH, 0},
      {100000, 0},
  };
  for (const Case& c : cases) {
    KsNode::ResetGlobals();
    KsGroup* top = TransformChain(c.length);
    KsGroup* bottom = top;
    while (bottom->children.GetCount() > 0)
      bottom = static_cast<KsGroup*>(bottom->children.GetElements()[0]);
    bottom->AddChild(KsFindNodeConstructor("Shape")());
    KsNode* shape = bottom->children.GetElements()[0];
    KsNode* box = KsFindNodeConstructor("Box")();
    static_cast<KsSFNode*>(shape->LookUpMember("geometry"))->Set(box);

    KsPartition* scene = new KsPartition();
    scene->AppendNode(top);
    KsVec3f lo, hi;
    testing::internal::CaptureStderr();
    const int result = scene->GetBoundingBox(&lo, &hi);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, c.boxed ? 0 : 1) << c.length;
    EXPECT_LE(KsBoxQueryDeepest(), KS_MAX_BOX_DEPTH) << c.length;
    if (c.boxed) {
      EXPECT_EQ(err, "") << c.length;
      EXPECT_EQ(hi.y, 1.0f);
    } else {
      // Told once, however many levels were cut.
      EXPECT_EQ(err, "KsPartition::GetBoundingBox()\n  The scene nests deeper than " +
                         std::to_string(KS_MAX_BOX_DEPTH) +
                         " levels; the deeper nodes are left out of its box.\n")
          << c.length;
    }
    delete scene;
    EXPECT_EQ(KsNode::GetDestroyedCount(), c.length + 2) << c.length;
  }
}

}  // namespace
