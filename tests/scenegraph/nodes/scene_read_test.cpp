#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/scene_test_util.h"
#include "scenegraph/nodes/grouping/grouping_nodes.h"
#include "scenegraph/nodes/data_only/info_nodes.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/geometry/property_nodes.h"
#include "scenegraph/nodes/appearance/shape_nodes.h"
#include "support/test_seed.h"

using kstest::Contains;

namespace {

const std::string kNodesData = LV_SOURCE_DIR "/tests/scenegraph/nodes/data/";
const std::string kCorpus = LV_SOURCE_DIR "/../shared/corpus/parse-suite/";

class SceneReadTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
  }
  void TearDown() override { KsResetNodeFactory(); }
};

// Every distinct node reachable from the roots, and the number of visits.
class Census : public KsNodeScanner {
 public:
  int Visit(KsNode* node) override {
    distinct.insert(node);
    ++byClass[node->GetClassName()];
    return 0;
  }
  std::set<KsNode*> distinct;
  std::map<std::string, int> byClass;
};

Census Count(KsPartition& p) {
  Census c;
  for (int i = 0; i < p.GetNodeCount(); ++i) p.GetNode(i)->Scan(&c);
  return c;
}

std::string ReadQuietly(KsPartition& p, const std::string& path, int* result) {
  testing::internal::CaptureStderr();
  *result = p.ReadFile(path.c_str());
  return testing::internal::GetCapturedStderr();
}

TEST_F(SceneReadTest, TeamSceneWithEveryDataNodeKeyword) {
  KsPartition* p = new KsPartition;
  int result = -1;
  std::string err = ReadQuietly(*p, kNodesData + "all_data_nodes.wrl", &result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(err, "");
  ASSERT_EQ(p->GetNodeCount(), 8);
  const char* rootClasses[] = {"KsWorldInfo", "KsDirectionalLight", "KsPointLight", "KsSpotLight",
                               "KsSound",     "KsScript",           "KsTransform",  "KsShape"};
  for (int i = 0; i < 8; ++i) EXPECT_STREQ(p->GetNode(i)->GetClassName(), rootClasses[i]);

  Census census = Count(*p);
  EXPECT_EQ(census.distinct.size(), 40u);
  EXPECT_EQ(KsNode::GetConstructedCount(), 40);
  EXPECT_EQ(census.byClass.size(), 27u);  // every class of the library

  KsTransform* root = static_cast<KsTransform*>(p->FindLabel("Root"));
  ASSERT_EQ(root, p->GetNode(6));
  EXPECT_EQ(root->translation.Get().y, 2.0f);
  EXPECT_EQ(root->children.GetCount(), 7);
  KsShape* thing = static_cast<KsShape*>(p->FindLabel("Thing"));
  ASSERT_NE(thing, nullptr);
  EXPECT_EQ(thing->GetRefCount(), 4);
  KsVec3f lo, hi;
  ASSERT_EQ(root->GetBoundingBox(&lo, &hi), 0);
  EXPECT_EQ(lo.x, 1.0f);
  EXPECT_EQ(hi.z, 5.0f);  // 3 + 2 * 1
  KsNode* material = static_cast<KsAppearance*>(thing->appearance.Get())->material.Get();
  EXPECT_EQ(static_cast<KsMaterial*>(material)->transparency.Get(), 0.25f);
  KsSwitch* sw = static_cast<KsSwitch*>(root->children.GetElements()[6]);
  EXPECT_EQ(sw->GetChosen(), thing);
  KsSound* sound = static_cast<KsSound*>(p->GetNode(4));
  EXPECT_EQ(sound->source.Get(), p->FindLabel("Clip"));
  EXPECT_EQ(sound->maxBack.Get(), 20.0f);

  KsGroup* props = static_cast<KsGroup*>(p->FindLabel("Props"));
  ASSERT_EQ(props->children.GetCount(), 6);
  KsNode* rgb = props->children.GetElements()[2];
  EXPECT_EQ(KsNode::GetMFColor(rgb)->GetCount(), 2);
  EXPECT_STREQ(static_cast<KsFontStyle*>(props->children.GetElements()[5])->family.Get(), "SANS");

  delete p;
  EXPECT_EQ(KsNode::GetDestroyedCount(), 40);
}

TEST_F(SceneReadTest, SampleWorldsRead) {
  std::error_code ec;
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(LV_SOURCE_DIR "/examples", ec)) {
    if (entry.path().extension() != ".wrl") continue;
    ++files;
    KsNode::ResetGlobals();
    KsPartition* p = new KsPartition;
    int result = -1;
    ReadQuietly(*p, entry.path().string(), &result);
    EXPECT_EQ(result, 0) << entry.path();
    EXPECT_GT(p->GetNodeCount(), 0) << entry.path();
    delete p;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << entry.path();
  }
  EXPECT_GT(files, 0);

  // The sample world: its transforms and materials read whatever node
  // types the library knows so far.
  KsPartition p;
  int result = -1;
  ReadQuietly(p, LV_SOURCE_DIR "/examples/sample.wrl", &result);
  EXPECT_EQ(result, 0);
  std::vector<KsTransform*> transforms;
  for (int i = 0; i < p.GetNodeCount(); ++i)
    if (std::strcmp(p.GetNode(i)->GetClassName(), "KsTransform") == 0)
      transforms.push_back(static_cast<KsTransform*>(p.GetNode(i)));
  ASSERT_EQ(transforms.size(), 4u);
  KsTransform* left = transforms[0];
  EXPECT_EQ(left->translation.Get().x, -3.0f);
  KsShape* shape = static_cast<KsShape*>(left->children.GetElements()[0]);
  KsNode* mat = static_cast<KsAppearance*>(shape->appearance.Get())->material.Get();
  EXPECT_EQ(static_cast<KsMaterial*>(mat)->diffuseColor.Get().r, 0.9f);
}

