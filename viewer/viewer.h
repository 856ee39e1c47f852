// The one viewer object: owns the loaded scene, chooses and moves the
// camera, turns mouse input into sensor and orbit actions, advances the
// scene clock and draws every frame, with a pending export around it.
#pragma once

#include <cstddef>
#include <vector>

#include "graphics/math/pw_types.h"
#include "scenegraph/core/ks_types.h"
#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/math/rotation.h"
#include "scenegraph/core/math/vec.h"

class KsNode;
class KsPartition;
class KsViewpoint;

// Pending export kinds.
enum ViewerExportKind {
  kViewerExportNone = 0,
  kViewerExportTif = 1,
  kViewerExportBmp = 2,
  kViewerExportPs = 3,
  kViewerExportSrf = 4,
  kViewerExportWrl = 5
};

// Drag states.
enum { kViewerDragNone = 0, kViewerDragOrbit = 1, kViewerDragSensor = 2 };

constexpr int kViewerPathSize = 256;
constexpr const char kViewerNoFileText[] = "NO FILE IS OPENED.";

// The examiner camera: never part of a scene, so its world matrix is its
// own position and orientation. Made on first use, destroyed at exit.
KsViewpoint* ExaminerViewpoint();

// What every viewer starts before its window: the node library, the examiner
// camera, the 3D state on its pools, the z-buffer and lighting.
void ViewerStartGraphics(unsigned char* mainPool, std::size_t mainBytes, unsigned char* pickPool,
                         std::size_t pickBytes);

// The fields of one scene viewpoint as they were at load.
struct ViewpointSnapshot {
  float fieldOfView = 0.785398f;
  KSBOOL jump = KS_FALSE;
  KsRotation orientation;
  KsVec3f position;
  std::vector<char> description;
};

class Viewer {
 public:
  Viewer();
  ~Viewer();
  Viewer(const Viewer&) = delete;
  Viewer& operator=(const Viewer&) = delete;

  // 1 when the file became the scene; 0 leaves everything as it was, and
  // GetLoadFailure says why.
  int LoadFile(const char* path);
  // What the last load that failed ran into (its failure and line).
  const KsReadErrors& GetLoadFailure() const { return loadFailure_; }
  void CloseFile();
  void Render();
  // One idle pass, elapsed real seconds after the one before: the scene
  // clock moves that far (at most a tenth of a second) and every time
  // sensor sees the new time.
  void Tick(double elapsed);
  void ComputeCamera(PwPose* pose) const;

  void LeftButton(int pressed, int x, int y);
  void RightButton(int pressed, int x, int y);
  void MouseMove(int x, int y);
  void Rotate(int dx, int dy);

  void Examiner();
  void Camera();
  void NextCamera();
  void PreviousCamera();
  void ResetCameraPosition();
  void Zoom();
  void Mooz();
  void Forward() { Move(0, 0, -1); }
  void Backward() { Move(0, 0, 1); }
  void Left() { Move(-1, 0, 0); }
  void Right() { Move(1, 0, 0); }
  void Up() { Move(0, 1, 0); }
  void Down() { Move(0, -1, 0); }
  void Move(float dx, float dy, float dz);

  void SetBackgroundColor(PwColor colour);
  void UseVrmlBackground();

  // Records an export for the next frame that has a scene. A path that does
  // not fit is refused (0) and nothing is recorded.
  int SetPendingExport(int kind, const char* path, int width, int height);

  KsPartition* GetScene() const { return scene_; }
  int GetExportKind() const { return exportKind_; }
  const char* GetExportPath() const { return exportPath_; }
  int GetViewpointIndex() const { return viewpointIndex_; }
  int GetViewpointCount() const { return viewpointCount_; }
  int GetDragState() const { return dragState_; }
  const KsVec3f& GetExaminerCentre() const { return examinerCentre_; }
  const KsVec3f& GetBoxMin() const { return boxMin_; }
  const KsVec3f& GetBoxMax() const { return boxMax_; }
  int GetUseVrmlBackground() const { return useVrmlBackground_; }
  PwColor GetBackgroundColor() const { return background_; }
  // The result of the last WRL export (0 written, 1 failed; -1 none yet).
  int GetLastWriteResult() const { return lastWriteResult_; }
  // The export that a frame tried and could not write: its kind (0 none),
  // with its path copied out. Taking it clears it, so it is told once.
  // When the picture could not be made at its size (its buffers could not
  // be had), *undrawn is 1 and *width, *height that size; otherwise 0.
  int TakeFailedExport(char path[kViewerPathSize], int* undrawn = nullptr, int* width = nullptr,
                       int* height = nullptr);

 private:
  void BeginExport(PwPose* pose);
  void EndExport();
  void NoteFailedExport();
  void TakeSnapshots(const std::vector<KsNode*>& viewpoints);

  KsPartition* scene_ = nullptr;
  KsVec3f boxMin_, boxMax_, centre_;
  int viewpointIndex_ = 0;
  KsVec3f examinerCentre_;
  int viewpointCount_ = 0;
  std::vector<ViewpointSnapshot> snapshots_;
  int dragState_ = kViewerDragNone;
  int lastX_ = 0, lastY_ = 0;
  int exportKind_ = kViewerExportNone;
  int exportWidth_ = 0, exportHeight_ = 0;
  char exportPath_[kViewerPathSize] = {0};
  int useVrmlBackground_ = 1;
  PwColor background_ = {32, 32, 32};
  int lastWriteResult_ = -1;
  int failedExport_ = kViewerExportNone;
  char failedPath_[kViewerPathSize] = {0};
  int exportUndrawn_ = 0;  // the pending export's picture could not be begun
  int failedUndrawn_ = 0;
  int failedWidth_ = 0, failedHeight_ = 0;
  KsReadErrors loadFailure_;
};

// The pose of a world matrix's camera for the graphics library: position,
// viewing direction (0,0,-1) and up (0,1,0), each with z negated.
class KsMatrix;
void ViewerPoseFromMatrix(const KsMatrix& world, PwPose* pose);
