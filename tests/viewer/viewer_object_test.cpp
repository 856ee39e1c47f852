#include <cmath>
#include <cstdlib>

#include "graphics/zbuffer/zbuffer_alloc.h"
#include "viewer/failure_reports.h"
#include "viewer_fixture.h"

namespace lvtest {
namespace {

constexpr const char kOneBox[] =
    "#VRML V2.0 utf8\n"
    "Transform { translation 1 2 3 children Shape { geometry Box { size 2 2 2 } } }\n";

constexpr const char kThreeViewpoints[] =
    "#VRML V2.0 utf8\n"
    "Viewpoint { position 0 0 10 }\n"
    "Viewpoint { position 0 0 20 }\n"
    "Viewpoint { position 0 0 30 }\n"
    "Shape { geometry Box { } }\n";

void ExpectNear(const KsVec3f& got, float x, float y, float z) {
  EXPECT_NEAR(got.x, x, 1e-4f);
  EXPECT_NEAR(got.y, y, 1e-4f);
  EXPECT_NEAR(got.z, z, 1e-4f);
}

TEST_F(ViewerTest, WithoutViewpointsTheExaminerLooksAtTheBoxFromItsDiagonal) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  EXPECT_EQ(KsViewpoint::GetBound(), ExaminerViewpoint());
  ExpectNear(viewer->GetExaminerCentre(), 1, 2, 3);
  float diagonal = std::sqrt(12.0f);
  ExpectNear(ExaminerViewpoint()->position.Get(), 1, 2, 3 + diagonal + 1);
  EXPECT_EQ(ExaminerViewpoint()->orientation.Get().angle, 0.0f);
  EXPECT_EQ(viewer->GetViewpointCount(), 0);

  // Looking along -z: the graphics library's pose has z negated, no turn.
  PwPose pose;
  viewer->ComputeCamera(&pose);
  EXPECT_NEAR(pose.z, -(3 + diagonal + 1), 1e-4f);
  EXPECT_EQ(pose.heading, 0);
  EXPECT_EQ(pose.pitch, 0);
  EXPECT_EQ(pose.bank, 0);
}

TEST_F(ViewerTest, APointSizedSceneGetsTheExaminerOneUnitInFront) {
  ASSERT_EQ(
      Load("point.wrl",
           "#VRML V2.0 utf8\n"
           "Transform { translation 4 0 0 children Shape { geometry Box { size 0 0 0 } } }\n"),
      1);
  ExpectNear(ExaminerViewpoint()->position.Get(), 4, 0, 1);
}

TEST_F(ViewerTest, AFailedLoadKeepsTheSceneCameraAndSnapshots) {
  ASSERT_EQ(Load("three.wrl", kThreeViewpoints), 1);
  KsPartition* scene = viewer->GetScene();
  KsViewpoint* bound = KsViewpoint::GetBound();
  EXPECT_EQ(bound, viewer->GetScene()->GetViewpoint(0));
  EXPECT_EQ(viewer->LoadFile((testing::TempDir() + "no_such_file.wrl").c_str()), 0);
  EXPECT_EQ(viewer->GetScene(), scene);
  EXPECT_EQ(KsViewpoint::GetBound(), bound);
  EXPECT_EQ(viewer->GetViewpointCount(), 3);
}

TEST_F(ViewerTest, NextAndPreviousCameraWrapAround) {
  ASSERT_EQ(Load("three.wrl", kThreeViewpoints), 1);
  KsPartition* scene = viewer->GetScene();
  viewer->NextCamera();
  viewer->NextCamera();
  EXPECT_EQ(viewer->GetViewpointIndex(), 2);
  EXPECT_EQ(KsViewpoint::GetBound(), scene->GetViewpoint(2));
  viewer->NextCamera();
  EXPECT_EQ(viewer->GetViewpointIndex(), 0);
  EXPECT_EQ(KsViewpoint::GetBound(), scene->GetViewpoint(0));
  viewer->PreviousCamera();
  EXPECT_EQ(viewer->GetViewpointIndex(), 2);
  EXPECT_EQ(KsViewpoint::GetBound(), scene->GetViewpoint(2));
  viewer->Examiner();
  EXPECT_EQ(KsViewpoint::GetBound(), ExaminerViewpoint());
  viewer->Camera();
  EXPECT_EQ(KsViewpoint::GetBound(), scene->GetViewpoint(2));
}

TEST_F(ViewerTest, CameraCommandsWithoutViewpointsBindNothing) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  viewer->NextCamera();
  EXPECT_EQ(viewer->GetViewpointIndex(), 0);
  viewer->PreviousCamera();
  EXPECT_EQ(viewer->GetViewpointIndex(), 0);
  EXPECT_EQ(KsViewpoint::GetBound(), ExaminerViewpoint());
}

