// Sensors: defaults, the time sensor against clock steps and through routes,
// touch and plane sensors picked from a drawn frame, the drag with its
// limits and offsets, and the warnings of the data-only sensors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/core/events/drag_sensor.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/interpolators/interpolator_nodes.h"
#include "scenegraph/nodes/sensors/sensor_nodes.h"

namespace {
using kstest::Contains;

std::string Text(KsField* field) {
  char buf[96];
  std::string cls = field->GetClassName();
  if (cls == "KsSFBool") return static_cast<KsSFBool*>(field)->Get() == KS_TRUE ? "TRUE" : "FALSE";
  if (cls == "KsSFTime")
    std::snprintf(buf, sizeof buf, "%.4f", static_cast<KsSFTime*>(field)->Get());
  else if (cls == "KsSFFloat")
    std::snprintf(buf, sizeof buf, "%.4f", static_cast<KsSFFloat*>(field)->Get());
  else if (cls == "KsSFVec3f") {
    const KsVec3f& v = static_cast<KsSFVec3f*>(field)->Get();
    std::snprintf(buf, sizeof buf, "%.4f %.4f %.4f", v.x, v.y, v.z);
  } else
    return cls;
  return buf;
}

// Takes the sensors' events under their own names and logs "name value".
class Receiver : public KsNode {
 public:
  Receiver() {
    for (const char* e :
         {"isActive", "cycleTime", "fraction", "touchTime", "trackPoint", "translation", "offset"})
      RegisterEventIn(e);
    RegisterDone();
  }
  const char* GetClassName() const override { return "KsReceiver"; }
  int ExecTraverse(KsMatrix*) override { return 0; }
  int ExecSpecialEvent(const char* name, KsField* field, KsNode*) override {
    log.push_back(std::string(name) + " " + Text(field));
    last[name] = field->GetClassName();
    if (std::string(field->GetClassName()) == "KsSFVec3f")
      vec = static_cast<KsSFVec3f*>(field)->Get();
    return 0;
  }
  std::string Joined() const {
    std::string s;
    for (const std::string& e : log) s += e + "; ";
    return s;
  }
  std::vector<std::string> log;
  std::map<std::string, std::string> last;
  KsVec3f vec;
};

class SensorTest : public kstest::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    KsResetBindings();
    KsClock::Reset();
    KsRouter::ResetGlobals();
    KsDragSensor::SetActive(nullptr);
  }
  void TearDown() override {
    RenderTest::TearDown();
    EXPECT_EQ(KsDragSensor::GetActive(), nullptr);
    KsResetBindings();
    KsClock::Reset();
    KsDragSensor::SetActive(nullptr);
  }
  Receiver* Listen(KsNode* node, std::vector<const char*> events) {
    Receiver* r = new Receiver;
    scene->AppendNode(r);
    for (const char* e : events) scene->GetRouter()->AddRoute(node, e, r, e);
    return r;
  }
  template <class T>
  T* Label(const char* name) {
    T* node = dynamic_cast<T*>(scene->LookUpLabel(name));
    EXPECT_NE(node, nullptr) << name;
    return node;
  }
  // One frame as the viewer draws it, seen from the scene's (0, 0, 10)
  // along -z: the graphics library has z negated.
  void Frame() {
    PwPose eye = {0.0f, 0.0f, -10.0f, 0, 0, 0};
    PwSetEye(&eye);
    PwPickClear();
    testing::internal::CaptureStderr();
    EXPECT_EQ(scene->TraverseFromRoot(), 0);
    PwFlushSorted();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  }
};

// ---- defaults ---------------------------------------------------------------

