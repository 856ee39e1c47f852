#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "scenegraph/core/object/node_containment.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/geometry/property_nodes.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"

using kstest::Contains;

namespace {

const float kHalfPi = 1.5707963f;

class GroupingTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetContainmentChecks();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override {
    delete scene;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
    KsResetNodeFactory();
  }
  // Reads text into a fresh partition and returns its first root.
  template <class T>
  T* Read(const std::string& text, std::string* err = nullptr) {
    delete scene;
    scene = new KsPartition;
    std::string e = kstest::Realize(*scene, text);
    if (err) *err = e;
    return scene->GetNodeCount() > 0 ? static_cast<T*>(scene->GetNode(0)) : nullptr;
  }
  KsPartition* scene = nullptr;
};

void ExpectNear(const KsVec3f& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-5f);
  EXPECT_NEAR(v.y, y, 1e-5f);
  EXPECT_NEAR(v.z, z, 1e-5f);
}

KsVec3f Map(const KsTransform* t, float x, float y, float z) {
  KsMatrix m;
  t->BuildMatrix(&m);
  KsVec3f out;
  m.Apply(out, KsVec3f(x, y, z), 1.0f);
  return out;
}

TEST_F(GroupingTest, TransformMatrixAppliesCentreRotationAndScaleOrientation) {
  KsTransform* t = Read<KsTransform>("Transform { }");
  ASSERT_NE(t, nullptr);
  ExpectNear(Map(t, 1, 2, 3), 1, 2, 3);

  t = Read<KsTransform>("Transform { translation 1 2 3 }");
  ExpectNear(Map(t, 1, 0, 0), 2, 2, 3);

  // A quarter turn about z through the centre (1, 0, 0).
  t = Read<KsTransform>("Transform { center 1 0 0 rotation 0 0 1 1.5707963 }");
  ExpectNear(Map(t, 2, 0, 0), 1, 1, 0);
  ExpectNear(Map(t, 1, 0, 0), 1, 0, 0);

  // Scale about the centre.
  t = Read<KsTransform>("Transform { center 1 1 1 scale 2 3 4 }");
  ExpectNear(Map(t, 2, 2, 2), 3, 4, 5);

  // A scale orientation turned a quarter about z scales y where x was asked.
  t = Read<KsTransform>("Transform { scale 2 1 1 scaleOrientation 0 0 1 1.5707963 }");
  ExpectNear(Map(t, 0, 1, 0), 0, 2, 0);
  ExpectNear(Map(t, 1, 0, 0), 1, 0, 0);

  // With a uniform scale the two scale-orientation turns cancel.
  t = Read<KsTransform>("Transform { scale 3 3 3 scaleOrientation 1 1 0 0.7 }");
  ExpectNear(Map(t, 1, 2, 3), 3, 6, 9);

  // Order: scale, then rotate, then translate.
  t = Read<KsTransform>("Transform { translation 10 0 0 rotation 0 0 1 1.5707963 scale 2 2 2 }");
  ExpectNear(Map(t, 1, 0, 0), 10, 2, 0);
}

