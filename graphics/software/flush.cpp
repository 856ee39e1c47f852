// Drawing the painter's list far to near on the screen, and feeding the same
// items in the same order to the EPS output.
#include "graphics/state3d/eps_output_state.h"
#include "graphics/math/pw_math.h"
#include "graphics/software/screen.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/project_inline.h"
#include "graphics/state3d/state3d.h"

namespace {

// In parallel mode every stored depth stands at the parallel distance.
PwVec3 Flattened(PwVec3 p) {
  if (PwGetProjectionMode() == 1) p.z = PwGetParallelDistance();
  return p;
}

void DrawPoint(const PwSortedItem* it) {
  auto* d = static_cast<const PwSortedPointData*>(it->payload);
  PwVec3 p = Flattened(d->point);
  PwPoint2 s;
  if (PwProjectToScreen(&s, &p)) PwScreenPoint(s, it->colour);
  if (PwEpsIsActive()) PwEpsPoint3(d->point, it->colour);
}

void DrawLine(const PwSortedItem* it) {
  auto* d = static_cast<const PwSortedLineData*>(it->payload);
  PwVec3 ends[2] = {Flattened(d->p0), Flattened(d->p1)};
  if (d->near_flag && PwGetProjectionMode() == 0) {
    PwVec3 in[2] = {ends[0], ends[1]};
    PwClipLineNear(ends, in, PwGetProjection()->near);
  }
  PwPoint2 a, b;
  if (PwProjectToScreen(&a, &ends[0]) && PwProjectToScreen(&b, &ends[1])) {
    PwScreenLine(a, b, it->colour);
  }
  if (PwEpsIsActive()) PwEpsLine3(d->p0, d->p1, it->colour);
}

void DrawDisc(const PwSortedItem* it) {
  auto* d = static_cast<const PwSortedDiscData*>(it->payload);
  PwVec3 c = Flattened(d->centre);
  const PwProjection* proj = PwGetProjection();
  PwPoint2 s;
  int ok = PwProjectToScreen(&s, &c);
  int rx = PwSaturateToInt(proj->magx * d->radius / c.z, &ok);
  int ry = PwSaturateToInt(proj->magy * d->radius / c.z, &ok);
  if (ok) PwScreenEllipse(s, rx, ry, it->colour);
  if (PwEpsIsActive()) PwEpsDisc3(d->centre, d->radius, it->colour);
}

// Fills count eye-space points in one colour, clipped at the near plane when
// flagged. Small polygons (nearly every one of a big mesh) work on the
// stack; larger ones take temporary memory from the main pool, given back
// at once.
void FillPolygon(int count, const PwVec3* points, int near_flag, const PwColor& colour) {
  if (count < 1) return;
  const bool parallel = PwGetProjectionMode() == 1;
  const float parallel_z = parallel ? PwGetParallelDistance() : 0.0f;
  const bool clip = near_flag && !parallel;
  constexpr int kLocal = 8;  // vertices; clipping may double them
  PwPoint2 local_screen[2 * kLocal];
  PwVec3 local_clipped[2 * kLocal];
  std::size_t mark = 0;
  const bool local = count <= kLocal;
  std::size_t n = static_cast<std::size_t>(count);
  PwPoint2* screen = local_screen;
  if (!local) {
    screen = static_cast<PwPoint2*>(PwScratchMark(&mark, sizeof(PwPoint2) * n * (clip ? 2 : 1)));
    if (screen == nullptr) return;
  }
  const PwVec3* source = points;
  int m = count;
  if (clip) {
    PwVec3* clipped = local_clipped;
    if (!local) {
      std::size_t unused;
      clipped = static_cast<PwVec3*>(PwScratchMark(&unused, sizeof(PwVec3) * n * 2));
      if (clipped == nullptr) {
        PwScratchRelease(mark);
        return;
      }
    }
    PwClipPolygonNear(&m, clipped, count, points, PwGetProjection()->near);
    source = clipped;
  }
  bool ok = m > 0;
  const PwProjection& projection = *PwGetProjection();
  for (int i = 0; i < m && ok; ++i) {
    ok = PwProjectAt(projection, source[i], parallel ? parallel_z : source[i].z, &screen[i]) != 0;
  }
  if (ok) PwScreenPolygon(m, screen, colour);
  if (!local) PwScratchRelease(mark);
}

void DrawPolygon(const PwSortedItem* it) {
  auto* d = static_cast<const PwSortedPolygonData*>(it->payload);
  PwColor colour = it->colour;
  if (PwGetLighting() == 1 && d->has_normal) {
    PwShadeColorWith(&colour, it->colour, &d->centre, &d->normal, d->highlight);
  }
  FillPolygon(d->count, d->points, d->near_flag, colour);
  if (PwEpsIsActive()) PwEpsPolygon3(d->count, d->points, colour);
}

void DrawSmoothPolygon(const PwSortedItem* it) {
  auto* d = static_cast<const PwSortedSmoothData*>(it->payload);
  PwColor colour = it->colour;
  if (PwGetLighting() == 1 && d->count > 0) {
    PwShadeColorWith(&colour, it->colour, &d->centroid, &d->normals[0], d->highlight);
  }
  FillPolygon(d->count, d->points, d->near_flag, colour);
  if (PwEpsIsActive()) PwEpsPolygon3(d->count, d->points, colour);
}

void DrawMarker(const PwSortedItem* it) {
  auto* d = static_cast<const PwSortedMarkerData*>(it->payload);
  PwVec3 p = Flattened(d->point);
  PwPoint2 s;
  if (PwProjectToScreen(&s, &p)) PwScreenMarker(s, d->kind, it->colour);
  if (PwEpsIsActive()) PwEpsMarker3(d->point, d->kind, it->colour);
}

void DrawLabel(const PwSortedItem* it) {
  auto* d = static_cast<const PwSortedLabelData*>(it->payload);
  PwVec3 p = Flattened(d->point);
  PwPoint2 s;
  if (PwProjectToScreen(&s, &p)) PwScreenTextLines(s, d->lines, d->halign, d->valign, it->colour);
  if (PwEpsIsActive()) PwEpsText3(d->point, d->lines, d->halign, d->valign, it->colour);
}

}  // namespace

