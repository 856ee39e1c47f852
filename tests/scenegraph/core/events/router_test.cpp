#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/core/fields/sf_fields.h"

using kstest::Contains;
using kstest::Realize;

namespace {

// Every change of a member, as "DEFNAME.member", in the order it happened.
std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

class RouteProbe;

// Run as a probe's member changes, after it is logged (null: nothing).
std::function<void(RouteProbe*)>& ChangeHook() {
  static std::function<void(RouteProbe*)> hook;
  return hook;
}

// Members "x", "y" (exposed SFInt), "f" (exposed SFFloat), "plain" (SFInt
// without events); event-in "poke".
class RouteProbe : public KsNode {
 public:
  RouteProbe() {
    RegisterMember("x", &x, 0);
    RegisterMember("y", &y, 0);
    RegisterMember("f", &f, 0);
    RegisterMember("plain", &plain, 1);
    RegisterEventIn("poke");
    RegisterDone();
  }
  const char* GetClassName() const override { return "KsRouteProbe"; }
  int OwnerMemberChanged(const char* name, KsField*) override {
    Log().push_back(std::string(GetDefineName()) + "." + (name ? name : ""));
    if (ChangeHook()) ChangeHook()(this);
    return 0;
  }
  int ExecSpecialEvent(const char* name, KsField* field, KsNode*) override {
    pokes.push_back(std::string(name) + ":" + field->GetClassName());
    return 0;
  }

  KsSFInt x, y, plain;
  KsSFFloat f;
  std::vector<std::string> pokes;
};

KsNode* MakeRouteProbe() { return new (std::nothrow) RouteProbe(); }

class RouterTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsClock::Reset();
    KsRouter::ResetGlobals();
    KsResetNodeFactory();
    KsRegisterNodeConstructor("Group", MakeRouteProbe);
    Log().clear();
    ChangeHook() = nullptr;
  }
  void TearDown() override {
    ChangeHook() = nullptr;
    KsResetNodeFactory();
  }

  RouteProbe* Probe(KsPartition& p, const char* name) {
    return static_cast<RouteProbe*>(p.FindLabel(name));
  }
  // Probes named N0 .. N(count-1) as text.
  static std::string Probes(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "DEF N" + std::to_string(i) + " Group { }\n";
    return text;
  }
};

TEST_F(RouterTest, RouteNamesAreNormalisedAndValuesFollow) {
  KsPartition p;
  std::string err = Realize(p,
                            "DEF A Group { } DEF B Group { }\n"
                            "ROUTE A.x_changed TO B.set_x\n"
                            "ROUTE A.set_f TO B.f_changed\n");
  EXPECT_EQ(err, "");
  KsRouter* router = p.GetRouter();
  ASSERT_EQ(router->GetRouteCount(), 2);
  KsNode *source = nullptr, *target = nullptr;
  const char *from = nullptr, *to = nullptr;
  ASSERT_EQ(router->GetRoute(0, &source, &from, &target, &to), 0);
  EXPECT_EQ(source, Probe(p, "A"));
  EXPECT_EQ(target, Probe(p, "B"));
  EXPECT_STREQ(from, "x");
  EXPECT_STREQ(to, "x");
  EXPECT_EQ(router->GetRoute(2, &source, &from, &target, &to), 1);
  EXPECT_EQ(router->GetRoute(-1, nullptr, nullptr, nullptr, nullptr), 1);
  EXPECT_EQ(Probe(p, "A")->GetRouteList(), router);
  EXPECT_EQ(Probe(p, "B")->GetRouteList(), nullptr);
  EXPECT_EQ(router->IsRouted(Probe(p, "A")), KS_TRUE);
  EXPECT_EQ(router->IsRouted(Probe(p, "B")), KS_TRUE);

  Probe(p, "A")->x.Set(7);
  Probe(p, "A")->f.Set(2.5f);
  EXPECT_EQ(Probe(p, "B")->x.Get(), 7);
  EXPECT_EQ(Probe(p, "B")->f.Get(), 2.5f);
  // Events sent under either spelling of a name match the route.
  KsSFInt value;
  value.Set(9);
  router->EventOut(Probe(p, "A"), "x_changed", &value);
  EXPECT_EQ(Probe(p, "B")->x.Get(), 9);
}