TEST_F(SensorTest, MembersInOrderWithTheirDefaultsAndClassKinds) {
  struct Row {
    const char* keyword;
    const char* cls;
    const char* members;
    KSBOOL pointing, drag;
    bool duplicates;
  };
  const Row rows[] = {
      {"TouchSensor", "KsTouchSensor", "enabled", KS_TRUE, KS_FALSE, true},
      {"TimeSensor", "KsTimeSensor", "cycleInterval enabled loop startTime stopTime", KS_FALSE,
       KS_FALSE, true},
      {"PlaneSensor", "KsPlaneSensor", "autoOffset enabled maxPosition minPosition offset", KS_TRUE,
       KS_TRUE, true},
      {"ProximitySensor", "KsProximitySensor", "center size enabled", KS_FALSE, KS_FALSE, false},
      {"VisibilitySensor", "KsVisibilitySensor", "center enabled size", KS_FALSE, KS_FALSE, false},
      {"CylinderSensor", "KsCylinderSensor",
       "autoOffset diskAngle enabled maxAngle minAngle offset", KS_FALSE, KS_FALSE, false},
      {"SphereSensor", "KsSphereSensor", "autoOffset enabled offset", KS_FALSE, KS_FALSE, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.keyword);
    EXPECT_EQ(Read(std::string(row.keyword) + " { }"), "");
    ASSERT_EQ(scene->GetNodeCount(), 1);
    KsNode* node = scene->GetNode(0);
    EXPECT_STREQ(node->GetClassName(), row.cls);
    std::string names;
    for (int i = 0; i < node->GetMemberCount(); ++i)
      names += std::string(i ? " " : "") + node->GetMember(i)->name;
    EXPECT_EQ(names, row.members);
    for (int i = 0; i < node->GetMemberCount(); ++i) EXPECT_EQ(node->GetMember(i)->noEventIn, 0);
    EXPECT_EQ(node->IsPointingSensor(), row.pointing);
    EXPECT_EQ(node->IsDragSensor(), row.drag);
    testing::internal::CaptureStderr();
    KsNode* copy = node->Duplicate();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(copy != nullptr, row.duplicates);
    if (copy) {
      EXPECT_STREQ(copy->GetClassName(), row.cls);
    } else {
      EXPECT_TRUE(Contains(err, "  Owner = " + std::string(row.cls))) << err;
    }
    KsNode::Ref(copy);
    KsNode::Unref(copy);
  }
  // The class records hang under their parents.
  EXPECT_STREQ(KsPlaneSensor::ClassRecord()->parent->name, "KsDragSensor");
  EXPECT_STREQ(KsTimeSensor::ClassRecord()->parent->name, "KsNode");

  Read("TimeSensor { } PlaneSensor { } CylinderSensor { } SphereSensor { }");
  auto* t = static_cast<KsTimeSensor*>(scene->GetNode(0));
  EXPECT_EQ(t->cycleInterval.Get(), 1.0f);
  EXPECT_EQ(t->enabled.Get(), KS_TRUE);
  EXPECT_EQ(t->loop.Get(), KS_FALSE);
  EXPECT_EQ(t->startTime.Get(), 0.0f);
  EXPECT_EQ(t->stopTime.Get(), 0.0f);
  EXPECT_EQ(t->GetPreviousTick(), -1.0f);
  auto* p = static_cast<KsPlaneSensor*>(scene->GetNode(1));
  EXPECT_EQ(p->autoOffset.Get(), KS_TRUE);
  EXPECT_EQ(p->maxPosition.Get().x, -1.0f);
  EXPECT_EQ(p->maxPosition.Get().y, -1.0f);
  EXPECT_EQ(p->minPosition.Get().x, 0.0f);
  EXPECT_EQ(p->offset.Get().z, 0.0f);
  auto* c = static_cast<KsCylinderSensor*>(scene->GetNode(2));
  EXPECT_EQ(c->diskAngle.Get(), 0.262f);
  EXPECT_EQ(c->maxAngle.Get(), -1.0f);
  auto* s = static_cast<KsSphereSensor*>(scene->GetNode(3));
  EXPECT_EQ(s->offset.Get().axis.x, 1.0f);
  EXPECT_EQ(s->offset.Get().angle, 0.0f);
}

// ---- time sensor --------------------------------------------------------------

struct TickCase {
  const char* name;
  const char* body;
  std::vector<float> ticks;
  const char* expected;
};

