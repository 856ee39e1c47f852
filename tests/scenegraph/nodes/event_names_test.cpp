// Events under their VRML 2.0 names (and the older names that still work),
// routed from and into every node type.

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/nodes/node_library.h"

namespace {

// Counts the events it is sent under "got".
class Probe : public KsNode {
 public:
  Probe() {
    RegisterEventIn("got");
    RegisterDone();
  }
  const char* GetClassName() const override { return "KsEventProbe"; }
  int ExecSpecialEvent(const char*, KsField*, KsNode*) override {
    ++received;
    return 0;
  }
  int received = 0;
};

class EventNamesTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsRouter::ResetGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
    probe = new Probe;
    scene.AppendNode(probe);
  }
  void TearDown() override { KsResetNodeFactory(); }

  KsNode* Make(const char* keyword) {
    KsNode* node = scene.CreateNode(keyword);
    if (node) scene.AppendNode(node);
    return node;
  }
  // The member an event name stands for.
  static std::string Member(std::string event) {
    if (event.compare(0, 4, "set_") == 0) return event.substr(4);
    const size_t n = event.size();
    if (n > 8 && event.compare(n - 8, 8, "_changed") == 0) return event.substr(0, n - 8);
    return event;
  }
  // Routes node.event to the probe and changes the member it names: the
  // number of events the probe got.
  int SendFrom(KsNode* node, const std::string& event) {
    KsField* field = node->LookUpMember(Member(event).c_str());
    if (!field) return -1;
    const int before = probe->received;
    scene.GetRouter()->AddRoute(node, event.c_str(), probe, "got");
    field->CopyTo(field);
    return probe->received - before;
  }
  // Routes an event into node.event; what the delivery printed.
  std::string SendTo(KsNode* node, const std::string& event) {
    KsField* field = node->LookUpMember(Member(event).c_str());
    if (!field) return "no member";
    Probe* source = new Probe;  // one route each
    scene.AppendNode(source);
    scene.GetRouter()->AddRoute(source, "out", node, event.c_str());
    testing::internal::CaptureStderr();
    scene.GetRouter()->EventOut(source, "out", field);
    return testing::internal::GetCapturedStderr();
  }

  KsPartition scene;
  Probe* probe = nullptr;
};

// The names of the VRML 2.0 node types that differ from a plain member
// name or that once failed, with the older names that still work.
TEST_F(EventNamesTest, TableOfNodeEvents) {
  struct Row {
    const char* keyword;
    const char* event;
    bool out;  // an eventOut, else an eventIn
  };
  const Row rows[] = {
      {"Color", "color_changed", true},
      {"Color", "set_color", false},
      {"Color", "rgb_changed", true},
      {"Color", "set_rgb", false},
      {"Normal", "vector_changed", true},
      {"Normal", "set_vector", false},
      {"Coordinate", "point_changed", true},
      {"TextureCoordinate", "point_changed", true},
      {"Extrusion", "set_crossSection", false},
      {"Extrusion", "set_orientation", false},
      {"Extrusion", "set_scale", false},
      {"Extrusion", "set_spine", false},
      {"ElevationGrid", "set_height", false},
      {"IndexedLineSet", "set_colorIndex", false},
      {"IndexedLineSet", "set_coordIndex", false},
      {"IndexedFaceSet", "set_colorIndex", false},
      {"IndexedFaceSet", "set_coordIndex", false},
      {"IndexedFaceSet", "set_normalIndex", false},
      {"IndexedFaceSet", "set_texCoordIndex", false},
      {"Transform", "translation_changed", true},
      {"Group", "children_changed", true},
      {"Material", "diffuseColor_changed", true},
      {"TimeSensor", "enabled_changed", true},
      {"Viewpoint", "orientation_changed", true},
      {"Switch", "whichChoice_changed", true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.keyword) + "." + r.event);
    KsNode* node = Make(r.keyword);
    ASSERT_NE(node, nullptr);
    if (r.out) {
      EXPECT_EQ(SendFrom(node, r.event), 1);
    } else {
      EXPECT_EQ(SendTo(node, r.event), "");
    }
  }
  const char* const interpolators[] = {"ScalarInterpolator",     "PositionInterpolator",
                                       "CoordinateInterpolator", "OrientationInterpolator",
                                       "NormalInterpolator",     "ColorInterpolator"};
  for (const char* keyword : interpolators) {
    for (const char* event :
         {"key_changed", "keyValue_changed", "keys_changed", "values_changed"}) {
      SCOPED_TRACE(std::string(keyword) + "." + event);
      EXPECT_EQ(SendFrom(Make(keyword), event), 1);
    }
    for (const char* event : {"set_key", "set_keyValue", "set_keys", "set_values"}) {
      SCOPED_TRACE(std::string(keyword) + "." + event);
      EXPECT_EQ(SendTo(Make(keyword), event), "");
    }
  }
}

// Every member of every node type that sends or takes events does so under
// its name with "_changed" and "set_".
TEST_F(EventNamesTest, EveryEventMemberOfEveryNodeType) {
  int members = 0;
  for (int k = 0; k < KS_NODE_KEYWORD_COUNT; ++k) {
    const char* keyword = KsNodeKeyword(k);
    if (!KsFindNodeConstructor(keyword)) continue;
    KsNode* node = Make(keyword);
    ASSERT_NE(node, nullptr) << keyword;
    for (int i = 0; i < node->GetMemberCount(); ++i) {
      const KsMemberTable* m = node->GetMember(i);
      const std::string name = m->name;
      SCOPED_TRACE(std::string(keyword) + "." + name);
      if (m->noEventOut == 0) {
        EXPECT_GE(SendFrom(node, name + "_changed"), 1);
        ++members;
      }
      if (m->noEventIn == 0) {
        EXPECT_EQ(SendTo(node, "set_" + name), "");
      }
    }
  }
  EXPECT_GT(members, 100);
}

}  // namespace
