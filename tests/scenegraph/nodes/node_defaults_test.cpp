#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_library.h"

namespace {

uint32_t Bits(float f) {
  uint32_t u;
  std::memcpy(&u, &f, sizeof u);
  return u;
}

// One member of one class: kind 'e' exposed, 'f' plain field; the value is
// read as the field class gives it (floats compared bit for bit).
struct Row {
  const char* keyword;
  const char* member;
  char kind;
  const char* fieldClass;
  std::vector<float> values;
  const char* text;  // SFString value, or MFString first element
  int count;         // MF element count
};

const float T = 0.0f, F = 1.0f;  // KSBOOL as stored

const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {"Group", "children", 'e', "KsMFNode", {}, nullptr, 0},
      {"Group", "bboxCenter", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Group", "bboxSize", 'f', "KsSFVec3f", {-1, -1, -1}, nullptr, 0},
      {"Inline", "children", 'e', "KsMFNode", {}, nullptr, 0},
      {"Inline", "bboxCenter", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Inline", "bboxSize", 'f', "KsSFVec3f", {-1, -1, -1}, nullptr, 0},
      {"Inline", "url", 'e', "KsMFString", {}, nullptr, 0},
      {"Transform", "children", 'e', "KsMFNode", {}, nullptr, 0},
      {"Transform", "bboxCenter", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Transform", "bboxSize", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Transform", "center", 'e', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Transform", "rotation", 'e', "KsSFRotation", {0, 0, 1, 0}, nullptr, 0},
      {"Transform", "scale", 'e', "KsSFVec3f", {1, 1, 1}, nullptr, 0},
      {"Transform", "scaleOrientation", 'e', "KsSFRotation", {0, 0, 1, 0}, nullptr, 0},
      {"Transform", "translation", 'e', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Anchor", "children", 'e', "KsMFNode", {}, nullptr, 0},
      {"Anchor", "bboxCenter", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Anchor", "bboxSize", 'f', "KsSFVec3f", {-1, -1, -1}, nullptr, 0},
      {"Anchor", "description", 'e', "KsSFString", {}, "", 0},
      {"Anchor", "parameter", 'e', "KsMFString", {}, nullptr, 0},
      {"Anchor", "url", 'e', "KsMFString", {}, nullptr, 0},
      {"Collision", "children", 'e', "KsMFNode", {}, nullptr, 0},
      {"Collision", "bboxCenter", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Collision", "bboxSize", 'f', "KsSFVec3f", {-1, -1, -1}, nullptr, 0},
      {"Collision", "collide", 'e', "KsSFBool", {T}, nullptr, 0},
      {"Collision", "proxy", 'f', "KsSFNode", {}, nullptr, 0},
      {"Billboard", "children", 'e', "KsMFNode", {}, nullptr, 0},
      {"Billboard", "bboxCenter", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Billboard", "bboxSize", 'f', "KsSFVec3f", {-1, -1, -1}, nullptr, 0},
      {"Billboard", "axisOfRotation", 'e', "KsSFVec3f", {0, 1, 0}, nullptr, 0},
      {"LOD", "level", 'e', "KsMFNode", {}, nullptr, 0},
      {"LOD", "center", 'f', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"LOD", "range", 'f', "KsMFFloat", {}, nullptr, 0},
      {"Switch", "choice", 'e', "KsMFNode", {}, nullptr, 0},
      {"Switch", "whichChoice", 'e', "KsSFInt", {-1}, nullptr, 0},
      {"Coordinate", "point", 'e', "KsMFVec3f", {}, nullptr, 0},
      {"Normal", "vector", 'e', "KsMFVec3f", {}, nullptr, 0},
      {"Color", "color", 'e', "KsMFColor", {}, nullptr, 0},
      {"Color", "rgb", 'e', "KsMFColor", {}, nullptr, 0},
      {"TextureCoordinate", "point", 'e', "KsMFVec2f", {}, nullptr, 0},
      {"Shape", "appearance", 'e', "KsSFNode", {}, nullptr, 0},
      {"Shape", "geometry", 'e', "KsSFNode", {}, nullptr, 0},
      {"Appearance", "material", 'e', "KsSFNode", {}, nullptr, 0},
      {"Appearance", "texture", 'e', "KsSFNode", {}, nullptr, 0},
      {"Appearance", "textureTransform", 'e', "KsSFNode", {}, nullptr, 0},
      {"Material", "ambientIntensity", 'e', "KsSFFloat", {0.2f}, nullptr, 0},
      {"Material", "diffuseColor", 'e', "KsSFColor", {0.8f, 0.8f, 0.8f}, nullptr, 0},
      {"Material", "emissiveColor", 'e', "KsSFColor", {0, 0, 0}, nullptr, 0},
      {"Material", "shininess", 'e', "KsSFFloat", {0.2f}, nullptr, 0},
      {"Material", "specularColor", 'e', "KsSFColor", {0, 0, 0}, nullptr, 0},
      {"Material", "transparency", 'e', "KsSFFloat", {0}, nullptr, 0},
      {"ImageTexture", "url", 'e', "KsMFString", {}, nullptr, 0},
      {"ImageTexture", "repeatS", 'f', "KsSFBool", {T}, nullptr, 0},
      {"ImageTexture", "repeatT", 'f', "KsSFBool", {T}, nullptr, 0},
      {"PixelTexture", "image", 'e', "KsSFImage", {0, 0, 0}, nullptr, 0},
      {"PixelTexture", "repeatS", 'f', "KsSFBool", {T}, nullptr, 0},
      {"PixelTexture", "repeatT", 'f', "KsSFBool", {T}, nullptr, 0},
      {"MovieTexture", "loop", 'e', "KsSFBool", {F}, nullptr, 0},
      {"MovieTexture", "speed", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"MovieTexture", "startTime", 'e', "KsSFTime", {0}, nullptr, 0},
      {"MovieTexture", "stopTime", 'e', "KsSFTime", {0}, nullptr, 0},
      {"MovieTexture", "url", 'e', "KsMFString", {}, nullptr, 0},
      {"MovieTexture", "repeatS", 'f', "KsSFBool", {T}, nullptr, 0},
      {"MovieTexture", "repeatT", 'f', "KsSFBool", {T}, nullptr, 0},
      {"TextureTransform", "center", 'e', "KsSFVec2f", {0, 0}, nullptr, 0},
      {"TextureTransform", "rotation", 'e', "KsSFFloat", {0}, nullptr, 0},
      {"TextureTransform", "scale", 'e', "KsSFVec2f", {1, 1}, nullptr, 0},
      {"TextureTransform", "translation", 'e', "KsSFVec2f", {0, 0}, nullptr, 0},
      {"FontStyle", "family", 'f', "KsSFString", {}, "SERIF", 0},
      {"FontStyle", "horizontal", 'f', "KsSFBool", {T}, nullptr, 0},
      {"FontStyle", "justify", 'f', "KsMFString", {}, "BEGIN", 1},
      {"FontStyle", "language", 'f', "KsSFString", {}, "", 0},
      {"FontStyle", "leftToRight", 'f', "KsSFBool", {T}, nullptr, 0},
      {"FontStyle", "size", 'f', "KsSFFloat", {1}, nullptr, 0},
      {"FontStyle", "spacing", 'f', "KsSFFloat", {1}, nullptr, 0},
      {"FontStyle", "style", 'f', "KsSFString", {}, "PLAIN", 0},
      {"FontStyle", "topToBottom", 'f', "KsSFBool", {T}, nullptr, 0},
      {"DirectionalLight", "ambientIntensity", 'e', "KsSFFloat", {0}, nullptr, 0},
      {"DirectionalLight", "color", 'e', "KsSFColor", {1, 1, 1}, nullptr, 0},
      {"DirectionalLight", "direction", 'e', "KsSFVec3f", {0, 0, -1}, nullptr, 0},
      {"DirectionalLight", "intensity", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"DirectionalLight", "on", 'e', "KsSFBool", {T}, nullptr, 0},
      {"PointLight", "ambientIntensity", 'e', "KsSFFloat", {0}, nullptr, 0},
      {"PointLight", "attenuation", 'e', "KsSFVec3f", {1, 0, 0}, nullptr, 0},
      {"PointLight", "color", 'e', "KsSFColor", {1, 1, 1}, nullptr, 0},
      {"PointLight", "intensity", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"PointLight", "location", 'e', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"PointLight", "on", 'e', "KsSFBool", {T}, nullptr, 0},
      {"PointLight", "radius", 'e', "KsSFFloat", {100}, nullptr, 0},
      {"SpotLight", "ambientIntensity", 'e', "KsSFFloat", {0}, nullptr, 0},
      {"SpotLight", "attenuation", 'e', "KsSFVec3f", {1, 0, 0}, nullptr, 0},
      {"SpotLight", "beamWidth", 'e', "KsSFFloat", {1.570796f}, nullptr, 0},
      {"SpotLight", "color", 'e', "KsSFColor", {1, 1, 1}, nullptr, 0},
      {"SpotLight", "cutOffAngle", 'e', "KsSFFloat", {0.785398f}, nullptr, 0},
      {"SpotLight", "direction", 'e', "KsSFVec3f", {0, 0, -1}, nullptr, 0},
      {"SpotLight", "intensity", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"SpotLight", "location", 'e', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"SpotLight", "on", 'e', "KsSFBool", {T}, nullptr, 0},
      {"SpotLight", "radius", 'e', "KsSFFloat", {100}, nullptr, 0},
      {"Sound", "direction", 'e', "KsSFVec3f", {0, 0, 1}, nullptr, 0},
      {"Sound", "intensity", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"Sound", "location", 'e', "KsSFVec3f", {0, 0, 0}, nullptr, 0},
      {"Sound", "maxBack", 'e', "KsSFFloat", {10}, nullptr, 0},
      {"Sound", "maxFront", 'e', "KsSFFloat", {10}, nullptr, 0},
      {"Sound", "minBack", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"Sound", "minFront", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"Sound", "priority", 'e', "KsSFFloat", {0}, nullptr, 0},
      {"Sound", "source", 'e', "KsSFNode", {}, nullptr, 0},
      {"Sound", "spatialize", 'f', "KsSFBool", {T}, nullptr, 0},
      {"AudioClip", "description", 'e', "KsSFString", {}, "", 0},
      {"AudioClip", "loop", 'e', "KsSFBool", {F}, nullptr, 0},
      {"AudioClip", "pitch", 'e', "KsSFFloat", {1}, nullptr, 0},
      {"AudioClip", "startTime", 'e', "KsSFTime", {0}, nullptr, 0},
      {"AudioClip", "stopTime", 'e', "KsSFTime", {0}, nullptr, 0},
      {"AudioClip", "url", 'e', "KsMFString", {}, nullptr, 0},
      {"Script", "url", 'e', "KsMFString", {}, nullptr, 0},
      {"Script", "directOutput", 'f', "KsSFBool", {F}, nullptr, 0},
      {"Script", "mustEvaluate", 'f', "KsSFBool", {F}, nullptr, 0},
      {"WorldInfo", "info", 'f', "KsMFString", {}, nullptr, 0},
      {"WorldInfo", "title", 'f', "KsSFString", {}, "", 0},
  };
  return rows;
}

std::vector<float> ValuesOf(KsField* field) {
  std::string cls = field->GetClassName();
  if (cls == "KsSFFloat") return {static_cast<KsSFFloat*>(field)->Get()};
  if (cls == "KsSFTime") return {static_cast<KsSFTime*>(field)->Get()};
  if (cls == "KsSFInt") return {static_cast<float>(static_cast<KsSFInt*>(field)->Get())};
  if (cls == "KsSFBool") return {static_cast<float>(static_cast<KsSFBool*>(field)->Get())};
  if (cls == "KsSFVec2f") {
    const KsVec2f& v = static_cast<KsSFVec2f*>(field)->Get();
    return {v.x, v.y};
  }
  if (cls == "KsSFVec3f") {
    const KsVec3f& v = static_cast<KsSFVec3f*>(field)->Get();
    return {v.x, v.y, v.z};
  }
  if (cls == "KsSFColor") {
    const KsCol& c = static_cast<KsSFColor*>(field)->Get();
    return {c.r, c.g, c.b};
  }
  if (cls == "KsSFRotation") {
    const KsRotation& r = static_cast<KsSFRotation*>(field)->Get();
    return {r.axis.x, r.axis.y, r.axis.z, r.angle};
  }
  if (cls == "KsSFImage") {
    const KsImage& im = static_cast<KsSFImage*>(field)->Get();
    return {static_cast<float>(im.GetWidth()), static_cast<float>(im.GetHeight()),
            static_cast<float>(im.GetUnit())};
  }
  return {};
}

int CountOf(KsField* field) {
  std::string cls = field->GetClassName();
  if (cls == "KsMFNode") return static_cast<KsMFNode*>(field)->GetCount();
  if (cls == "KsMFString") return static_cast<KsMFString*>(field)->GetCount();
  if (cls == "KsMFFloat") return static_cast<KsMFFloat*>(field)->GetCount();
  if (cls == "KsMFVec3f") return static_cast<KsMFVec3f*>(field)->GetCount();
  if (cls == "KsMFVec2f") return static_cast<KsMFVec2f*>(field)->GetCount();
  if (cls == "KsMFColor") return static_cast<KsMFColor*>(field)->GetCount();
  return -1;
}

std::string TextOf(KsField* field) {
  std::string cls = field->GetClassName();
  const char* t = nullptr;
  if (cls == "KsSFString") t = static_cast<KsSFString*>(field)->Get();
  if (cls == "KsMFString" && static_cast<KsMFString*>(field)->GetCount() > 0)
    t = static_cast<KsMFString*>(field)->GetElements()[0].GetText();
  return t ? t : "";
}

class NodeDefaultsTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override { KsResetNodeFactory(); }
};

TEST_F(NodeDefaultsTest, EveryClassHasItsMembersInOrderWithTheirDefaults) {
  std::map<std::string, std::vector<const Row*>> byClass;
  std::vector<std::string> order;
  for (const Row& r : Rows()) {
    if (byClass[r.keyword].empty()) order.push_back(r.keyword);
    byClass[r.keyword].push_back(&r);
  }
  EXPECT_EQ(order.size(), 27u);
  KsPartition factory;
  for (const std::string& keyword : order) {
    SCOPED_TRACE(keyword);
    KsNode* node = factory.CreateNode(keyword.c_str());
    ASSERT_NE(node, nullptr);
    node->Ref();
    EXPECT_EQ(std::string(node->GetClassName()), "Ks" + keyword);
    ASSERT_NE(node->GetClassInfo(), nullptr);
    EXPECT_STREQ(node->GetClassInfo()->name, node->GetClassName());
    const std::vector<const Row*>& rows = byClass[keyword];
    ASSERT_EQ(node->GetMemberCount(), static_cast<int>(rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
      const Row& r = *rows[i];
      SCOPED_TRACE(r.member);
      const KsMemberTable* m = node->GetMember(static_cast<int>(i));
      ASSERT_NE(m, nullptr);
      EXPECT_STREQ(m->name, r.member);
      EXPECT_EQ(m->owner, node);
      EXPECT_STREQ(m->field->GetClassName(), r.fieldClass);
      int flag = r.kind == 'e' ? 0 : 1;
      EXPECT_EQ(m->noEventIn, flag);
      EXPECT_EQ(m->noEventOut, flag);
      EXPECT_EQ(m->field->GetNoPropagate(), flag);
      std::vector<float> got = ValuesOf(m->field);
      ASSERT_EQ(got.size(), r.values.size());
      for (size_t k = 0; k < got.size(); ++k) EXPECT_EQ(Bits(got[k]), Bits(r.values[k])) << k;
      if (r.fieldClass[2] == 'M') {
        EXPECT_EQ(CountOf(m->field), r.count);
      }
      if (r.text) {
        EXPECT_EQ(TextOf(m->field), r.text);
      }
      if (std::strcmp(r.fieldClass, "KsSFNode") == 0) {
        EXPECT_EQ(static_cast<KsSFNode*>(m->field)->Get(), nullptr);
      }
    }
    node->Unref();
  }
  EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

TEST_F(NodeDefaultsTest, SpotLightAnglesAreJustBelowTheirFractionsOfPi) {
  KsPartition factory;
  KsNode* spot = factory.CreateNode("SpotLight");
  spot->Ref();
  EXPECT_EQ(Bits(static_cast<KsSFFloat*>(spot->LookUpMember("beamWidth"))->Get()), 0x3FC90FD8u);
  EXPECT_EQ(Bits(static_cast<KsSFFloat*>(spot->LookUpMember("cutOffAngle"))->Get()), 0x3F490FD8u);
  spot->Unref();
}

TEST_F(NodeDefaultsTest, GroupClassesTakeTheGroupEventInsAndRecords) {
  KsPartition factory;
  const char* groups[] = {"Group", "Inline", "Transform", "Anchor", "Collision", "Billboard"};
  for (const char* keyword : groups) {
    KsNode* node = factory.CreateNode(keyword);
    node->Ref();
    ASSERT_EQ(node->GetEventInCount(), 2) << keyword;
    EXPECT_STREQ(node->GetEventInName(0), "addChildren");
    EXPECT_STREQ(node->GetEventInName(1), "removeChildren");
    EXPECT_EQ(node->GetChildren(), node->LookUpMember("children"));
    if (std::strcmp(keyword, "Group") != 0) {
      EXPECT_EQ(KsClassManager::IsKindOf(node->GetClassInfo(), "KsGroup"), 2) << keyword;
    }
    EXPECT_EQ(KsClassManager::IsKindOf(node->GetClassInfo(), "KsNode"),
              std::strcmp(keyword, "Group") == 0 ? 2 : 3);
    node->Unref();
  }
  KsNode* lod = factory.CreateNode("LOD");
  lod->Ref();
  EXPECT_EQ(lod->GetChildren(), nullptr);
  EXPECT_EQ(KsClassManager::IsKindOf(lod->GetClassInfo(), "KsGroup"), 0);
  lod->Unref();
}

// Classes with their own NewInstance can be duplicated; the others cannot.
TEST_F(NodeDefaultsTest, DuplicableClasses) {
  struct Case {
    const char* keyword;
    const char* copyClass;  // null: cannot be duplicated
  } cases[] = {
      {"Group", "KsGroup"},
      {"Inline", "KsGroup"},
      {"Transform", "KsTransform"},
      {"Anchor", "KsAnchor"},
      {"Collision", "KsCollision"},
      {"Billboard", "KsBillboard"},
      {"LOD", "KsLOD"},
      {"Switch", "KsSwitch"},
      {"Coordinate", "KsCoordinate"},
      {"Normal", "KsNormal"},
      {"Color", "KsColor"},
      {"TextureCoordinate", "KsTextureCoordinate"},
      {"Shape", "KsShape"},
      {"Appearance", "KsAppearance"},
      {"Material", "KsMaterial"},
      {"ImageTexture", "KsImageTexture"},
      {"DirectionalLight", "KsDirectionalLight"},
      {"Sound", "KsSound"},
      {"AudioClip", "KsAudioClip"},
      {"PixelTexture", nullptr},
      {"MovieTexture", nullptr},
      {"TextureTransform", nullptr},
      {"FontStyle", nullptr},
      {"PointLight", nullptr},
      {"SpotLight", nullptr},
      {"Script", nullptr},
      {"WorldInfo", nullptr},
  };
  KsPartition factory;
  for (const Case& c : cases) {
    KsNode* node = factory.CreateNode(c.keyword);
    node->Ref();
    testing::internal::CaptureStderr();
    KsNode* copy = node->NewInstance();
    std::string err = testing::internal::GetCapturedStderr();
    if (c.copyClass) {
      ASSERT_NE(copy, nullptr) << c.keyword;
      EXPECT_STREQ(copy->GetClassName(), c.copyClass);
      copy->Ref();
      copy->Unref();
    } else {
      EXPECT_EQ(copy, nullptr) << c.keyword;
      EXPECT_NE(err.find("KsNode::NewInstance is called."), std::string::npos);
    }
    node->Unref();
  }
}

}  // namespace
