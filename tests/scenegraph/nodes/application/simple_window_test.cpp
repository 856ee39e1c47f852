// The simple-window frame without a window: its class record and current
// pointer, the loop's quit flag, Escape and clock, mouse changes turned into
// virtual calls (through scripted window calls), the set-up, the eye taken
// from the bound viewpoint, and the frame's presentation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/draw2d/draw2d.h"
#include "graphics/window/keys.h"
#include "graphics/picking/picking.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/math/pw_math.h"
#include "graphics/state3d/state3d.h"
#include "graphics/window/window.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/application/simple_window.h"

namespace {

// One pass of the scripted window: the mouse it reports and the virtual
// key (0: none) that arrives with its messages.
struct Pass {
  int left, right, x, y, vk;
};

struct Script {
  std::vector<Pass> passes;
  int polled = 0;
  int closed = 0;
  int openedWidth = 0, openedHeight = 0;
  int failOpen = 0;
};

Script& Current() {
  static Script script;
  return script;
}

void Open(int width, int height) {
  Current().openedWidth = width;
  Current().openedHeight = height;
  PwSetWindowClosed(Current().failOpen);
}
void Close() { ++Current().closed; }
void Poll() {
  Script& s = Current();
  ++s.polled;
  if (s.polled <= static_cast<int>(s.passes.size()) && s.passes[s.polled - 1].vk != 0) {
    PwQueueKeyDown(s.passes[s.polled - 1].vk);
  }
}
void Mouse(int* left, int* middle, int* right, int* x, int* y) {
  const Script& s = Current();
  Pass p = {0, 0, 0, 0, 0};
  if (!s.passes.empty()) {
    int i = s.polled < 1 ? 0 : s.polled - 1;
    if (i >= static_cast<int>(s.passes.size())) i = static_cast<int>(s.passes.size()) - 1;
    p = s.passes[i];
  }
  *left = p.left;
  *middle = 1;  // never looked at
  *right = p.right;
  *x = p.x;
  *y = p.y;
}

const KsSimpleWindow::WindowCalls kScripted = {Open, Close, Poll, Mouse};

std::string Bool(KSBOOL b) { return b == KS_TRUE ? "T" : "F"; }

// Logs every virtual call; quits after the script's last pass unless told
// to quit at start.
class Probe : public KsSimpleWindow {
 public:
  void OnLeftButtonDown(int x, int y) override { Log("LD", x, y); }
  void OnRightButtonDown(int x, int y) override { Log("RD", x, y); }
  void OnLeftButtonUp(int x, int y) override { Log("LU", x, y); }
  void OnRightButtonUp(int x, int y) override { Log("RU", x, y); }
  void OnMouseMove(KSBOOL left, KSBOOL right, int x, int y, int dx, int dy) override {
    log.push_back("M " + Bool(left) + Bool(right) + " " + std::to_string(x) + " " +
                  std::to_string(y) + " " + std::to_string(dx) + " " + std::to_string(dy));
  }
  void OnStart() override {
    log.push_back("start");
    if (quitAtStart) QuitWith(kScripted);
  }
  void OnIdle() override {
    log.push_back("idle");
    if (Current().polled >= static_cast<int>(Current().passes.size())) QuitWith(kScripted);
  }

  std::vector<std::string> log;
  bool quitAtStart = false;

 private:
  void Log(const char* what, int x, int y) {
    log.push_back(std::string(what) + " " + std::to_string(x) + " " + std::to_string(y));
  }
};

class SimpleWindowLoopTest : public testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    KsResetSimpleWindow();
    KsClock::Reset();
    PwInitKeys();
    PwResetWindowState();
    Current() = Script();
  }
  // The probe's calls other than the start and idle ones.
  static std::vector<std::string> Events(const Probe& p) {
    std::vector<std::string> out;
    for (const std::string& e : p.log)
      if (e != "start" && e != "idle") out.push_back(e);
    return out;
  }
};

