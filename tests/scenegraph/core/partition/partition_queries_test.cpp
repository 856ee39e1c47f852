// Scanners, the partition's queries (viewpoints, extent, picking, touch,
// drag, time) and the sensor table, with probe nodes in place of the node
// library.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/events/drag_sensor.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/partition/partition_hooks.h"
#include "scenegraph/core/events/sensor_table.h"
#include "scenegraph/core/math/vec.h"

namespace {
using kstest::PartitionProbe;

// A probe answering another class name, with an optional box and a
// traversal result.
class NamedProbe : public PartitionProbe {
 public:
  explicit NamedProbe(const char* cls) : cls_(cls) {}
  const char* GetClassName() const override { return cls_; }
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override {
    if (!hasBox) return 1;
    *min = lo;
    *max = hi;
    return 0;
  }
  int ExecTraverse(KsMatrix*) override {
    ++traversals;
    return traverseResult;
  }
  int hasBox = 0;
  KsVec3f lo, hi;
  int traverseResult = 0;
  int traversals = 0;

 private:
  const char* cls_;
};

// A touch sensor stand-in.
class TouchProbe : public NamedProbe {
 public:
  TouchProbe() : NamedProbe("KsTouchSensor") {}
  KSBOOL IsPointingSensor() override { return KS_TRUE; }
};

class DragProbe : public KsDragSensor {
 public:
  int Drag(int x, int y, int) override {
    moves.push_back({x, y});
    return 0;
  }
  int ExecTraverse(KsMatrix*) override { return 0; }
  std::vector<std::pair<int, int>> moves;
};

// Receives any event under "got" and keeps the values.
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
    classes.push_back(cls);
    if (cls == "KsSFTime") times.push_back(static_cast<KsSFTime*>(field)->Get());
    if (cls == "KsSFBool") bools.push_back(static_cast<KsSFBool*>(field)->Get());
    return 0;
  }
  std::vector<std::string> classes;
  std::vector<float> times;
  std::vector<KSBOOL> bools;
};

// Records every visit with the depth and the path at that point.
class Recorder : public KsNodeScanner {
 public:
  int Visit(KsNode* node) override {
    std::string entry = node->GetDefineName();
    entry += "@" + std::to_string(GetDepth());
    visits.push_back(entry);
    maxDepth = std::max(maxDepth, GetDepth());
    if (!stopAt.empty() && stopAt == node->GetDefineName()) return 1;
    if (GetDepth() == maxDepth) {
      path.clear();
      for (int i = 0; i < GetDepth(); ++i) path.push_back(GetPathItem(i));
    }
    return 0;
  }
  std::vector<std::string> visits;
  std::vector<KsObject*> path;
  std::string stopAt;
  int maxDepth = 0;
};

int g_pickCalls = 0;
int g_pickId = -1;
int PickHook(int, int) {
  ++g_pickCalls;
  return g_pickId;
}
int g_resets = 0;
void ResetHook() { ++g_resets; }

std::vector<std::pair<KsNode*, float>> g_ticks;
int TickHook(KsNode* node, float now) {
  g_ticks.push_back({node, now});
  return 0;
}

std::vector<std::vector<KsObject*>> g_paths;
int PathHook(KsNode*, int count, KsObject* const* items) {
  g_paths.emplace_back(items, items + count);
  return count;
}

class PartitionQueriesTest : public testing::Test {
 protected:
  void SetUp() override { ResetAll(); }
  void TearDown() override { ResetAll(); }
  static void ResetAll() {
    KsNode::ResetGlobals();
    KsResetSceneHooks();
    KsClock::Reset();
    KsSensorTable::Reset();
    KsDragSensor::SetActive(nullptr);
    g_pickCalls = 0;
    g_pickId = -1;
    g_resets = 0;
    g_ticks.clear();
    g_paths.clear();
  }
  template <class T>
  static T* Named(T* node, const char* name) {
    node->SetDefineName(name);
    return node;
  }
  static void Adopt(PartitionProbe* parent, std::vector<KsNode*> kids) {
    parent->children.Set(static_cast<int>(kids.size()), kids.data());
  }
};

