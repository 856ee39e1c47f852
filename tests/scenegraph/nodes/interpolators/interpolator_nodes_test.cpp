#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/interpolators/interpolator_nodes.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/geometry/property_nodes.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"

using kstest::Contains;

namespace {

const std::string kNodesData = LV_SOURCE_DIR "/tests/scenegraph/nodes/data/";

class InterpolatorTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override { KsResetNodeFactory(); }

  // Reads text that must read cleanly.
  void Read(KsPartition& p, const std::string& text) {
    EXPECT_EQ(kstest::Realize(p, text), "") << text;
  }
  // Sends a fraction to the node's event-in the way a route does; returns
  // AcceptEvent's result and keeps what was printed in err.
  int Send(KsNode* node, float fraction) {
    KsSFFloat f;
    f.Set(fraction);
    testing::internal::CaptureStderr();
    int result = node->AcceptEvent("set_fraction", &f, nullptr);
    err = testing::internal::GetCapturedStderr();
    return result;
  }
  std::string err;
};

TEST_F(InterpolatorTest, ScalarValuesAtAndBetweenKeys) {
  struct Case {
    const char* keys;
    const char* values;
    float fraction;
    float expected;  // -1: nothing sent
  };
  const Case cases[] = {
      {"0 1", "10 20", 0.25f, 12.5f},
      {"0 1", "10 20", 0.0f, 10.0f},
      {"0 1", "10 20", 1.0f, -1.0f},   // the last key is excluded
      {"0 1", "10 20", -0.1f, -1.0f},  // nothing is clamped
      {"0 1", "10 20", 1.5f, -1.0f},
      {"0 0.5 1", "0 10 0", 0.5f, 10.0f},  // the second interval holds 0.5
      {"0 0.5 1", "0 10 0", 0.75f, 5.0f},
      {"1 0 0.5", "4 0 8", 0.25f, 4.0f},  // unsorted: first match [0, 0.5)
      {"", "", 0.5f, -1.0f},
      {"0.5", "3", 0.5f, -1.0f},
      {"0 1", "", -2.0f, -1.0f},
  };
  for (const Case& c : cases) {
    KsPartition p;
    Read(p, std::string("DEF I ScalarInterpolator { key [ ") + c.keys + " ] keyValue [ " +
                c.values +
                " ] } DEF M Material { }"
                " ROUTE I.value_changed TO M.set_transparency");
    KsMaterial* m = static_cast<KsMaterial*>(p.FindLabel("M"));
    m->transparency.Set(-1.0f);
    EXPECT_EQ(Send(p.FindLabel("I"), c.fraction), 0) << c.keys << " @ " << c.fraction;
    EXPECT_EQ(err, "");
    EXPECT_EQ(m->transparency.Get(), c.expected) << c.keys << " @ " << c.fraction;
  }
}

TEST_F(InterpolatorTest, MissingKeyValuesAreReportedAndSendNothing) {
  const char* kinds[][3] = {
      {"ScalarInterpolator", "1 2", "M.set_transparency"},
      {"PositionInterpolator", "1 2 3, 4 5 6", "T.set_translation"},
      {"ColorInterpolator", "1 0 0, 0 1 0", "M.set_diffuseColor"},
      {"OrientationInterpolator", "0 0 1 1, 0 0 1 2", "T.set_rotation"},
  };
  for (const auto& kind : kinds) {
    KsPartition p;
    Read(p, std::string("DEF I ") + kind[0] + " { key [ 0 0.5 1 ] keyValue [ " + kind[1] +
                " ] } DEF M Material { } DEF T Transform { } ROUTE I.value_changed TO " + kind[2]);
    EXPECT_EQ(Send(p.FindLabel("I"), 0.25f), 0) << kind[0];
    // The second interval needs a third value.
    EXPECT_EQ(Send(p.FindLabel("I"), 0.75f), 1) << kind[0];
    EXPECT_TRUE(Contains(err, "::Get()\n  Index Out Of Range.\n  Requested 2\n")) << err;
  }
}