TEST_F(SimpleWindowLoopTest, ClassRecordAndTheNewestWindowIsCurrent) {
  EXPECT_EQ(KsSimpleWindow::GetCurrent(), nullptr);
  KsSimpleWindow first;
  EXPECT_STREQ(first.GetClassName(), "KsSimpleWindow");
  ASSERT_NE(first.GetClassInfo(), nullptr);
  EXPECT_EQ(first.GetClassInfo(), KsSimpleWindow::ClassRecord());
  EXPECT_STREQ(first.GetClassInfo()->name, "KsSimpleWindow");
  EXPECT_EQ(first.GetClassInfo()->parent, KsObject::ClassRecord());
  EXPECT_EQ(KsClassManager::IsKindOf(first.GetClassInfo(), "KsObject"), 2);
  EXPECT_EQ(KsSimpleWindow::GetCurrent(), &first);

  Probe derived;
  EXPECT_STREQ(derived.GetClassName(), "KsSimpleWindow");
  EXPECT_EQ(KsSimpleWindow::GetCurrent(), &derived);

  KsSimpleWindow* made = first.NewInstance();
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->GetClassName(), "KsSimpleWindow");
  EXPECT_EQ(KsSimpleWindow::GetCurrent(), made);
  // A destroyed window leaves no dangling current pointer; an older one
  // going away leaves the current one alone.
  delete made;
  EXPECT_EQ(KsSimpleWindow::GetCurrent(), nullptr);
  {
    KsSimpleWindow later;
    KsSimpleWindow* older = first.NewInstance();
    KsSimpleWindow* newest = first.NewInstance();
    delete older;
    EXPECT_EQ(KsSimpleWindow::GetCurrent(), newest);
    delete newest;
  }
  EXPECT_EQ(KsSimpleWindow::GetQuitFlag(), 0);
}

TEST_F(SimpleWindowLoopTest, QuitAtStartReturnsAtOnce) {
  Current().passes = {{1, 0, 5, 5, 0}};
  Probe p;
  p.quitAtStart = true;
  EXPECT_EQ(p.MainLoopWith(kScripted), 0);
  EXPECT_EQ(p.log, std::vector<std::string>{"start"});
  EXPECT_EQ(Current().polled, 0);
  EXPECT_EQ(Current().closed, 1);
  EXPECT_EQ(KsSimpleWindow::GetQuitFlag(), 1);
  EXPECT_FLOAT_EQ(KsClock::GetTime(), 0.1f);
}

TEST_F(SimpleWindowLoopTest, QuitInIdleEndsAfterThatPassWithTheFlag) {
  Current().passes = {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
  Probe p;
  EXPECT_EQ(p.MainLoopWith(kScripted), 1);
  EXPECT_EQ(p.log, (std::vector<std::string>{"start", "idle", "idle", "idle"}));
  EXPECT_EQ(Current().closed, 1);
  // The clock went on by 0.1 s per pass, in float steps.
  float t = 0.1f;
  for (int i = 0; i < 3; ++i) t += 0.1f;
  EXPECT_EQ(KsClock::GetTime(), t);
}

TEST_F(SimpleWindowLoopTest, EscapeEndsTheLoopBeforeThePassIsHandled) {
  // 'A' is consumed and ignored; Escape ends the pass before its button
  // change, its clock step and its idle call.
  Current().passes = {{0, 0, 0, 0, 'A'}, {1, 0, 3, 3, 27}, {0, 0, 0, 0, 0}};
  Probe p;
  EXPECT_EQ(p.MainLoopWith(kScripted), kPwKeyEscape);
  EXPECT_EQ(p.log, (std::vector<std::string>{"start", "idle"}));
  EXPECT_EQ(PwQueuedKeyCount(), 0);
  EXPECT_EQ(Current().closed, 0);
  EXPECT_EQ(KsSimpleWindow::GetQuitFlag(), 0);
  EXPECT_FLOAT_EQ(KsClock::GetTime(), 0.2f);
}

TEST_F(SimpleWindowLoopTest, OneQueuedKeyPerPass) {
  // 'B' waits from before the loop, so Escape, queued in the second pass,
  // is read only in the third.
  PwQueueKeyDown('B');
  Current().passes = {{0, 0, 0, 0, 'A'}, {0, 0, 0, 0, 27}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}};
  Probe p;
  EXPECT_EQ(p.MainLoopWith(kScripted), kPwKeyEscape);
  EXPECT_EQ(p.log, (std::vector<std::string>{"start", "idle", "idle"}));
  EXPECT_EQ(Current().polled, 3);
  EXPECT_EQ(PwQueuedKeyCount(), 0);
}

struct MouseCase {
  const char* name;
  std::vector<Pass> passes;
  std::vector<std::string> events;
};

class SimpleWindowMouseTest : public SimpleWindowLoopTest,
                              public testing::WithParamInterface<MouseCase> {};

