// Viewpoint, NavigationInfo, Fog and Background: binding, the default
// viewpoint, the viewpoint's world matrix and pointer ray, background
// colours, and the bound viewpoint's use by LOD.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "graphics/draw2d/clip2d.h"
#include "graphics/primitives/sky.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"

namespace {
using kstest::Recorded;

// Receives any event under "got" and keeps its class and value.
class Receiver : public KsNode {
 public:
  Receiver() {
    RegisterEventIn("got");
    RegisterDone();
  }
  const char* GetClassName() const override { return "KsReceiver"; }
  int ExecTraverse(KsMatrix*) override { return 0; }
  int ExecSpecialEvent(const char*, KsField* field, KsNode*) override {
    std::string cls = field->GetClassName();
    if (cls == "KsSFTime")
      log.push_back("time " + std::to_string(static_cast<KsSFTime*>(field)->Get()));
    if (cls == "KsSFBool")
      log.push_back(static_cast<KsSFBool*>(field)->Get() == KS_TRUE ? "TRUE" : "FALSE");
    return 0;
  }
  std::vector<std::string> log;
};

class BindableTest : public kstest::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    KsResetBindings();
    KsClock::Reset();
    PwResetClip2();
  }
  void TearDown() override {
    RenderTest::TearDown();
    KsResetBindings();
    KsClock::Reset();
    PwResetClip2();
  }
  // A receiver for every event named in events, routed from node.
  Receiver* Listen(KsNode* node, std::vector<const char*> events) {
    Receiver* r = new Receiver;
    scene->AppendNode(r);
    for (const char* e : events) scene->GetRouter()->AddRoute(node, e, r, "got");
    return r;
  }
  template <class T>
  T* Root(int i) {
    return static_cast<T*>(scene->GetNode(i));
  }
};