TEST_F(ViewerTest, ZoomAndMoozScaleTheDistanceToTheCentre) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  float d = std::sqrt(12.0f) + 1;
  viewer->Zoom();
  ExpectNear(BoundPosition(), 1, 2, 3 + d / 1.1f);
  viewer->Mooz();
  ExpectNear(BoundPosition(), 1, 2, 3 + d);
}

TEST_F(ViewerTest, ZoomAtTheCentreStaysAndMoozStepsBack) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  ExaminerViewpoint()->position.Set(KsVec3f(1, 2, 3.05f));
  viewer->Zoom();
  ExpectNear(BoundPosition(), 1, 2, 3.05f);
  ExaminerViewpoint()->position.Set(KsVec3f(1, 2, 3));
  viewer->Mooz();
  ExpectNear(BoundPosition(), 1, 2, 3.1f);
}

TEST_F(ViewerTest, ARightDragOfHundredPixelsTurnsHalfWayRound) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  float d = std::sqrt(12.0f) + 1;
  viewer->RightButton(1, 10, 10);
  EXPECT_EQ(viewer->GetDragState(), kViewerDragOrbit);
  viewer->MouseMove(110, 10);
  viewer->RightButton(0, 110, 10);
  EXPECT_EQ(viewer->GetDragState(), kViewerDragNone);
  ExpectNear(BoundPosition(), 1, 2, 3 - d);
  // Now looking along +z.
  KsMatrix m;
  KsViewpoint::GetBound()->GetMatrix(&m);
  KsVec3f view;
  m.Apply(view, KsVec3f(0, 0, -1), 0.0f);
  ExpectNear(view, 0, 0, 1);
}

TEST_F(ViewerTest, MoveCarriesCameraAndCentreATenthOfTheDistance) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  float d = std::sqrt(12.0f) + 1;
  viewer->Forward();
  ExpectNear(BoundPosition(), 1, 2, 3 + d - 0.1f * d);
  ExpectNear(viewer->GetExaminerCentre(), 1, 2, 3 - 0.1f * d);
  viewer->Right();
  ExpectNear(viewer->GetExaminerCentre(), 1 + 0.1f * d, 2, 3 - 0.1f * d);
}

TEST_F(ViewerTest, ResetPutsEveryViewpointBackAsLoaded) {
  ASSERT_EQ(Load("three.wrl", kThreeViewpoints), 1);
  viewer->Zoom();
  viewer->NextCamera();
  viewer->Forward();
  viewer->ResetCameraPosition();
  KsPartition* scene = viewer->GetScene();
  for (int i = 0; i < 3; ++i) {
    ExpectNear(static_cast<KsViewpoint*>(scene->GetViewpoint(i))->position.Get(), 0, 0,
               10.0f * (i + 1));
  }
}

TEST_F(ViewerTest, OperationsNeedingASceneDoNothingWithoutOne) {
  KsViewpoint* before = KsViewpoint::GetBound();
  viewer->NextCamera();
  viewer->Zoom();
  viewer->Forward();
  viewer->Tick(0.1);
  EXPECT_EQ(KsClock::GetTime(), 0.1f);
  EXPECT_EQ(KsViewpoint::GetBound(), before);
  viewer->LeftButton(1, 5, 5);
  EXPECT_EQ(viewer->GetDragState(), kViewerDragNone);
  viewer->RightButton(1, 5, 5);
  EXPECT_EQ(viewer->GetDragState(), kViewerDragOrbit);
  // The other button leaves an active state alone.
  viewer->LeftButton(1, 5, 5);
  EXPECT_EQ(viewer->GetDragState(), kViewerDragOrbit);
}