TEST_P(SimpleWindowMouseTest, ChangesBecomeVirtualCalls) {
  Current().passes = GetParam().passes;
  Probe p;
  EXPECT_EQ(p.MainLoopWith(kScripted), 1);
  EXPECT_EQ(Events(p), GetParam().events);
  EXPECT_EQ(Current().polled, static_cast<int>(GetParam().passes.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimpleWindowMouseTest,
    testing::Values(
        MouseCase{"LeftClickInPlace",
                  {{0, 0, 10, 20, 0}, {1, 0, 10, 20, 0}, {1, 0, 10, 20, 0}, {0, 0, 10, 20, 0}},
                  {"LD 10 20", "LU 10 20"}},
        MouseCase{"RightDragReportsDeltas",
                  {{0, 0, 10, 10, 0},
                   {0, 1, 10, 10, 0},
                   {0, 1, 15, 12, 0},
                   {0, 1, 15, 20, 0},
                   {0, 0, 15, 20, 0}},
                  {"RD 10 10", "M FT 15 12 5 2", "M FT 15 20 0 8", "RU 15 20"}},
        MouseCase{"MovesWithoutButtonsAreNotReported",
                  {{0, 0, 1, 1, 0}, {0, 0, 30, 40, 0}, {0, 0, 2, 2, 0}},
                  {}},
        // The release pass moves too, but the button is no longer held;
        // the next press starts from the last reported position.
        MouseCase{
            "ReleaseWhileMovingAndBothButtons",
            {{1, 0, 5, 5, 0}, {1, 1, 7, 5, 0}, {0, 1, 9, 6, 0}, {0, 0, 12, 6, 0}, {1, 0, 20, 6, 0}},
            {"LD 5 5", "M TF 5 5 5 5", "RD 7 5", "M TT 7 5 2 0", "LU 9 6", "M FT 9 6 2 1",
             "RU 12 6", "LD 20 6", "M TF 20 6 8 0"}}),
    [](const testing::TestParamInfo<MouseCase>& info) { return std::string(info.param.name); });

class SimpleWindowInitTest : public SimpleWindowLoopTest {
 protected:
  void TearDown() override {
    PwReset3D();
    PwPickReset();
    SimpleWindowLoopTest::TearDown();
  }
};

TEST_F(SimpleWindowInitTest, SetsUpTheLibraryAndOpensTheWindow) {
  PwSetLighting(0);
  PwSetTitle("something else");
  KsSimpleWindow w;
  EXPECT_EQ(w.InitializeWith(kScripted), 0);
  EXPECT_EQ(Current().openedWidth, 640);
  EXPECT_EQ(Current().openedHeight, 480);
  EXPECT_STREQ(PwGetTitle(), "Kestrune Simple Window Application");
  EXPECT_EQ(PwGetLighting(), 1);
  PwProjection want;
  KsInitProjection(&want);
  const PwProjection* got = PwGetProjection();
  EXPECT_EQ(got->width, want.width);
  EXPECT_EQ(got->height, want.height);
  EXPECT_EQ(got->near, want.near);
  EXPECT_EQ(got->magx, want.magx);
  // Both pools are usable.
  EXPECT_NE(PwScratchAlloc(1 << 19), nullptr);
  EXPECT_NE(PwPickAlloc(nullptr, 1 << 19), nullptr);
  EXPECT_EQ(PwPickAlloc(nullptr, 1 << 20), nullptr);
}

TEST_F(SimpleWindowInitTest, AWindowThatCannotBeMadeIsAFailure) {
  Current().failOpen = 1;
  KsSimpleWindow w;
  EXPECT_EQ(w.InitializeWith(kScripted), KS_ERR);
}

// The eye from the bound viewpoint, on a guarded surface.
class SimpleWindowCameraTest : public kstest::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    KsResetBindings();
    KsResetSimpleWindow();
  }
  void TearDown() override {
    KsResetBindings();
    KsResetSimpleWindow();
    RenderTest::TearDown();
  }
};

constexpr PwColor kRed = {0, 255, 0};
constexpr PwColor kBlack = {0, 0, 0};

TEST_F(SimpleWindowCameraTest, WithoutAViewpointOnlyClearsScreenAndPicks) {
  ASSERT_EQ(KsViewpoint::GetBound(), nullptr);
  const PwPose before = {3, 4, 5, 100, 200, 300};
  PwSetEye(&before);
  const PwVec3 light = {7, 8, 9};
  PwSetLight(&light);
  PwDrawBox2(PwPoint2{0, 0}, PwPoint2{160, 120}, kRed);
  ASSERT_GT(surface.Count(kRed), 0);
  ASSERT_NE(PwPickAlloc(nullptr, 64), nullptr);
  KsCurrentMatrix().Translate(1, 2, 3);

  KsSimpleWindow w;
  w.SetCamera();
  EXPECT_EQ(surface.Count(kRed), 0);
  EXPECT_EQ(surface.Count(kBlack), 160 * 120);
  EXPECT_EQ(PwPickUsed(), 0u);
  EXPECT_EQ(PwGetEyeFrame()->x, 3.0f);
  EXPECT_EQ(PwGetEyeFrame()->z, 5.0f);
  EXPECT_EQ(PwGetEyeFrame()->heading, 100.0f);
  EXPECT_EQ(PwGetLightWorld()->x, 7.0f);
  EXPECT_EQ(KsCurrentMatrix().Elements()[3], 1.0f);
}

