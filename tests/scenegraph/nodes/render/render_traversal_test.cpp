#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/state3d/state3d.h"
#include "scenegraph/nodes/render_test_util.h"
#include "scenegraph/nodes/geometry/geometry_solids.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/lights/light_nodes.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"

namespace {

using kstest::Recorded;

// Records its visit (name, pick id, both matrices) and returns a set result.
class Probe : public KsNode {
 public:
  Probe(std::string name, int result, std::vector<Probe*>* log)
      : name(std::move(name)), result(result), log(log) {
    RegisterDone();
  }
  const char* GetClassName() const override { return "KsProbe"; }
  int ExecTraverse(KsMatrix* m) override {
    log->push_back(this);
    pickId = KsSensorTable::GetCurrent();
    world = *m;
    current = KsCurrentMatrix();
    return result;
  }
  std::string name;
  int result;
  std::vector<Probe*>* log;
  int pickId = -2;
  KsMatrix world, current;
};

class PointingProbe : public KsNode {
 public:
  PointingProbe() { RegisterDone(); }
  const char* GetClassName() const override { return "KsPointingProbe"; }
  KSBOOL IsPointingSensor() override { return KS_TRUE; }
  int ExecTraverse(KsMatrix*) override { return 0; }
};

template <class G>
G* MakeGroup(std::vector<KsNode*> kids) {
  G* g = new G;
  g->children.Set(static_cast<int>(kids.size()), kids.data());
  return g;
}

KsVec3f Apply(const KsMatrix& m, float x, float y, float z) {
  KsVec3f out;
  m.Apply(out, KsVec3f(x, y, z), 1.0f);
  return out;
}

class RenderTraversalTest : public kstest::RenderTest {
 protected:
  void TearDown() override {
    KsNode::Unref(root);
    kstest::RenderTest::TearDown();
  }
  // Takes ownership of the root and draws it from the identity.
  int Walk(KsNode* node, std::string* err = nullptr) {
    if (root != node) {
      KsNode::Unref(root);
      root = node;
      root->Ref();
    }
    log.clear();
    testing::internal::CaptureStderr();
    KsMatrix identity;
    int r = KsTraverseNode(root, &identity);
    std::string e = testing::internal::GetCapturedStderr();
    if (err) *err = e;
    return r;
  }
  std::string Names() const {
    std::string s;
    for (const Probe* p : log) s += p->name;
    return s;
  }
  Probe* P(const char* name, int result = 0) { return new Probe(name, result, &log); }