TEST_F(RouterTest, BrokenRouteStatementsAreReportedAndSkipped) {
  struct Case {
    const char* text;
    const char* report;
  };
  const Case cases[] = {
      {"ROUTE", "KsRouter::Realize()\n  Unexpected End Of File. (or End of block.)\n  line 1\n"},
      {"DEF A Group { }\nROUTE A.x TO", "  Unexpected End Of File. (or End of block.)\n  line 2\n"},
      {"DEF A Group { } ROUTE Ax TO A.y",
       "KsSeparateEventString()\n  Error in ROUTE definition.\n    Ax\n"
       "KsRouter::Realize()\n  LineNumber 1\n"},
      {"DEF A Group { } ROUTE A.x TO Ay", "    Ay\nKsRouter::Realize()\n  LineNumber 1\n"},
      {"DEF A Group { } ROUTE A.x TO Missing.x",
       "KsRouter::Realize()\n  Failed to look up Missing\n  LineNumber 1\n"},
      {"DEF A Group { } ROUTE Missing.x TO A.x", "  Failed to look up Missing\n"},
      // Labels must stand before the route.
      {"DEF A Group { } ROUTE A.x TO B.x DEF B Group { }", "  Failed to look up B\n"},
  };
  for (const Case& c : cases) {
    KsPartition p;
    std::string err = Realize(p, c.text);
    EXPECT_TRUE(Contains(err, c.report)) << c.text << "\n" << err;
    EXPECT_TRUE(Contains(err, "Failed to realize route.\n")) << c.text;
    EXPECT_EQ(p.GetRouter()->GetRouteCount(), 0) << c.text;
  }
  // The statement after a broken route is read normally.
  KsPartition p;
  Realize(p, "DEF A Group { } ROUTE A.x TO Nobody.x DEF C Group { }");
  EXPECT_EQ(p.GetNodeCount(), 2);
  KsRouter bare;
  testing::internal::CaptureStderr();
  KsWordNode empty = KsMakeCursor(nullptr);
  EXPECT_EQ(bare.Realize(&empty, nullptr), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "KsRouter::Realize()\n  No Routing Data.\n");
}

TEST_F(RouterTest, MissingToWarnsAndReadsTheNextWordAsTarget) {
  KsPartition p;
  std::string err = Realize(p, "DEF A Group { } DEF B Group { } ROUTE A.x B.y B.x");
  EXPECT_TRUE(Contains(err,
                       "KsRouter::Realize()\n  Warning : ROUTE xx TO yy.\n"
                       "  Unexpected \"B.y\" is detected.\n  \"TO\" is expected.\n"));
  ASSERT_EQ(p.GetRouter()->GetRouteCount(), 1);
  Probe(p, "A")->x.Set(3);
  EXPECT_EQ(Probe(p, "B")->x.Get(), 3);
  EXPECT_EQ(Probe(p, "B")->y.Get(), 0);
}

TEST_F(RouterTest, RouteInsideANodeBodyUsesThePartitionsRouter) {
  KsPartition p;
  std::string err = Realize(p, "DEF A Group { } DEF B Group { x 1 ROUTE A.x TO B.y y 2 }");
  // B is not labelled while its own body is read.
  EXPECT_TRUE(Contains(err, "  Failed to look up B\n"));
  Realize(p, "Group { ROUTE A.x TO B.y }");
  ASSERT_EQ(p.GetRouter()->GetRouteCount(), 1);
  Probe(p, "A")->x.Set(4);
  EXPECT_EQ(Probe(p, "B")->y.Get(), 4);
  EXPECT_EQ(Probe(p, "B")->x.Get(), 1);
}

TEST_F(RouterTest, DeliveryIsDepthFirstInRouteOrder) {
  KsPartition p;
  Realize(p,
          "DEF A Group { } DEF B Group { } DEF C Group { } DEF D Group { }\n"
          "ROUTE A.x TO B.x\n"
          "ROUTE A.x TO C.x\n"
          "ROUTE B.x TO D.x\n"
          "ROUTE A.x TO D.y\n");
  Log().clear();
  Probe(p, "A")->x.Set(5);
  // Each target stores before its own routes fire; B's cascade ends
  // before C is served.
  const std::vector<std::string> expected = {"A.x", "B.x", "D.x", "C.x", "D.y"};
  EXPECT_EQ(Log(), expected);
  EXPECT_EQ(Probe(p, "D")->y.Get(), 5);
}