TEST_F(PartitionQueriesTest, ScanVisitsDepthFirstWithPathsAndStops) {
  KsPartition scene;
  auto* a = Named(new PartitionProbe, "A");
  auto* b = Named(new PartitionProbe, "B");
  auto* c = Named(new PartitionProbe, "C");
  auto* d = Named(new PartitionProbe, "D");
  a->child.Set(b);
  Adopt(a, {c});
  scene.AppendNode(a);
  scene.AppendNode(d);

  Recorder all;
  EXPECT_EQ(scene.Scan(&all), 0);
  EXPECT_EQ(all.visits, (std::vector<std::string>{"A@2", "B@3", "C@3", "D@2"}));
  EXPECT_EQ(all.GetDepth(), 0);

  Recorder stop;
  stop.stopAt = "C";
  EXPECT_EQ(scene.Scan(&stop), 1);
  EXPECT_EQ(stop.visits, (std::vector<std::string>{"A@2", "B@3", "C@3"}));
  EXPECT_EQ(stop.GetDepth(), 0);

  KsNodeFinder finder;
  finder.SetTarget(a);
  EXPECT_EQ(scene.Scan(&finder), 0);
  ASSERT_EQ(finder.GetCount(), 4);
  EXPECT_EQ(finder.Get(0), a);
  EXPECT_EQ(finder.Get(2), c);
  EXPECT_EQ(finder.Get(4), nullptr);
  EXPECT_EQ(finder.Get(-1), nullptr);
  EXPECT_STREQ(finder.GetClassName(), "KsNodeFinder");
  EXPECT_EQ(finder.GetEnterProto(), 1);
}

TEST_F(PartitionQueriesTest, DeepWalkRecordsTheOuter32Items) {
  KsPartition scene;
  std::vector<PartitionProbe*> chain;
  for (int i = 0; i < 40; ++i) chain.push_back(new PartitionProbe);
  for (int i = 0; i + 1 < 40; ++i) chain[i]->child.Set(chain[i + 1]);
  scene.AppendNode(chain[0]);

  Recorder rec;
  EXPECT_EQ(scene.Scan(&rec), 0);
  EXPECT_EQ(rec.maxDepth, 41);
  ASSERT_EQ(rec.path.size(), 41u);
  EXPECT_EQ(rec.path[0], &scene);
  for (int i = 1; i < 32; ++i) EXPECT_EQ(rec.path[i], chain[i - 1]) << i;
  for (int i = 32; i < 41; ++i) EXPECT_EQ(rec.path[i], nullptr) << i;
  EXPECT_EQ(rec.GetDepth(), 0);

  KsNodeScanner s;
  for (int i = 0; i < 32; ++i) EXPECT_EQ(s.Push(&scene), 0);
  EXPECT_EQ(s.Push(&scene), 1);
  EXPECT_EQ(s.GetDepth(), 33);
  EXPECT_EQ(s.Visit(nullptr), 1);
}

TEST_F(PartitionQueriesTest, ViewpointsAreCountedInScanOrderAndGivenTheirPaths) {
  KsPartition empty;
  EXPECT_EQ(empty.GetViewpoint(0), nullptr);

  KsPartition scene;
  auto* group = new PartitionProbe;
  auto* first = new NamedProbe("KsViewpoint");
  auto* second = new NamedProbe("KsViewpoint");
  auto* third = new NamedProbe("KsViewpoint");
  Adopt(group, {new PartitionProbe, first});
  first->child.Set(second);
  scene.AppendNode(group);
  scene.AppendNode(third);
  EXPECT_EQ(scene.GetViewpoint(0), first);
  EXPECT_EQ(scene.GetViewpoint(1), second);
  EXPECT_EQ(scene.GetViewpoint(2), third);
  EXPECT_EQ(scene.GetViewpoint(3), nullptr);

  // Without the node library nothing receives paths, and nothing breaks.
  EXPECT_EQ(scene.StoreViewpointPaths(), 0);
  KsSetViewpointPathHook(PathHook);
  EXPECT_EQ(scene.StoreViewpointPaths(), 0);
  ASSERT_EQ(g_paths.size(), 3u);
  EXPECT_EQ(g_paths[0], (std::vector<KsObject*>{&scene, group, first}));
  EXPECT_EQ(g_paths[1], (std::vector<KsObject*>{&scene, group, first, second}));
  EXPECT_EQ(g_paths[2], (std::vector<KsObject*>{&scene, third}));
}