TEST_F(InterpolatorTest, PositionAndColourBlendComponentwise) {
  KsPartition p;
  Read(p,
       "DEF P PositionInterpolator { keys [ 0 1 ] values [ 0 0 0, 2 4 -6 ] }"
       " DEF K ColorInterpolator { key [ 0 1 ] keyValue [ 0 0 0, 1 0.5 2 ] }"
       " DEF T Transform { } DEF M Material { }"
       " ROUTE P.value_changed TO T.set_translation"
       " ROUTE K.value_changed TO M.set_diffuseColor");
  KsTransform* t = static_cast<KsTransform*>(p.FindLabel("T"));
  KsMaterial* m = static_cast<KsMaterial*>(p.FindLabel("M"));
  EXPECT_EQ(Send(p.FindLabel("P"), 0.5f), 0);
  EXPECT_EQ(t->translation.Get().x, 1.0f);
  EXPECT_EQ(t->translation.Get().y, 2.0f);
  EXPECT_EQ(t->translation.Get().z, -3.0f);
  EXPECT_EQ(Send(p.FindLabel("P"), 1.0f), 0);  // out of range: unchanged
  EXPECT_EQ(t->translation.Get().x, 1.0f);
  EXPECT_EQ(err, "");
  // Colours are not clamped to [0, 1].
  EXPECT_EQ(Send(p.FindLabel("K"), 0.75f), 0);
  EXPECT_EQ(m->diffuseColor.Get().r, 0.75f);
  EXPECT_EQ(m->diffuseColor.Get().g, 0.375f);
  EXPECT_EQ(m->diffuseColor.Get().b, 1.5f);
}

TEST_F(InterpolatorTest, OrientationBlendsAxisAndAngleAcrossTurns) {
  struct Case {
    const char* values;
    float fraction;
    float angle;
    float x, y, z;
  };
  // Expected angles as the Transform must receive them, worked out by
  // hand: the nearer key is raised by whole turns until the two lie
  // within half a turn of each other, then the two are blended.
  const Case cases[] = {
      // 0.1 is raised by a turn to 6.3832: halfway to 6.2 is 6.2916.
      {"0 1 0 0.1, 0 1 0 6.2", 0.5f, 6.291593f, 0, 1, 0},
      // From 3 to -3 the short way passes pi.
      {"0 0 1 3, 0 0 1 -3", 0.5f, 3.141593f, 0, 0, 1},
      {"1 0 0 0, 0 1 0 1", 0.5f, 0.5f, std::sqrt(0.5f), std::sqrt(0.5f), 0},
      // Three turns apart: 0 becomes 18.8496, halfway to 20 is 19.4248.
      {"0 1 0 0, 0 1 0 20", 0.5f, 19.424778f, 0, 1, 0},
      // A quarter of the way from the first key's value to the second's.
      {"0 1 0 0, 0 1 0 2", 0.25f, 0.5f, 0, 1, 0},
      {"0 1 0 0.1, 0 1 0 6.2", 0.25f, 6.337389f, 0, 1, 0},
  };
  for (const Case& c : cases) {
    KsPartition p;
    Read(p, std::string("DEF I OrientationInterpolator { key [ 0 1 ] keyValue [ ") + c.values +
                " ] } DEF T Transform { } ROUTE I.value_changed TO T.set_rotation");
    KsTransform* t = static_cast<KsTransform*>(p.FindLabel("T"));
    EXPECT_EQ(Send(p.FindLabel("I"), c.fraction), 0) << c.values;
    EXPECT_NEAR(t->rotation.Get().angle, c.angle, 2e-5f) << c.values;
    EXPECT_NEAR(t->rotation.Get().axis.x, c.x, 1e-6f) << c.values;
    EXPECT_NEAR(t->rotation.Get().axis.y, c.y, 1e-6f) << c.values;
    EXPECT_NEAR(t->rotation.Get().axis.z, c.z, 1e-6f) << c.values;
  }

  KsPartition p;
  Read(p,
       "DEF I OrientationInterpolator { key [ 0 1 ] keyValue [ 0 1 0 -1e30, 0 1 0 1 ] }"
       " DEF T Transform { } ROUTE I.value_changed TO T.set_rotation");
  // Angles too far apart for whole turns are blended as they stand.
  EXPECT_EQ(Send(p.FindLabel("I"), 0.5f), 0);
  EXPECT_EQ(Send(p.FindLabel("I"), 1.0f), 1);
  EXPECT_EQ(err,
            "KsOrientationInterpolator::ExecSpecialEvent()\n"
            " Fraction seems to be out of range : 1.000000\n");
}