TEST_F(RouterTest, CyclesAndSelfRoutesStopAfterOneLap) {
  KsPartition p;
  Realize(p,
          "DEF A Group { } DEF B Group { } DEF C Group { }\n"
          "ROUTE A.x TO B.x ROUTE B.x TO C.x ROUTE C.x TO A.x\n"
          "ROUTE A.y TO A.y\n");
  Log().clear();
  Probe(p, "A")->x.Set(8);
  const std::vector<std::string> lap = {"A.x", "B.x", "C.x", "A.x"};
  EXPECT_EQ(Log(), lap);
  EXPECT_EQ(Probe(p, "C")->x.Get(), 8);

  Log().clear();
  Probe(p, "A")->y.Set(6);
  const std::vector<std::string> self = {"A.y", "A.y"};
  EXPECT_EQ(Log(), self);
  EXPECT_EQ(Probe(p, "A")->y.Get(), 6);
  EXPECT_EQ(KsRouter::GetEventDepth(), 0);
  // The cycle runs again on the next event (every frame, in a scene).
  Log().clear();
  Probe(p, "B")->x.Set(1);
  EXPECT_EQ(Log().size(), 4u);
  EXPECT_EQ(Probe(p, "A")->x.Get(), 1);
}

TEST_F(RouterTest, ManyPathsIntoOneEventAreBounded) {
  // Layers of two nodes, each routed to both of the next layer: 2^40
  // paths lead to the last layer.
  const int layers = 40;
  std::string text = Probes(2 * layers);
  for (int l = 0; l + 1 < layers; ++l)
    for (int a = 0; a < 2; ++a)
      for (int b = 0; b < 2; ++b)
        text += "ROUTE N" + std::to_string(2 * l + a) + ".x TO N" +
                std::to_string(2 * (l + 1) + b) + ".x\n";
  KsPartition p;
  Realize(p, text);
  ASSERT_EQ(p.GetRouter()->GetRouteCount(), 4 * (layers - 1));
  // While the file is read (the clock has not moved since), each cascade
  // has an allowance of its own.
  testing::internal::CaptureStderr();
  for (int i = 0; i < 2; ++i) {
    Probe(p, "N76")->x.Set(3 + i);
    EXPECT_EQ(Probe(p, "N79")->x.Get(), 3 + i);
    Probe(p, "N0")->x.Set(1);
  }
  std::string err = testing::internal::GetCapturedStderr();
  KsRouter::NewFile();     // told again for the next file
  KsClock::Advance(0.1f);  // a frame of the running scene
  Log().clear();
  testing::internal::CaptureStderr();
  Probe(p, "N0")->x.Set(2);
  err += testing::internal::GetCapturedStderr();
  EXPECT_LE(Log().size(), static_cast<size_t>(1 + KS_MAX_FRAME_DELIVERIES));
  EXPECT_EQ(KsRouter::GetFrameDeliveries(), KS_MAX_FRAME_DELIVERIES);
  EXPECT_TRUE(Contains(err,
                       "KsRoute::EventOut()\n  Too many events in one frame; the rest of "
                       "the frame's events are dropped.\n"));
  EXPECT_EQ(Probe(p, "N79")->x.Get(), 2);
  EXPECT_EQ(KsRouter::GetEventDepth(), 0);
  // The same time step has nothing left; the next one has its own allowance.
  Probe(p, "N76")->x.Set(5);
  EXPECT_EQ(Probe(p, "N79")->x.Get(), 2);
  KsClock::Advance(0.1f);
  Log().clear();
  Probe(p, "N76")->x.Set(5);
  EXPECT_EQ(Probe(p, "N79")->x.Get(), 5);
}

TEST_F(RouterTest, ConvergingPathsAllDeliver) {
  // A fans out to 40 nodes that all lead into C, and C on to D: the route
  // from C carries every one of the 40 events.
  const int paths = 40;
  std::string text = Probes(paths) + "DEF A Group { } DEF C Group { } DEF D Group { }\n";
  for (int i = 0; i < paths; ++i) {
    const std::string n = "N" + std::to_string(i);
    text += "ROUTE A.x TO " + n + ".x ROUTE " + n + ".x TO C.x\n";
  }
  text += "ROUTE C.x TO D.x\n";
  KsPartition p;
  Realize(p, text);
  Log().clear();
  Probe(p, "A")->x.Set(7);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "D.x"), paths);
  EXPECT_EQ(Probe(p, "D")->x.Get(), 7);
}