TEST_F(PartitionQueriesTest, BoundingBoxWidensOverRootsAndGivesTheCentre) {
  KsPartition scene;
  KsVec3f lo, hi, centre(5, 5, 5);
  EXPECT_EQ(scene.GetBoundingBox(&lo, &hi), 1);
  EXPECT_EQ(scene.GetCenter(&centre), 1);
  EXPECT_EQ(centre.x, 0.0f);
  EXPECT_EQ(centre.y, 0.0f);
  EXPECT_EQ(centre.z, 0.0f);

  auto* none = new NamedProbe("KsProbe");
  auto* a = new NamedProbe("KsProbe");
  a->hasBox = 1;
  a->lo = KsVec3f(0, 0, 0);
  a->hi = KsVec3f(2, 2, 2);
  auto* b = new NamedProbe("KsProbe");
  b->hasBox = 1;
  b->lo = KsVec3f(-2, 0, 0);
  b->hi = KsVec3f(0, 1, 1);
  scene.AppendNode(none);
  scene.AppendNode(a);
  scene.AppendNode(b);
  ASSERT_EQ(scene.GetBoundingBox(&lo, &hi), 0);
  EXPECT_EQ(lo.x, -2.0f);
  EXPECT_EQ(lo.y, 0.0f);
  EXPECT_EQ(hi.x, 2.0f);
  EXPECT_EQ(hi.z, 2.0f);
  ASSERT_EQ(scene.GetCenter(&centre), 0);
  EXPECT_EQ(centre.x, 0.0f);
  EXPECT_EQ(centre.y, 1.0f);
  EXPECT_EQ(centre.z, 1.0f);
}

TEST_F(PartitionQueriesTest, ClockStartsAtATenthAndSteps) {
  EXPECT_EQ(KsClock::GetTime(), 0.1f);
  EXPECT_EQ(KsClock::IsRunning(), 1);
  KsClock::Advance(0.1f);
  KsClock::Advance(0.1f);
  float expected = 0.1f;
  expected = expected + 0.1f;
  expected = expected + 0.1f;
  EXPECT_EQ(KsClock::GetTime(), expected);
  EXPECT_NEAR(KsClock::GetTime(), 0.3f, 1e-6f);
  KsClock::SetTime(7.0f);
  EXPECT_EQ(KsClock::GetTime(), 7.0f);
  KsClock::Stop();
  EXPECT_EQ(KsClock::IsRunning(), 0);
  KsClock::Start();
  EXPECT_EQ(KsClock::IsRunning(), 1);
  KsClock::Reset();
  EXPECT_EQ(KsClock::GetTime(), 0.1f);
  EXPECT_STREQ(KsClock::GetClassName(), "KsClock");
}

TEST_F(PartitionQueriesTest, SetTimeTicksEveryTimeSensorAtTheSceneTime) {
  KsPartition scene;
  auto* group = new PartitionProbe;
  auto* t1 = new NamedProbe("KsTimeSensor");
  auto* t2 = new NamedProbe("KsTimeSensor");
  Adopt(group, {t1, new NamedProbe("KsOther")});
  scene.AppendNode(group);
  scene.AppendNode(t2);
  EXPECT_EQ(scene.SetTime(), 0);  // no hook: nothing to tick
  KsSetTimeTickHook(TickHook);
  KsClock::Advance(0.1f);
  EXPECT_EQ(scene.SetTime(), 0);
  ASSERT_EQ(g_ticks.size(), 2u);
  EXPECT_EQ(g_ticks[0].first, t1);
  EXPECT_EQ(g_ticks[1].first, t2);
  EXPECT_EQ(g_ticks[1].second, KsClock::GetTime());
}