TEST_F(ViewerTest, TickAdvancesTheClockAndDrivesTimeSensors) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  viewer->Tick(0.1);
  viewer->Tick(0.1);
  float expected = 0.1f;
  expected += 0.1f;
  expected += 0.1f;
  EXPECT_EQ(KsClock::GetTime(), expected);
}

TEST_F(ViewerTest, CloseFileDropsTheScene) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  viewer->CloseFile();
  EXPECT_EQ(viewer->GetScene(), nullptr);
  viewer->Render();  // only the no-file text
}

TEST_F(ViewerTest, BackgroundColourReplacesTheScenesBackground) {
  ASSERT_EQ(Load("bg.wrl",
                 "#VRML V2.0 utf8\nBackground { skyColor [ 0 0 1 ] }\n"
                 "Shape { geometry Box { size 0.01 0.01 0.01 } }\n"),
            1);
  viewer->Render();
  PwColor blue = {0, 0, 255};
  EXPECT_GT(surface.Count(blue), 160 * 120 / 3);  // the sky half
  PwColor red = {0, 255, 0};
  viewer->SetBackgroundColor(red);
  EXPECT_EQ(viewer->GetUseVrmlBackground(), 0);
  viewer->Render();
  EXPECT_GT(surface.Count(red), 160 * 120 / 2);
  viewer->UseVrmlBackground();
  viewer->Render();
  EXPECT_GT(surface.Count(blue), 160 * 120 / 3);  // the sky half
}

TEST_F(ViewerTest, AnExportWaitsForTheFirstFrameWithAScene) {
  std::string path = testing::TempDir() + "pending.tif";
  std::remove(path.c_str());
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportTif, path.c_str(), 32, 24), 1);
  viewer->Render();
  EXPECT_EQ(viewer->GetExportKind(), kViewerExportTif);
  EXPECT_EQ(ReadFileBytes(path), "");
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  viewer->Render();
  EXPECT_EQ(viewer->GetExportKind(), kViewerExportNone);
  std::string tif = ReadFileBytes(path);
  ASSERT_GE(tif.size(), 32u * 24u * 3u);
  EXPECT_TRUE(tif.compare(0, 4, std::string("II*\0", 4)) == 0 ||
              tif.compare(0, 4, std::string("MM\0*", 4)) == 0);
}

TEST_F(ViewerTest, ExportsWriteTheirFiles) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  struct Case {
    int kind;
    const char* name;
    const char* starts;
  } cases[] = {
      {kViewerExportBmp, "out.bmp", "BM"},
      {kViewerExportPs, "out.ps", "%!PS-Adobe"},
  };
  for (const Case& c : cases) {
    std::string path = testing::TempDir() + c.name;
    std::remove(path.c_str());
    ASSERT_EQ(viewer->SetPendingExport(c.kind, path.c_str(), 40, 30), 1);
    viewer->Render();
    EXPECT_EQ(viewer->GetExportKind(), kViewerExportNone);
    EXPECT_EQ(ReadFileBytes(path).compare(0, std::strlen(c.starts), c.starts), 0) << c.name;
  }
}

TEST_F(ViewerTest, SrfExportCapturesSceneCoordinates) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  std::string path = testing::TempDir() + "out.srf";
  std::remove(path.c_str());
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportSrf, path.c_str(), 0, 0), 1);
  viewer->Render();
  std::string srf = ReadFileBytes(path);
  ASSERT_FALSE(srf.empty());
  // The box spans x 0..2 in the scene, whatever the camera.
  EXPECT_NE(srf.find("2.0"), std::string::npos) << srf.substr(0, 400);
}