TEST_F(InterpolatorTest, CoordinateAndNormalBlendBlocksOfPoints) {
  KsPartition p;
  Read(p,
       "DEF CI CoordinateInterpolator { key [ 0 1 ]"
       "  keyValue [ 0 0 0, 1 1 1, 2 2 2, 4 0 0, 5 1 1, 6 2 2, 9 9 9 ] }"
       " DEF NI NormalInterpolator { key [ 0 1 ] keyValue [ 2 0 0, 0 2 0 ] }"
       " DEF C Coordinate { } DEF D Coordinate { }"
       " ROUTE CI.value_changed TO C.set_point ROUTE NI.value_changed TO D.set_point");
  KsCoordinate* c = static_cast<KsCoordinate*>(p.FindLabel("C"));
  KsCoordinate* d = static_cast<KsCoordinate*>(p.FindLabel("D"));
  EXPECT_EQ(Send(p.FindLabel("CI"), 0.5f), 0);
  // Blocks of 7 / 2 = 3 points; the seventh value is ignored.
  ASSERT_EQ(c->point.GetCount(), 3);
  for (int j = 0; j < 3; ++j) {
    EXPECT_EQ(c->point.GetElements()[j].x, 2.0f + j);
    EXPECT_EQ(c->point.GetElements()[j].y, static_cast<float>(j));
  }
  // Normals are not renormalised.
  EXPECT_EQ(Send(p.FindLabel("NI"), 0.5f), 0);
  ASSERT_EQ(d->point.GetCount(), 1);
  EXPECT_EQ(d->point.GetElements()[0].x, 1.0f);
  EXPECT_EQ(d->point.GetElements()[0].y, 1.0f);

  struct Case {
    const char* node;
    float fraction;
    const char* report;
  };
  const Case cases[] = {
      {"CI", 1.0f,
       "KsCoordinateInterpolator::ExecSpecialEvent()\n"
       " Fraction seems be out of range : 1.000000\n"},
      {"NI", -0.5f,
       "KsNormalInterpolator::ExecSpecialEvent()\n"
       " Fraction seems be out of range : -0.500000\n"},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(Send(p.FindLabel(k.node), k.fraction), 1);
    EXPECT_EQ(err, k.report);
  }
  EXPECT_EQ(c->point.GetCount(), 3);

  // Fewer key values than keys: blocks of no points, an empty list.
  KsPartition q;
  Read(q,
       "DEF CI CoordinateInterpolator { key [ 0 0.5 1 ] keyValue [ 1 1 1 ] }"
       " DEF C Coordinate { point [ 1 2 3 ] } ROUTE CI.value_changed TO C.set_point");
  EXPECT_EQ(Send(q.FindLabel("CI"), 0.25f), 0);
  EXPECT_EQ(static_cast<KsCoordinate*>(q.FindLabel("C"))->point.GetCount(), 0);
  KsPartition e;
  Read(e,
       "DEF CI CoordinateInterpolator { } DEF C Coordinate { }"
       " ROUTE CI.value_changed TO C.set_point");
  EXPECT_EQ(Send(e.FindLabel("CI"), 0.0f), 1);
  EXPECT_TRUE(Contains(err, " Fraction seems be out of range : 0.000000\n"));
}