TEST_F(RouterTest, LongChainsStopAtTheDepthBound) {
  const int count = KS_MAX_EVENT_DEPTH + 50;
  std::string text = Probes(count);
  for (int i = 0; i + 1 < count; ++i)
    text += "ROUTE N" + std::to_string(i) + ".x TO N" + std::to_string(i + 1) + ".x\n";
  KsPartition p;
  Realize(p, text);
  testing::internal::CaptureStderr();
  Probe(p, "N0")->x.Set(3);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(Contains(err, "KsRoute::EventOut()\n  Event cascade too deep; event dropped.\n"));
  std::string last = "N" + std::to_string(KS_MAX_EVENT_DEPTH);
  std::string beyond = "N" + std::to_string(KS_MAX_EVENT_DEPTH + 1);
  EXPECT_EQ(Probe(p, last.c_str())->x.Get(), 3);
  EXPECT_EQ(Probe(p, beyond.c_str())->x.Get(), 0);
  EXPECT_EQ(KsRouter::GetEventDepth(), 0);
  // Reports are limited per process; delivery goes on.
  testing::internal::CaptureStderr();
  for (int i = 0; i < 10; ++i) Probe(p, "N0")->x.Set(10 + i);
  err = testing::internal::GetCapturedStderr();
  EXPECT_LE(std::count(err.begin(), err.end(), '\n'), 3 * 5);
  EXPECT_EQ(Probe(p, last.c_str())->x.Get(), 19);
}

TEST_F(RouterTest, RefusedDeliveriesAreReportedAndTheOthersStillRun) {
  KsPartition p;
  // Unknown and plain members are accepted when read: the target decides
  // when an event arrives.
  Realize(p,
          "DEF A Group { } DEF B Group { }\n"
          "ROUTE A.x TO B.nosuch\n"
          "ROUTE A.x TO B.plain\n"
          "ROUTE A.x TO B.f\n"
          "ROUTE A.x TO B.set_poke\n"
          "ROUTE A.x TO B.y\n");
  ASSERT_EQ(p.GetRouter()->GetRouteCount(), 5);
  testing::internal::CaptureStderr();
  Probe(p, "A")->x.Set(11);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(Contains(err,
                       "KsNode::AcceptEvent()\nNode has no event.\n  Tag received   : nosuch\n"
                       "  Field Received : KsSFInt\n  Accepter       : KsRouteProbe\n"));
  EXPECT_TRUE(Contains(err, "  Tag received   : plain\n"));
  EXPECT_TRUE(Contains(err, "KsField::CopyTo()\n  Attempted to copy between different types.\n"));
  EXPECT_EQ(Probe(p, "B")->plain.Get(), 0);
  const std::vector<std::string> pokes = {"poke:KsSFInt"};
  EXPECT_EQ(Probe(p, "B")->pokes, pokes);
  EXPECT_EQ(Probe(p, "B")->y.Get(), 11);
}

TEST_F(RouterTest, InterfaceRoutesCrossTheOwningInstance) {
  // Outer scene: instance I sends "out" to C.x.
  KsPartition outer;
  Realize(outer, "DEF I Group { } DEF C Group { } ROUTE I.out TO C.x");
  // The instance's private copy: A.x leaves through the interface, and an
  // event offered by no node under "in" reaches B.y.
  KsPartition inner;
  inner.SetOwner(outer.FindLabel("I"));
  Realize(inner, "DEF A Group { } DEF B Group { }");
  KsRouter* router = inner.GetRouter();
  ASSERT_EQ(router->AddRoute(inner.FindLabel("A"), "x_changed", nullptr, "out_changed"), 0);
  ASSERT_EQ(router->AddRoute(nullptr, "set_in", inner.FindLabel("B"), "set_y"), 0);
  Probe(inner, "A")->x.Set(12);
  EXPECT_EQ(Probe(outer, "C")->x.Get(), 12);
  KsSFInt value;
  value.Set(13);
  EXPECT_EQ(router->EventOut(nullptr, "in", &value), 0);
  EXPECT_EQ(Probe(inner, "B")->y.Get(), 13);
  EXPECT_EQ(router->IsRouted(nullptr), KS_FALSE);

  // Without an instance the outbound event has nowhere to go.
  struct Case {
    KsPartition* partition;
    const char* last;
  };
  KsPartition lone;
  KsRouter bare;
  const Case cases[] = {{&lone, "  KsPartition does not have an owner.\n"},
                        {nullptr, "  KsRouter does not have an owner.\n"}};
  for (const Case& c : cases) {
    RouteProbe* a = new RouteProbe;
    a->Ref();
    KsRouter* r = c.partition ? c.partition->GetRouter() : &bare;
    r->AddRoute(a, "x", nullptr, "out");
    testing::internal::CaptureStderr();
    a->x.Set(1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("KsRoute::EventOut()\n  Outbound event is launched.\n"
                          "  But it does not have owner node.\n") +
                  c.last);
    r->DeleteRoute(a, "x", nullptr, "out");
    a->Unref();
  }
  KsRoute route;
  route.Set(nullptr, nullptr, "a", nullptr, "b");
  testing::internal::CaptureStderr();
  EXPECT_EQ(route.EventOut(nullptr, "a", &value), 0);
  EXPECT_TRUE(
      Contains(testing::internal::GetCapturedStderr(), "  KsRoute does not have an owner.\n"));
}

