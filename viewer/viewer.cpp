#include "viewer/viewer.h"

#include <cmath>
#include <cstring>
#include <new>

#include "graphics/draw2d/draw2d.h"
#include "graphics/formats/eps_output.h"
#include "graphics/formats/model_capture.h"
#include "graphics/picking/picking.h"
#include "graphics/math/pw_math.h"
#include "graphics/window/drawing_area.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/zbuffer/image_output.h"
#include "graphics/zbuffer/zbuffer.h"
#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/core/events/scene_clock.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/render/primitive_buffer.h"
#include "viewer/frame_clock.h"
#include "viewer/header_check.h"
#include "viewer/scene_export.h"
#include "viewer/scene_overflow.h"

KsViewpoint* ExaminerViewpoint() {
  static KsViewpoint examiner;
  return &examiner;
}

void ViewerStartGraphics(unsigned char* mainPool, std::size_t mainBytes, unsigned char* pickPool,
                         std::size_t pickBytes) {
  KsRegisterNodeLibrary();
  ExaminerViewpoint();
  PwInitMath();
  PwStart3D(mainPool, mainBytes);
  PwPickSetPool(pickPool, pickBytes);
  PwZInit();
  PwSetLighting(1);
}

namespace {

constexpr float kPi = 3.1415927f;

// The scene's viewpoints (in the order of KsPartition::GetViewpoint, whose
// walk does not enter PROTO instances) and its VisibilitySensors, and
// whether the walk met a PROTO instance. Until it meets one, a walk that
// enters them is the very walk GetViewpoint makes. Once gathered, each is
// held until the open is done with it: events sent meanwhile may take it
// out of the scene.
class OpeningScan : public KsNodeScanner {
 public:
  OpeningScan() { SetEnterProto(1); }
  ~OpeningScan() override {
    if (!held_) return;
    for (KsNode* node : viewpoints) node->Unref();
    for (KsNode* node : sensors) node->Unref();
  }
  OpeningScan(const OpeningScan&) = delete;
  OpeningScan& operator=(const OpeningScan&) = delete;
  int Visit(KsNode* node) override {
    const char* name = node->GetClassName();
    if (std::strcmp(name, "KsViewpoint") == 0) {
      viewpoints.push_back(node);
    } else if (std::strcmp(name, "KsVisibilitySensor") == 0) {
      sensors.push_back(node);
    } else if (std::strcmp(name, "KsCustomNode") == 0) {
      metInstance = true;
    }
    return 0;
  }
  void Restart() {
    viewpoints.clear();
    sensors.clear();
  }
  void Hold() {
    held_ = true;
    for (KsNode* node : viewpoints) node->Ref();
    for (KsNode* node : sensors) node->Ref();
  }

  std::vector<KsNode*> viewpoints;
  std::vector<KsNode*> sensors;
  bool metInstance = false;

 private:
  bool held_ = false;
};

// Tells every VisibilitySensor that it sees the scene from the start.
void TellVisible(const std::vector<KsNode*>& sensors, float time) {
  for (KsNode* node : sensors) {
    KsSFBool active;
    active.Set(KS_TRUE);
    node->SendEventOut("isActive", &active);
    KsSFTime enter;
    enter.Set(time < 0.0f ? KsClock::GetTime() : time);
    node->SendEventOut("enterTime", &enter);
  }
}

KsViewpoint* AsViewpoint(KsNode* node) { return static_cast<KsViewpoint*>(node); }

KsViewpoint* BoundViewpoint() { return KsViewpoint::GetBound(); }

KsVec3f ApplyPoint(const KsMatrix& m, const KsVec3f& p) {
  KsVec3f out;
  m.Apply(out, p, 1.0f);
  return out;
}

KsVec3f ApplyDirection(const KsMatrix& m, const KsVec3f& v) {
  KsVec3f out;
  m.Apply(out, v, 0.0f);
  return out;
}

}  // namespace

void ViewerPoseFromMatrix(const KsMatrix& world, PwPose* pose) {
  const PwVec3 eye = KsToLibrary(world, KsVec3f(0, 0, 0), 1.0f);
  const PwVec3 forward = KsToLibrary(world, KsVec3f(0, 0, -1), 0.0f);
  const PwVec3 upward = KsToLibrary(world, KsVec3f(0, 1, 0), 0.0f);
  PwAttitude attitude = {0, 0, 0};
  PwVectorsToAttitude(&attitude, &forward, &upward);
  pose->x = eye.x;
  pose->y = eye.y;
  pose->z = eye.z;
  pose->heading = attitude.heading;
  pose->pitch = attitude.pitch;
  pose->bank = attitude.bank;
}

Viewer::Viewer() = default;

Viewer::~Viewer() { CloseFile(); }

