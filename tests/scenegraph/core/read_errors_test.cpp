// What reading a file records about the statements it had to skip.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scenegraph/core/partition.h"
#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/read_errors.h"
#include "scenegraph/core/scene_test_util.h"

namespace {

class ReadErrorsTest : public testing::Test {
protected:
    void SetUp() override {
        KsNode::ResetGlobals();
        KsResetReadErrors();
        kstest::RegisterProbes();
    }
    void TearDown() override {
        KsResetNodeFactory();
        KsResetReadErrors();
    }
    // Reads text as a file (header on line 1): the partition's record.
    KsReadErrors Read(const std::string& name, const std::string& body, int* roots) {
        const std::string path = testing::TempDir() + name;
        EXPECT_TRUE(kstest::WriteFile(path, "#VRML V2.0 utf8\n" + body));
        KsPartition p;
        testing::internal::CaptureStderr();
        EXPECT_EQ(p.ReadFile(path.c_str()), 0);
        testing::internal::GetCapturedStderr();
        std::remove(path.c_str());
        *roots = p.GetNodeCount();
        return p.GetReadErrors();
    }
};

TEST_F(ReadErrorsTest, EverySkippedStatementCountsAndTheFirstLineIsKept) {
    struct Case {
        const char* name;
        const char* body;
        int skipped, first_line, roots;
    } cases[] = {
        {"clean", "Group { x 1 }\nTransform { children [ Group { } ] }\nNULL\n", 0, 0, 2},
        {"unknown_node", "Group { }\n\nFoo { x 1 }\nGroup { }\n", 1, 4, 2},
        {"unknown_member", "Group { y 1 }\nGroup { }\n", 1, 2, 1},
        {"nested_member", "Group {\n children [ Group { y 1 } ]\n}\n", 1, 3, 1},
        {"bad_use", "Group { }\nUSE NOPE\n", 2, 3, 1},  // the USE, then NOPE read as a node
        {"def_at_end", "Group { }\nDEF", 1, 3, 1},
        {"bad_route", "DEF A Group { }\nROUTE A.x TO B.x\n", 1, 3, 1},
        // Cut off in a node: what came before stays; the cut statement is one.
        {"truncated", "Group { x 1 }\nFoo { }\nTransform {\n children [ Group {\n", 2, 3, 2},
        {"stray_close", "Group { }\n}\nGroup { }\n", 1, 3, 1},
        // An error inside a PROTO body counts for the file.
        {"proto_body", "PROTO P [ ] {\n Group { }\n Bar { }\n}\nP { }\n", 1, 4, 1},
    };
    for (const Case& c : cases) {
        int roots = -1;
        KsReadErrors e = Read(std::string("ks_read_errors_") + c.name + ".wrl", c.body, &roots);
        EXPECT_EQ(e.skipped, c.skipped) << c.name;
        EXPECT_EQ(e.firstLine, c.first_line) << c.name;
        EXPECT_EQ(roots, c.roots) << c.name;
    }
}

TEST_F(ReadErrorsTest, AnExternprotoFileKeepsItsErrorsToItself) {
    const std::string lib = testing::TempDir() + "ks_read_errors_lib.wrl";
    ASSERT_TRUE(kstest::WriteFile(lib, "#VRML V2.0 utf8\nBad { }\nPROTO Q [ ] { Group { } }\n"));
    int roots = -1;
    KsReadErrors e = Read("ks_read_errors_user.wrl",
                          "EXTERNPROTO Q [ ] \"" + lib + "\"\nQ { }\nOops { }\n", &roots);
    EXPECT_EQ(e.skipped, 1);
    EXPECT_EQ(e.firstLine, 4);
    EXPECT_EQ(roots, 1);
    std::remove(lib.c_str());
}

}  // namespace
