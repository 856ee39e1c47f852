// Small hostile files that multiply when read, scanned or drawn: the read
// stays within its PROTO expansion allowance, the load-time scans visit
// each node a bounded number of times, and a frame stops after a fixed
// number of shape visits. The work is counted (nodes made, visits), never
// timed; the benchmarks time the same files.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "scenegraph/core/custom_node.h"
#include "scenegraph/core/node_scanner.h"
#include "scenegraph/core/partition.h"
#include "scenegraph/core/proto_budget.h"
#include "scenegraph/core/proto_interface.h"
#include "scenegraph/core/router.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/nodes/node_library.h"
#include "tests/bench/hostile_worlds.h"

using kstest::Contains;

namespace {

class HostileSceneTest : public testing::Test {
protected:
    void SetUp() override {
        KsNode::ResetGlobals();
        KsRouter::ResetGlobals();
        KsResetProtoGlobals();
        KsResetProtoBudget();
        KsResetNodeFactory();
        KsRegisterNodeLibrary();
    }
    void TearDown() override {
        KsResetProtoBudget();
        KsResetNodeFactory();
    }
    // Writes text to a file of its own and reads it as the viewer does;
    // returns what the read printed.
    std::string ReadFile(KsPartition* p, const std::string& text) {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() /
            ("lv_hostile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".wrl");
        {
            std::ofstream out(path, std::ios::binary);
            out << text;
        }
        testing::internal::CaptureStderr();
        EXPECT_EQ(p->ReadFile(path.string().c_str()), 0);
        std::string err = testing::internal::GetCapturedStderr();
        std::filesystem::remove(path);
        return err;
    }
};

int CountOf(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// Counts the nodes of one class that a walk entering PROTO instances meets.
int CountClass(KsNode* node, const char* cls) {
    KsNodeFinder finder;
    finder.SetTargetName(cls);
    finder.SetEnterProto(0);
    node->Scan(&finder);
    return finder.GetCount();
}

// Five levels of ten PROTO uses, used 40 times: each instance builds some
// 22,000 nodes, all 40 nearly a million. The read builds instances up to its
// allowance, refuses the rest with one message, and reports each refused
// statement as skipped.
TEST_F(HostileSceneTest, NestedProtoExpansionStaysWithinTheReadsAllowance) {
    const std::string text = lvbench::NestedProtoWorld(5, 10, 40);
    {
        KsPartition p;
        const std::string err = ReadFile(&p, text);
        const int64_t made = KsNode::GetConstructedCount();
        // One instance's build may go past the allowance before it is refused.
        const int64_t instanceNodes = 22300;
        EXPECT_LE(made, KS_PROTO_EXPANSION_BASE +
                            KS_PROTO_EXPANSION_PER_BYTE * (int64_t)text.size() + instanceNodes);
        EXPECT_EQ(CountOf(err, "  PROTO instances add too many nodes to this file.\n"), 1) << err.substr(0, 3000);
        const int refused = KsProtoBudgetRefused();
        EXPECT_GT(refused, 0);
        EXPECT_EQ(p.GetNodeCount() + refused, 40);
        EXPECT_GE(p.GetNodeCount(), 5);
        EXPECT_EQ(p.GetReadErrors().skipped, refused);
        // Besides the one message, each refused statement says it is skipped
        // and nothing else is reported.
        EXPECT_EQ(CountOf(err, "Skipping Unknown Node.\n"), refused);
        EXPECT_EQ(CountOf(err, "\n"), 4 + refused) << err.substr(0, 3000);
        // The instances that were built are whole.
        for (int i = 0; i < p.GetNodeCount(); ++i)
            EXPECT_EQ(CountClass(p.GetNode(i), "KsBox"), 10000) << i;
    }
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
}

}  // namespace
