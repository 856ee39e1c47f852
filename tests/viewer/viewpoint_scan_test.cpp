// A world of many viewpoints opens in one walk of its scene (two when it
// holds PROTO instances), whatever the number of viewpoints, and every
// viewpoint answer (which is viewpoint n, how many there are, what a reset
// restores, where Previous wraps to) is the one a walk per question gives.
#include <string>
#include <vector>

#include "scenegraph/core/object/node_scanner.h"
#include "tests/bench/bounded_worlds.h"
#include "viewer_fixture.h"

namespace lvtest {
namespace {

// Viewpoint n as a walk of its own finds it: the answer before one walk
// served them all.
KsNode* WalkedViewpoint(KsPartition* scene, int n) {
  KsNodeFinder finder;
  finder.SetTargetName("KsViewpoint");
  finder.SetEnterProto(1);
  scene->Scan(&finder);
  return finder.Get(n);
}

std::string Description(KsNode* node) {
  if (!node) return "(none)";
  const char* text = static_cast<KsViewpoint*>(node)->description.Get();
  return text ? text : "";
}

// Viewpoints in nested groups, one used twice, one handed to a PROTO
// instance through a field and one inside a PROTO body (not counted).
constexpr const char kMixed[] =
    "#VRML V2.0 utf8\n"
    "PROTO Holder [ exposedField MFNode kids [ ] ] {\n"
    "  Group { children IS kids }\n"
    "  Viewpoint { description \"body\" }\n"
    "}\n"
    "Viewpoint { description \"a\" }\n"
    "Transform { children [ Group { children DEF B Viewpoint { description \"b\" } } ] }\n"
    "Holder { kids [ Viewpoint { description \"c\" } ] }\n"
    "Group { children [ USE B Shape { geometry Box { } } ] }\n"
    "Viewpoint { description \"d\" }\n";

TEST_F(ViewerTest, EveryViewpointAnswerIsTheOneAWalkPerQuestionGives) {
  struct World {
    const char* name;
    std::string text;
    long walks;                      // of the whole scene by the open
    std::vector<std::string> order;  // descriptions by index
  } worlds[] = {
      // PROTO instances: a walk into them and one around them.
      {"mixed", kMixed, 2, {"a", "b", "c", "b", "d"}},
      {"many", lvbench::ManyViewpointWorld(300, 1200), 1, {}},
      {"no_viewpoints", lvbench::ManyViewpointWorld(0, 50), 1, {}},
  };
  for (int i = 0; i < 300; ++i) worlds[1].order.push_back("v" + std::to_string(i));
  for (World& w : worlds) {
    KsPartition::ResetScanCount();
    ASSERT_EQ(Load(std::string("vps_") + w.name + ".wrl", w.text), 1) << w.name;
    // For any number of viewpoints (each question a walk of its own made
    // 2V + 5).
    EXPECT_EQ(KsPartition::GetScanCount(), w.walks) << w.name;
    KsPartition* scene = viewer->GetScene();
    const int count = static_cast<int>(w.order.size());
    EXPECT_EQ(viewer->GetViewpointCount(), count) << w.name;
    std::vector<KsNode*> all;
    scene->GetViewpoints(&all);
    ASSERT_EQ(static_cast<int>(all.size()), count) << w.name;
    const int probes[] = {-1, 0, 1, count / 2, count - 1, count, count + 1};
    for (int n : probes) {
      const std::string want =
          n >= 0 && n < count ? w.order[static_cast<size_t>(n)] : std::string("(none)");
      EXPECT_EQ(Description(scene->GetViewpoint(n)), want) << w.name << " " << n;
      EXPECT_EQ(scene->GetViewpoint(n), WalkedViewpoint(scene, n)) << w.name << " " << n;
    }
    EXPECT_EQ(KsViewpoint::GetBound(), count > 0 ? WalkedViewpoint(scene, 0) : ExaminerViewpoint())
        << w.name;

    // Previous from the first wraps to the last; each key is a few walks.
    KsPartition::ResetScanCount();
    viewer->PreviousCamera();
    EXPECT_LE(KsPartition::GetScanCount(), 3) << w.name;
    EXPECT_EQ(viewer->GetViewpointIndex(), count > 0 ? count - 1 : 0) << w.name;
    if (count > 0) {
      EXPECT_EQ(KsViewpoint::GetBound(), WalkedViewpoint(scene, count - 1));
    }

    // Reset puts back what each viewpoint held at the open, in one walk.
    for (KsNode* vp : all) static_cast<KsViewpoint*>(vp)->position.Set(KsVec3f(-7, -7, -7));
    KsPartition::ResetScanCount();
    viewer->ResetCameraPosition();
    EXPECT_EQ(KsPartition::GetScanCount(), 1) << w.name;
    for (int n = 0; n < count && w.text != kMixed; ++n) {
      const KsVec3f p = static_cast<KsViewpoint*>(all[static_cast<size_t>(n)])->position.Get();
      EXPECT_EQ(p.x, static_cast<float>(n)) << w.name << " " << n;
      EXPECT_EQ(p.z, 10.0f) << w.name << " " << n;
    }
  }
}

}  // namespace
}  // namespace lvtest