// R(axis, angle) v in double (Rodrigues).
KsVec3f Rotated(double ax, double ay, double az, double angle, double x, double y, double z) {
  const double l = std::sqrt(ax * ax + ay * ay + az * az);
  ax /= l, ay /= l, az /= l;
  const double c = std::cos(angle), s = std::sin(angle), d = ax * x + ay * y + az * z;
  const double cx = ay * z - az * y, cy = az * x - ax * z, cz = ax * y - ay * x;
  return KsVec3f(static_cast<float>(x * c + cx * s + ax * d * (1 - c)),
                 static_cast<float>(y * c + cy * s + ay * d * (1 - c)),
                 static_cast<float>(z * c + cz * s + az * d * (1 - c)));
}

TEST_F(SimpleWindowCameraTest, EyeAndLightFollowTheBoundViewpoint) {
  struct Case {
    float ax, ay, az, angle;
  };
  const Case cases[] = {
      {0, 0, 1, 0}, {0, 1, 0, 1.5707963f}, {1, 0, 0, 0.6f}, {0, 0, 1, 0.5f}, {1, 2, -1, 2.3f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.ax << " " << c.ay << " " << c.az << " " << c.angle);
    Read(
        "DEF T Transform { translation 0 0 5 rotation 0 1 0 0 children [ DEF V Viewpoint { "
        "position 1 2 10 } ] }");
    auto* vp = static_cast<KsViewpoint*>(scene->LookUpLabel("V"));
    ASSERT_NE(vp, nullptr);
    ASSERT_EQ(vp->Bind(), 0);
    vp->orientation.Set(c.ax, c.ay, c.az, c.angle);
    scene->StoreViewpointPaths();
    ASSERT_EQ(vp->GetPathCount(), 1);
    KsCurrentMatrix().Translate(1, 2, 3);
    PwDrawBox2(PwPoint2{0, 0}, PwPoint2{160, 120}, kRed);

    KsSimpleWindow w;
    w.SetCamera();
    EXPECT_EQ(surface.Count(kRed), 0);
    const PwFrame* eye = PwGetEyeFrame();
    EXPECT_NEAR(eye->x, 1.0f, 1e-5);
    EXPECT_NEAR(eye->y, 2.0f, 1e-5);
    EXPECT_NEAR(eye->z, -15.0f, 1e-5);
    EXPECT_EQ(PwGetLightWorld()->x, eye->x);
    EXPECT_EQ(PwGetLightWorld()->y, eye->y);
    EXPECT_EQ(PwGetLightWorld()->z, eye->z);
    EXPECT_EQ(KsCurrentMatrix().Elements()[3], 0.0f);

    // The eye's attitude looks along the viewpoint, z negated.
    const PwAttitude a = {static_cast<int>(eye->heading), static_cast<int>(eye->pitch),
                          static_cast<int>(eye->bank)};
    PwVec3 forward, up;
    PwAttitudeToVectors(&forward, &up, &a);
    const KsVec3f f = Rotated(c.ax, c.ay, c.az, c.angle, 0, 0, -1);
    const KsVec3f u = Rotated(c.ax, c.ay, c.az, c.angle, 0, 1, 0);
    EXPECT_NEAR(forward.x, f.x, 2e-3);
    EXPECT_NEAR(forward.y, f.y, 2e-3);
    EXPECT_NEAR(forward.z, -f.z, 2e-3);
    EXPECT_NEAR(up.x, u.x, 2e-3);
    EXPECT_NEAR(up.y, u.y, 2e-3);
    EXPECT_NEAR(up.z, -u.z, 2e-3);
  }
}

TEST_F(SimpleWindowCameraTest, RedrawFlushesTheListAndPresents) {
  KsSimpleWindow w;
  const PwPose eye = {};
  PwSetEye(&eye);
  const PwVec3 square[4] = {{-50, -50, 5}, {50, -50, 5}, {50, 50, 5}, {-50, 50, 5}};
  PwClearScreen();
  ASSERT_EQ(PwPolygon3TwoSided(4, square, kRed), 0);
  ASSERT_EQ(kstest::SortedCount(), 1);
  EXPECT_EQ(surface.Count(kBlack), 160 * 120);
  EXPECT_EQ(w.Redraw(), 1);  // the guarded backend's presentation result
  // The square covers the view; the rasteriser's edge rows may stay.
  EXPECT_LT(surface.Count(kBlack), 160 * 4);
  EXPECT_EQ(surface.At(80, 60), surface.Value(kRed));
}

}  // namespace
