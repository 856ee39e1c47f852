#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/core/writing/write_context.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/writer_test_util.h"

namespace fs = std::filesystem;
using kstest::Contains;
using kstest::TextStream;

namespace {

typedef kstest::NodeLibraryWriterTest WriterSceneTest;

std::string WriteScene(KsPartition* scene) {
  TextStream out;
  EXPECT_EQ(scene->WriteHeader(&out), 0);
  return out.out;
}

// Reads text as a file's top level and writes it back; *diagnostics gets
// what reading printed.
std::string Rewrite(const std::string& text, std::string* diagnostics) {
  KsPartition scene;
  *diagnostics = kstest::Realize(scene, text);
  return WriteScene(&scene);
}

// Shared nodes are relabelled on every write, each scope from its own free
// numbers; compare texts with the numbers of generated labels left out.
std::string WithoutLabelNumbers(const std::string& text) {
  static const std::regex label("KESTRUNE[0-9]{5}");
  return std::regex_replace(text, label, "KESTRUNE#");
}

std::vector<fs::path> SceneFiles() {
  std::vector<fs::path> files = {fs::path(LV_SOURCE_DIR "/examples/sample.wrl")};
  std::error_code ec;
  for (const char* folder : {LV_SOURCE_DIR "/tests/scenegraph/nodes/data",
                             LV_SOURCE_DIR "/../shared/corpus/parse-suite/good",
                             LV_SOURCE_DIR "/../shared/corpus/parse-suite/bad"})
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
      if (it->is_regular_file() && it->path().extension() == ".wrl") files.push_back(it->path());
  return files;
}

TEST_F(WriterSceneTest, EveryReadableFileSurvivesTwoRoundTrips) {
  int written = 0;
  int clean = 0;
  for (const fs::path& path : SceneFiles()) {
    const std::string name = path.string();
    KsPartition scene;
    testing::internal::CaptureStderr();
    int read = scene.ReadFile(name.c_str());
    std::string original = testing::internal::GetCapturedStderr();
    if (read != 0) continue;
    ++written;
    std::string first = WriteScene(&scene);
    std::string again;
    std::string second = Rewrite(first, &again);
    std::string third = Rewrite(second, &again);
    // A file that reads cleanly is written as text that reads cleanly.
    if (original.empty()) {
      ++clean;
      EXPECT_EQ(again, "") << name << "\n" << first;
    }
    EXPECT_EQ(WithoutLabelNumbers(second), WithoutLabelNumbers(first)) << name;
    EXPECT_EQ(WithoutLabelNumbers(third), WithoutLabelNumbers(second)) << name;
  }
  EXPECT_GE(written, 20);
  EXPECT_GE(clean, 10);
}

TEST_F(WriterSceneTest, SampleWorldWritesItsNodesWithEveryMember) {
  KsPartition scene;
  ASSERT_EQ(scene.ReadFile(LV_SOURCE_DIR "/examples/sample.wrl"), 0);
  std::string text = WriteScene(&scene);
  EXPECT_EQ(text.rfind("#VRML V2.0 utf8\nWorldInfo\n{\n", 0), 0u) << text;
  EXPECT_TRUE(Contains(text, "title \"Sample world\" \n")) << text;
  // Defaults are written too.
  EXPECT_TRUE(Contains(text, "\nscale 1.0000 1.0000 1.0000\n")) << text;
  EXPECT_TRUE(Contains(text, "\nradius 1.0000 \n")) << text;
}

// Route ends carry the event's full VRML 2.0 name, however the file named
// it: sensor eventOuts that are no member, eventIns that are plain fields,
// exposedFields, and a PROTO's events under their declared names.
TEST_F(WriterSceneTest, RoutesAreWrittenWithFullEventNames) {
  struct Case {
    const char* nodes;
    const char* route;
    const char* written;
  };
  const Case cases[] = {
      {"DEF S TimeSensor { } DEF T ScalarInterpolator { }", "S.fraction_changed TO T.set_fraction",
       "S.fraction_changed TO T.set_fraction"},
      {"DEF S PositionInterpolator { } DEF T Transform { }", "S.value TO T.translation",
       "S.value_changed TO T.set_translation"},
      {"DEF T Transform { }", "T.translation_changed TO T.set_translation",
       "T.translation_changed TO T.set_translation"},
      {"DEF S PlaneSensor { } DEF T Transform { }", "S.translation_changed TO T.set_translation",
       "S.translation_changed TO T.set_translation"},
      {"DEF S ProximitySensor { } DEF T Transform { }", "S.position_changed TO T.set_translation",
       "S.position_changed TO T.set_translation"},
      {"DEF S ProximitySensor { } DEF T Transform { }", "S.orientation TO T.rotation",
       "S.orientation_changed TO T.set_rotation"},
      {"DEF S CoordinateInterpolator { } DEF T Extrusion { }", "S.value_changed TO T.set_spine",
       "S.value_changed TO T.set_spine"},
      {"DEF S TouchSensor { } DEF T DirectionalLight { }", "S.isActive TO T.on",
       "S.isActive TO T.set_on"},
      {"DEF S TouchSensor { } DEF T Viewpoint { }", "S.isOver TO T.set_bind",
       "S.isOver TO T.set_bind"},
      {"DEF S TimeSensor { } DEF T ElevationGrid { }", "S.cycleTime TO T.set_height",
       "S.cycleTime TO T.set_height"},
      {"PROTO P [ eventIn SFInt32 set_a eventOut SFInt32 a_changed ]"
       " { Switch { set_whichChoice IS set_a whichChoice_changed IS a_changed } }"
       " DEF S P { } DEF T P { }",
       "S.a_changed TO T.set_a", "S.a_changed TO T.set_a"},
      {"PROTO P [ exposedField SFBool set_on TRUE ] { DirectionalLight { on IS set_on } }"
       " DEF S P { } DEF T P { }",
       "S.on_changed TO T.set_on", "S.set_on TO T.set_on"},
      // Older names of one field are written under its VRML 2.0 name.
      {"DEF S Color { } DEF T Color { }", "S.rgb_changed TO T.set_rgb",
       "S.color_changed TO T.set_color"},
      {"DEF S Color { } DEF T Color { }", "S.rgb TO T.rgb", "S.color_changed TO T.set_color"},
      {"DEF S ScalarInterpolator { } DEF T ScalarInterpolator { }", "S.keys_changed TO T.set_keys",
       "S.key_changed TO T.set_key"},
      {"DEF S PositionInterpolator { } DEF T CoordinateInterpolator { }",
       "S.values_changed TO T.set_values", "S.keyValue_changed TO T.set_keyValue"},
      {"DEF S ColorInterpolator { } DEF T Color { }", "S.values TO T.rgb",
       "S.keyValue_changed TO T.set_color"},
  };
  for (const Case& c : cases) {
    KsPartition scene;
    std::string read = kstest::Realize(scene, std::string(c.nodes) + " ROUTE " + c.route + "\n");
    EXPECT_EQ(read, "") << c.route;
    std::string text = WriteScene(&scene);
    EXPECT_TRUE(Contains(text, std::string("\nROUTE ") + c.written + "\n")) << c.route << "\n"
                                                                            << text;
  }
}

// Each node type writes only its VRML 2.0 fields: an Inline has no children,
// and a colour's second name is not written.
TEST_F(WriterSceneTest, NodeTypesWriteOnlyTheirVrmlFields) {
  std::string diagnostics;
  std::string text = Rewrite("Inline { url \"x.wrl\" }\nColor { rgb [ 1 0 0 ] }\n", &diagnostics);
  EXPECT_EQ(diagnostics, "");
  EXPECT_TRUE(Contains(text,
                       "Inline\n{\nbboxCenter 0.0000 0.0000 0.0000\n"
                       "bboxSize -1.0000 -1.0000 -1.0000\nurl [\n\"x.wrl\"\n]\n\n}\n"))
      << text;
  EXPECT_TRUE(Contains(text, "Color\n{\ncolor [\n1.0000 0.0000 0.0000\n]\n\n}\n")) << text;
}

// VRML 2.0 has no NULL inside a list of nodes: empty slots are left out, in
// node members and PROTO defaults alike.
TEST_F(WriterSceneTest, EmptySlotsOfNodeListsAreLeftOut) {
  KsPartition scene;
  kstest::Realize(scene,
                  "PROTO P [ field MFNode parts NoSuchNode { } ] { Group { } }\n"
                  "Group { children NoSuchNode { } }\n"
                  "Group { }\n");
  ASSERT_EQ(scene.GetNode(0)->GetChildren()->GetCount(), 1);
  std::string text = WriteScene(&scene);
  EXPECT_FALSE(Contains(text, "NULL ,")) << text;
  EXPECT_TRUE(Contains(text, "field MFNode parts [\n]\n")) << text;
  EXPECT_TRUE(Contains(text, "Group\n{\nchildren [\n]\n")) << text;

  KsPartition mixed;
  kstest::Realize(mixed, "Group { } Group { } Group { }\n");
  KsNode* list[] = {nullptr, mixed.GetNode(1), nullptr, mixed.GetNode(2), nullptr};
  ASSERT_EQ(mixed.GetNode(0)->GetChildren()->Set(5, list), 0);
  ASSERT_EQ(mixed.DeleteNode(mixed.GetNode(2)), 0);
  ASSERT_EQ(mixed.DeleteNode(mixed.GetNode(1)), 0);
  std::string written = WriteScene(&mixed);
  EXPECT_FALSE(Contains(written, "NULL")) << written;
  KsPartition again;
  EXPECT_EQ(kstest::Realize(again, written.substr(written.find('\n') + 1)), "");
  ASSERT_EQ(again.GetNodeCount(), 1);
  EXPECT_EQ(again.GetNode(0)->GetChildren()->GetCount(), 2);
}

// Interface and IS names are written as read, so an eventIn set_a and an
// eventOut a_changed stay two events, each with its binding. A node default
// is written so that instances read back without complaints, and a body
// node bound only by field IS gets no label.
TEST_F(WriterSceneTest, ProtoInterfacesReadBackWithEveryBinding) {
  const std::string source =
      "PROTO Counter [ eventIn SFInt32 set_a eventOut SFInt32 a_changed\n"
      "  field SFNode look Appearance { material Material { } } ]\n"
      "{ Group { children [\n"
      "  Switch { set_whichChoice IS set_a whichChoice_changed IS a_changed }\n"
      "  Shape { appearance IS look } ] } }\n"
      "Counter { } Counter { }\n";
  std::string diagnostics;
  std::string first = Rewrite(source, &diagnostics);
  EXPECT_EQ(diagnostics, "");
  EXPECT_TRUE(Contains(first, "field SFNode look Appearance\n{\n")) << first;
  EXPECT_TRUE(Contains(first, "eventIn SFInt32 set_a\neventOut SFInt32 a_changed\n]\n")) << first;
  EXPECT_TRUE(Contains(first, "set_whichChoice IS set_a\nwhichChoice_changed IS a_changed\n"))
      << first;
  EXPECT_TRUE(Contains(first, ",\nShape\n{\n")) << first;

  KsPartition again;
  EXPECT_EQ(kstest::Realize(again, first), "");
  ASSERT_EQ(again.GetProtoCount(), 1);
  const KsProtoInterface* in = again.GetProto(0)->FindInterface();
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->eventInIs.size(), 1u);
  EXPECT_EQ(in->eventOutIs.size(), 1u);
  EXPECT_EQ(in->fieldIs.size(), 1u);
}