TEST_F(ViewerTest, WrlExportWritesTheSceneThatReadsBack) {
  ASSERT_EQ(Load("three.wrl", kThreeViewpoints), 1);
  std::string path = testing::TempDir() + "out_scene.wrl";
  std::remove(path.c_str());
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportWrl, path.c_str(), 0, 0), 1);
  viewer->Render();
  EXPECT_EQ(viewer->GetExportKind(), kViewerExportNone);
  EXPECT_EQ(viewer->GetLastWriteResult(), 0);
  std::string text = ReadFileBytes(path);
  // Text mode: CR LF line ends on Windows.
  EXPECT_TRUE(text.compare(0, 16, "#VRML V2.0 utf8\n") == 0 ||
              text.compare(0, 17, "#VRML V2.0 utf8\r\n") == 0)
      << text.substr(0, 40);
  ASSERT_EQ(viewer->LoadFile(path.c_str()), 1);
  EXPECT_EQ(viewer->GetViewpointCount(), 3);

  // A folder that does not exist: reported, cleared, the frame drawn.
  std::string bad = testing::TempDir() + "no_such_dir/x.wrl";
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportWrl, bad.c_str(), 0, 0), 1);
  viewer->Render();
  EXPECT_EQ(viewer->GetExportKind(), kViewerExportNone);
  EXPECT_EQ(viewer->GetLastWriteResult(), 1);
}

TEST_F(ViewerTest, AnExportThatCannotBeWrittenIsToldOnceAndChangesNothing) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  const std::string bad = testing::TempDir() + "no_such_dir/out";
  const int kinds[] = {kViewerExportTif, kViewerExportBmp, kViewerExportPs, kViewerExportSrf,
                       kViewerExportWrl};
  for (int kind : kinds) {
    ASSERT_EQ(viewer->SetPendingExport(kind, bad.c_str(), 40, 30), 1);
    viewer->Render();
    char path[kViewerPathSize] = {0};
    EXPECT_EQ(viewer->TakeFailedExport(path), kind);
    EXPECT_STREQ(path, bad.c_str());
    EXPECT_EQ(viewer->TakeFailedExport(path), kViewerExportNone) << kind;
  }
  // A size the image cannot be made at fails the same way.
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportBmp, (bad + ".bmp").c_str(), 0, 0), 1);
  viewer->Render();
  char path[kViewerPathSize];
  EXPECT_EQ(viewer->TakeFailedExport(path), kViewerExportBmp);

  // One that is written is not told, and replaces the old file whole.
  const std::string good = WriteTextFile("replaced.ps", "old text");
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportPs, good.c_str(), 40, 30), 1);
  viewer->Render();
  EXPECT_EQ(viewer->TakeFailedExport(path), kViewerExportNone);
  EXPECT_EQ(ReadFileBytes(good).compare(0, 10, "%!PS-Adobe"), 0);
}

namespace {
void* RefuseLargeBlocks(std::size_t bytes) {
  return bytes > (1u << 20) ? nullptr : std::malloc(bytes);
}
}  // namespace

TEST_F(ViewerTest, AnImageWhoseBuffersCannotBeHadIsToldAsUndrawnNotUnwritten) {
  ASSERT_EQ(Load("one_box.wrl", kOneBox), 1);
  const std::string target = testing::TempDir() + "undrawn.bmp";
  std::remove(target.c_str());
  PwZSetAllocFunc(RefuseLargeBlocks);
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportBmp, target.c_str(), 2000, 1500), 1);
  viewer->Render();
  PwZSetAllocFunc(nullptr);
  char path[kViewerPathSize] = {0};
  int undrawn = 0, width = 0, height = 0;
  EXPECT_EQ(viewer->TakeFailedExport(path, &undrawn, &width, &height), kViewerExportBmp);
  EXPECT_EQ(undrawn, 1);
  EXPECT_EQ(width, 2000);
  EXPECT_EQ(height, 1500);
  char text[kViewerReportSize];
  ViewerExportUndrawnText(path, width, height, text);
  EXPECT_EQ(std::string(text), "The picture could not be drawn at 2000 x 1500:\n" + target +
                                   "\n\nThere is not enough memory for that size. Try a "
                                   "smaller one.");
  EXPECT_EQ(ReadFileBytes(target), "");
  // A folder that cannot be written is not a size that cannot be drawn.
  const std::string bad = testing::TempDir() + "no_such_dir/x.bmp";
  ASSERT_EQ(viewer->SetPendingExport(kViewerExportBmp, bad.c_str(), 20, 15), 1);
  viewer->Render();
  EXPECT_EQ(viewer->TakeFailedExport(path, &undrawn, &width, &height), kViewerExportBmp);
  EXPECT_EQ(undrawn, 0);
}