  KsNode* root = nullptr;
  std::vector<Probe*> log;
};

int CountOf(const std::string& text, const std::string& needle) {
  int n = 0;
  for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
  return n;
}

TEST_F(RenderTraversalTest, WalkOrderAndHowResultsStopSiblings) {
  // A group stops at its first non-zero child and passes the result up.
  KsNode* inner = MakeGroup<KsGroup>({P("b"), nullptr, P("c", 5), P("d")});
  EXPECT_EQ(Walk(MakeGroup<KsGroup>({P("a"), inner, P("e")})), 5);
  EXPECT_EQ(Names(), "abc");

  // Transform, Anchor and Collision stop their own children but return 0.
  struct Case {
    const char* name;
    KsGroup* group;
  };
  const Case cases[] = {
      {"Transform", new KsTransform}, {"Anchor", new KsAnchor}, {"Collision", new KsCollision}};
  for (const Case& c : cases) {
    KsNode* kids[2] = {P("x", 3), P("y")};
    c.group->children.Set(2, kids);
    EXPECT_EQ(Walk(MakeGroup<KsGroup>({c.group, P("z")})), 0) << c.name;
    EXPECT_EQ(Names(), "xz") << c.name;
  }

  // A shape whose appearance fails does not draw its geometry.
  KsShape* shape = new KsShape;
  KsAppearance* app = new KsAppearance;
  app->material.Set(P("m", 2));
  app->texture.Set(P("t"));
  shape->appearance.Set(app);
  shape->geometry.Set(P("g"));
  EXPECT_EQ(Walk(MakeGroup<KsGroup>({shape, P("after")})), 1);
  EXPECT_EQ(Names(), "m");
  static_cast<Probe*>(app->material.Get())->result = 0;
  EXPECT_EQ(Walk(root), 0);
  EXPECT_EQ(Names(), "mtgafter");

  // Switch and LOD draw one child and pass its result on.
  KsSwitch* sw = new KsSwitch;
  KsNode* choices[2] = {P("s0"), P("s1", 4)};
  sw->choice.Set(2, choices);
  sw->whichChoice.Set(1);
  KsLOD* lod = new KsLOD;
  KsNode* levels[2] = {P("l0"), P("l1")};
  lod->level.Set(2, levels);
  EXPECT_EQ(Walk(MakeGroup<KsGroup>({lod, sw, P("never")})), 4);
  EXPECT_EQ(Names(), "l0s1");
  sw->whichChoice.Set(-1);
  std::string err;
  EXPECT_EQ(Walk(root, &err), 0);
  EXPECT_EQ(Names(), "l0never");
  EXPECT_EQ(err, "");
  sw->whichChoice.Set(3);
  EXPECT_EQ(Walk(root, &err), 0);
  EXPECT_NE(err.find("  Index Out Of Range."), std::string::npos);
}

TEST_F(RenderTraversalTest, TransformNestingExtendsAndRestoresTheMatrices) {
  KsTransform* outer = new KsTransform;
  outer->translation.Set(0, 0, 5);
  KsTransform* inner = new KsTransform;
  inner->scale.Set(2, 2, 2);
  Probe* deep = P("deep");
  Probe* beside = P("beside");
  KsNode* innerKids[1] = {deep};
  inner->children.Set(1, innerKids);
  KsNode* outerKids[2] = {inner, beside};
  outer->children.Set(2, outerKids);
  Walk(MakeGroup<KsGroup>({outer, P("after")}));
  ASSERT_EQ(Names(), "deepbesideafter");

  const KsVec3f d = Apply(deep->current, 1, 0, 0);
  EXPECT_FLOAT_EQ(d.x, 2);
  EXPECT_FLOAT_EQ(d.z, 5);
  const KsVec3f dw = Apply(deep->world, 1, 0, 0);
  EXPECT_FLOAT_EQ(dw.x, 2);
  EXPECT_FLOAT_EQ(dw.z, 5);
  const KsVec3f b = Apply(beside->current, 1, 0, 0);
  EXPECT_FLOAT_EQ(b.x, 1);
  EXPECT_FLOAT_EQ(b.z, 5);
  const KsVec3f a = Apply(log[2]->current, 1, 0, 0);
  EXPECT_FLOAT_EQ(a.x, 1);
  EXPECT_FLOAT_EQ(a.z, 0);
  // Restored whole, inverse included.
  const float* e = KsCurrentMatrix().Elements();
  const float* inv = KsCurrentMatrix().InverseElements();
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(e[i], (i % 5 == 0) ? 1.0f : 0.0f);
    EXPECT_EQ(inv[i], (i % 5 == 0) ? 1.0f : 0.0f);
  }
}

TEST_F(RenderTraversalTest, BoxInsideATransformReachesTheBufferMoved) {
  KsTransform* t = new KsTransform;
  t->translation.Set(0, 0, 5);
  KsShape* shape = new KsShape;
  shape->geometry.Set(new KsBox);
  PointingProbe* sensor = new PointingProbe;
  KsNode* kids[2] = {shape, sensor};
  t->children.Set(2, kids);
  Walk(t);
  ASSERT_EQ(Recorded().size(), 6u);
  float zmin = 1e9f, zmax = -1e9f;
  for (const auto& prim : Recorded()) {
    for (const PwVec3& v : prim.vertices) {
      zmin = std::min(zmin, v.z);
      zmax = std::max(zmax, v.z);
    }
    EXPECT_EQ(prim.pickId, 0);
  }
  EXPECT_FLOAT_EQ(zmin, -6);
  EXPECT_FLOAT_EQ(zmax, -4);
  ASSERT_EQ(KsSensorTable::GetCount(), 1);
  const KsSensorDescriptor* s = KsSensorTable::Get(0);
  EXPECT_EQ(s->GetSensor(), sensor);
  EXPECT_EQ(s->GetGroup(), t);
  EXPECT_FLOAT_EQ(Apply(s->GetMatrix(), 0, 0, 0).z, 5);
  EXPECT_EQ(KsSensorTable::GetCurrent(), -1);
}

