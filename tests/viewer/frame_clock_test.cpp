#include <cmath>
#include <limits>

#include "viewer/frame_clock.h"
#include "viewer_fixture.h"

namespace lvtest {
namespace {

struct StepCase {
  double elapsed;
  float step;
};
// Real seconds since the pass before, and how far the scene clock moves.
const StepCase kSteps[] = {
    {0.0, 0.0f},
    {0.016, 0.016f},
    {0.1, 0.1f},
    {2.0, 0.1f},
    {-0.5, 0.0f},  // a clock that went back
    {std::numeric_limits<double>::quiet_NaN(), 0.0f},
    {std::numeric_limits<double>::infinity(), 0.1f},
};

TEST(FrameClock, AStepIsTheRealTimeElapsedButNeverMoreThanATenth) {
  for (const StepCase& c : kSteps) EXPECT_EQ(ViewerClockStep(c.elapsed), c.step) << c.elapsed;
}

TEST(FrameClock, ElapsedIsTheTimeSinceThePreviousReading) {
  ViewerResetFrameClock();
  EXPECT_EQ(ViewerElapsedSince(1000.0), 0.0);  // no pass before the first
  EXPECT_EQ(ViewerElapsedSince(1000.25), 0.25);
  EXPECT_EQ(ViewerElapsedSince(1000.25), 0.0);
  EXPECT_EQ(ViewerElapsedSince(1003.0), 2.75);
  ViewerResetFrameClock();
  EXPECT_EQ(ViewerElapsedSince(5.0), 0.0);
}

TEST_F(ViewerTest, ATickMovesTheSceneClockByTheElapsedTimeUpToATenth) {
  ASSERT_EQ(Load("clock_box.wrl", "#VRML V2.0 utf8\nShape { geometry Box { } }\n"), 1);
  for (const StepCase& c : kSteps) {
    const float before = KsClock::GetTime();
    viewer->Tick(c.elapsed);
    // The clock keeps its float arithmetic: time + step.
    EXPECT_EQ(KsClock::GetTime(), before + c.step) << c.elapsed;
  }
}

// A looping 10 s cycle driven at 60 passes a second: after five real
// seconds the box is half way along, not dozens of cycles further on.
TEST_F(ViewerTest, AnimationsRunInRealTimeWhateverTheFrameRate) {
  ASSERT_EQ(Load("clock_anim.wrl",
                 "#VRML V2.0 utf8\n"
                 "DEF MOVER Transform { children Shape { geometry Box { } } }\n"
                 "DEF CLOCK TimeSensor { cycleInterval 10 loop TRUE }\n"
                 "DEF PATH PositionInterpolator { key [ 0 1 ] keyValue [ 0 0 0, 10 0 0 ] }\n"
                 "ROUTE CLOCK.fraction_changed TO PATH.set_fraction\n"
                 "ROUTE PATH.value_changed TO MOVER.set_translation\n"),
            1);
  KsNode* mover = viewer->GetScene()->LookUpLabel("MOVER");
  ASSERT_NE(mover, nullptr);
  auto* translation = static_cast<KsSFVec3f*>(mover->LookUpMember("translation"));
  ASSERT_NE(translation, nullptr);
  viewer->Tick(1.0 / 60.0);  // the first pass starts the cycle
  const float start = translation->Get().x;
  for (int i = 0; i < 300; ++i) viewer->Tick(1.0 / 60.0);
  // Five seconds of a ten second cycle: half of the ten units.
  EXPECT_NEAR(translation->Get().x - start, 5.0f, 0.05f);
}

}  // namespace
}  // namespace lvtest