TEST_F(BindableTest, FirstViewpointBindsAndLaterOnesWaitForBind) {
  ASSERT_EQ(Read("DEF A Viewpoint { } DEF B Viewpoint { position 1 2 3 description \"b\" }"), "");
  auto* a = Root<KsViewpoint>(0);
  auto* b = Root<KsViewpoint>(1);
  EXPECT_EQ(KsViewpoint::GetBound(), a);
  ASSERT_NE(a->description.Get(), nullptr);
  EXPECT_STREQ(a->description.Get(), "");
  EXPECT_STREQ(b->description.Get(), "b");
  Receiver* ra = Listen(a, {"isBound", "bindTime"});
  Receiver* rb = Listen(b, {"isBound", "bindTime"});

  // Whatever value the bind event carries, it binds.
  KsClock::SetTime(2.5f);
  KsSFBool off;
  off.Set(KS_FALSE);
  EXPECT_EQ(b->AcceptEvent("bind", &off, nullptr), 0);
  EXPECT_EQ(KsViewpoint::GetBound(), b);
  EXPECT_EQ(rb->log, (std::vector<std::string>{"TRUE", "time " + std::to_string(2.5f)}));
  EXPECT_TRUE(ra->log.empty());

  testing::internal::CaptureStderr();
  EXPECT_EQ(b->ExecSpecialEvent("wobble", &off, nullptr), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsViewpoint::ExecSpecialEvent()\n  Unknown Event wobble is detected.\n");
}

TEST_F(BindableTest, ReleasingTheBoundViewpointBindsTheDefault) {
  KsViewpoint* fallback = KsDefaultViewpoint();
  ASSERT_NE(fallback, nullptr);
  EXPECT_EQ(KsDefaultViewpoint(), fallback);
  EXPECT_EQ(fallback->position.Get().z, 10.0f);
  EXPECT_NEAR(fallback->fieldOfView.Get(), 0.785398f, 1e-6f);

  Read("DEF A Viewpoint { } DEF B Viewpoint { }");
  auto* a = Root<KsViewpoint>(0);
  auto* b = Root<KsViewpoint>(1);
  EXPECT_EQ(KsViewpoint::GetBound(), a);
  // Releasing one that is not bound changes nothing.
  b->Ref();
  scene->DeleteNode(b);
  b->Unref();
  EXPECT_EQ(KsViewpoint::GetBound(), a);
  delete scene;
  scene = nullptr;
  EXPECT_EQ(KsViewpoint::GetBound(), fallback);

  // Nothing bound: the next viewpoint made binds itself.
  KsResetBindings();
  Read("Viewpoint { }");
  EXPECT_EQ(KsViewpoint::GetBound(), Root<KsViewpoint>(0));
}

TEST_F(BindableTest, WorldMatrixTakesTransformTranslationAndRotationOnly) {
  Read(
      "Group { children Transform { translation 0 0 5 rotation 0 1 0 1.5708 scale 2 2 2 "
      "children DEF V Viewpoint { } } }");
  EXPECT_EQ(scene->StoreViewpointPaths(), 0);
  auto* v = static_cast<KsViewpoint*>(scene->LookUpLabel("V"));
  ASSERT_NE(v, nullptr);
  ASSERT_EQ(v->GetPathCount(), 2);
  EXPECT_STREQ(v->GetPathNode(0)->GetClassName(), "KsGroup");
  EXPECT_STREQ(v->GetPathNode(1)->GetClassName(), "KsTransform");
  EXPECT_EQ(v->GetPathNode(2), nullptr);
  KsMatrix m;
  v->GetMatrix(&m);
  KsVec3f p;
  m.Apply(p, KsVec3f(0, 0, 0), 1.0f);
  EXPECT_NEAR(p.x, 10.0f, 1e-3f);
  EXPECT_NEAR(p.y, 0.0f, 1e-3f);
  EXPECT_NEAR(p.z, 5.0f, 1e-3f);

  // The ray through the centre of the drawing area runs along the view.
  KsVec3f origin, dir;
  v->MouseToVec3f(&origin, &dir, 80, 60);
  KsVec3f expected;
  m.Apply(expected, KsVec3f(0, 0, -1), 0.0f);
  EXPECT_NEAR(origin.x, 10.0f, 1e-3f);
  EXPECT_NEAR(dir.x, expected.x, 1e-5f);
  EXPECT_NEAR(dir.y, expected.y, 1e-5f);
  EXPECT_NEAR(dir.z, expected.z, 1e-5f);
  // Off centre the ray leans toward the point and is not normalised.
  KsViewpoint plain;
  plain.MouseToVec3f(&origin, &dir, 160, 0);
  PwProjection proj;
  KsInitProjection(&proj);
  EXPECT_NEAR(dir.x, 80.0f / proj.magx, 1e-5f);
  EXPECT_NEAR(dir.y, 60.0f / proj.magy, 1e-5f);
  EXPECT_EQ(dir.z, -1.0f);
  EXPECT_EQ(origin.z, 10.0f);
}

TEST_F(BindableTest, FogAndBackgroundBindAndLeaveNoneWhenReleased) {
  Read("DEF F Fog { } DEF G Fog { color 1 0 0 } DEF B Background { } DEF C Background { }");
  auto* f = Root<KsFog>(0);
  auto* g = Root<KsFog>(1);
  auto* b = Root<KsBackground>(2);
  auto* c = Root<KsBackground>(3);
  EXPECT_EQ(KsFog::GetCurrent(), nullptr);  // fog binds only on request
  EXPECT_EQ(KsBackground::GetCurrent(), b);
  EXPECT_STREQ(f->fogType.Get(), "LINEAR");
  Receiver* rg = Listen(g, {"isBound", "bindTime"});
  Receiver* rc = Listen(c, {"isBound", "bindTime"});
  KsSFBool on;
  on.Set(KS_TRUE);
  g->AcceptEvent("bind", &on, nullptr);
  c->AcceptEvent("set_bind", &on, nullptr);
  EXPECT_EQ(KsFog::GetCurrent(), g);
  EXPECT_EQ(KsBackground::GetCurrent(), c);
  EXPECT_EQ(rg->log.size(), 2u);
  EXPECT_EQ(rc->log, (std::vector<std::string>{"TRUE"}));  // no bindTime

  testing::internal::CaptureStderr();
  EXPECT_EQ(f->ExecSpecialEvent("odd", &on, nullptr), 1);
  EXPECT_EQ(b->ExecSpecialEvent("odd", &on, nullptr), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "  Unknown Event odd is detected.\n"
            "KsBackground::ExecSpecialEvent()\n  Unknown Event odd is detected.\n");
  delete scene;
  scene = nullptr;
  EXPECT_EQ(KsFog::GetCurrent(), nullptr);
  EXPECT_EQ(KsBackground::GetCurrent(), nullptr);
}

TEST_F(BindableTest, NavigationInfoPassesBindOnAndReportsWithItsOwnHeader) {
  Read("DEF N NavigationInfo { speed 2 }");
  auto* n = Root<KsNavigationInfo>(0);
  EXPECT_EQ(n->speed.Get(), 2.0f);
  EXPECT_EQ(n->headlight.Get(), KS_TRUE);
  Receiver* r = Listen(n, {"bind"});
  KsSFBool off;
  off.Set(KS_FALSE);
  EXPECT_EQ(n->AcceptEvent("bind", &off, nullptr), 0);
  EXPECT_EQ(r->log, (std::vector<std::string>{"FALSE"}));
  testing::internal::CaptureStderr();
  EXPECT_EQ(n->ExecSpecialEvent("jump", &off, nullptr), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsNavigaionInfo::ExecSpecialEvent()\n  Unknown Event jump is detected.\n");
}

TEST_F(BindableTest, BackgroundColoursFillSkyAndGround) {
  PwPose eye = {0, 0, 0, 0, 0, 0};
  struct Case {
    const char* text;
    PwColor sky, ground;
  } cases[] = {
      {"Background { }", {0, 0, 0}, {0, 0, 0}},
      // Only the first entries count; components truncate.
      {"Background { skyColor [ 0 0 1, 1 1 1 ] groundColor [ 0.5 0.25 0 ] }",
       {0, 0, 255},
       {63, 127, 0}},
      {"Background { groundColor [ 0 1 0 ] }", {0, 0, 0}, {255, 0, 0}},
  };
  for (const Case& c : cases) {
    Read(c.text);
    PwSetEye(&eye);
    PwScreenClear();
    Root<KsBackground>(0)->ApplyColors();
    EXPECT_EQ(surface.At(80, 10), surface.Value(c.sky)) << c.text;
    EXPECT_EQ(surface.At(80, 110), surface.Value(c.ground)) << c.text;
  }
}

// Components outside 0..1, however far (infinite, NaN, beyond the int
// range), are clamped before they become bytes: the sky is not black and the
// conversion stays defined (UBSan's float-cast-overflow checks it here).
TEST_F(BindableTest, BackgroundColoursOutOfRangeAreClamped) {
  const float inf = INFINITY;
  struct Case {
    float value;
    int byte;
  } cases[] = {
      {1e10f, 255},         {-1e10f, 0},         {inf, 255},  {-inf, 0},   {NAN, 0},
      {2147483648.0f, 255}, {-2147483648.0f, 0}, {1.0f, 255}, {0.5f, 127},
  };
  PwPose eye = {0, 0, 0, 0, 0, 0};
  Read("Background { skyColor [ 0 0 0 ] groundColor [ 0 0 0 ] }");
  KsBackground* b = Root<KsBackground>(0);
  for (const Case& c : cases) {
    // The value in red and green of the sky, its opposite in the ground.
    const KsCol sky(c.value, c.value, 0.5f);
    const KsCol ground(0.0f, 0.25f, c.value);
    b->skyColor.Set(1, &sky);
    b->groundColor.Set(1, &ground);
    PwSetEye(&eye);
    PwScreenClear();
    b->ApplyColors();
    PwColor skyPw, groundPw;
    skyPw.red = skyPw.green = c.byte;
    skyPw.blue = 127;
    groundPw.red = 0;
    groundPw.green = 63;
    groundPw.blue = c.byte;
    EXPECT_EQ(surface.At(80, 10), surface.Value(skyPw)) << c.value;
    EXPECT_EQ(surface.At(80, 110), surface.Value(groundPw)) << c.value;
  }
  // Read from the file too: 1e999 is infinite as read.
  Read("Background { skyColor [ 1e10 -1e999 1e999 ] }");
  PwSetEye(&eye);
  PwScreenClear();
  Root<KsBackground>(0)->ApplyColors();
  PwColor expected;
  expected.red = 255;
  expected.green = 0;
  expected.blue = 255;
  EXPECT_EQ(surface.At(80, 10), surface.Value(expected));
}

// Sky colours without ground colours paint the whole area, whichever way
// the eye looks (no horizon, no line along it).
TEST_F(BindableTest, SkyWithoutGroundFillsEverything) {
  Read("Background { skyColor [ 0.2 0.4 1, 1 0 0 ] skyAngle [ 1 ] }");
  const PwColor sky = {102, 51, 255};  // green, red, blue
  const PwPose eyes[] = {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 5000, 2000}, {0, 0, 0, 0, -9000, 0}};
  for (const PwPose& eye : eyes) {
    PwSetEye(&eye);
    PwScreenClear();
    Root<KsBackground>(0)->ApplyColors();
    int other = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 160; ++x) other += surface.At(x, y) != surface.Value(sky);
    EXPECT_EQ(other, 0) << eye.pitch;
  }
}