TEST_F(PartitionQueriesTest, SensorTableHolds256AndRejectsTheRest) {
  KsMatrix m;
  m.Translate(1, 2, 3);
  PartitionProbe sensor, group;
  KsSensorDescriptor d(&sensor, &group, m);
  for (int i = 0; i < 300; ++i) {
    int id = KsSensorTable::Add(d);
    EXPECT_EQ(id, i < KS_SENSOR_TABLE_SIZE ? i : -1) << i;
  }
  EXPECT_EQ(KsSensorTable::GetCount(), 256);
  ASSERT_NE(KsSensorTable::Get(255), nullptr);
  EXPECT_EQ(KsSensorTable::Get(255)->GetSensor(), &sensor);
  EXPECT_EQ(KsSensorTable::Get(255)->GetGroup(), &group);
  KsMatrix out;
  KsSensorTable::Get(0)->GetMatrix(&out);
  KsVec3f p;
  out.Apply(p, KsVec3f(0, 0, 0), 1.0f);
  EXPECT_EQ(p.y, 2.0f);
  EXPECT_EQ(KsSensorTable::Get(256), nullptr);
  EXPECT_EQ(KsSensorTable::Get(-1), nullptr);
  KsSensorTable::SetCurrent(4);
  EXPECT_EQ(KsSensorTable::SwapCurrent(7), 4);
  EXPECT_EQ(KsSensorTable::GetCurrent(), 7);

  // A new scene starts with an empty table and no current id.
  { KsPartition fresh; }
  EXPECT_EQ(KsSensorTable::GetCount(), 0);
  EXPECT_EQ(KsSensorTable::GetCurrent(), -1);
}