TEST_F(RouterTest, DeleteRouteRemovesTheFirstMatch) {
  KsPartition p;
  Realize(p,
          "DEF A Group { } DEF B Group { }\n"
          "ROUTE A.x TO B.x ROUTE A.x TO B.y ROUTE A.x TO B.x\n");
  KsRouter* router = p.GetRouter();
  KsNode* a = p.FindLabel("A");
  KsNode* b = p.FindLabel("B");
  EXPECT_EQ(router->DeleteRoute(a, "x_changed", b, "set_x"), 0);
  ASSERT_EQ(router->GetRouteCount(), 2);
  const char* to = nullptr;
  router->GetRoute(0, nullptr, nullptr, nullptr, &to);
  EXPECT_STREQ(to, "y");
  EXPECT_EQ(router->DeleteRoute(a, "x", b, "x"), 0);
  EXPECT_EQ(router->DeleteRoute(a, "x", b, "x"), 1);
  EXPECT_EQ(router->DeleteRoute(b, "y", a, "y"), 1);
  EXPECT_EQ(router->DeleteRoute(a, "x", b, "y"), 0);
  EXPECT_EQ(router->GetRouteCount(), 0);
  EXPECT_EQ(router->IsRouted(a), KS_FALSE);
  EXPECT_EQ(router->IsRouted(b), KS_FALSE);
  Probe(p, "A")->x.Set(3);  // the route list is still set; nothing matches
  EXPECT_EQ(Probe(p, "B")->x.Get(), 0);
}