TEST_F(GroupingTest, BoxesOfGroupsTransformsAndShapes) {
  KsVec3f lo, hi;
  KsGroup* g = Read<KsGroup>("Group { }");
  EXPECT_EQ(g->GetBoundingBox(&lo, &hi), 1);
  g = Read<KsGroup>("Group { children [ Shape { } Group { } ] }");
  EXPECT_EQ(g->GetBoundingBox(&lo, &hi), 1);

  g = Read<KsGroup>(
      "Group { children [ Shape { geometry Coordinate { point [ 0 0 0, 1 1 1 ] } }"
      " Shape { } Shape { geometry Coordinate { point [ -1 2 0.5 ] } } ] }");
  ASSERT_EQ(g->GetBoundingBox(&lo, &hi), 0);
  ExpectNear(lo, -1, 0, 0);
  ExpectNear(hi, 1, 2, 1);

  KsTransform* t = Read<KsTransform>(
      "Transform { translation 1 2 3 children Shape { geometry Coordinate { point [ 0 0 0, 1 1 1 ] "
      "} } }");
  ASSERT_EQ(t->GetBoundingBox(&lo, &hi), 0);
  ExpectNear(lo, 1, 2, 3);
  ExpectNear(hi, 2, 3, 4);

  // The corners of a turned box: a quarter turn about z.
  t = Read<KsTransform>(
      "Transform { rotation 0 0 1 1.5707963 children Shape { geometry Coordinate { point [ 0 0 0, "
      "2 1 1 ] } } }");
  ASSERT_EQ(t->GetBoundingBox(&lo, &hi), 0);
  ExpectNear(lo, -1, 0, 0);
  ExpectNear(hi, 0, 2, 1);

  t = Read<KsTransform>("Transform { }");
  EXPECT_EQ(t->GetBoundingBox(&lo, &hi), 1);
  EXPECT_EQ(t->bboxSize.Get().x, 0.0f);
  g = Read<KsGroup>("Group { }");
  EXPECT_EQ(g->bboxSize.Get().x, -1.0f);

  KsNode* lod = Read<KsNode>("LOD { level Shape { geometry Coordinate { point [ 1 1 1 ] } } }");
  EXPECT_EQ(lod->GetBoundingBox(&lo, &hi), 1);
  KsNode* sw = Read<KsNode>(
      "Switch { whichChoice 0 choice Shape { geometry Coordinate { point [ 1 1 1 ] } } }");
  EXPECT_EQ(sw->GetBoundingBox(&lo, &hi), 1);
}

