// The depth-sorted list in the OpenGL build: the depth buffer already
// ordered the screen, so the list (filled only for EPS output) goes far to
// near to the EPS output alone.
#include <cstddef>

#include "graphics/state3d/eps_output_state.h"
#include "graphics/math/pw_math.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"

namespace {

PwVec3 Flattened(PwVec3 p) {
  if (PwGetProjectionMode() == 1) p.z = PwGetParallelDistance();
  return p;
}

void EpsPolygon(int count, const PwVec3* points, PwColor colour) {
  if (count < 1) return;
  if (PwGetProjectionMode() != 1) {
    PwEpsPolygon3(count, points, colour);
    return;
  }
  std::size_t mark;
  auto* flat =
      static_cast<PwVec3*>(PwScratchMark(&mark, sizeof(PwVec3) * static_cast<std::size_t>(count)));
  if (flat == nullptr) return;
  for (int i = 0; i < count; ++i) flat[i] = Flattened(points[i]);
  PwEpsPolygon3(count, flat, colour);
  PwScratchRelease(mark);
}

void Feed(const PwSortedItem* it) {
  switch (it->type) {
    case kPwSortedPoint:
      PwEpsPoint3(Flattened(static_cast<const PwSortedPointData*>(it->payload)->point), it->colour);
      break;
    case kPwSortedLine: {
      auto* d = static_cast<const PwSortedLineData*>(it->payload);
      PwEpsLine3(Flattened(d->p0), Flattened(d->p1), it->colour);
      break;
    }
    case kPwSortedDisc: {
      auto* d = static_cast<const PwSortedDiscData*>(it->payload);
      PwEpsDisc3(Flattened(d->centre), d->radius, it->colour);
      break;
    }
    case kPwSortedPolygon: {
      auto* d = static_cast<const PwSortedPolygonData*>(it->payload);
      PwColor colour = it->colour;
      if (PwGetLighting() == 1 && d->has_normal) {
        PwShadeColorWith(&colour, it->colour, &d->centre, &d->normal, d->highlight);
      }
      EpsPolygon(d->count, d->points, colour);
      break;
    }
    case kPwSortedSmoothPolygon: {
      auto* d = static_cast<const PwSortedSmoothData*>(it->payload);
      PwColor colour = it->colour;
      if (PwGetLighting() == 1 && d->count > 0) {
        PwShadeColorWith(&colour, it->colour, &d->centroid, &d->normals[0], d->highlight);
      }
      EpsPolygon(d->count, d->points, colour);
      break;
    }
    case kPwSortedMarker: {
      auto* d = static_cast<const PwSortedMarkerData*>(it->payload);
      PwEpsMarker3(Flattened(d->point), d->kind, it->colour);
      break;
    }
    case kPwSortedLabel: {
      auto* d = static_cast<const PwSortedLabelData*>(it->payload);
      PwEpsText3(Flattened(d->point), d->lines, d->halign, d->valign, it->colour);
      break;
    }
    case kPwSortedSrf: {
      // The software drawing of the model: its polygons to the EPS output
      // and over the frame on the screen.
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
      // Drawn with the depth buffer when it was placed: the page alone.
      auto* d = static_cast<const PwSortedPictData*>(it->payload);
      PwFeedSortedPictEps(d->picture, &d->frame, d->near_flag);
      break;
    }
    default: break;
  }
}

}  // namespace

void PwFlushSorted() {
  if (!PwEpsIsActive()) return;
  for (PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) Feed(it);
}
