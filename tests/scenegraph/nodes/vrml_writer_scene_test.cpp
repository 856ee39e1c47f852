#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "scenegraph/core/partition.h"
#include "scenegraph/core/proto_interface.h"
#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/router.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/core/write_context.h"
#include "scenegraph/nodes/node_library.h"

namespace fs = std::filesystem;
using kstest::Contains;
using kstest::TextStream;

namespace {

class WriterSceneTest : public testing::Test {
protected:
    void SetUp() override {
        KsNode::ResetGlobals();
        KsRouter::ResetGlobals();
        KsResetProtoGlobals();
        KsResetWriteContexts();
        KsResetNodeFactory();
        KsRegisterNodeLibrary();
    }
    void TearDown() override { KsResetNodeFactory(); }
};

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
            if (it->is_regular_file() && it->path().extension() == ".wrl")
                files.push_back(it->path());
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

TEST_F(WriterSceneTest, RoutesAreWrittenWithFullEventNames) {
    KsPartition scene;
    kstest::Realize(scene,
                    "DEF CLOCK TimeSensor { loop TRUE }\n"
                    "DEF MOVE PositionInterpolator { key [ 0 1 ] keyValue [ 0 0 0, 1 0 0 ] }\n"
                    "DEF T Transform { }\n"
                    "ROUTE CLOCK.fraction_changed TO MOVE.set_fraction\n"
                    "ROUTE MOVE.value_changed TO T.set_translation\n"
                    "ROUTE T.translation_changed TO T.set_translation\n");
    std::string text = WriteScene(&scene);
    EXPECT_TRUE(Contains(text,
                         "\nROUTE CLOCK.fraction_changed TO MOVE.set_fraction\n"
                         "ROUTE MOVE.value_changed TO T.set_translation\n"
                         "ROUTE T.translation_changed TO T.set_translation\n"))
        << text;
}

TEST_F(WriterSceneTest, VeryLongStringsAreWrittenWhole) {
    std::string title(30000, 'w');
    title += " 100% ";
    std::string line(9000, 'l');
    std::string diagnostics;
    std::string text = Rewrite("WorldInfo { title \"" + title + "\" info [ \"" + line +
                                   "\" \"b\" ] }\n",
                               &diagnostics);
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
    EXPECT_TRUE(Contains(first, "PROTO Box2\n[\nexposedField SFColor col 1.0000 0.0000 0.0000 \n"
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