TEST_F(PartitionQueriesTest, TraverseFromRootEmptiesTheTableAndReportsErrors) {
  KsPartition scene;
  auto* ok = new NamedProbe("KsProbe");
  auto* bad = new NamedProbe("KsProbe");
  auto* after = new NamedProbe("KsProbe");
  scene.AppendNode(ok);
  scene.AppendNode(bad);
  scene.AppendNode(after);
  KsSetFrameStartHook(ResetHook);
  PartitionProbe sensor;
  KsSensorTable::Add(KsSensorDescriptor(&sensor, nullptr, KsMatrix()));
  EXPECT_EQ(scene.TraverseFromRoot(), 0);
  EXPECT_EQ(KsSensorTable::GetCount(), 0);
  EXPECT_EQ(g_resets, 1);
  EXPECT_EQ(after->traversals, 1);

  bad->traverseResult = 3;
  testing::internal::CaptureStderr();
  EXPECT_EQ(scene.TraverseFromRoot(), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsPartition::Traverse\n  Error occured during traverse\n");
  EXPECT_EQ(after->traversals, 1);
}

TEST_F(PartitionQueriesTest, TouchSendsTouchTimeThroughOnePickPerFrame) {
  KsPartition scene;
  auto* touch = new TouchProbe;
  auto* drag = new DragProbe;
  auto* recv = new Receiver;
  scene.AppendNode(touch);
  scene.AppendNode(drag);
  scene.AppendNode(recv);
  scene.GetRouter()->AddRoute(touch, "touchTime", recv, "got");
  scene.GetRouter()->AddRoute(drag, "touchTime", recv, "got");
  KsSetPickHook(PickHook);

  // Nothing picked: nothing sent.
  scene.TraverseFromRoot();
  scene.Touch(5, 5, 0, -1.0f);
  EXPECT_TRUE(recv->classes.empty());
  EXPECT_EQ(scene.PickSensor(5, 5), nullptr);
  EXPECT_EQ(g_pickCalls, 1);

  scene.TraverseFromRoot();
  int touchId = KsSensorTable::Add(KsSensorDescriptor(touch, nullptr, KsMatrix()));
  int dragId = KsSensorTable::Add(KsSensorDescriptor(drag, nullptr, KsMatrix()));
  g_pickId = touchId;
  KsClock::SetTime(2.5f);
  scene.Touch(5, 5, 0, -1.0f);
  scene.Touch(9, 9, 0, 4.0f);
  scene.Touch(9, 9, 1, 6.0f);  // a release sends nothing
  EXPECT_EQ(g_pickCalls, 2);
  EXPECT_EQ(recv->times, (std::vector<float>{2.5f, 4.0f}));

  // A later frame picks anew; a drag sensor takes no touch.
  scene.Traverse(nullptr);
  KsSensorTable::Add(KsSensorDescriptor(touch, nullptr, KsMatrix()));
  KsSensorTable::Add(KsSensorDescriptor(drag, nullptr, KsMatrix()));
  g_pickId = dragId;
  scene.Touch(1, 1, 0, 8.0f);
  EXPECT_EQ(g_pickCalls, 3);
  EXPECT_EQ(recv->times.size(), 2u);
  ASSERT_NE(scene.PickSensor(1, 1), nullptr);
  EXPECT_EQ(scene.PickSensor(1, 1)->GetSensor(), drag);
}

TEST_F(PartitionQueriesTest, DragBeginsMovesAndEndsOnThePickedDragSensor) {
  KsPartition scene;
  auto* touch = new TouchProbe;
  auto* drag = new DragProbe;
  auto* recv = new Receiver;
  scene.AppendNode(touch);
  scene.AppendNode(drag);
  scene.AppendNode(recv);
  scene.GetRouter()->AddRoute(drag, "isActive", recv, "got");
  KsSetPickHook(PickHook);
  KsMatrix m;
  m.Translate(0, 0, 5);

  scene.TraverseFromRoot();
  g_pickId = KsSensorTable::Add(KsSensorDescriptor(touch, nullptr, KsMatrix()));
  scene.Drag(3, 4, 0, 0.0f);  // a touch sensor starts no drag
  EXPECT_EQ(KsDragSensor::GetActive(), nullptr);
  scene.Drag(3, 4, 1, 0.0f);  // nor does a release with none active
  EXPECT_TRUE(recv->bools.empty());

  scene.TraverseFromRoot();
  g_pickId = KsSensorTable::Add(KsSensorDescriptor(drag, touch, m));
  scene.Drag(3, 4, 0, 0.0f);
  ASSERT_EQ(KsDragSensor::GetActive(), drag);
  EXPECT_EQ(drag->GetStartX(), 3);
  EXPECT_EQ(drag->GetStartY(), 4);
  KsVec3f p;
  drag->GetDragMatrix().ApplyInverse(p, KsVec3f(0, 0, 5), 1.0f);
  EXPECT_EQ(p.z, 0.0f);
  EXPECT_EQ(recv->bools, (std::vector<KSBOOL>{KS_TRUE}));

  g_pickId = -1;  // moves go to the active sensor whatever is under them
  scene.Drag(6, 7, 0, 0.0f);
  scene.Drag(8, 9, 0, 0.0f);
  EXPECT_EQ(drag->moves, (std::vector<std::pair<int, int>>{{6, 7}, {8, 9}}));
  scene.Drag(8, 9, 1, 0.0f);
  EXPECT_EQ(KsDragSensor::GetActive(), nullptr);
  EXPECT_EQ(recv->bools, (std::vector<KSBOOL>{KS_TRUE, KS_FALSE}));
  EXPECT_EQ(drag->IsPointingSensor(), KS_TRUE);
  EXPECT_EQ(drag->IsDragSensor(), KS_TRUE);
}

TEST_F(PartitionQueriesTest, AFreedDragSensorIsNoLongerActive) {
  auto* drag = new DragProbe;
  drag->Ref();
  KsMatrix m;
  drag->BeginDrag(&m, 1, 1);
  EXPECT_EQ(KsDragSensor::GetActive(), drag);
  drag->Unref();
  EXPECT_EQ(KsDragSensor::GetActive(), nullptr);
}

}  // namespace