TEST_F(SceneReadTest, EveryCorpusFileReadsAndReleasesItsScene) {
  const std::map<std::string, int> roots = {
      {"good/minimal.wrl", 0},
      {"good/line-number.wrl", 1},
      {"good/route-referencing-current-node.wrl", 2},
      {"bad/unrecognized-node.wrl", 0},
  };
  int files = 0;
  for (const char* dir : {"good", "bad"}) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(kCorpus + dir, ec)) {
      ++files;
      KsNode::ResetGlobals();
      KsPartition* p = new KsPartition;
      int result = -1;
      ReadQuietly(*p, entry.path().string(), &result);
      EXPECT_EQ(result, 0) << entry.path();
      auto it = roots.find(std::string(dir) + "/" + entry.path().filename().string());
      if (it != roots.end()) {
        EXPECT_EQ(p->GetNodeCount(), it->second) << entry.path();
      }
      Count(*p);
      delete p;
      EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << entry.path();
    }
  }
  EXPECT_GE(files, 20);
}

// Deterministic mutations of a real scene through the whole road from text
// to scene and back to nothing.
TEST_F(SceneReadTest, MutatedScenesNeverCrashOrLeak) {
  std::ifstream in(kNodesData + "all_data_nodes.wrl", std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string base = buffer.str();
  ASSERT_FALSE(base.empty());
  const char pieces[] = "{}[]\" \n#DEF USE NULL ROUTE IS,.0-9e";
  const uint32_t seed = lvtest::Seed(12345);
  const int rounds = lvtest::Count(400);
  SCOPED_TRACE(lvtest::SeedNote(seed, rounds));
  uint32_t state = seed;
  auto next = [&state]() {
    state = state * 1103515245u + 12345u;
    return state >> 8;
  };
  for (int round = 0; round < rounds; ++round) {
    std::string text = base;
    int edits = 1 + static_cast<int>(next() % 8);
    for (int e = 0; e < edits && !text.empty(); ++e) {
      size_t at = next() % text.size();
      switch (next() % 4) {
        case 0: text[at] = pieces[next() % (sizeof pieces - 1)]; break;
        case 1: text.erase(at, 1 + next() % 16); break;
        case 2: text.insert(at, 1, pieces[next() % (sizeof pieces - 1)]); break;
        default: text.insert(at, text.substr(next() % text.size(), next() % 64)); break;
      }
    }
    KsNode::ResetGlobals();
    KsPartition* p = new KsPartition;
    kstest::Realize(*p, text);
    Count(*p);
    delete p;
    ASSERT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << text;
  }
}

}  // namespace