TEST_F(GroupingTest, ShapeWithoutABoxedGeometryReports) {
  KsVec3f lo, hi;
  KsShape* s = Read<KsShape>("Shape { }");
  testing::internal::CaptureStderr();
  EXPECT_EQ(s->GetBoundingBox(&lo, &hi), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  s = Read<KsShape>("Shape { geometry Material { } }");
  testing::internal::CaptureStderr();
  EXPECT_EQ(s->GetBoundingBox(&lo, &hi), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsShape::GetBoundingBox()\n  Failed to calculate bounding box of\n  geometry node.\n"
            "    geometry node type = KsMaterial\n");
}

TEST_F(GroupingTest, CoordinateBoxFollowsItsPoints) {
  KsCoordinate* c = Read<KsCoordinate>("Coordinate { point [ 1 2 3, -1 5 0 ] }");
  KsVec3f lo, hi;
  ASSERT_EQ(c->GetBoundingBox(&lo, &hi), 0);
  ExpectNear(lo, -1, 2, 0);
  ExpectNear(hi, 1, 5, 3);
  KsMFVec3f replacement;
  KsVec3f origin(0, 0, 0);
  replacement.Set(1, &origin);
  EXPECT_EQ(c->AcceptEvent("set_point", &replacement, nullptr), 0);
  ASSERT_EQ(c->GetBoundingBox(&lo, &hi), 0);
  ExpectNear(lo, 0, 0, 0);
  ExpectNear(hi, 0, 0, 0);
  c = Read<KsCoordinate>("Coordinate { }");
  EXPECT_EQ(c->GetBoundingBox(&lo, &hi), 1);
}

TEST_F(GroupingTest, LodChoosesTheLevelForTheDistance) {
  KsLOD* lod =
      Read<KsLOD>("LOD { center 0 0 -5 range [ 10 20 ] level [ Group { } Shape { } Switch { } ] }");
  ASSERT_NE(lod, nullptr);
  KsMatrix identity;
  struct Case {
    float z;
    const char* cls;
  } cases[] = {
      {0, "KsGroup"}, {5, "KsShape"}, {14.999f, "KsShape"}, {15, "KsSwitch"}, {40, "KsSwitch"}};
  for (const Case& c : cases) {
    KsVec3f eye(0, 0, c.z);  // distance z + 5
    KsNode* level = lod->SelectLevel(identity, &eye);
    ASSERT_NE(level, nullptr) << c.z;
    EXPECT_STREQ(level->GetClassName(), c.cls) << c.z;
  }
  EXPECT_STREQ(lod->SelectLevel(identity, nullptr)->GetClassName(), "KsGroup");
  // The centre moves with the current matrix.
  KsMatrix moved;
  moved.Translate(0, 0, 5);
  KsVec3f eye(0, 0, 12);
  EXPECT_STREQ(lod->SelectLevel(moved, &eye)->GetClassName(), "KsShape");

  lod = Read<KsLOD>("LOD { range [ 10 ] level Group { } }");
  KsVec3f far(0, 0, 15);
  testing::internal::CaptureStderr();
  EXPECT_EQ(lod->SelectLevel(identity, &far), nullptr);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(Contains(err, "KsMFNode::Get()\n  Index Out Of Range.\n  Requested 1\n")) << err;
  lod = Read<KsLOD>("LOD { }");
  testing::internal::CaptureStderr();
  EXPECT_EQ(lod->SelectLevel(identity, nullptr), nullptr);
  EXPECT_TRUE(Contains(testing::internal::GetCapturedStderr(), "Index Out Of Range."));
}

TEST_F(GroupingTest, SwitchChoosesItsChoice) {
  KsSwitch* sw = Read<KsSwitch>("Switch { choice [ Group { } Shape { } ] }");
  testing::internal::CaptureStderr();
  EXPECT_EQ(sw->GetChosen(), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  sw->whichChoice.Set(1);
  EXPECT_STREQ(sw->GetChosen()->GetClassName(), "KsShape");
  sw->whichChoice.Set(3);
  testing::internal::CaptureStderr();
  EXPECT_EQ(sw->GetChosen(), nullptr);
  EXPECT_TRUE(Contains(testing::internal::GetCapturedStderr(),
                       "KsMFNode::Get()\n  Index Out Of Range.\n  Requested 3\n  Maximum   2\n"));
}

TEST_F(GroupingTest, AddAndRemoveChildrenChangeTheChildren) {
  KsGroup* g = Read<KsGroup>("Group { children [ Shape { } Group { } ] }");
  KsNode* shape = g->children.GetElements()[0];
  KsNode* inner = g->children.GetElements()[1];
  KsNode* added = new KsTransform;
  KsMFNode nodes;
  KsNode* const give[] = {added, shape, added};
  nodes.Set(3, give);  // present ones and repeats are added once
  EXPECT_EQ(g->AcceptEvent("addChildren", &nodes, nullptr), 0);
  ASSERT_EQ(g->children.GetCount(), 3);
  EXPECT_EQ(g->children.GetElements()[2], added);
  EXPECT_EQ(added->GetRefCount(), 3);  // twice in the event, once in the group
  KsNode* const take[] = {shape, added};
  nodes.Set(2, take);
  EXPECT_EQ(g->AcceptEvent("set_removeChildren", &nodes, nullptr), 0);
  ASSERT_EQ(g->children.GetCount(), 1);
  EXPECT_EQ(g->children.GetElements()[0], inner);
  EXPECT_EQ(added->GetRefCount(), 1);  // the event's own list
  nodes.Set(0, nullptr);
  // Any other value is not an event of the group.
  KsSFInt number;
  testing::internal::CaptureStderr();
  EXPECT_EQ(g->AcceptEvent("addChildren", &number, nullptr), 1);
  EXPECT_TRUE(
      Contains(testing::internal::GetCapturedStderr(), "  Special Event is not defined.\n"));
}

TEST_F(GroupingTest, AddChildCanMakeACycleThatScanSurvives) {
  KsGroup* g = Read<KsGroup>("Group { children Group { } }");
  KsNode* inner = g->children.GetElements()[0];
  // Fields refuse a node that holds their owner; the check trusts a count
  // of 0 to mean unheld, so the cycle is made past it.
  inner->SetRefCount(0);
  EXPECT_EQ(inner->AddChild(g), 0);
  inner->SetRefCount(1);
  ASSERT_EQ(static_cast<KsGroup*>(inner)->children.GetCount(), 1);
  KsNodeScanner counter;  // base Visit stops at once
  EXPECT_EQ(g->Scan(&counter), 1);
  class All : public KsNodeScanner {
   public:
    int Visit(KsNode*) override { return ++visits > 100 ? 1 : 0; }
    int visits = 0;
  } all;
  EXPECT_EQ(g->Scan(&all), 0);
  EXPECT_EQ(all.visits, 2);
  static_cast<KsGroup*>(inner)->children.Set(0, nullptr);
}

// No event puts a node under itself: a node that is the group or holds it
// is left out (and reported), whichever list and whichever event carry it;
// the rest of the event is taken.
TEST_F(GroupingTest, NoNodeBecomesItsOwnDescendant) {
  const char* const text =
      "DEF R Group { children [\n"
      "  DEF W Transform { children [ DEF T Group { } ] }\n"
      "  DEF S Switch { choice [ DEF U Group { } ] }\n"
      "  DEF L LOD { level [ DEF V Group { } ] } ] }";
  struct Case {
    const char* target;
    const char* event;
    std::vector<const char*> given;
    std::vector<const char*> after;  // the target's list afterwards
    bool refused;
  };
  const Case cases[] = {
      {"T", "addChildren", {"T"}, {}, true},
      {"T", "addChildren", {"W"}, {}, true},
      {"T", "addChildren", {"R"}, {}, true},
      {"T", "set_children", {"U", "W", "U"}, {"U", "U"}, true},
      {"U", "addChildren", {"S"}, {}, true},
      {"S", "set_choice", {"R"}, {}, true},
      {"V", "addChildren", {"V", "L", "U"}, {"U"}, true},
      {"L", "set_level", {"V", "L"}, {"V"}, true},
      {"W", "removeChildren", {"T"}, {}, false},
      // Sharing a node below two groups is no cycle.
      {"T", "addChildren", {"U"}, {"U"}, false},
      {"U", "set_children", {"W"}, {"W"}, false},
  };
  for (const Case& c : cases) {
    Read<KsGroup>(text);
    KsNode* target = scene->FindLabel(c.target);
    ASSERT_NE(target, nullptr);
    std::vector<KsNode*> given;
    for (const char* name : c.given) given.push_back(scene->FindLabel(name));
    KsMFNode event;
    event.Set(static_cast<int>(given.size()), given.data());
    testing::internal::CaptureStderr();
    target->AcceptEvent(c.event, &event, nullptr);
    const std::string err = testing::internal::GetCapturedStderr();
    event.Set(0, nullptr);
    KsMFNode* list = std::strcmp(c.target, "S") == 0   ? &static_cast<KsSwitch*>(target)->choice
                     : std::strcmp(c.target, "L") == 0 ? &static_cast<KsLOD*>(target)->level
                                                       : target->GetChildren();
    ASSERT_EQ(list->GetCount(), static_cast<int>(c.after.size())) << c.target << " " << c.event;
    for (size_t i = 0; i < c.after.size(); ++i)
      EXPECT_EQ(list->GetElements()[i], scene->FindLabel(c.after[i])) << c.target;
    EXPECT_EQ(Contains(err, "  A node holding this one cannot be its child; not added.\n"),
              c.refused)
        << c.target << " " << c.event << "\n"
        << err;
    KsResetContainmentChecks();
  }
}

// The check walks only what is given, each node once, without recursion;
// reading a file needs none, since nothing holds a node being read.
TEST_F(GroupingTest, TheChildCheckIsLinearAndReadingNeedsNone) {
  std::string text;
  const int depth = 60;
  for (int i = 0; i < depth; ++i) text += "Group { children [ Shape { } ";
  text += "DEF Leaf Group { }";
  for (int i = 0; i < depth; ++i) text += " ] }";
  KsResetContainmentChecks();
  KsGroup* top = Read<KsGroup>(text);
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(KsGetContainmentVisits(), 0);
  KsNode* leaf = scene->FindLabel("Leaf");
  KsMFNode event;
  KsNode* const give[] = {top};
  event.Set(1, give);
  testing::internal::CaptureStderr();
  leaf->AcceptEvent("addChildren", &event, nullptr);
  testing::internal::GetCapturedStderr();
  event.Set(0, nullptr);
  EXPECT_EQ(leaf->GetChildren()->GetCount(), 0);
  // Groups and shapes on the way down, each once.
  EXPECT_LE(KsGetContainmentVisits(), 2 * depth + 2);

  // A long chain built from the bottom: refused without deep recursion.
  const int chain = 2000;
  std::vector<KsGroup*> groups;
  for (int i = 0; i < chain; ++i) groups.push_back(new KsGroup);
  for (int i = chain - 2; i >= 0; --i) {
    KsNode* child = groups[i + 1];
    groups[i]->children.Set(1, &child);
  }
  groups[0]->Ref();
  KsResetContainmentChecks();
  KsNode* root = groups[0];
  event.Set(1, &root);
  testing::internal::CaptureStderr();
  groups[chain - 1]->AcceptEvent("addChildren", &event, nullptr);
  EXPECT_TRUE(Contains(testing::internal::GetCapturedStderr(), "cannot be its child"));
  event.Set(0, nullptr);
  EXPECT_EQ(groups[chain - 1]->children.GetCount(), 0);
  EXPECT_EQ(KsGetContainmentVisits(), chain);
  groups[0]->Unref();
  KsResetContainmentChecks();
}

TEST_F(GroupingTest, ColorReadsUnderEitherName) {
  KsNode* a = Read<KsNode>("Color { rgb [ 1 0 0 ] }");
  ASSERT_NE(KsNode::GetColor(a, 0), nullptr);
  EXPECT_EQ(KsNode::GetColor(a, 0)->r, 1.0f);
  KsNode* b = Read<KsNode>("Color { color [ 1 0 0, 0 1 0 ] rgb [ 0 0 1 ] }");
  ASSERT_EQ(KsNode::GetMFColor(b)->GetCount(), 1);
  EXPECT_EQ(KsNode::GetColor(b, 0)->b, 1.0f);
  KsMFColor event;
  KsCol green(0, 1, 0);
  event.Set(1, &green);
  EXPECT_EQ(b->AcceptEvent("set_color", &event, nullptr), 0);
  EXPECT_EQ(KsNode::GetColor(b, 0)->g, 1.0f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(KsNode::GetColor(b, 1), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsNode::GetColor()\n  Index 1 is out of range.\n  Maximum 1\n");
}

TEST_F(GroupingTest, TypedAccessorsOnTheDataNodes) {
  KsNode* n = Read<KsNode>("Normal { vector [ 0 0 1 ] }");
  testing::internal::CaptureStderr();
  EXPECT_EQ(KsNode::GetCoord(n, 0), nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsNode::GetCoord()\n  Source node is not a Coordinate node.\n  KsNormal is given.\n");
  EXPECT_EQ(KsNode::GetNormal(n, 0)->z, 1.0f);
  EXPECT_EQ(KsNode::GetMFVec3f(n)->GetCount(), 1);
  KsNode* tc = Read<KsNode>("TextureCoordinate { point [ 0.5 0.25 ] }");
  EXPECT_EQ(KsNode::GetTexCoord(tc, 0)->y, 0.25f);
  EXPECT_EQ(KsNode::GetMFVec2f(tc)->GetCount(), 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(KsNode::GetTexCoord(tc, -1), nullptr);
  EXPECT_TRUE(Contains(testing::internal::GetCapturedStderr(), "KsMFVec2f::Get()\n"));
}

TEST_F(GroupingTest, FontStyleCacheGoesStaleOnChange) {
  KsFontStyle* f = Read<KsFontStyle>("FontStyle { }");
  EXPECT_STREQ(f->family.Get(), "SERIF");
  EXPECT_STREQ(f->style.Get(), "PLAIN");
  EXPECT_EQ(f->IsFontStale(), 1);
  f = Read<KsFontStyle>("FontStyle { size 2 justify \"MIDDLE\" }");
  EXPECT_EQ(f->size.Get(), 2.0f);
  ASSERT_EQ(f->justify.GetCount(), 1);
  EXPECT_STREQ(f->justify.GetElements()[0].GetText(), "MIDDLE");
}

}  // namespace
