#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "scenegraph/core/proto_test_util.h"
#include "scenegraph/core/reader_test_util.h"
#include "support/test_seed.h"

using kstest::ProtoTest;

namespace {

// Every PROTO feature at once, words separated by blanks.
const char kScene[] =
    "PROTO Inner [ exposedField SFInt w 2 field MFNode kids [ Shape { x 1 } ] "
    "eventIn SFInt set_e eventOut SFInt o_changed ] "
    "{ DEF G Group { x IS w children IS kids } DEF H Group { x IS set_e } "
    "ROUTE H.x TO G.x DEF J Group { x IS o_changed } ROUTE G.x TO J.x } "
    "PROTO Outer [ exposedField SFInt v 1 field SFNode n Group { } ] "
    "{ PROTO Leaf [ ] { Transform { } } "
    "PROTO Mid [ exposedField SFInt w 2 field MFNode kids [ ] ] "
    "{ Group { x IS w children IS kids } } "
    "Mid { w IS v kids [ Leaf { } DEF X Group { child IS n } ] } Group { children [ USE X ] } "
    "Leaf { } } "
    "EXTERNPROTO Far [ ] \"ks_no_such_file.wrl\" "
    "DEF A Group { } DEF I Outer { v 3 } DEF K Inner { } Far { } "
    "ROUTE A.x TO K.set_e ROUTE K.o_changed TO A.x ROUTE A.x TO I.v";

const char* const kInserts[] = {"PROTO", "IS",    "EXTERNPROTO", "[",       "]",
                                "{",     "}",     "DEF",         "USE",     "ROUTE",
                                "Inner", "Outer", "field",       "eventIn", "x"};

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// Nodes one mutated scene may make: the scenes of the fixed seed make 38
// at most, and an instance built over and over makes thousands.
constexpr int kMostNodesPerScene = 1000;

using ProtoMutationTest = ProtoTest;

TEST_F(ProtoMutationTest, MutatedScenesReadAndReleaseEverything) {
  const std::vector<std::string> base = Words(kScene);
  {
    // The scene itself is realised whole, and its events go round.
    KsPartition p;
    std::string err = kstest::Realize(p, kScene);
    EXPECT_TRUE(kstest::Contains(err, "  VRML file not found.\n")) << err;
    ASSERT_EQ(p.GetNodeCount(), 3) << err;
    EXPECT_FALSE(kstest::Contains(err, "Unknown Tag")) << err;
    EXPECT_FALSE(kstest::Contains(err, "Mismatch")) << err;
    EXPECT_FALSE(kstest::Contains(err, "Failed")) << err;
    KsNode* k = p.FindLabel("K");
    ASSERT_NE(kstest::AsCustom(p.FindLabel("I")), nullptr);
    ASSERT_NE(kstest::AsCustom(k), nullptr);
    testing::internal::CaptureStderr();
    kstest::AsProbe(p.FindLabel("A"))->x.Set(7);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(kstest::AsProbe(kstest::Inner(k, 2))->x.Get(), 7);
    KsNode* inner = kstest::Inner(p.FindLabel("I"), 0);
    ASSERT_NE(kstest::AsCustom(inner), nullptr);
    EXPECT_EQ(kstest::AsProbe(kstest::Inner(inner, 0))->x.Get(), 7);
  }
  ExpectAllDestroyed();
  const uint32_t first = lvtest::Seed(12345);
  const int runs = lvtest::Count(400);
  SCOPED_TRACE(lvtest::SeedNote(first, runs));
  uint32_t seed = first;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  for (int run = 0; run < runs; ++run) {
    std::vector<std::string> words = base;
    const int edits = 1 + static_cast<int>(next(4));
    for (int e = 0; e < edits && !words.empty(); ++e) {
      const size_t at = next(static_cast<uint32_t>(words.size()));
      switch (next(3)) {
        case 0: words.erase(words.begin() + static_cast<long>(at)); break;
        case 1: words.insert(words.begin() + static_cast<long>(at), words[at]); break;
        default:
          words.insert(words.begin() + static_cast<long>(at),
                       kInserts[next(sizeof(kInserts) / sizeof(kInserts[0]))]);
      }
    }
    std::string text;
    for (const std::string& w : words) text += w + ' ';
    const int made = KsNode::GetConstructedCount();
    const int gone = KsNode::GetDestroyedCount();
    {
      KsPartition p;
      kstest::Parsed parsed(text);
      testing::internal::CaptureStderr();
      p.RealizeTree(parsed.root());
      // Drive the events that the scene wires up.
      KsNode* a = p.FindLabel("A");
      if (a && std::string(a->GetClassName()) == "KsProbe")
        static_cast<kstest::PartitionProbe*>(a)->x.Set(7);
      testing::internal::GetCapturedStderr();
    }
    ASSERT_EQ(KsNode::GetConstructedCount() - made, KsNode::GetDestroyedCount() - gone) << text;
    ASSERT_EQ(KsCustomNode::GetBuildDepth(), 0) << text;
    // A few edits of a small scene make a small scene.
    ASSERT_LE(KsNode::GetConstructedCount() - made, kMostNodesPerScene) << text;
  }
}

}  // namespace