TEST_F(RouterTest, DetachedSourcesOutliveTheirPartition) {
  KsPartition* p = new KsPartition;
  Realize(*p, "DEF A Group { } DEF B Group { } ROUTE A.x TO B.x");
  RouteProbe* a = Probe(*p, "A");
  a->Ref();  // held elsewhere, as a bound node may be
  p->GetRouter()->DetachSources();
  EXPECT_EQ(a->GetRouteList(), nullptr);
  delete p;
  EXPECT_EQ(a->x.Set(4), 0);  // sends nothing, into nothing
  a->Unref();
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

TEST_F(RouterTest, PlainMembersSendNothingAlongRoutes) {
  KsPartition p;
  Realize(p, "DEF A Group { } DEF B Group { } ROUTE A.plain TO B.x ROUTE A.x TO B.y");
  Probe(p, "A")->plain.Set(3);
  EXPECT_EQ(Probe(p, "B")->x.Get(), 0);
  Probe(p, "A")->x.Set(4);  // the route list is in place
  EXPECT_EQ(Probe(p, "B")->y.Get(), 4);
}

// Routes whose source or target a later value of a field destroys.
TEST_F(RouterTest, RoutesOfADestroyedNodeGo) {
  KsResetNodeFactory();
  KsRegisterNodeConstructor("Group", kstest::MakeProbe);
  const char* const texts[] = {
      "DEF S Group { } Group { child DEF T Group { } ROUTE S.x TO T.x  child Group { } }",
      "DEF S Group { } Group { child DEF T Group { } ROUTE T.x TO S.x  child Group { } }",
  };
  for (const char* text : texts) {
    KsPartition* p = new KsPartition;
    EXPECT_EQ(Realize(*p, text), "") << text;
    EXPECT_EQ(p->FindLabel("T"), nullptr);
    EXPECT_EQ(p->GetRouter()->GetRouteCount(), 0) << text;
    auto* s = static_cast<kstest::PartitionProbe*>(p->FindLabel("S"));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(p->GetRouter()->IsRouted(s), KS_FALSE);
    EXPECT_EQ(s->x.Set(5), 0);
    delete p;
  }
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

TEST_F(RouterTest, ADeliveryThatDestroysALaterTargetSkipsIt) {
  KsResetNodeFactory();
  KsRegisterNodeConstructor("Group", kstest::MakeProbe);
  KsPartition p;
  Realize(p,
          "DEF G Group { child DEF B Group { } } DEF N Group { } DEF K Group { }\n"
          "ROUTE N.child TO G.child ROUTE N.x TO B.x ROUTE N.child TO B.child\n"
          "ROUTE N.x TO K.x\n");
  ASSERT_EQ(p.GetRouter()->GetRouteCount(), 4);
  auto* n = static_cast<kstest::PartitionProbe*>(p.FindLabel("N"));
  KsNode* fresh = kstest::MakeProbe();
  n->child.Set(fresh);  // replaces B in G, then would deliver into B
  EXPECT_EQ(p.FindLabel("B"), nullptr);
  EXPECT_EQ(static_cast<kstest::PartitionProbe*>(p.FindLabel("G"))->child.Get(), fresh);
  EXPECT_EQ(p.GetRouter()->GetRouteCount(), 2);
  n->x.Set(6);
  EXPECT_EQ(static_cast<kstest::PartitionProbe*>(p.FindLabel("K"))->x.Get(), 6);
}

// A delivery removes a route of the same source before, at or after the
// route being served: by DeleteRoute, or by destroying its target (a target
// that is receiving lives until the event has gone round). Every live route
// still gets the event once, in ROUTE order.
TEST_F(RouterTest, RemovalsDuringAWalkSkipNoLiveRoute) {
  struct Case {
    const char* name;
    int removed;   // index of the route taken away while N2 receives
    bool destroy;  // by destroying its target, else by DeleteRoute
    std::vector<std::string> delivered;
  };
  const std::vector<std::string> all = {"A.x", "N0.x", "N1.x", "N2.x", "N3.x", "N4.x"};
  const Case cases[] = {
      {"deleted before", 0, false, all},
      {"deleted just before", 1, false, all},
      {"deleted at", 2, false, all},
      {"deleted after", 3, false, {"A.x", "N0.x", "N1.x", "N2.x", "N4.x"}},
      {"deleted last", 4, false, {"A.x", "N0.x", "N1.x", "N2.x", "N3.x"}},
      {"destroyed before", 1, true, all},
      {"destroyed at", 2, true, all},
      {"destroyed after", 3, true, {"A.x", "N0.x", "N1.x", "N2.x", "N4.x"}},
  };
  for (const Case& c : cases) {
    KsPartition p;
    std::string text = Probes(5) + "DEF A Group { }\n";
    for (int i = 0; i < 5; ++i) text += "ROUTE A.x TO N" + std::to_string(i) + ".x\n";
    Realize(p, text);
    ASSERT_EQ(p.GetRouter()->GetRouteCount(), 5);
    KsNode* a = p.FindLabel("A");
    KsNode* victim = p.FindLabel(("N" + std::to_string(c.removed)).c_str());
    KsNode* cursor = p.FindLabel("N2");
    int fired = 0;
    ChangeHook() = [&](RouteProbe* probe) {
      if (probe != cursor || fired++ != 0) return;
      if (c.destroy)
        EXPECT_EQ(p.DeleteNode(victim), 0);
      else
        EXPECT_EQ(p.GetRouter()->DeleteRoute(a, "x", victim, "x"), 0);
    };
    Log().clear();
    Probe(p, "A")->x.Set(4);
    ChangeHook() = nullptr;
    EXPECT_EQ(Log(), c.delivered) << c.name;
    EXPECT_EQ(p.GetRouter()->GetRouteCount(), 4) << c.name;
    // The next event meets the four routes left, once each.
    Log().clear();
    Probe(p, "A")->x.Set(5);
    EXPECT_EQ(Log().size(), 5u) << c.name;
    EXPECT_EQ(KsRouter::GetEventDepth(), 0);
  }
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

// Dropping a node removes each of its routes from the list of the other end
// in constant time, and its own lists at once.
TEST_F(RouterTest, DroppingARoutedNodeIsLinearInItsRoutes) {
  auto work = [this](int targets, int perTarget) {
    KsPartition p;
    Realize(p, Probes(targets) + "DEF S Group { }");
    KsNode* s = p.FindLabel("S");
    KsRouter* router = p.GetRouter();
    for (int i = 0; i < targets; ++i)
      for (int k = 0; k < perTarget; ++k) EXPECT_EQ(router->AddRoute(s, "x", p.GetNode(i), "x"), 0);
    // And as many routes into S from one node: both of S's lists go.
    for (int k = 0; k < targets * perTarget; ++k)
      EXPECT_EQ(router->AddRoute(p.GetNode(0), "y", s, "y"), 0);
    KsRouter::ResetGlobals();
    EXPECT_EQ(p.DeleteNode(s), 0);
    EXPECT_EQ(router->GetRouteCount(), 0);
    EXPECT_EQ(router->IsRouted(p.GetNode(0)), KS_FALSE);
    return KsRouter::GetListWork();
  };
  // Many targets, and one target holding every route: twice the routes
  // cost twice the work (removing each from the front of a list costs
  // four times).
  const int64_t spreadSmall = work(2000, 1), spreadLarge = work(4000, 1);
  const int64_t oneSmall = work(1, 2000), oneLarge = work(1, 4000);
  EXPECT_LE(spreadLarge * 10, spreadSmall * 22);
  EXPECT_LE(oneLarge * 10, oneSmall * 22);
  EXPECT_LE(spreadLarge, 8 * 2 * 4000);
  EXPECT_LE(oneLarge, 8 * 2 * 4000);
}

// A delivery of the source that destroys the targets of all its other
// routes: their entries wait in the list being walked, and freeing the rest
// stays linear.
TEST_F(RouterTest, TargetsDestroyedDuringTheirSourcesWalkCostLinearWork) {
  KsResetNodeFactory();
  KsRegisterNodeConstructor("Group", kstest::MakeProbe);
  auto work = [](int targets) {
    KsPartition p;
    std::string text = "DEF S Group { } DEF G Group { children [\n";
    for (int i = 0; i < targets; ++i) text += "DEF T" + std::to_string(i) + " Group { }\n";
    text += "] }\nROUTE S.children TO G.children\n";
    for (int i = 0; i < targets; ++i)
      text += "ROUTE S.children TO T" + std::to_string(i) + ".children\n";
    Realize(p, text);
    EXPECT_EQ(p.GetRouter()->GetRouteCount(), targets + 1);
    KsRouter::ResetGlobals();
    static_cast<kstest::PartitionProbe*>(p.FindLabel("S"))->children.Set(0, nullptr);
    EXPECT_EQ(p.GetRouter()->GetRouteCount(), 1);
    EXPECT_EQ(p.FindLabel("T0"), nullptr);
    return KsRouter::GetListWork();
  };
  const int64_t small = work(1000), large = work(2000);
  EXPECT_LE(large * 10, small * 22);
  EXPECT_LE(large, 8 * 2000);
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

TEST_F(RouterTest, SeparateEventStringSplitsAtTheFirstDot) {
  char node[KS_NAME_SIZE], event[KS_NAME_SIZE];
  EXPECT_EQ(KsSeparateEventString("a.b.c", node, event), 0);
  EXPECT_STREQ(node, "a");
  EXPECT_STREQ(event, "b.c");
  EXPECT_EQ(KsSeparateEventString(".x", node, event), 0);
  EXPECT_STREQ(node, "");
  EXPECT_STREQ(event, "x");
  std::string longName(300, 'N');
  EXPECT_EQ(KsSeparateEventString((longName + "." + longName).c_str(), node, event), 0);
  EXPECT_EQ(std::string(node), std::string(255, 'N'));
  EXPECT_EQ(std::string(event), std::string(255, 'N'));
  testing::internal::CaptureStderr();
  EXPECT_EQ(KsSeparateEventString("nodot", node, event), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsSeparateEventString()\n  Error in ROUTE definition.\n    nodot\n");
}

TEST_F(RouterTest, LongLabelsMatchInRoutes) {
  // The longest label a route word can carry with its event name.
  std::string name(250, 'L');
  KsPartition p;
  std::string err =
      Realize(p, "DEF " + name + " Group { } DEF B Group { } ROUTE " + name + ".x TO B.x");
  EXPECT_EQ(err, "");
  ASSERT_EQ(p.GetRouter()->GetRouteCount(), 1);
  Probe(p, name.c_str())->x.Set(21);
  EXPECT_EQ(Probe(p, "B")->x.Get(), 21);
}

}  // namespace
