// PICT2 pictures placed in 3D by a pose: queued as one item of the
// depth-sorted list or drawn at once, and fed to the image, model-capture
// and EPS outputs.
#include <cmath>
#include <cstddef>

#include "graphics/state3d/culling.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/pict_picture.h"
#include "graphics/state3d/image_output_state.h"
#include "graphics/state3d/model_capture_state.h"
#include "graphics/draw2d/screen_layer.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace {

// The picture being processed: its frame (picture to eye) and near flag.
struct PictState {
  PwFrame frame;
  int near_flag;
};

PictState& State() {
  static PictState state = {};
  return state;
}

void BuildFrame(const PwPose* pose) {
  PwFrame local;
  PwFrameFromPose(&local, pose);
  PwComposePose(&State().frame, &local, PwGetCombinedFrame());
}

PwVec3 Eye(const PwVec2& p) {
  PwVec3 e;
  PwPict3Transform(&e, &p);
  return e;
}

float Near() { return PwGetProjection()->near; }

bool Project(const PwVec3& e, PwPoint2* out) { return PwProjectToScreen(out, &e) != 0; }

void ScreenSegment(PwVec3 a, PwVec3 b, bool clip, PwColor colour) {
  if (clip) {
    PwVec3 in[2] = {a, b}, out[2];
    PwClipLineNear(out, in, Near());
    a = out[0];
    b = out[1];
  }
  PwPoint2 sa, sb;
  if (Project(a, &sa) && Project(b, &sb)) PwScreenLine(sa, sb, colour);
}

// Eye-space points of a polygon object into the main pool after a mark;
// room for the near clip and the screen points after them.
struct PolygonWork {
  std::size_t mark;
  PwVec3* eye;
  PwVec3* clipped;
  PwPoint2* screen;
};

bool TakePolygon(const PwPictObject& o, PolygonWork* w) {
  const std::size_t n = static_cast<std::size_t>(o.point_count);
  w->eye = static_cast<PwVec3*>(PwScratchMark(&w->mark, sizeof(PwVec3) * n));
  if (w->eye == nullptr) return false;
  std::size_t unused;
  w->clipped = static_cast<PwVec3*>(PwScratchMark(&unused, sizeof(PwVec3) * 2 * n));
  w->screen = static_cast<PwPoint2*>(PwScratchMark(&unused, sizeof(PwPoint2) * 2 * n));
  if (w->clipped == nullptr || w->screen == nullptr) {
    PwScratchRelease(w->mark);
    return false;
  }
  for (std::size_t i = 0; i < n; ++i) w->eye[i] = Eye(o.points[i]);
  return true;
}

void DrawPolygon(const PwPictObject& o, int near_flag) {
  if (o.point_count < 1) return;
  PolygonWork w;
  if (!TakePolygon(o, &w)) return;  // no room: the polygon is skipped
  const PwVec3* source = w.eye;
  int m = o.point_count;
  if (near_flag) {
    bool any_near = false;
    for (int i = 0; i < m && !any_near; ++i) any_near = w.eye[i].z < Near();
    if (any_near) {
      PwClipPolygonNear(&m, w.clipped, o.point_count, w.eye, Near());
      source = w.clipped;
    }
  }
  bool ok = m > 0;
  for (int i = 0; i < m && ok; ++i) ok = Project(source[i], &w.screen[i]);
  if (ok) PwScreenPolygon(m, w.screen, o.colour);
  PwScratchRelease(w.mark);
}

void DrawObject(const PwPictObject& o, int near_flag) {
  const int n = o.point_count;
  const float near_z = Near(), far_z = PwGetProjection()->far;
  switch (o.kind) {
    case kPwPictPoints:
      for (int i = 0; i < n; ++i) {
        PwVec3 e = Eye(o.points[i]);
        PwPoint2 s;
        if (e.z >= near_z && e.z <= far_z && Project(e, &s)) PwScreenPoint(s, o.colour);
      }
      break;
    case kPwPictPolyline:
      for (int i = 0; i + 1 < n; ++i) {
        PwVec3 a = Eye(o.points[i]), b = Eye(o.points[i + 1]);
        if (near_flag && !(a.z > near_z || b.z > near_z)) continue;
        ScreenSegment(a, b, near_flag != 0, o.colour);
      }
      break;
    case kPwPictSegments:
      for (int i = 0; i + 1 < n; i += 2) {
        PwVec3 a = Eye(o.points[i]), b = Eye(o.points[i + 1]);
        if (!(a.z > near_z || b.z > near_z)) continue;
        ScreenSegment(a, b, near_flag != 0, o.colour);
      }
      break;
    case kPwPictPolygon: DrawPolygon(o, near_flag); break;
    default: break;
  }
}