// IS lines bound under the older names of a field are written under its
// VRML 2.0 name, of the same kind (field, eventIn or eventOut), and read
// back to the same bindings.
TEST_F(WriterSceneTest, OlderNamesInIsLinesAreWrittenUnderVrmlNames) {
  const std::string source =
      "PROTO P [ exposedField MFColor c [ 1 0 0 ] eventIn MFFloat setK eventOut MFFloat kOut\n"
      "  eventIn MFFloat setV eventOut MFFloat vOut exposedField MFFloat v [ 0 1 ] ]\n"
      "{ Group { children [\n"
      "  Shape { geometry PointSet { color Color { rgb IS c } } }\n"
      "  ScalarInterpolator { set_keys IS setK keys_changed IS kOut values IS v }\n"
      "  ScalarInterpolator { set_values IS setV values_changed IS vOut }\n"
      "  Color { set_rgb IS c } ] } }\n"
      "P { }\n";
  std::string diagnostics;
  std::string first = Rewrite(source, &diagnostics);
  EXPECT_EQ(diagnostics, "");
  for (const char* line :
       {"\ncolor IS c\n", "\nset_key IS setK\n", "\nkey_changed IS kOut\n", "\nkeyValue IS v\n",
        "\nset_keyValue IS setV\n", "\nkeyValue_changed IS vOut\n", "\nset_color IS c\n"})
    EXPECT_TRUE(Contains(first, line)) << line << "\n" << first;
  for (const char* older : {"rgb", "keys", "values"})
    EXPECT_FALSE(std::regex_search(first, std::regex(std::string("\\b") + older + "\\b")))
        << older << "\n"
        << first;

  KsPartition again;
  EXPECT_EQ(kstest::Realize(again, first), "");
  ASSERT_EQ(again.GetProtoCount(), 1);
  const KsProtoInterface* in = again.GetProto(0)->FindInterface();
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->fieldIs.size(), 3u);
  EXPECT_EQ(in->eventInIs.size(), 2u);
  EXPECT_EQ(in->eventOutIs.size(), 2u);
}

