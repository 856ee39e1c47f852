// Routes whose ends are destroyed while the scene runs: read as the viewer
// reads a file, ticked frame by frame and closed.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "bench/route_lattice.h"
#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/object/node_containment.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/interpolators/interpolator_nodes.h"
#include "scenegraph/nodes/geometry/property_nodes.h"
#include "scenegraph/nodes/render_test_util.h"

using kstest::Contains;

namespace {

class RouteLifetimeTest : public kstest::RenderTest {
 protected:
  void SetUp() override {
    RenderTest::SetUp();
    KsClock::Reset();
    KsRouter::ResetGlobals();
    KsResetContainmentChecks();
  }
  void TearDown() override {
    RenderTest::TearDown();
    KsClock::Reset();
  }
  // Reads the text from a file into a fresh scene, as the viewer opens one.
  std::string Open(const std::string& text) {
    const std::string path = testing::TempDir() + "route_lifetime.wrl";
    EXPECT_TRUE(kstest::WriteFile(path, text));
    delete scene;
    scene = new KsPartition;
    testing::internal::CaptureStderr();
    EXPECT_EQ(scene->ReadFile(path.c_str()), 0);
    std::remove(path.c_str());
    return testing::internal::GetCapturedStderr();
  }
  // The viewer's frames: draw, advance the clock, one time pass.
  void Tick(int frames) {
    for (int i = 0; i < frames; ++i) {
      Draw();
      KsClock::Advance(0.1f);
      EXPECT_EQ(scene->SetTime(), 0);
    }
  }
};

TEST_F(RouteLifetimeTest, RoutesOfAReplacedChildDieWithIt) {
  const char* const texts[] = {
      "#VRML V2.0 utf8\n"
      "DEF S TimeSensor { loop TRUE cycleInterval 1 }\n"
      "Group { children DEF T PositionInterpolator { key [0 1] keyValue [0 0 0, 1 1 1] }\n"
      "        ROUTE S.fraction_changed TO T.set_fraction children Group { } }\n",
      "#VRML V2.0 utf8\n"
      "DEF S Transform { }\n"
      "Group { children DEF T PositionInterpolator { key [0 1] keyValue [0 0 0, 1 1 1] }\n"
      "        ROUTE T.value_changed TO S.set_translation children Group { } }\n",
  };
  for (const char* text : texts) {
    EXPECT_EQ(Open(text), "") << text;
    EXPECT_EQ(scene->GetRouter()->GetRouteCount(), 0) << text;
    Tick(10);
    delete scene;
    scene = nullptr;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << text;
  }
}

TEST_F(RouteLifetimeTest, ChildRemovedWhileItsClockFires) {
  EXPECT_EQ(Open("#VRML V2.0 utf8\n"
                 "DEF S TimeSensor { loop TRUE cycleInterval 1 }\n"
                 "DEF G Group { children [\n"
                 "  DEF T PositionInterpolator { key [0 1] keyValue [0 0 0, 10 0 0] }\n"
                 "  DEF X Transform { } ] }\n"
                 "ROUTE S.fraction_changed TO T.set_fraction\n"
                 "ROUTE T.value_changed TO X.set_translation\n"),
            "");
  auto* group = static_cast<KsGroup*>(scene->FindLabel("G"));
  auto* x = static_cast<KsTransform*>(scene->FindLabel("X"));
  KsNode* t = scene->FindLabel("T");
  ASSERT_TRUE(group && x && t);
  Tick(3);
  const float moved = x->translation.Get().x;
  EXPECT_GT(moved, 0.0f);

  KsMFNode gone;
  gone.Set(1, &t);
  ASSERT_EQ(group->AcceptEvent("removeChildren", &gone, nullptr), 0);
  gone.Set(0, nullptr);  // the last reference: the interpolator goes
  EXPECT_EQ(scene->FindLabel("T"), nullptr);
  EXPECT_EQ(scene->GetRouter()->GetRouteCount(), 0);
  EXPECT_EQ(group->children.GetCount(), 1);
  Tick(10);
  EXPECT_EQ(x->translation.Get().x, moved);
}

// An event that, through routes out of its sender, makes the parent drop
// that sender: the sender (and a PROTO instance with its private copy,
// whose router is still delivering) lives until the event has gone round.
TEST_F(RouteLifetimeTest, SenderDroppedByItsOwnEvent) {
  const char* const texts[] = {
      "#VRML V2.0 utf8\n"
      "PROTO Relay [ eventIn MFNode take eventOut MFNode given ] {\n"
      "  Group { set_children IS take children_changed IS given } }\n"
      "DEF D Group { }\n"
      "DEF G Group { children [ DEF E Relay { } Group { } ] }\n"
      "ROUTE D.children_changed TO E.take\n"
      "ROUTE E.given TO G.set_children\n",
      "#VRML V2.0 utf8\n"
      "DEF D Group { }\n"
      "DEF G Group { children [ DEF E Group { } Group { } ] }\n"
      "ROUTE D.children_changed TO E.set_children\n"
      "ROUTE E.children_changed TO G.set_children\n",
  };
  for (const char* text : texts) {
    EXPECT_EQ(Open(text), "") << text;
    auto* d = static_cast<KsGroup*>(scene->FindLabel("D"));
    auto* g = static_cast<KsGroup*>(scene->FindLabel("G"));
    ASSERT_TRUE(d && g && scene->FindLabel("E")) << text;
    KsMFNode none;
    EXPECT_EQ(d->AcceptEvent("set_children", &none, nullptr), 0) << text;
    EXPECT_EQ(g->children.GetCount(), 0) << text;
    EXPECT_EQ(scene->FindLabel("E"), nullptr) << text;
    EXPECT_EQ(scene->GetRouter()->GetRouteCount(), 0) << text;
    Tick(2);
    delete scene;
    scene = nullptr;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << text;
  }
}

// A delivery that destroys the target of an earlier route of the same source
// (B's new children drop T, and the translation route with it) must not make
// the walk pass over the route after it: Z gets the Box.
TEST_F(RouteLifetimeTest, EveryLiveRouteOfASourceFiresWhenAnEarlierOneDies) {
  const std::string proto =
      "#VRML V2.0 utf8\n"
      "PROTO P [ exposedField MFNode kids [ Shape { geometry Box { } } ] ] {\n"
      "  DEF A Transform { children IS kids }\n"
      "  DEF B Group { children [ DEF T Transform { } ] }\n"
      "  DEF Z Group { }\n";
  const std::string tail =
      "  ROUTE A.children_changed TO B.set_children\n"
      "  ROUTE A.children_changed TO Z.set_children }\n"
      "DEF I P { }\n";
  struct Case {
    const char* name;
    std::string text;
  };
  const Case cases[] = {
      {"with the translation route",
       proto + "  ROUTE A.translation_changed TO T.set_translation\n" + tail},
      {"without it", proto + tail},
  };
  size_t drawn[2] = {0, 0};
  for (int k = 0; k < 2; ++k) {
    const Case& c = cases[k];
    EXPECT_EQ(Open(c.text), "") << c.name;
    auto* instance = static_cast<KsCustomNode*>(scene->FindLabel("I"));
    ASSERT_TRUE(instance && instance->GetPrivateCopy()) << c.name;
    KsPartition* body = instance->GetPrivateCopy();
    auto* z = static_cast<KsGroup*>(body->FindLabel("Z"));
    auto* b = static_cast<KsGroup*>(body->FindLabel("B"));
    ASSERT_TRUE(z && b) << c.name;
    EXPECT_EQ(body->FindLabel("T"), nullptr) << c.name;
    ASSERT_EQ(z->children.GetCount(), 1) << c.name;
    KsNode* shape = z->children.GetElements()[0];
    ASSERT_EQ(b->children.GetCount(), 1) << c.name;
    EXPECT_EQ(b->children.GetElements()[0], shape) << c.name;
    Tick(3);
    kstest::Recorded().clear();
    EXPECT_EQ(Draw(), "") << c.name;
    drawn[k] = kstest::Recorded().size();
    EXPECT_GT(drawn[k], 0u) << c.name;
    delete scene;
    scene = nullptr;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << c.name;
  }
  // Z draws its Box whether or not the dead route stood before its own.
  EXPECT_EQ(drawn[0], drawn[1]);
}

// Files whose routes would put a node under itself as the PROTO instance
// is built (into a group's children, or into the interface field of an inner
// instance that hands it to a Group or a Switch): the node is refused, the
// scene draws and is freed whole.
TEST_F(RouteLifetimeTest, RoutesCannotPutANodeUnderItself) {
  const std::string head =
      "#VRML V2.0 utf8\n"
      "PROTO P [ exposedField MFNode kids [ Shape { geometry Box { } } ] ] {\n"
      "  PROTO Q [ exposedField MFNode k [ ] ] { Group { children IS k } }\n"
      "  PROTO V [ exposedField MFNode k [ ] ] { Switch { choice IS k } }\n"
      "  DEF A Group { children IS kids }\n"
      "  DEF R Group { children [ DEF W Group { children DEF T Group { } }\n"
      "                           DEF J Q { } DEF K V { } ] }\n"
      "  ROUTE A.children_changed TO R.addChildren\n";
  const char* const lasts[] = {
      "  ROUTE R.children_changed TO T.addChildren }\n",  // W below its own child
      "  ROUTE R.children_changed TO T.set_children }\n",
      "  ROUTE R.children_changed TO W.addChildren }\n",  // W below itself
      "  ROUTE R.children_changed TO J.set_k }\n",        // J below itself
      "  ROUTE R.children_changed TO K.set_k }\n",
  };
  for (const char* last : lasts) {
    const std::string err = Open(head + last + "DEF I P { }\n");
    EXPECT_TRUE(Contains(err, "  A node holding this one cannot be its child; not added.\n"))
        << last << err;
    auto* instance = static_cast<KsCustomNode*>(scene->FindLabel("I"));
    ASSERT_TRUE(instance && instance->GetPrivateCopy()) << last;
    auto* r = static_cast<KsGroup*>(instance->GetPrivateCopy()->FindLabel("R"));
    ASSERT_TRUE(r) << last;
    EXPECT_EQ(r->children.GetCount(), 4) << last;  // W, J, K and the Shape
    Tick(2);
    kstest::Recorded().clear();
    Draw();
    EXPECT_GT(kstest::Recorded().size(), 0u) << last;
    delete scene;
    scene = nullptr;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << last;
    KsResetContainmentChecks();
  }
}

// One large value carried along very many paths: the work of each frame is
// bounded (deliveries and values copied across all its cascades), the last
// layer is still reached, and the bound is told once per loaded file.
TEST_F(RouteLifetimeTest, AFramesDeliveriesAreBoundedAcrossItsCascades) {
  const int points = 10000;
  const int layers = 18;
  // Two sensors: two cascades a frame share its allowance.
  const std::string text = lvbench::RouteLattice(points, layers, 2);
  const std::string told =
      "  Too many events in one frame; the rest of the frame's events are dropped.\n";
  // Each file read is told once, whether or not the reader says a file is
  // coming (KsRouter::NewFile).
  for (int file = 0; file < 2; ++file) {
    EXPECT_EQ(Open(text), "");
    ASSERT_EQ(scene->GetRouter()->GetRouteCount(), 2 * 3 + 4 * (layers - 1));
    auto* last = static_cast<KsCoordinate*>(scene->FindLabel("C17b"));
    ASSERT_NE(last, nullptr);
    std::string err;
    for (int frame = 0; frame < 3; ++frame) {
      Draw();
      KsClock::Advance(0.1f);
      const int64_t before = KsRouter::GetValuesCopied();
      testing::internal::CaptureStderr();
      EXPECT_EQ(scene->SetTime(), 0);
      err += testing::internal::GetCapturedStderr();
      // One payload past the bound at most: the delivery that crosses it.
      const int64_t copied = KsRouter::GetValuesCopied() - before;
      EXPECT_LE(copied, KS_MAX_FRAME_VALUES + points);
      EXPECT_GE(copied, KS_MAX_FRAME_VALUES);
      EXPECT_EQ(KsRouter::GetFrameValues(), copied);
      EXPECT_LE(KsRouter::GetFrameDeliveries(), KS_MAX_FRAME_DELIVERIES);
      EXPECT_EQ(last->point.GetCount(), points);
    }
    size_t count = 0;
    for (size_t at = err.find(told); at != std::string::npos; at = err.find(told, at + 1)) ++count;
    EXPECT_EQ(count, 1u) << err;
  }
  // Converging paths in a real world stay far below the bound.
  EXPECT_EQ(Open(lvbench::RouteLattice(100, 5)), "");
  Tick(2);
  EXPECT_LT(KsRouter::GetFrameValues(), KS_MAX_FRAME_VALUES / 100);
  EXPECT_EQ(static_cast<KsCoordinate*>(scene->FindLabel("C4a"))->point.GetCount(), 100);
}

// Reading is no frame: a file whose PROTO instances each copy a large value
// through routes as they are built reads whole, even while the previous
// scene's frames ran (and so without being told a file is coming). The
// copies are charged to the file's expansion allowance, which its size
// (a list of points read once) widens enough for them.
TEST_F(RouteLifetimeTest, InstancesBuiltWhileReadingEachHaveTheirOwnAllowance) {
  const int points = 10000;
  const int instances = KS_MAX_FRAME_VALUES / points + 50;
  std::string text = "#VRML V2.0 utf8\nPROTO P [ exposedField MFVec3f p [\n";
  for (int i = 0; i < points; ++i) text += std::to_string(i % 10) + " 0 1,\n";
  text +=
      "] ] {\n  DEF C0 Coordinate { point IS p }\n  DEF C1 Coordinate { }\n"
      "  ROUTE C0.point_changed TO C1.set_point }\nCoordinate { point [\n";
  for (int i = 0; i < 40000; ++i) text += "1 2 3\n";
  text += "] }\n";
  for (int i = 0; i < instances; ++i) text += "DEF I" + std::to_string(i) + " P { }\n";
  EXPECT_EQ(Open(lvbench::RouteLattice(10, 3)), "");
  Tick(3);
  EXPECT_EQ(Open(text), "");
  const std::string last = "I" + std::to_string(instances - 1);
  auto* instance = static_cast<KsCustomNode*>(scene->FindLabel(last.c_str()));
  ASSERT_TRUE(instance && instance->GetPrivateCopy());
  auto* c1 = static_cast<KsCoordinate*>(instance->GetPrivateCopy()->FindLabel("C1"));
  ASSERT_NE(c1, nullptr);
  EXPECT_EQ(c1->point.GetCount(), points);
}

}  // namespace