TEST_F(RenderTraversalTest, PointingSensorsTagTheirGroupsPrimitives) {
  PointingProbe* first = new PointingProbe;
  PointingProbe* second = new PointingProbe;
  PointingProbe* innerSensor = new PointingProbe;
  KsNode* inner = MakeGroup<KsGroup>({P("c"), innerSensor});
  KsGroup* outer = MakeGroup<KsGroup>({P("a"), inner, P("d"), first, second});
  Walk(MakeGroup<KsGroup>({outer, P("outside")}));
  ASSERT_EQ(Names(), "acdoutside");
  EXPECT_EQ(log[0]->pickId, 0);  // listed before the sensor, still pickable
  EXPECT_EQ(log[1]->pickId, 1);  // the nested group's own sensor
  EXPECT_EQ(log[2]->pickId, 0);  // the outer id is current again
  EXPECT_EQ(log[3]->pickId, -1);
  ASSERT_EQ(KsSensorTable::GetCount(), 2);  // only the first of two counts
  EXPECT_EQ(KsSensorTable::Get(0)->GetSensor(), first);
  EXPECT_EQ(KsSensorTable::Get(0)->GetGroup(), outer);
  EXPECT_EQ(KsSensorTable::Get(1)->GetSensor(), innerSensor);
  EXPECT_EQ(KsSensorTable::Get(2), nullptr);
  EXPECT_EQ(KsSensorTable::Get(-1), nullptr);

  // A full table leaves the group's primitives unpickable.
  KsSensorTable::Clear();
  for (int i = 0; i < KS_SENSOR_TABLE_SIZE; ++i) {
    EXPECT_EQ(KsSensorTable::Add(KsSensorDescriptor()), i);
  }
  Walk(root);
  EXPECT_EQ(log[0]->pickId, -1);
  EXPECT_EQ(log[1]->pickId, -1);
  EXPECT_EQ(KsSensorTable::GetCount(), KS_SENSOR_TABLE_SIZE);
}

TEST_F(RenderTraversalTest, CyclicAndTooDeepGraphsEndTheWalk) {
  KsGroup* loop = MakeGroup<KsGroup>({P("once")});
  KsNode* kids[2] = {P("a"), loop};
  loop->children.Set(2, kids);  // the group holds itself
  Walk(loop);
  EXPECT_EQ(Names(), "a");
  loop->children.Set(0, nullptr);  // break the reference cycle

  KsNode* node = P("bottom");
  // Transforms hold the most per level of the walk; half of the chain.
  for (int i = 0; i < KS_MAX_TRAVERSE_DEPTH + 10; ++i) {
    node = (i % 2) ? static_cast<KsNode*>(MakeGroup<KsGroup>({node}))
                   : static_cast<KsNode*>(MakeGroup<KsTransform>({node}));
  }
  Walk(MakeGroup<KsGroup>({node, P("top")}));
  EXPECT_EQ(Names(), "top");
  EXPECT_EQ(KsCurrentMatrix().Elements()[0], 1.0f);
}

class RenderSceneTest : public kstest::RenderTest {};

TEST_F(RenderSceneTest, BaseClassWarnsFiveTimesPerProcessAndImageTextureToo) {
  Read("WorldInfo { } WorldInfo { } WorldInfo { } WorldInfo { } WorldInfo { } WorldInfo { }");
  std::string err = Draw();
  EXPECT_EQ(CountOf(err, "Warning!!  KsNode::ExecTraverse is called.\n   Owner = KsWorldInfo\n"),
            5);
  EXPECT_EQ(Draw(), "");

  std::string shapes;
  for (int i = 0; i < 6; ++i)
    shapes += "Shape { appearance Appearance { texture ImageTexture { } } }\n";
  Read(shapes);
  err = Draw();
  EXPECT_EQ(CountOf(err, "KsImageTexture::ExecTraverse\n  Not implemented yet\n"), 5);
  EXPECT_EQ(Draw(), "");
}

TEST_F(RenderSceneTest, MaterialDiffuseColourIsTheDrawingColourAndWhiteWithoutOne) {
  Read(
      "Shape { appearance Appearance { material Material {"
      " diffuseColor 1 0.5 0 emissiveColor 0 0 1 specularColor 0 1 0 } } geometry Box { } }"
      "Shape { geometry Box { } }"
      "Shape { appearance Appearance { material Material { } } geometry Box { } }"
      "Shape { appearance Appearance { } geometry Box { } }");
  EXPECT_EQ(Draw(), "");
  ASSERT_EQ(Recorded().size(), 24u);
  const int want[4] = {-1, 255, 204, 255};  // grey of the default material: 0.8
  for (size_t i = 0; i < Recorded().size(); ++i) {
    const PwColor c = Recorded()[i].colour;
    if (i < 6) {
      EXPECT_EQ(c.red, 255);
      EXPECT_EQ(c.green, 127);
      EXPECT_EQ(c.blue, 0);
    } else {  // nothing leaks from the shape before
      const int v = want[i / 6];
      EXPECT_EQ(c.red, v) << i;
      EXPECT_EQ(c.green, v) << i;
      EXPECT_EQ(c.blue, v) << i;
    }
  }
}