// sorted: the image output's depth-tested forms, else its written-over ones.
void FeedImage(const PwPictObject& o, bool sorted) {
  const int n = o.point_count;
  const int step = o.kind == kPwPictSegments ? 2 : 1;
  switch (o.kind) {
    case kPwPictPoints:
      for (int i = 0; i < n; ++i) {
        PwVec3 e = Eye(o.points[i]);
        if (sorted) {
          PwImagePoint3(e, o.colour);
        } else {
          PwImageDrawPoint3(e, o.colour);
        }
      }
      break;
    case kPwPictPolyline:
    case kPwPictSegments:
      for (int i = 0; i + 1 < n; i += step) {
        PwVec3 a = Eye(o.points[i]), b = Eye(o.points[i + 1]);
        if (sorted) {
          PwImageLine3(a, b, o.colour);
        } else {
          PwImageDrawLine3(a, b, o.colour);
        }
      }
      break;
    case kPwPictPolygon: {
      PolygonWork w;
      if (n < 1 || !TakePolygon(o, &w)) break;
      if (sorted) {
        PwImagePolygon3(n, w.eye, o.colour);
      } else {
        PwImageDrawPolygon3(n, w.eye, o.colour);
      }
      PwScratchRelease(w.mark);
      break;
    }
    default: break;
  }
}

void FeedCapture(const PwPictObject& o) {
  const int n = o.point_count;
  const int step = o.kind == kPwPictSegments ? 2 : 1;
  if (o.kind == kPwPictPolyline || o.kind == kPwPictSegments) {
    for (int i = 0; i + 1 < n; i += step)
      PwModelLine(Eye(o.points[i]), Eye(o.points[i + 1]), o.colour);
  } else if (o.kind == kPwPictPolygon) {
    PolygonWork w;
    if (n < 1 || !TakePolygon(o, &w)) return;
    PwModelPolygonTwoSided(n, w.eye, o.colour);
    PwScratchRelease(w.mark);
  }
}

void FeedEps(const PwPictObject& o, int near_flag) {
  const int n = o.point_count;
  const float near_z = Near(), far_z = PwGetProjection()->far;
  switch (o.kind) {
    case kPwPictPoints:
      for (int i = 0; i < n; ++i) {
        PwVec3 e = Eye(o.points[i]);
        if (e.z >= near_z && e.z <= far_z) PwEpsPoint3(e, o.colour);
      }
      break;
    case kPwPictPolyline:
    case kPwPictSegments: {
      const bool pairs = o.kind == kPwPictSegments;
      for (int i = 0; i + 1 < n; i += pairs ? 2 : 1) {
        PwVec3 in[2] = {Eye(o.points[i]), Eye(o.points[i + 1])};
        if (!(in[0].z > near_z || in[1].z > near_z)) continue;
        PwVec3 out[2] = {in[0], in[1]};
        if (!pairs || near_flag) PwClipLineNear(out, in, near_z);
        PwEpsLine3(out[0], out[1], o.colour);
      }
      break;
    }
    case kPwPictPolygon: {
      PolygonWork w;
      if (n < 1 || !TakePolygon(o, &w)) break;
      PwEpsPolygon3(n, w.eye, o.colour);
      PwScratchRelease(w.mark);
      break;
    }
    default: break;
  }
}

enum Feed { kFeedCapture, kFeedImageSorted, kFeedImageOver, kFeedEps };

void FeedAll(const PwPict* pict, Feed feed) {
  for (int i = 0; i < pict->object_count; ++i) {
    const PwPictObject& o = pict->objects[i];
    if (!PwPict3ObjectTest(&o)) continue;
    switch (feed) {
      case kFeedCapture: FeedCapture(o); break;
      case kFeedImageSorted: FeedImage(o, true); break;
      case kFeedImageOver: FeedImage(o, false); break;
      case kFeedEps: FeedEps(o, State().near_flag); break;
    }
  }
}