int Viewer::LoadFile(const char* path) {
  loadFailure_ = KsReadErrors();
  // What the Open dialog refuses by its first line is no VRML 2.0 world
  // from the command line or a drop either. A file that cannot be opened
  // is left to the read, which says why.
  const ViewerHeaderVerdict header = ViewerCheckHeaderFile(path);
  if (header.open_result == kKsFileOpened && header.load == 0) {
    loadFailure_.failure = header.empty == 1 ? kKsReadEmpty : kKsReadNotVrml2;
    return 0;
  }
  KsPartition* loaded = new (std::nothrow) KsPartition();
  if (!loaded) {
    loadFailure_.failure = kKsReadTooLarge;
    return 0;
  }
  // A notice of too many events given for the previous world is given
  // again for this one.
  KsRouter::NewFile();
  if (loaded->ReadFile(path) != 0) {
    loadFailure_ = loaded->GetReadErrors();
    // Everything it read goes with it.
    delete loaded;
    return 0;
  }
  CloseFile();
  scene_ = loaded;
  ViewerOverflowNewFile();
  // One walk, whatever the number of viewpoints, entering PROTO instances
  // (viewpoint paths, first bindables); a scene that holds instances needs
  // a second that does not (the viewpoints counted, the visibility sensors).
  OpeningScan opening;
  KsPrepareScene(scene_, &opening);
  if (opening.metInstance) {
    opening.Restart();
    scene_->Scan(&opening);
  }
  opening.Hold();

  viewpointIndex_ = 0;
  if (!opening.viewpoints.empty()) {
    AsViewpoint(opening.viewpoints[0])->Bind();
  } else {
    Examiner();
  }

  boxMin_ = KsVec3f();
  boxMax_ = KsVec3f();
  centre_ = KsVec3f();
  // The centre as GetCenter gives it, from the one box query: a second
  // query would cost as much again (and tell a scene too deep twice).
  if (scene_->GetBoundingBox(&boxMin_, &boxMax_) == 0) {
    centre_ = KsVec3f((boxMin_.x + boxMax_.x) / 2.0f, (boxMin_.y + boxMax_.y) / 2.0f,
                      (boxMin_.z + boxMax_.z) / 2.0f);
  }
  examinerCentre_ = centre_;

  KsViewpoint* examiner = ExaminerViewpoint();
  float diagonal = (boxMax_ - boxMin_).Length();
  examiner->position.Set(examinerCentre_ + KsVec3f(0, 0, diagonal + 1.0f));
  examiner->orientation.Set(KsRotation(0, 0, 1, 0));

  viewpointCount_ = static_cast<int>(opening.viewpoints.size());
  TakeSnapshots(opening.viewpoints);

  TellVisible(opening.sensors, KsClock::GetTime());
  return 1;
}

void Viewer::TakeSnapshots(const std::vector<KsNode*>& viewpoints) {
  snapshots_.clear();
  snapshots_.resize(viewpoints.size());
  for (std::size_t i = 0; i < viewpoints.size(); ++i) {
    KsViewpoint* vp = AsViewpoint(viewpoints[i]);
    ViewpointSnapshot& s = snapshots_[i];
    s.fieldOfView = vp->fieldOfView.Get();
    s.jump = vp->jump.Get();
    s.orientation = vp->orientation.Get();
    s.position = vp->position.Get();
    const char* text = vp->description.Get();
    if (!text) text = "";
    s.description.assign(text, text + std::strlen(text) + 1);
  }
}

void Viewer::CloseFile() {
  delete scene_;
  scene_ = nullptr;
}

void Viewer::ComputeCamera(PwPose* pose) const {
  KsViewpoint* vp = BoundViewpoint();
  if (!vp) vp = ExaminerViewpoint();
  KsMatrix world;
  vp->GetMatrix(&world);
  ViewerPoseFromMatrix(world, pose);
}

int Viewer::SetPendingExport(int kind, const char* path, int width, int height) {
  if (!path || std::strlen(path) >= sizeof exportPath_) return 0;
  std::memcpy(exportPath_, path, std::strlen(path) + 1);
  exportKind_ = kind;
  exportWidth_ = width;
  exportHeight_ = height;
  return 1;
}

void Viewer::BeginExport(PwPose* pose) {
  switch (exportKind_) {
    case kViewerExportTif:
    case kViewerExportBmp: {
      // The image is drawn in memory before its file is opened: a begin
      // that fails could not have the buffers for that size.
      const int format = exportKind_ == kViewerExportTif ? kPwImageTiff : kPwImageBmp;
      exportUndrawn_ = PwImageBegin(exportPath_, format, exportWidth_, exportHeight_) == 1 ? 0 : 1;
      break;
    }
    case kViewerExportPs: PwEpsBegin(exportPath_, exportWidth_, exportHeight_); break;
    case kViewerExportSrf:
      PwSrfBegin(exportPath_);
      // Captured polygons keep scene coordinates.
      *pose = *PwZeroPose();
      break;
    default: break;
  }
}