TEST_F(SensorTest, TimeSensorTicksAgainstItsMembers) {
  const TickCase cases[] = {
      {"loop, first tick and the start of the next cycle",
       "loop TRUE cycleInterval 2",
       {0.1f, 0.2f, 1.9f, 2.1f},
       "isActive TRUE; cycleTime 0.1000; fraction 0.0500; fraction 0.1000; fraction 0.9500; "
       "cycleTime 2.1000; fraction 0.0500; "},
      {"one cycle from startTime, silent from its end",
       "startTime 1 cycleInterval 1",
       {0.5f, 1.0f, 1.5f, 2.0f, 2.5f},
       "isActive TRUE; cycleTime 1.0000; fraction 0.0000; fraction 0.5000; "},
      {"disabled", "enabled FALSE loop TRUE", {0.1f, 0.2f}, ""},
      {"cycleInterval 0", "cycleInterval 0 loop TRUE", {0.1f, 0.2f}, ""},
      {"negative cycleInterval", "cycleInterval -1 loop TRUE", {0.1f, 0.2f}, ""},
      {"loop ends at stopTime without isActive FALSE",
       "loop TRUE startTime 0 stopTime 0.3",
       {0.1f, 0.2f, 0.3f, 0.4f},
       "isActive TRUE; cycleTime 0.1000; fraction 0.1000; fraction 0.2000; "},
      {"start after stop loops on",
       "loop TRUE startTime 0.5 stopTime 0.2",
       {0.4f, 0.5f, 3.75f},
       "isActive TRUE; cycleTime 0.5000; fraction 0.0000; cycleTime 3.7500; fraction 0.2500; "},
      {"a repeated time pauses and reactivates",
       "loop TRUE cycleInterval 10",
       {0.1f, 0.1f, 0.2f},
       "isActive TRUE; cycleTime 0.1000; fraction 0.0100; isActive TRUE; cycleTime 0.2000; "
       "fraction 0.0200; "},
      {"not before startTime", "startTime 5 loop TRUE", {0.1f, 4.5f}, ""},
      {"a cycle too short to measure",
       "loop TRUE cycleInterval 1e-45",
       {0.5f},
       "isActive TRUE; cycleTime 0.5000; fraction 0.0000; "},
  };
  for (const TickCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(Read(std::string("DEF T TimeSensor { ") + c.body + " }"), "");
    auto* t = Label<KsTimeSensor>("T");
    Receiver* r = Listen(t, {"isActive", "cycleTime", "fraction"});
    for (float now : c.ticks) EXPECT_EQ(t->Tick(now), 0);
    EXPECT_EQ(r->Joined(), c.expected);
    const std::map<std::string, std::string> types = {
        {"isActive", "KsSFBool"}, {"cycleTime", "KsSFTime"}, {"fraction", "KsSFFloat"}};
    for (const auto& e : r->last) EXPECT_EQ(e.second, types.at(e.first));
  }
}

TEST_F(SensorTest, ClockStepsDriveTimeSensorsThroughRoutesIntoATransform) {
  ASSERT_EQ(Read("DEF T TimeSensor { cycleInterval 2 loop TRUE }"
                 "DEF I PositionInterpolator { key [ 0 1 ] keyValue [ 0 0 0, 10 0 0 ] }"
                 "DEF X Transform { children DEF Inner TimeSensor { startTime 1 } }"
                 "ROUTE T.fraction_changed TO I.set_fraction "
                 "ROUTE I.value_changed TO X.set_translation"),
            "");
  auto* x = Label<KsTransform>("X");
  auto* inner = Label<KsTimeSensor>("Inner");
  Receiver* r = Listen(inner, {"isActive", "fraction"});
  Receiver* cycles = Listen(Label<KsTimeSensor>("T"), {"cycleTime"});
  // The viewer's frame: advance by 0.1, then one time pass.
  float lastX = -1.0f;
  int frames = 0;
  while (KsClock::GetTime() < 2.05f && frames < 100) {
    EXPECT_EQ(scene->SetTime(), 0);
    const float now = KsClock::GetTime();
    const float expectedX = 10.0f * (now / 2.0f - std::floor(now / 2.0f));
    EXPECT_NEAR(x->translation.Get().x, expectedX, 1e-4f) << now;
    EXPECT_NE(x->translation.Get().x, lastX);
    lastX = x->translation.Get().x;
    KsClock::Advance(0.1f);
    ++frames;
  }
  EXPECT_EQ(frames, 20);
  // The sensor inside the transform: one cycle from 1 on, found by the walk.
  ASSERT_GE(r->log.size(), 2u);
  EXPECT_EQ(r->log[0], "isActive TRUE");
  EXPECT_EQ(r->log.size(), 11u);  // isActive and ten fractions (1.0 .. 1.9)
  // The second cycle begins at the frame whose time first reaches 2.
  ASSERT_EQ(cycles->log.size(), 2u);
  EXPECT_EQ(cycles->log[0], "cycleTime 0.1000");
  EXPECT_EQ(cycles->log[1], "cycleTime 2.0000");
}

TEST_F(SensorTest, ASensorUsedTwiceTicksOncePerPass) {
  ASSERT_EQ(Read("Group { children DEF T TimeSensor { loop TRUE cycleInterval 10 } }"
                 "Group { children USE T }"),
            "");
  Receiver* r = Listen(Label<KsTimeSensor>("T"), {"isActive", "cycleTime", "fraction"});
  for (int frame = 0; frame < 3; ++frame) {
    EXPECT_EQ(scene->SetTime(), 0);
    KsClock::Advance(0.1f);
  }
  EXPECT_EQ(r->Joined(),
            "isActive TRUE; cycleTime 0.1000; fraction 0.0100; fraction 0.0200; "
            "fraction 0.0300; ");
}