TEST_F(BindableTest, LodMeasuresFromTheBoundViewpoint) {
  Read(
      "DEF V Viewpoint { position 0 0 10 } "
      "LOD { range [ 5 ] level [ Group { } Shape { geometry Box { } } ] }");
  auto* v = Root<KsViewpoint>(0);
  ASSERT_EQ(KsViewpoint::GetBound(), v);
  Draw();
  EXPECT_FALSE(Recorded().empty());
  Recorded().clear();
  v->position.Set(0, 0, 1);
  Draw();
  EXPECT_TRUE(Recorded().empty());
  EXPECT_EQ(v->ExecTraverse(nullptr), 0);
}

class TouchProbe : public KsNode {
 public:
  TouchProbe() { RegisterDone(); }
  const char* GetClassName() const override { return "KsTouchProbe"; }
  KSBOOL IsPointingSensor() override { return KS_TRUE; }
  int ExecTraverse(KsMatrix*) override { return 0; }
};

// The whole chain: the group registers its sensor while drawing, the pick
// finds the id under the pointer, the partition sends touchTime.
TEST_F(BindableTest, ClickOnDrawnSensorGroupSendsTouchTime) {
  Read(
      "DEF G Group { children Transform { translation 0 0 -5 children Shape { geometry Box { } } } "
      "}");
  auto* sensor = new TouchProbe;
  ASSERT_EQ(scene->LookUpLabel("G")->AddChild(sensor), 0);
  Receiver* r = Listen(sensor, {"touchTime"});
  PwPose eye = {0, 0, 0, 0, 0, 0};
  PwSetEye(&eye);
  PwPickClear();
  ASSERT_EQ(scene->TraverseFromRoot(), 0);
  EXPECT_EQ(KsSensorTable::GetCount(), 1);
  const PwProjection* proj = PwGetProjection();
  KsClock::Advance(0.1f);
  scene->Touch(proj->cx, proj->cy, 0, -1.0f);
  ASSERT_EQ(r->log.size(), 1u);
  EXPECT_EQ(r->log[0], "time " + std::to_string(KsClock::GetTime()));
  KsSensorDescriptor* picked = scene->PickSensor(0, 0);  // same frame: same pick
  ASSERT_NE(picked, nullptr);
  EXPECT_EQ(picked->GetSensor(), sensor);
  // A new frame picks again, and the corner holds nothing.
  PwPickClear();
  scene->TraverseFromRoot();
  EXPECT_EQ(scene->PickSensor(0, 0), nullptr);
}

}  // namespace