void Viewer::EndExport() {
  int written = 1;
  switch (exportKind_) {
    case kViewerExportTif:
    case kViewerExportBmp: written = PwImageEnd(); break;
    case kViewerExportPs: written = PwEpsEnd(); break;
    case kViewerExportSrf: written = PwSrfEnd(); break;
    case kViewerExportWrl:
      lastWriteResult_ = ViewerWriteScene(scene_, exportPath_);
      written = lastWriteResult_ == 0 ? 1 : 0;
      break;
    default: break;
  }
  if (written != 1) NoteFailedExport();
  exportKind_ = kViewerExportNone;
  exportUndrawn_ = 0;
}

void Viewer::NoteFailedExport() {
  failedExport_ = exportKind_;
  std::memcpy(failedPath_, exportPath_, sizeof failedPath_);
  failedUndrawn_ = exportUndrawn_;
  failedWidth_ = exportWidth_;
  failedHeight_ = exportHeight_;
}

int Viewer::TakeFailedExport(char path[kViewerPathSize], int* undrawn, int* width, int* height) {
  const int kind = failedExport_;
  if (kind != kViewerExportNone) std::memcpy(path, failedPath_, sizeof failedPath_);
  if (undrawn) *undrawn = kind != kViewerExportNone ? failedUndrawn_ : 0;
  if (width) *width = failedWidth_;
  if (height) *height = failedHeight_;
  failedExport_ = kViewerExportNone;
  return kind;
}

void Viewer::Render() {
  if (!scene_) {
    PwClearScreen();
    PwColor white = {255, 255, 255};
    PwDrawText2(PwPoint2{32, 32}, kViewerNoFileText, white);
    PwPresent();
    return;
  }
  PwProjection projection;
  PwDefaultProjection(&projection);
  projection.near = 0.01f;
  projection.far = 1000000.0f;
  PwSetProjection(&projection);
  PwClearScreen();

  PwPose pose;
  ComputeCamera(&pose);
  PwVec3 light = {pose.x, pose.y, pose.z};
  PwSetLight(&light);
  BeginExport(&pose);

  PwPickClear();
  PwSetEye(&pose);

  KsBackground* background = KsBackground::GetCurrent();
  if (useVrmlBackground_ == 1 && background) {
    background->ApplyColors();
  } else {
    int width = 0, height = 0;
    PwGetSurfaceSize(&width, &height);
    PwDrawBox2(PwPoint2{0, 0}, PwPoint2{width, height}, background_);
  }

  scene_->TraverseFromRoot();
  PwFlushSorted();
  PwPresent();
  EndExport();
  ViewerOverflowAfterFrame();
}

void Viewer::Tick(double elapsed) {
  if (!scene_) return;
  KsClock::Advance(ViewerClockStep(elapsed));
  scene_->SetTime();
}

void Viewer::LeftButton(int pressed, int x, int y) {
  lastX_ = x;
  lastY_ = y;
  if (pressed) {
    if (scene_) {
      scene_->Touch(x, y, 0, -1.0f);
      scene_->Drag(x, y, 0, -1.0f);
      if (dragState_ == kViewerDragNone) dragState_ = kViewerDragSensor;
    }
  } else if (scene_ && dragState_ == kViewerDragSensor) {
    scene_->Drag(x, y, 1, -1.0f);
    dragState_ = kViewerDragNone;
  }
  Render();
}

void Viewer::RightButton(int pressed, int x, int y) {
  lastX_ = x;
  lastY_ = y;
  if (pressed) {
    if (dragState_ == kViewerDragNone) dragState_ = kViewerDragOrbit;
  } else if (dragState_ == kViewerDragOrbit) {
    dragState_ = kViewerDragNone;
  }
  Render();
}

void Viewer::MouseMove(int x, int y) {
  if (dragState_ == kViewerDragSensor) {
    if (scene_) scene_->Drag(x, y, 0, -1.0f);
  } else if (dragState_ == kViewerDragOrbit) {
    Rotate(x - lastX_, y - lastY_);
  }
  lastX_ = x;
  lastY_ = y;
  Render();
}