// A frame's walk starts from white whatever the frame (or file) before it
// left, even for geometry that no Shape holds.
TEST_F(RenderSceneTest, EachFrameStartsFromTheDefaultColour) {
  Read(
      "Group { children Box { } }"
      "Shape { appearance Appearance { material Material { diffuseColor 0 0 1 } }"
      " geometry Box { } }");
  KsSetColor(1, 0, 0);  // left by another file
  for (int frame = 0; frame < 2; ++frame) {
    Recorded().clear();
    ASSERT_EQ(scene->TraverseFromRoot(), 0);
    ASSERT_EQ(Recorded().size(), 12u);
    const PwColor first = Recorded()[0].colour, last = Recorded()[11].colour;
    EXPECT_EQ(first.red, 255) << frame;
    EXPECT_EQ(first.green, 255) << frame;
    EXPECT_EQ(first.blue, 255) << frame;
    EXPECT_EQ(last.red, 0) << frame;
    EXPECT_EQ(last.blue, 255) << frame;
  }
}

TEST_F(RenderSceneTest, DirectionalLightSetsLightingAndFarPosition) {
  PwSetLighting(0);
  Read(
      "DEF L DirectionalLight { direction 0 0 2 } DEF T Transform { }"
      "ROUTE L.direction_changed TO T.set_translation");
  std::string err = Draw();
  EXPECT_EQ(err,
            "KsDirectionalLight::Traverse()\n  Unnormalized Direction Detected.\n"
            "  Automatically Normalizing.\n");
  auto* light = static_cast<KsDirectionalLight*>(scene->GetNode(0));
  EXPECT_EQ(PwGetLighting(), 1);
  EXPECT_FLOAT_EQ(PwGetLightWorld()->x, 0.0f);
  EXPECT_FLOAT_EQ(PwGetLightWorld()->z, 100000.0f);
  // Drawing normalises a copy: the field keeps its value and sends nothing.
  EXPECT_FLOAT_EQ(light->direction.Get().z, 2.0f);
  EXPECT_FLOAT_EQ(static_cast<KsTransform*>(scene->GetNode(1))->translation.Get().z, 0.0f);
  EXPECT_EQ(Draw(), "");  // reported once per light
  EXPECT_FLOAT_EQ(PwGetLightWorld()->z, 100000.0f);

  Read("DirectionalLight { direction 0 0 0 }");
  int reports = 0;
  for (int frame = 0; frame < 5; ++frame)
    reports += Draw().find("Unnormalized Direction Detected.") != std::string::npos;
  EXPECT_EQ(reports, 1);

  Read("DirectionalLight { direction 1 0 0 }");
  Draw();
  EXPECT_FLOAT_EQ(PwGetLightWorld()->x, -100000.0f);
  Read("DirectionalLight { on FALSE direction 0 1 0 }");
  Draw();
  EXPECT_EQ(PwGetLighting(), 0);
  EXPECT_FLOAT_EQ(PwGetLightWorld()->x, -100000.0f);  // left as it was
}

TEST_F(RenderSceneTest, BillboardWarnsEveryFrameAndDrawsItsChildren) {
  Read("Billboard { children Shape { geometry Box { } } }");
  const std::string warning = "KsBillboard::ExecTraverse\n  Warning : Not Completed Yet.\n";
  for (int frame = 0; frame < 7; ++frame) EXPECT_EQ(Draw(), warning);
  EXPECT_EQ(Recorded().size(), 7u * 6u);
}

TEST_F(RenderSceneTest, NodesWithoutDrawingAreQuiet) {
  Read(
      "Group { } Shape { } Switch { } Inline { url \"x.wrl\" }"
      " FontStyle { } Sound { source AudioClip { } }");
  EXPECT_EQ(Draw(), "");
  // An LOD without levels has nothing to choose: the list reports it.
  Read("LOD { }");
  EXPECT_EQ(Draw(), "KsMFNode::Get()\n  Index Out Of Range.\n  Requested 0\n  Maximum   0\n");
  EXPECT_TRUE(Recorded().empty());
}

}  // namespace
