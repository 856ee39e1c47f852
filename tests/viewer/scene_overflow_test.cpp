#include <gtest/gtest.h>

#include <vector>

#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/nodes/render/render_traversal.h"
#include "viewer/scene_overflow.h"

namespace {

int g_shown = 0;
void Count() { ++g_shown; }

class SceneOverflowTest : public ::testing::Test {
 protected:
  SceneOverflowTest() : pool_(64) {
    ViewerOverflowReset();
    ViewerOverflowSetNotice(Count);
    g_shown = 0;
  }
  ~SceneOverflowTest() override {
    ViewerOverflowReset();
    PwReset3D();
  }
  // One frame in a main pool too small for any item, or one that fits.
  void Frame(bool overflow) {
    PwStart3D(pool_.data(), overflow ? pool_.size() : 0);
    if (overflow) {
      PwSortedInsert(kPwSortedPoint, 1.0f);
    } else {
      const PwPose eye = {};
      PwSetEye(&eye);
    }
  }
  std::vector<unsigned char> pool_;
};

TEST_F(SceneOverflowTest, ToldOncePerLoadedFile) {
  ViewerOverflowNewFile();
  Frame(false);
  EXPECT_EQ(0, ViewerOverflowAfterFrame());
  Frame(true);
  EXPECT_EQ(1, ViewerOverflowAfterFrame());
  Frame(true);
  EXPECT_EQ(0, ViewerOverflowAfterFrame());
  EXPECT_EQ(1, g_shown);
  ViewerOverflowNewFile();
  Frame(true);
  EXPECT_EQ(1, ViewerOverflowAfterFrame());
  EXPECT_EQ(2, g_shown);
}

// Counted as a shape by the traversal, drawing nothing.
class ShapeProbe : public KsNode {
 public:
  ShapeProbe() { RegisterDone(); }
  const char* GetClassName() const override { return "KsShape"; }
  int ExecTraverse(KsMatrix*) override { return 0; }
};

// A frame that meets more shapes than it draws is told once per file, with
// lines of its own; a frame within the limit tells nothing.
TEST_F(SceneOverflowTest, FrameLeavingShapesOutIsToldOncePerLoadedFile) {
  ShapeProbe shape;
  auto frame = [this, &shape](int shapes) {
    Frame(false);
    KsStartTraversalFrame();
    for (int i = 0; i < shapes; ++i) KsTraverseNode(&shape, nullptr);
  };
  ViewerOverflowNewFile();
  frame(1000);
  EXPECT_EQ(0, ViewerOverflowAfterFrame());
  frame(KS_MAX_FRAME_SHAPES + 1);
  EXPECT_EQ(KsTraversalShapeVisits(), KS_MAX_FRAME_SHAPES);
  EXPECT_EQ(1, ViewerOverflowAfterFrame());
  EXPECT_EQ(ViewerOverflowNoticeLines(), kViewerShapeLimitLines);
  frame(KS_MAX_FRAME_SHAPES + 1);
  EXPECT_EQ(0, ViewerOverflowAfterFrame());
  EXPECT_EQ(1, g_shown);
  ViewerOverflowNewFile();
  frame(KS_MAX_FRAME_SHAPES + 1);
  EXPECT_EQ(1, ViewerOverflowAfterFrame());
  EXPECT_EQ(2, g_shown);
  // The draw-buffer notice keeps its own lines and its own once.
  Frame(true);
  KsStartTraversalFrame();
  EXPECT_EQ(1, ViewerOverflowAfterFrame());
  EXPECT_EQ(ViewerOverflowNoticeLines(), kViewerOverflowLines);
  EXPECT_EQ(3, g_shown);
  KsResetRenderTraversal();
}

}  // namespace
