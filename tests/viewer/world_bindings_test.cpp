#include <string>

#include "viewer_fixture.h"

namespace lvtest {
namespace {

// A sky of its own, the second of each kind never bound.
constexpr const char kBindables[] =
    "#VRML V2.0 utf8\n"
    "DEF SKY Background { skyColor [ 0 0 1 ] groundColor [ 0 0 1 ] }\n"
    "DEF FOG Fog { color 1 0 0 }\n"
    "DEF NAV NavigationInfo { speed 2 }\n"
    "DEF VIEW Viewpoint { position 0 0 5 }\n"
    "Background { skyColor [ 1 0 0 ] }\n"
    "Fog { }\n"
    "NavigationInfo { }\n"
    "Viewpoint { }\n"
    "Shape { geometry Box { size 0.01 0.01 0.01 } }\n";

class WorldBindingsTest : public ViewerTest {
 protected:
  // The world now open binds its own first node of every kind.
  void ExpectOwnBindings(const char* when) {
    KsPartition* scene = viewer->GetScene();
    ASSERT_NE(scene, nullptr) << when;
    EXPECT_EQ(KsBackground::GetCurrent(), scene->LookUpLabel("SKY")) << when;
    EXPECT_EQ(KsFog::GetCurrent(), scene->LookUpLabel("FOG")) << when;
    EXPECT_EQ(KsNavigationInfo::GetCurrent(), scene->LookUpLabel("NAV")) << when;
    EXPECT_EQ(KsViewpoint::GetBound(), scene->LookUpLabel("VIEW")) << when;
    viewer->Render();
    const PwColor blue = {0, 0, 255};
    EXPECT_GT(surface.Count(blue), 160 * 120 / 2) << when << ": the sky is not drawn";
  }
};

TEST_F(WorldBindingsTest, EveryOpeningOfAWorldBindsItsOwnFirstNodes) {
  const std::string path = WriteTextFile("bindables.wrl", kBindables);
  for (int i = 0; i < 5; ++i) {
    ASSERT_EQ(viewer->LoadFile(path.c_str()), 1);
    ExpectOwnBindings(("opening " + std::to_string(i + 1)).c_str());
  }
  viewer->CloseFile();
  EXPECT_EQ(KsBackground::GetCurrent(), nullptr);
  EXPECT_EQ(KsFog::GetCurrent(), nullptr);
  EXPECT_EQ(KsNavigationInfo::GetCurrent(), nullptr);
  ASSERT_EQ(viewer->LoadFile(path.c_str()), 1);
  ExpectOwnBindings("open after close");
}

TEST_F(WorldBindingsTest, AWorldWithoutThemKeepsNoneOfTheWorldBefore) {
  ASSERT_EQ(Load("bindables.wrl", kBindables), 1);
  ASSERT_EQ(Load("bare.wrl", "#VRML V2.0 utf8\nShape { geometry Box { size 0.01 0.01 0.01 } }\n"),
            1);
  EXPECT_EQ(KsBackground::GetCurrent(), nullptr);
  EXPECT_EQ(KsFog::GetCurrent(), nullptr);
  EXPECT_EQ(KsNavigationInfo::GetCurrent(), nullptr);
  viewer->Render();
  EXPECT_GT(surface.Count(viewer->GetBackgroundColor()), 160 * 120 / 2);
  // And back: the first world's own nodes again.
  ASSERT_EQ(Load("bindables.wrl", kBindables), 1);
  ExpectOwnBindings("reopened after a bare world");
}

// The binding walk enters PROTO instances, and a node of a PROTO's
// definition, which is no part of the world, is never bound.
TEST_F(WorldBindingsTest, TheFirstInWalkOrderIncludingProtoInstances) {
  ASSERT_EQ(Load("bindables.wrl", kBindables), 1);
  ASSERT_EQ(Load("proto_sky.wrl",
                 "#VRML V2.0 utf8\n"
                 "PROTO Sky [ ] { Background { skyColor [ 0 1 0 ] } }\n"
                 "PROTO Unused [ ] { Background { skyColor [ 1 1 0 ] } }\n"
                 "Group { children Sky { } }\n"
                 "DEF LATER Background { skyColor [ 1 0 0 ] }\n"
                 "Shape { geometry Box { size 0.01 0.01 0.01 } }\n"),
            1);
  KsBackground* bound = KsBackground::GetCurrent();
  ASSERT_NE(bound, nullptr);
  EXPECT_NE(bound, viewer->GetScene()->LookUpLabel("LATER"));
  ASSERT_EQ(bound->skyColor.GetCount(), 1);
  EXPECT_EQ(bound->skyColor.Get(0)->g, 1.0f);
  EXPECT_EQ(bound->skyColor.Get(0)->r, 0.0f);
}

// Bound once its routes exist, so they hear of it.
TEST_F(WorldBindingsTest, BindingAtOpenReachesTheWorldsRoutes) {
  ASSERT_EQ(Load("bound_route.wrl",
                 "#VRML V2.0 utf8\n"
                 "DEF SKY Background { skyColor [ 0 0 1 ] }\n"
                 "DEF TOLD TimeSensor { enabled FALSE }\n"
                 "ROUTE SKY.isBound TO TOLD.set_enabled\n"),
            1);
  KsNode* told = viewer->GetScene()->LookUpLabel("TOLD");
  ASSERT_NE(told, nullptr);
  auto* enabled = static_cast<KsSFBool*>(told->LookUpMember("enabled"));
  ASSERT_NE(enabled, nullptr);
  EXPECT_EQ(enabled->Get(), KS_TRUE);
}

}  // namespace
}  // namespace lvtest