void Viewer::Rotate(int dx, int dy) {
  KsViewpoint* vp = BoundViewpoint();
  if (!vp) return;
  KsMatrix m;
  vp->GetMatrix(&m);
  const KsVec3f& e = examinerCentre_;
  KsVec3f up = ApplyDirection(m, KsVec3f(0, 1, 0));
  KsVec3f right = ApplyDirection(m, KsVec3f(1, 0, 0));
  float alpha = static_cast<float>(dx) * kPi * 0.01f;
  float beta = static_cast<float>(dy) * kPi * 0.01f;
  KsMatrix t;
  t.Identity();
  t.Translate(e);
  t.Rotate(up.x, up.y, up.z, alpha);
  t.Rotate(right.x, right.y, right.z, beta);
  t.Translate(KsVec3f(-e.x, -e.y, -e.z));
  t.Invert();
  KsMatrix moved = KsMatrix::Multiply(t, m);
  KsRotation orientation;
  moved.GetRotation(orientation);
  vp->position.Set(ApplyPoint(moved, KsVec3f(0, 0, 0)));
  vp->orientation.Set(orientation);
}

void Viewer::Examiner() { ExaminerViewpoint()->Bind(); }

void Viewer::Camera() {
  if (!scene_) return;
  if (KsNode* vp = scene_->GetViewpoint(viewpointIndex_)) AsViewpoint(vp)->Bind();
}

void Viewer::NextCamera() {
  if (!scene_) return;
  Camera();
  ++viewpointIndex_;
  KsNode* vp = scene_->GetViewpoint(viewpointIndex_);
  if (!vp) {
    viewpointIndex_ = 0;
    vp = scene_->GetViewpoint(0);
  }
  if (vp) AsViewpoint(vp)->Bind();
}

void Viewer::PreviousCamera() {
  if (!scene_) return;
  Camera();
  --viewpointIndex_;
  if (viewpointIndex_ < 0) {
    std::vector<KsNode*> all;
    scene_->GetViewpoints(&all);
    viewpointIndex_ = all.empty() ? 0 : static_cast<int>(all.size()) - 1;
  }
  if (KsNode* vp = scene_->GetViewpoint(viewpointIndex_)) AsViewpoint(vp)->Bind();
}

void Viewer::ResetCameraPosition() {
  if (!scene_) return;
  std::vector<KsNode*> all;
  scene_->GetViewpoints(&all);
  // Held while they are set: the events sent may take one out of the scene.
  for (KsNode* node : all) node->Ref();
  for (int i = 0; i < viewpointCount_ && i < static_cast<int>(snapshots_.size()) &&
                  i < static_cast<int>(all.size());
       ++i) {
    KsViewpoint* vp = AsViewpoint(all[static_cast<std::size_t>(i)]);
    const ViewpointSnapshot& s = snapshots_[static_cast<std::size_t>(i)];
    vp->fieldOfView.Set(s.fieldOfView);
    vp->jump.Set(s.jump);
    vp->orientation.Set(s.orientation);
    vp->position.Set(s.position);
    vp->description.Set(s.description.empty() ? "" : s.description.data());
  }
  for (KsNode* node : all) node->Unref();
}

void Viewer::Zoom() {
  if (!scene_) return;
  KsViewpoint* vp = BoundViewpoint();
  if (!vp) return;
  KsMatrix m;
  vp->GetMatrix(&m);
  KsVec3f p = ApplyPoint(m, KsVec3f(0, 0, 0));
  KsVec3f d = p - examinerCentre_;
  vp->position.Set(d.Dot(d) > 0.01f ? examinerCentre_ + d / 1.1f : p);
  Render();
}

void Viewer::Mooz() {
  if (!scene_) return;
  KsViewpoint* vp = BoundViewpoint();
  if (!vp) return;
  KsMatrix m;
  vp->GetMatrix(&m);
  KsVec3f p = ApplyPoint(m, KsVec3f(0, 0, 0));
  KsVec3f d = p - examinerCentre_;
  if (d.Dot(d) > 0.01f) {
    vp->position.Set(examinerCentre_ + d * 1.1f);
  } else {
    vp->position.Set(examinerCentre_ + ApplyDirection(m, KsVec3f(0, 0, 0.1f)));
  }
  Render();
}

void Viewer::Move(float dx, float dy, float dz) {
  if (!scene_) return;
  KsViewpoint* vp = BoundViewpoint();
  if (!vp) return;
  KsMatrix m;
  vp->GetMatrix(&m);
  KsVec3f p = ApplyPoint(m, KsVec3f(0, 0, 0));
  KsVec3f v = ApplyDirection(m, KsVec3f(dx, dy, dz));
  float step = 0.1f * (p - examinerCentre_).Length();
  v = v * step;
  vp->position.Set(p + v);
  examinerCentre_ = examinerCentre_ + v;
}

void Viewer::SetBackgroundColor(PwColor colour) {
  background_ = colour;
  useVrmlBackground_ = 0;
}

void Viewer::UseVrmlBackground() { useVrmlBackground_ = 1; }