TEST_F(InterpolatorTest, EventsWithoutRoutesOrOfTheWrongKind) {
  KsPartition p;
  Read(p,
       "DEF LONE CoordinateInterpolator { key [ 0 1 ] keyValue [ 0 0 0, 1 1 1 ] }"
       " DEF I ScalarInterpolator { keys [ 0 1 ] values [ 0 1 ] } DEF M Material { }"
       " ROUTE I.value_changed TO M.set_transparency");
  KsNode* lone = p.FindLabel("LONE");
  KsNode* routed = p.FindLabel("I");
  // Output that goes nowhere costs nothing and reports nothing, not even
  // a fraction out of range.
  EXPECT_EQ(Send(lone, 5.0f), 0);
  EXPECT_EQ(err, "");
  KsSFFloat f;
  f.Set(0.5f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(lone->ExecSpecialEvent("bogus", &f, nullptr), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  testing::internal::CaptureStderr();
  EXPECT_EQ(routed->ExecSpecialEvent("bogus", &f, nullptr), KS_ERR);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsScalarInterpolator::ExecSpecialEvent()\n Unknown Event : bogus\n");
  // A route can bring any type under the name fraction.
  KsSFInt wrong;
  wrong.Set(1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(routed->ExecSpecialEvent("fraction", &wrong, nullptr), KS_ERR);
  EXPECT_TRUE(Contains(testing::internal::GetCapturedStderr(), " Fraction must be SFFloat"));
  testing::internal::CaptureStderr();
  EXPECT_EQ(routed->ExecSpecialEvent("fraction", nullptr, nullptr), KS_ERR);
  testing::internal::GetCapturedStderr();
  // "keys" and "values" name the same fields as "key" and "keyValue".
  EXPECT_EQ(Send(routed, 0.5f), 0);
  EXPECT_EQ(static_cast<KsMaterial*>(p.FindLabel("M"))->transparency.Get(), 0.5f);
}

TEST_F(InterpolatorTest, CyclesThroughInterpolatorsEnd) {
  KsPartition p;
  Read(p,
       "DEF I ScalarInterpolator { key [ 0 1 ] keyValue [ 0.5 1 ] }"
       " DEF J ScalarInterpolator { key [ 0 1 ] keyValue [ 0 1 ] } DEF M Material { }"
       " ROUTE I.value_changed TO J.set_fraction ROUTE J.value_changed TO I.set_fraction"
       " ROUTE I.value_changed TO I.set_fraction ROUTE J.value_changed TO M.set_transparency");
  KsMaterial* m = static_cast<KsMaterial*>(p.FindLabel("M"));
  // A route is skipped while it runs, so every lap ends; the last value J
  // passes on comes from I's self-route (0.75 in, 0.875 out).
  EXPECT_EQ(Send(p.FindLabel("I"), 0.5f), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(m->transparency.Get(), 0.875f);
  EXPECT_EQ(KsRouter::GetEventDepth(), 0);
}

TEST_F(InterpolatorTest, ClassesInstancesAndKeywords) {
  const char* keywords[] = {"ScalarInterpolator",     "PositionInterpolator",
                            "CoordinateInterpolator", "OrientationInterpolator",
                            "NormalInterpolator",     "ColorInterpolator"};
  for (const char* keyword : keywords) {
    KsPartition p;
    KsNode* node = p.CreateNode(keyword);
    ASSERT_NE(node, nullptr) << keyword;
    node->Ref();
    EXPECT_EQ(std::string(node->GetClassName()), std::string("Ks") + keyword);
    ASSERT_NE(node->GetClassInfo(), nullptr);
    ASSERT_NE(node->GetClassInfo()->parent, nullptr);
    EXPECT_STREQ(node->GetClassInfo()->parent->name, "KsInterpolatorBase");
    EXPECT_STREQ(node->GetClassInfo()->parent->parent->name, "KsNode");
    EXPECT_EQ(node->ExecTraverse(nullptr), 0);
    const char* names[] = {"key", "keys", "keyValue", "values"};
    ASSERT_EQ(node->GetMemberCount(), 4);
    for (int i = 0; i < 4; ++i) EXPECT_STREQ(node->GetMember(i)->name, names[i]);
    EXPECT_EQ(node->GetMember(0)->field, node->GetMember(1)->field);
    EXPECT_EQ(node->GetMember(2)->field, node->GetMember(3)->field);
    ASSERT_EQ(node->GetEventInCount(), 1);
    EXPECT_STREQ(node->GetEventInName(0), "fraction");
    KsNode* copy = node->Duplicate();
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy->GetClassName(), node->GetClassName());
    copy->Ref();
    copy->Unref();
    node->Unref();
  }
}

TEST_F(InterpolatorTest, RoutesThroughInterpolatorsFromAFile) {
  KsPartition p;
  testing::internal::CaptureStderr();
  ASSERT_EQ(p.ReadFile((kNodesData + "interpolator_routes.wrl").c_str()), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(p.GetRouter()->GetRouteCount(), 12);
  KsTransform* t = static_cast<KsTransform*>(p.FindLabel("T"));
  KsTransform* t2 = static_cast<KsTransform*>(p.FindLabel("T2"));
  KsMaterial* m = static_cast<KsMaterial*>(p.FindLabel("M"));
  KsCoordinate* c = static_cast<KsCoordinate*>(p.FindLabel("C"));
  ASSERT_TRUE(t && t2 && m && c);

  EXPECT_EQ(Send(p.FindLabel("DRIVER"), 0.25f), 0);
  EXPECT_EQ(err, "");
  EXPECT_EQ(t->translation.Get().x, 1.0f);
  EXPECT_EQ(t->translation.Get().y, 0.5f);
  EXPECT_EQ(t2->translation.Get().x, 1.0f);  // kept in step, cycle cut
  EXPECT_EQ(t->rotation.Get().angle, 0.75f);
  EXPECT_EQ(m->diffuseColor.Get().r, 0.75f);
  EXPECT_EQ(m->diffuseColor.Get().b, 0.25f);
  EXPECT_EQ(m->transparency.Get(), 0.75f);
  ASSERT_EQ(c->point.GetCount(), 2);
  EXPECT_EQ(c->point.GetElements()[0].x, 0.5f);
  EXPECT_EQ(c->point.GetElements()[1].x, 1.5f);
  EXPECT_EQ(c->point.GetElements()[1].y, 0.5f);

  // The driver's last key is excluded: nothing moves.
  EXPECT_EQ(Send(p.FindLabel("DRIVER"), 1.0f), 0);
  EXPECT_EQ(t->translation.Get().x, 1.0f);
  // Moving T2 moves T through the other half of the cycle.
  t2->translation.Set(7.0f, 0.0f, 0.0f);
  EXPECT_EQ(t->translation.Get().x, 7.0f);
  EXPECT_EQ(KsRouter::GetEventDepth(), 0);
}

}  // namespace
