// The 2D API draws on the screen whether or not the outputs are on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/draw2d/draw2d.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/software/screen_fixture.h"

namespace {

std::vector<std::string>& Texts() {
  static std::vector<std::string> texts;
  return texts;
}

void Record(int, int, const char* text, PwColor) { Texts().push_back(text); }

class Draw2dTest : public ::testing::TestWithParam<int>, public ScreenFixture {
 protected:
  void SetUp() override {
    Open(32, 24, 16);
    PwSetTextOutput(Record);
    Texts().clear();
    PwImageSetActive(0);
    PwEpsSetActive(GetParam());
  }
  void TearDown() override {
    PwEpsSetActive(0);
    Close();
  }
};

TEST_P(Draw2dTest, EachCallReachesTheScreen) {
  const PwColor white = {255, 255, 255};
  const unsigned int ink = Ink(white);
  PwDrawBox2({0, 0}, {3, 3}, white);
  EXPECT_EQ(16, Count(ink));
  PwClearScreen();
  EXPECT_EQ(0, Count(ink));
  PwDrawLine2({0, 5}, {9, 5}, white);
  EXPECT_EQ(10, Count(ink));
  const PwPoint2 tri[] = {{0, 10}, {10, 10}, {5, 20}};
  PwDrawPolygon2(3, tri, white);
  EXPECT_EQ(ink, At(5, 15));
  PwDrawPoint2({20, 20}, white);
  EXPECT_EQ(ink, At(21, 21));
  PwDrawEllipse2({25, 5}, 2, 2, white);
  EXPECT_EQ(ink, At(25, 7));
  PwDrawRect2({12, 1}, {16, 3}, white);
  EXPECT_EQ(ink, At(16, 2));
  PwDrawOutline2(3, tri, white);
  PwDrawPolyline2(3, tri, white);
  PwDrawMarker2({28, 20}, kPwMarkerCross, white);
  EXPECT_EQ(ink, At(24, 16));
  PwDrawEllipseOutline2({16, 12}, 4, 4, white);
  EXPECT_EQ(ink, At(20, 12));
  const char* lines[] = {"a", "b", nullptr};
  PwDrawText2({1, 20}, "NO FILE IS OPENED.", white);
  PwDrawTextLines2({16, 2}, lines, kPwAlignLeft, kPwAlignTop, white);
  ASSERT_EQ(2u, Texts().size());
  EXPECT_EQ("NO FILE IS OPENED.", Texts()[0]);
  EXPECT_EQ("a", Texts()[1]);
  EXPECT_TRUE(GuardsIntact());
}

INSTANTIATE_TEST_SUITE_P(EpsOffAndOn, Draw2dTest, ::testing::Values(0, 1));

}  // namespace