TEST_F(WriterSceneTest, VeryLongStringsAreWrittenWhole) {
  std::string title(30000, 'w');
  title += " 100% ";
  std::string line(9000, 'l');
  std::string diagnostics;
  std::string text = Rewrite(
      "WorldInfo { title \"" + title + "\" info [ \"" + line + "\" \"b\" ] }\n", &diagnostics);
  EXPECT_EQ(diagnostics, "");
  EXPECT_TRUE(Contains(text, "title \"" + title + "\" \n")) << text.size();
  EXPECT_TRUE(Contains(text, "info [\n\"" + line + "\",\n\"b\"\n]\n")) << text.size();
  std::string again = Rewrite(text, &diagnostics);
  EXPECT_EQ(again, text);
}

TEST_F(WriterSceneTest, ProtoInstancesAndSharedNodesReadBack) {
  const std::string source =
      "PROTO Box2 [ exposedField SFColor col 1 0 0 eventIn SFFloat set_fade ]\n"
      "{ Shape { appearance Appearance { material DEF M Material {\n"
      "    diffuseColor IS col transparency IS set_fade } } geometry Box { } } }\n"
      "DEF A Transform { children [ Box2 { col 0 1 0 } ] }\n"
      "Transform { translation 2 0 0 children USE A }\n";
  std::string diagnostics;
  std::string first = Rewrite(source, &diagnostics);
  EXPECT_EQ(diagnostics, "");
  EXPECT_TRUE(Contains(first,
                       "PROTO Box2\n[\nexposedField SFColor col 1.0000 0.0000 0.0000 \n"
                       "eventIn SFFloat set_fade\n]\n{\n"))
      << first;
  EXPECT_TRUE(Contains(first, "diffuseColor IS col\ntransparency IS set_fade\n}\n")) << first;
  EXPECT_TRUE(Contains(first, "DEF KESTRUNE00000 Transform\n")) << first;
  EXPECT_TRUE(Contains(first, "children [\nUSE KESTRUNE00000\n")) << first;
  std::string second = Rewrite(first, &diagnostics);
  EXPECT_EQ(diagnostics, "");
  EXPECT_EQ(WithoutLabelNumbers(second), WithoutLabelNumbers(first));
}

}  // namespace