// ---- touch sensor -------------------------------------------------------------

TEST_F(SensorTest, TouchSendsTouchTimeAlongRoutesFromAPickedFrame) {
  ASSERT_EQ(Read("Group { children [ Shape { appearance Appearance { material Material {"
                 " diffuseColor 1 0 0 } } geometry Box { } } DEF S TouchSensor { } ] }"
                 "DEF T TimeSensor { startTime 100 }"
                 "ROUTE S.touchTime TO T.set_startTime"),
            "");
  auto* t = Label<KsTimeSensor>("T");
  Receiver* r = Listen(Label<KsTouchSensor>("S"), {"touchTime"});
  PwSetLighting(0);
  Frame();
  PwColor red{};
  red.red = 255;
  EXPECT_GT(surface.Count(red), 100);
  ASSERT_EQ(KsSensorTable::GetCount(), 1);
  ASSERT_NE(scene->PickSensor(80, 60), nullptr);
  EXPECT_EQ(scene->PickSensor(80, 60)->GetSensor(), scene->LookUpLabel("S"));

  KsClock::SetTime(3.5f);
  scene->Touch(80, 60, 0, -1.0f);  // below 0: the scene time
  EXPECT_EQ(t->startTime.Get(), 3.5f);
  scene->Touch(80, 60, 1, 7.0f);  // a release sends nothing
  scene->Touch(80, 60, 0, 9.0f);
  EXPECT_EQ(t->startTime.Get(), 9.0f);
  EXPECT_EQ(r->Joined(), "touchTime 3.5000; touchTime 9.0000; ");
  // The event is not a member: nothing of the sensor was set or added.
  testing::internal::CaptureStderr();
  EXPECT_EQ(Label<KsTouchSensor>("S")->LookUpMember("touchTime"), nullptr);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Label<KsTouchSensor>("S")->GetMemberCount(), 1);

  // Outside the box nothing is picked, in this frame or the next.
  Frame();
  scene->Touch(2, 2, 0, 11.0f);
  EXPECT_EQ(t->startTime.Get(), 9.0f);
}

// ---- plane sensor --------------------------------------------------------------

class PlaneSensorTest : public SensorTest {
 protected:
  // A box with a plane sensor under a transform, seen by a viewpoint at
  // (0, 0, 10); translation is routed into a second transform.
  void Build(const std::string& sensorBody, const std::string& placement = "") {
    ASSERT_EQ(Read("Viewpoint { } DEF Place Transform { " + placement +
                   " children [ DEF P PlaneSensor { " + sensorBody +
                   " } Shape { geometry Box { } } ] }"
                   "DEF X Transform { } ROUTE P.translation_changed TO X.set_translation"),
              "");
    sensor = Label<KsPlaneSensor>("P");
    moved = Label<KsTransform>("X");
    r = Listen(sensor, {"isActive", "trackPoint", "translation", "offset"});
    Frame();
    PwProjection proj;
    KsInitProjection(&proj);
    magx = proj.magx;
    magy = proj.magy;
  }
  // World x on the plane at distance d from the eye under window column 80 + dx.
  float XAt(int dx, float d) const { return d * static_cast<float>(dx) / magx; }

  KsPlaneSensor* sensor = nullptr;
  KsTransform* moved = nullptr;
  Receiver* r = nullptr;
  float magx = 1.0f;
  float magy = 1.0f;
};