TEST_F(ViewerTest, AnOverLongExportPathIsRefused) {
  std::string path(300, 'a');
  EXPECT_EQ(viewer->SetPendingExport(kViewerExportBmp, path.c_str(), 4, 4), 0);
  EXPECT_EQ(viewer->GetExportKind(), kViewerExportNone);
}

}  // namespace
}  // namespace lvtest

namespace lvtest {
namespace {

TEST_F(ViewerTest, TicksRunTimeSensorsThroughTheirRoutes) {
  ASSERT_EQ(viewer->LoadFile(LV_SOURCE_DIR "/tests/viewer/data/sensors.wrl"), 1);
  KsNode* mover = viewer->GetScene()->LookUpLabel("MOVER");
  ASSERT_NE(mover, nullptr);
  for (int i = 0; i < 10; ++i) viewer->Tick(0.1);
  KsSFVec3f* translation = static_cast<KsSFVec3f*>(mover->LookUpMember("translation"));
  ASSERT_NE(translation, nullptr);
  // Scene time 1.1 of a 40 s cycle from -4 to 4.
  EXPECT_NEAR(translation->Get().x, -4.0f + 8.0f * 1.1f / 40.0f, 1e-3f);
}

}  // namespace
}  // namespace lvtest

#include "viewer/dropped_files.h"
#include "viewer/viewer_settings.h"

namespace lvtest {
namespace {

TEST_F(ViewerTest, OfThreeDroppedFilesTheFirstThatLoadsWins) {
  ViewerResetSettings();
  std::string second = WriteTextFile("drop_second.wrl", "#VRML V2.0 utf8\nViewpoint { }\n");
  std::string third =
      WriteTextFile("drop_third.wrl", "#VRML V2.0 utf8\nViewpoint { }\nViewpoint { }\n");
  std::string first = testing::TempDir() + "drop_missing.wrl";
  const char* names[] = {first.c_str(), second.c_str(), third.c_str()};
  EXPECT_EQ(ViewerLoadFirstOf(viewer, names, 3), 1);
  EXPECT_EQ(viewer->GetViewpointCount(), 1);  // the second, not the third
  EXPECT_STREQ(ViewerGetSettings().last_open_path, second.c_str());
  const char* none[] = {"", nullptr};
  EXPECT_EQ(ViewerLoadFirstOf(viewer, none, 2), -1);
  EXPECT_EQ(ViewerLoadFirstOf(nullptr, names, 3), -1);
  ViewerResetSettings();
}

}  // namespace
}  // namespace lvtest

namespace lvtest {
namespace {

TEST_F(ViewerTest, LoadingTellsVisibilitySensorsTheyAreSeen) {
  KsClock::SetTime(5.0f);
  ASSERT_EQ(Load("visible.wrl",
                 "#VRML V2.0 utf8\n"
                 "DEF SEEN VisibilitySensor { }\n"
                 "DEF CLK TimeSensor { }\n"
                 "ROUTE SEEN.enterTime TO CLK.set_startTime\n"),
            1);
  KsNode* clock = viewer->GetScene()->LookUpLabel("CLK");
  ASSERT_NE(clock, nullptr);
  KsSFTime* start = static_cast<KsSFTime*>(clock->LookUpMember("startTime"));
  ASSERT_NE(start, nullptr);
  EXPECT_EQ(start->Get(), 5.0f);
}

}  // namespace
}  // namespace lvtest