// The flush's room for the picture: its widest polygon object's working
// points, and the EPS page's room for them.
std::size_t SortedPictRoom(const PwPict* pict) {
  int widest = 0;
  for (int i = 0; i < pict->object_count; ++i) {
    const PwPictObject& o = pict->objects[i];
    if (o.kind == kPwPictPolygon && o.point_count > widest) widest = o.point_count;
  }
  const std::uint64_t n = static_cast<std::uint64_t>(widest);
  return PwSaturatedSize(n * (3 * sizeof(PwVec3) + 2 * sizeof(PwPoint2)) + 4 * alignof(void*) +
                         PwSortedFlushRoom(widest));
}

void DrawAll(const PwPict* pict) {
  for (int i = 0; i < pict->object_count; ++i) {
    const PwPictObject& o = pict->objects[i];
    if (PwPict3ObjectTest(&o)) DrawObject(o, State().near_flag);
  }
}

}  // namespace

void PwPictResetState() {
  PwFrameFromPose(&State().frame, PwZeroPose());
  State().near_flag = 0;
}

void PwPict3Transform(PwVec3* out, const PwVec2* point) {
  const PwVec3 p = {point->x, point->y, 0.0f};
  PwFrameApply(out, &State().frame, &p);
}

int PwPict3ObjectTest(const PwPictObject* o) {
  if (o->point_count < 1) return 0;  // nothing to draw, no centre to test
  const PwVec2 c = {o->cx, o->cy};
  PwVec3 e;
  PwPict3Transform(&e, &c);
  return std::fabs(e.x) <= o->distance && std::fabs(e.y) <= o->distance &&
         std::fabs(e.z) <= o->distance;
}

int PwCullPict3(const PwPict* pict, int* near_flag) {
  const PwVec2 corners[4] = {{pict->min_x, pict->min_y},
                             {pict->max_x, pict->min_y},
                             {pict->max_x, pict->max_y},
                             {pict->min_x, pict->max_y}};
  PwVec3 e[4];
  for (int i = 0; i < 4; ++i) PwPict3Transform(&e[i], &corners[i]);
  *near_flag = 0;
  return PwCullPoints(4, e, near_flag);
}

int PwPict3PlaceFront(const PwPict* pict, const PwPose* pose) {
  if (pict == nullptr || pose == nullptr) return 0;
  BuildFrame(pose);
  if (PwModelIsActive()) FeedAll(pict, kFeedCapture);
  if (!PwCullPict3(pict, &State().near_flag)) return 0;
  if (!std::isfinite(State().frame.z)) return 0;
  if (PwImageIsActive()) FeedAll(pict, kFeedImageSorted);
  return 1;
}

int PwQueuePict3(const PwPict* pict) {
  if (PwScratchKeepBack(SortedPictRoom(pict)) != 0) return 1;
  PwSortedItem* it = PwSortedInsert(kPwSortedPict, State().frame.z);
  if (it == nullptr) return 1;
  auto* d = static_cast<PwSortedPictData*>(it->payload);
  d->near_flag = State().near_flag;
  d->frame = State().frame;
  d->picture = pict;
  return 0;
}

int PwDrawPict3(const PwPict* pict, const PwPose* pose) {
  if (pict == nullptr || pose == nullptr) return 0;
  BuildFrame(pose);
  // The pose as model frame: points handed on by the frame's own calls
  // stand where the picture's do.
  if (PwPushFrame(pose) != 0) return 1;
  if (PwModelIsActive()) FeedAll(pict, kFeedCapture);
  if (PwCullPict3(pict, &State().near_flag)) {
    DrawAll(pict);
    if (PwImageIsActive()) FeedAll(pict, kFeedImageOver);
    if (PwEpsIsActive()) FeedAll(pict, kFeedEps);
  }
  return PwPopFrame();
}

void PwDrawSortedPict(const PwPict* pict, const PwFrame* frame, int near_flag) {
  if (pict == nullptr || frame == nullptr) return;
  State().frame = *frame;
  State().near_flag = near_flag;
  DrawAll(pict);
  if (PwEpsIsActive()) FeedAll(pict, kFeedEps);
}

void PwFeedSortedPictEps(const PwPict* pict, const PwFrame* frame, int near_flag) {
  if (pict == nullptr || frame == nullptr || !PwEpsIsActive()) return;
  State().frame = *frame;
  State().near_flag = near_flag;
  FeedAll(pict, kFeedEps);
}