namespace {

void DrawItem(const PwSortedItem* it) {
  switch (it->type) {
    case kPwSortedPoint: DrawPoint(it); break;
    case kPwSortedLine: DrawLine(it); break;
    case kPwSortedDisc: DrawDisc(it); break;
    case kPwSortedPolygon: DrawPolygon(it); break;
    case kPwSortedMarker: DrawMarker(it); break;
    case kPwSortedLabel: DrawLabel(it); break;
    case kPwSortedSmoothPolygon: DrawSmoothPolygon(it); break;
    case kPwSortedSrf: {
      // The model's faces take the highlight it was placed with.
      auto* d = static_cast<const PwSortedSrfData*>(it->payload);
      const std::uint32_t highlight = PwGetHighlight();
      PwColor tint;
      const int tinted = PwGetModelColour(&tint);
      PwSetHighlightCode(d->highlight);
      PwSetModelColour(d->tinted ? &d->tint : nullptr);
      PwDrawSortedSrf(d->model, &d->frame, d->near_flag);
      PwSetHighlightCode(highlight);
      PwSetModelColour(tinted ? &tint : nullptr);
      break;
    }
    case kPwSortedPict: {
      auto* d = static_cast<const PwSortedPictData*>(it->payload);
      PwDrawSortedPict(d->picture, &d->frame, d->near_flag);
      break;
    }
    default: break;  // 0 and the reserved 4 and 5 draw nothing
  }
}

// Items lie all over the pools in drawing order; fetching each item's block
// (header, payload and, for polygons, the points behind them) well ahead
// keeps the drawing from waiting on memory. Only addresses from the order
// array are used, so no fetch waits on another.
constexpr std::size_t kAhead = 16;
// A smooth triangle's block: header, payload, three points and normals.
constexpr std::size_t kBlockBytes =
    sizeof(PwSortedItem) + sizeof(PwSortedSmoothData) + 6 * sizeof(PwVec3);
constexpr std::size_t kLine = 64;

void FetchBlock(const PwSortedItem* it) {
  const auto* p = reinterpret_cast<const unsigned char*>(it);
  for (std::size_t b = 0; b < kBlockBytes; b += kLine) __builtin_prefetch(p + b);
  __builtin_prefetch(p + kBlockBytes - 1);
}

}  // namespace

void PwFlushSorted() {
  std::size_t n = 0;
  if (PwSortedItem* const* order = PwSortedOrdered(&n)) {
    for (std::size_t i = 0; i < n; ++i) {
      if (i + kAhead < n) FetchBlock(order[i + kAhead]);
      DrawItem(order[i]);
    }
    return;
  }
  for (PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) DrawItem(it);
}
