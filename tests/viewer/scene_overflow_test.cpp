#include <gtest/gtest.h>

#include <vector>

#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
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

}  // namespace