TEST_F(PlaneSensorTest, DragReportsTranslationClampedAndTrackPointFree) {
  Build("minPosition 0 0 maxPosition 1 1");
  scene->Drag(80, 60, 0, 0.0f);
  EXPECT_EQ(KsDragSensor::GetActive(), sensor);
  EXPECT_EQ(r->Joined(), "isActive TRUE; ");
  r->log.clear();

  const int small = 4;  // stays inside the limits
  ASSERT_LT(XAt(small, 10.0f), 1.0f);
  scene->Drag(80 + small, 60, 0, 0.0f);
  ASSERT_EQ(r->log.size(), 2u);
  EXPECT_EQ(r->log[0].rfind("trackPoint", 0), 0u);
  EXPECT_NEAR(moved->translation.Get().x, XAt(small, 10.0f), 1e-4f);
  EXPECT_NEAR(moved->translation.Get().y, 0.0f, 1e-4f);
  EXPECT_EQ(sensor->offset.Get().x, 0.0f);  // offset moves only at the end

  // Far right and up: x and y clamped to 1; trackPoint keeps the raw value.
  const int far = 60;
  ASSERT_GT(XAt(far, 10.0f), 1.0f);
  r->log.clear();
  scene->Drag(80 + far, 60 - far, 0, 0.0f);
  ASSERT_EQ(r->log.size(), 2u);
  char raw[96];
  std::snprintf(raw, sizeof raw, "trackPoint %.4f %.4f 0.0000", XAt(far, 10.0f),
                10.0f * far / magy);
  EXPECT_EQ(r->log[0], raw);
  EXPECT_EQ(r->log[1], "translation 1.0000 1.0000 0.0000");
  EXPECT_EQ(moved->translation.Get().x, 1.0f);
  EXPECT_EQ(moved->translation.Get().y, 1.0f);
  EXPECT_EQ(moved->translation.Get().z, 0.0f);
  EXPECT_EQ(sensor->GetLastTranslation().x, 1.0f);

  // Release: isActive FALSE, no active sensor, offset takes the translation.
  r->log.clear();
  scene->Drag(80 + far, 60 - far, 1, 0.0f);
  EXPECT_EQ(KsDragSensor::GetActive(), nullptr);
  EXPECT_EQ(r->Joined(), "isActive FALSE; offset 1.0000 1.0000 0.0000; ");
  // The next drag starts where the last one ended: moving left by small.
  Frame();
  scene->Drag(80, 60, 0, 0.0f);
  scene->Drag(80 - small, 60, 0, 0.0f);
  EXPECT_NEAR(moved->translation.Get().x, 1.0f - XAt(small, 10.0f), 1e-4f);
  EXPECT_NEAR(moved->translation.Get().y, 1.0f, 1e-4f);
  scene->Drag(80 - small, 60, 1, 0.0f);
}

TEST_F(PlaneSensorTest, DefaultLimitsDoNotClampAndAutoOffsetFalseRestartsFromOffset) {
  Build("autoOffset FALSE offset 0.5 0 0");
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Frame();
    r->log.clear();
    scene->Drag(80, 60, 0, 0.0f);
    scene->Drag(150, 5, 0, 0.0f);
    ASSERT_EQ(r->log.size(), 3u);
    // With (-1, -1) above (0, 0) nothing is clamped.
    EXPECT_EQ(r->log[1].substr(std::string("trackPoint").size()),
              r->log[2].substr(std::string("translation").size()));
    EXPECT_NEAR(moved->translation.Get().x, 0.5f + XAt(70, 10.0f), 1e-4f);
    EXPECT_NEAR(moved->translation.Get().y, 10.0f * 55 / magy, 1e-4f);
    scene->Drag(150, 5, 1, 0.0f);
    EXPECT_EQ(sensor->offset.Get().x, 0.5f);  // never moved
    EXPECT_EQ(r->log.back(), "isActive FALSE");
  }
}

TEST_F(PlaneSensorTest, ThePlaneFollowsTheTransformTheSensorWasPickedUnder) {
  // The plane lies at z = 5 in the world: half the distance to the eye.
  Build("", "translation 0 0 5");
  scene->Drag(80, 60, 0, 0.0f);
  scene->Drag(100, 60, 0, 0.0f);
  EXPECT_NEAR(r->vec.x, XAt(20, 5.0f), 1e-4f);
  EXPECT_NEAR(r->vec.z, 0.0f, 1e-4f);  // local coordinates
  KsVec3f hit;
  EXPECT_EQ(sensor->IntersectPlane(&hit, 80, 60), 0);
  EXPECT_NEAR(hit.x, 0.0f, 1e-5f);
  EXPECT_NEAR(hit.z, 0.0f, 1e-5f);
  scene->Drag(100, 60, 1, 0.0f);
}

