// What small files that copy much cost while they are read, counted in
// bytes held through operator new (never timed): PROTO copies are charged
// for the values they duplicate, an EXTERNPROTO file named again and again
// is read once, and memory running out inside a read fails it as too large
// for memory instead of ending the program.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "counted_new.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/fields/value_bytes.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/nodes/node_library.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr size_t kMB = 1024 * 1024;

class ReadMemoryTest : public testing::Test {
protected:
    void SetUp() override {
        KsNode::ResetGlobals();
        KsRouter::ResetGlobals();
        KsResetProtoGlobals();
        KsResetNodeFactory();
        KsRegisterNodeLibrary();
    }
    void TearDown() override {
        KsResetProtoGlobals();
        KsResetNodeFactory();
    }
    std::string Path(const std::string& name) { return testing::TempDir() + "lv_read_memory_" + name; }
    // Reads the file into *scene; what it printed, and its peak above what
    // was held before.
    std::string Read(KsPartition* scene, const std::string& path, size_t* peak, int expect = 0) {
        const size_t before = kstest::HeldBytes();
        kstest::ResetPeak();
        testing::internal::CaptureStderr();
        EXPECT_EQ(scene->ReadFile(path.c_str()), expect) << path;
        const std::string err = testing::internal::GetCapturedStderr();
        *peak = kstest::PeakBytes() - before;
        return err;
    }
};

int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

std::string Points(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += std::to_string(i % 10) + " 0 1,\n";
    return text;
}

// A PROTO whose body holds one list of 10,000 points, instantiated 4,000
// times in about 100 KB, held about a gigabyte when only its nodes were
// charged. Its copies are refused once their values pass the allowance,
// with the one message, and the read holds no more than a few hundred MB.
TEST_F(ReadMemoryTest, ProtoCopiesAreChargedForTheValuesTheyDuplicate) {
    const std::string points = Points(10000);
    struct Case {
        const char* name;
        std::string text;
        int statements;
    } cases[] = {
        {"in the body",
         "PROTO P [ ] { Coordinate { point [\n" + points + "] } }\n", 4000},
        {"in a default handed on by IS",
         "PROTO P [ field MFVec3f p [\n" + points + "] ] { Coordinate { point IS p } }\n", 4000},
        {"nested instances",
         "PROTO P [ ] { PROTO C [ ] { Coordinate { point [\n" + points + "] } }\n"
         "Group { children [\n" +
             [] {
                 std::string shapes;
                 for (int i = 0; i < 20; ++i) shapes += "Shape { geometry PointSet { coord C { } } }\n";
                 return shapes;
             }() +
             "] } }\n",
         400},
    };
    for (Case& c : cases) {
        for (int i = 0; i < c.statements; ++i) c.text += "P { }\n";
        const std::string path = Path("copies.wrl");
        ASSERT_TRUE(kstest::WriteFile(path, "#VRML V2.0 utf8\n" + c.text));
        size_t peak = 0;
        {
            KsPartition scene;
            const std::string err = Read(&scene, path, &peak);
            EXPECT_EQ(CountOf(err, "  PROTO instances add too many nodes to this file.\n"), 1)
                << c.name << "\n" << err.substr(0, 2000);
            EXPECT_GT(KsProtoBudgetRefused(), 0) << c.name;
            EXPECT_EQ(scene.GetNodeCount() + KsProtoBudgetRefused(), c.statements) << c.name;
        }
        std::printf("%s: %zu bytes, peak %zu MB, %d of %d refused\n", c.name, c.text.size(),
                    peak / kMB, KsProtoBudgetRefused(), c.statements);
        EXPECT_LT(peak, 400 * kMB) << c.name;
        std::remove(path.c_str());
        EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
    }
}

}  // namespace
