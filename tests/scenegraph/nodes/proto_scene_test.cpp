#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/core/math/vec.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"

using kstest::Contains;
using kstest::Realize;

namespace {

const std::string kCorpus = LV_SOURCE_DIR "/../shared/corpus/parse-suite/";

class ProtoSceneTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetProtoGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override { KsResetNodeFactory(); }
};

KsMaterial* MaterialOf(KsNode* instance) {
  KsCustomNode* custom = static_cast<KsCustomNode*>(instance);
  KsShape* shape = static_cast<KsShape*>(custom->GetPrivateCopy()->GetNode(0));
  KsAppearance* look = static_cast<KsAppearance*>(shape->appearance.Get());
  return static_cast<KsMaterial*>(look->material.Get());
}

TEST_F(ProtoSceneTest, AColourFieldReachesTheMaterialOfEachInstance) {
  {
    KsPartition p;
    std::string err = Realize(p,
                              "PROTO Tile [ exposedField SFColor col 1 0 0 ] {\n"
                              "  Shape { appearance Appearance {\n"
                              "    material Material { diffuseColor IS col } } geometry Box { } }\n"
                              "}\n"
                              "Tile { } Tile { col 0 1 0 }");
    ASSERT_EQ(p.GetNodeCount(), 2);
    ASSERT_STREQ(p.GetNode(0)->GetClassName(), "KsCustomNode");
    const KsCol& red = MaterialOf(p.GetNode(0))->diffuseColor.Get();
    EXPECT_EQ(red.r, 1.0f);
    EXPECT_EQ(red.g, 0.0f);
    const KsCol& green = MaterialOf(p.GetNode(1))->diffuseColor.Get();
    EXPECT_EQ(green.r, 0.0f);
    EXPECT_EQ(green.g, 1.0f);
    EXPECT_NE(MaterialOf(p.GetNode(0)), MaterialOf(p.GetNode(1)));
    // The instance's extent is its private scene's.
    KsVec3f lo, hi;
    ASSERT_EQ(p.GetNode(0)->GetBoundingBox(&lo, &hi), 0);
    EXPECT_EQ(lo.x, -1.0f);
    EXPECT_EQ(hi.z, 1.0f);
    EXPECT_FALSE(Contains(err, "Duplicate Failed")) << err;
  }
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

TEST_F(ProtoSceneTest, CorpusFilesWithProtosReadWithBalancedCounts) {
  int files = 0;
  for (const char* folder : {"good", "bad"}) {
    for (const auto& item : std::filesystem::directory_iterator(kCorpus + folder)) {
      std::ifstream in(item.path(), std::ios::binary);
      std::stringstream text;
      text << in.rdbuf();
      if (text.str().find("PROTO") == std::string::npos) continue;
      ++files;
      const int made = KsNode::GetConstructedCount();
      const int gone = KsNode::GetDestroyedCount();
      {
        KsPartition p;
        testing::internal::CaptureStderr();
        int result = p.ReadFile(item.path().string().c_str());
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(result, 0) << item.path();
      }
      EXPECT_EQ(KsNode::GetConstructedCount() - made, KsNode::GetDestroyedCount() - gone)
          << item.path();
      EXPECT_EQ(KsCustomNode::GetBuildDepth(), 0);
    }
  }
  EXPECT_GE(files, 15);
}

TEST_F(ProtoSceneTest, CorpusProtosAreRealised) {
  struct Case {
    const char* file;
    int roots;
  } cases[] = {
      {"good/proto-containment-2-deep.wrl", 1},
      {"good/proto-containment-trivial.wrl", 1},
      {"good/proto-impl-exposedfield-event-is.wrl", 1},
      {"good/proto-in-proto-default-value.wrl", 1},
      {"good/def-use-in-proto-default-value.wrl", 1},
  };
  for (const Case& c : cases) {
    KsPartition p;
    testing::internal::CaptureStderr();
    p.ReadFile((kCorpus + c.file).c_str());
    std::string err = testing::internal::GetCapturedStderr();
    ASSERT_EQ(p.GetNodeCount(), c.roots) << c.file << "\n" << err;
    EXPECT_STREQ(p.GetNode(0)->GetClassName(), "KsCustomNode") << c.file;
  }
  // Two levels of PROTOs inside PROTO bodies reach the Group at the bottom.
  KsPartition p;
  testing::internal::CaptureStderr();
  p.ReadFile((kCorpus + "good/proto-containment-2-deep.wrl").c_str());
  testing::internal::GetCapturedStderr();
  KsNode* node = p.GetNode(0);
  for (int level = 0; level < 3; ++level) {
    ASSERT_STREQ(node->GetClassName(), "KsCustomNode") << level;
    node = static_cast<KsCustomNode*>(node)->GetPrivateCopy()->GetNode(0);
    ASSERT_NE(node, nullptr);
  }
  EXPECT_STREQ(node->GetClassName(), "KsGroup");
}

}  // namespace