TEST_F(PlaneSensorTest, FailedIntersectionsSendNothing) {
  // Turned edge-on to the view: every pointer ray runs along the plane.
  Build("", "rotation 1 0 0 1.5707963");
  scene->Drag(80, 60, 0, 0.0f);
  ASSERT_EQ(KsDragSensor::GetActive(), sensor);
  r->log.clear();
  scene->Drag(90, 60, 0, 0.0f);
  KsVec3f hit(7, 7, 7);
  EXPECT_EQ(sensor->IntersectPlane(&hit, 80, 60), 1);
  EXPECT_EQ(hit.x, 7.0f);
  EXPECT_TRUE(r->log.empty());
  scene->Drag(90, 60, 1, 0.0f);

  // Under a transform that cannot be undone the hit has no local point.
  KsMatrix collapsed;
  collapsed.Scale(0.0f, 0.0f, 0.0f);
  r->log.clear();
  sensor->BeginDrag(&collapsed, 80, 60);
  sensor->Drag(90, 60, 0);
  EXPECT_EQ(sensor->IntersectPlane(&hit, 90, 60), 1);
  sensor->EndDrag();
  EXPECT_EQ(r->Joined(), "isActive TRUE; isActive FALSE; offset 0.0000 0.0000 0.0000; ");

  // No bound viewpoint.
  KsMatrix identity;
  KsResetBindings();
  r->log.clear();
  sensor->BeginDrag(&identity, 80, 60);
  sensor->Drag(90, 60, 0);
  EXPECT_EQ(sensor->IntersectPlane(&hit, 90, 60), 1);
  sensor->EndDrag();
  EXPECT_EQ(r->Joined(), "isActive TRUE; isActive FALSE; offset 0.0000 0.0000 0.0000; ");
}

TEST_F(PlaneSensorTest, TouchIgnoresDragSensorsAndAFreedSensorEndsTheDrag) {
  Build("");
  scene->Touch(80, 60, 0, 1.0f);
  EXPECT_TRUE(r->log.empty());
  scene->Drag(80, 60, 0, 0.0f);
  ASSERT_EQ(KsDragSensor::GetActive(), sensor);
  // A later pick while dragging moves the active sensor, not a new one.
  scene->Drag(2, 2, 0, 0.0f);
  EXPECT_EQ(KsDragSensor::GetActive(), sensor);
  delete scene;
  scene = nullptr;
  EXPECT_EQ(KsDragSensor::GetActive(), nullptr);
}

// ---- warnings and events -------------------------------------------------------

TEST_F(SensorTest, DataOnlySensorsWarnAsTheBaseClassAndActiveOnesAreQuiet) {
  Read("TouchSensor { } TimeSensor { } PlaneSensor { }");
  EXPECT_EQ(Draw(), "");
  Read(
      "ProximitySensor { } VisibilitySensor { } CylinderSensor { } SphereSensor { }"
      " ProximitySensor { } SphereSensor { }");
  std::string err = Draw();
  EXPECT_EQ(err,
            "Warning!!  KsNode::ExecTraverse is called.\n   Owner = KsProximitySensor\n"
            "Warning!!  KsNode::ExecTraverse is called.\n   Owner = KsVisibilitySensor\n"
            "Warning!!  KsNode::ExecTraverse is called.\n   Owner = KsCylinderSensor\n"
            "Warning!!  KsNode::ExecTraverse is called.\n   Owner = KsSphereSensor\n"
            "Warning!!  KsNode::ExecTraverse is called.\n   Owner = KsProximitySensor\n");
  EXPECT_EQ(Draw(), "");  // five per process
  EXPECT_TRUE(kstest::Recorded().empty());
}

TEST_F(SensorTest, EventsReachMembersAndUnknownNamesGetTheBaseReport) {
  ASSERT_EQ(Read("DEF T TimeSensor { } DEF P PlaneSensor { } DEF S SphereSensor { }"), "");
  auto* t = Label<KsTimeSensor>("T");
  KsSFTime value;
  value.Set(4.0f);
  EXPECT_EQ(t->AcceptEvent("set_startTime", &value, nullptr), 0);
  EXPECT_EQ(t->startTime.Get(), 4.0f);
  KsSFBool on;
  on.Set(KS_TRUE);
  EXPECT_EQ(Label<KsSphereSensor>("S")->AcceptEvent("autoOffset_changed", &on, nullptr), 0);
  testing::internal::CaptureStderr();
  EXPECT_EQ(t->AcceptEvent("set_fraction", &value, nullptr), 1);
  EXPECT_EQ(Label<KsPlaneSensor>("P")->AcceptEvent("translation", &value, nullptr), 1);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(
      Contains(err,
               "KsNode::AcceptEvent()\nNode has no event.\n  Tag received   : set_fraction\n"
               "  Field Received : KsSFTime\n  Accepter       : KsTimeSensor\n"))
      << err;
  EXPECT_TRUE(Contains(err, "  Accepter       : KsPlaneSensor\n")) << err;
}

}  // namespace