namespace {

// Transforms in a chain of first children, and what ends it.
int ChainLength(KsNode* node, KsNode** end) {
  int n = 0;
  while (node && std::string(node->GetClassName()) == "KsTransform") {
    ++n;
    KsMFNode* children = node->GetChildren();
    node = children && children->GetCount() > 0 ? children->GetElements()[0] : nullptr;
  }
  *end = node;
  return n;
}

// Every list is written in brackets, two groups a level where the file may
// have one ("children Transform { ... }"): the written file must still read
// back whole, up to the deepest nesting the reader realises.
TEST_F(WriterSceneTest, TheDeepestSceneReadIsWrittenAndReadBackWhole) {
  struct Case {
    int levels;
    const char* leaf;
  } cases[] = {
      {500, "Shape { geometry Box { } }"},
      // With the leaf, as many nodes as one statement may nest; its
      // strings are the deepest group the writer makes of it.
      {KS_MAX_REALIZE_DEPTH - 1, "WorldInfo { info \"deep\" }"},
  };
  for (const Case& c : cases) {
    std::string text;
    for (int i = 0; i < c.levels; ++i) text += "Transform { children\n";
    text += c.leaf;
    for (int i = 0; i < c.levels; ++i) text += " }";
    text += "\n";
    KsPartition scene;
    EXPECT_EQ(kstest::Realize(scene, text), "") << c.levels;
    ASSERT_EQ(scene.GetNodeCount(), 1);
    KsNode* leaf = nullptr;
    ASSERT_EQ(ChainLength(scene.GetNode(0), &leaf), c.levels);
    ASSERT_NE(leaf, nullptr);

    const std::string written = WriteScene(&scene);
    std::string err;
    KsPartition again;
    err = kstest::Realize(again, written);
    EXPECT_EQ(err, "") << c.levels;
    ASSERT_EQ(again.GetNodeCount(), 1) << c.levels;
    KsNode* leafAgain = nullptr;
    EXPECT_EQ(ChainLength(again.GetNode(0), &leafAgain), c.levels);
    ASSERT_NE(leafAgain, nullptr) << c.levels;
    EXPECT_STREQ(leafAgain->GetClassName(), leaf->GetClassName());
    EXPECT_EQ(WriteScene(&again), written) << c.levels;
  }
}

}  // namespace
