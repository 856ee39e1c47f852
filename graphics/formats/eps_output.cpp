// Beginning and ending the EPS page, and the page's projection.
#include "graphics/formats/eps_output.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "graphics/draw2d/clip2d.h"
#include "graphics/state3d/eps_output_state.h"
#include "graphics/formats/eps_sink_internal.h"
#include "graphics/window/drawing_area.h"
#include "graphics/state3d/state3d.h"

PwEpsSink& PwEpsSinkState() {
  static PwEpsSink sink;
  return sink;
}

int PwEpsBegin(const char* path, int width, int height) {
  if (PwEpsIsActive()) return 0;
  // A page without extent would make every position 0/0.
  if (width <= 0 || height <= 0) return 0;
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  if (w <= 0 || h <= 0) return 0;
  if (w < h) {
    width = static_cast<int>(static_cast<long long>(height) * w / h);
  } else {
    height = static_cast<int>(static_cast<long long>(width) * h / w);
  }
  if (width <= 0 || height <= 0 || width > (1 << 25) || height > (1 << 25)) return 0;
  PwEpsSink& sink = PwEpsSinkState();
  const float scale = 32.0f * static_cast<float>(width) / static_cast<float>(w);
  PwEpsFile* file = PwEpsOpen(path, 50, 215, width, height, 32 * width, 32 * height);
  if (file == nullptr) return 0;
  sink.file = file;
  sink.scale = scale;
  sink.eps_width = 32 * width;
  sink.eps_height = 32 * height;
  PwEpsSetProjection(PwGetProjection());
  PwEpsSetActive(1);
  return 1;
}

void PwEpsSetProjection(const PwProjection* projection) {
  PwEpsSink& sink = PwEpsSinkState();
  sink.projection = *projection;
  sink.projection.magx = projection->magx * sink.scale;
  sink.projection.magy = projection->magy * sink.scale;
  int ok = 1;
  sink.projection.cx = PwSaturateToInt(sink.scale * static_cast<float>(projection->cx), &ok);
  sink.projection.cy = PwSaturateToInt(sink.scale * static_cast<float>(projection->cy), &ok);
}

int PwEpsEnd() {
  if (!PwEpsIsActive()) return 0;
  PwEpsSink& sink = PwEpsSinkState();
  const int closed = PwEpsClose(sink.file);
  sink.file = nullptr;
  PwEpsSetActive(0);
  return closed == 0 ? 1 : 0;
}

void PwEpsResetState() {
  PwEpsSink& sink = PwEpsSinkState();
  if (sink.file != nullptr) {
    PwStagedClose(&sink.file->staged, 0);
    std::free(sink.file);
  }
  sink = PwEpsSink();
  PwEpsSetActive(0);
}

void PwEpsGetPage(int* eps_width, int* eps_height, float* scale) {
  const PwEpsSink& sink = PwEpsSinkState();
  if (eps_width != nullptr) *eps_width = sink.eps_width;
  if (eps_height != nullptr) *eps_height = sink.eps_height;
  if (scale != nullptr) *scale = sink.scale;
}

int PwEpsScaled(int v) {
  int ok = 1;
  return PwSaturateToInt(static_cast<float>(v) * PwEpsSinkState().scale, &ok);
}

PwPoint2 PwEpsScaledPoint(PwPoint2 p) { return {PwEpsScaled(p.x), PwEpsScaled(p.y)}; }

namespace {

struct SavedClip {
  PwPoint2 min, max;
  SavedClip() {
    PwGetClip2(&min, &max);
    const PwEpsSink& sink = PwEpsSinkState();
    PwSetClip2({0, 0}, {sink.eps_width - 1, sink.eps_height - 1});
  }
  ~SavedClip() { PwSetClip2(min, max); }
};

}  // namespace

int PwEpsClipLineToPage(PwPoint2* a, PwPoint2* b, PwPoint2 p0, PwPoint2 p1) {
  SavedClip page;
  return PwClipLine2(a, b, p0, p1);
}

int PwEpsClipPolygonToPage(int* out_count, PwPoint2* out, int count, const PwPoint2* points) {
  SavedClip page;
  return PwClipPolygon2(out_count, out, count, points);
}

void PwEpsWriteClippedPolygon(int count, const PwPoint2* points, PwColor colour) {
  // Larger counts than any clipped shape reaches would overflow the sizes.
  if (count < 1 || count > (1 << 24)) return;
  std::size_t mark = 0;
  auto* clipped = static_cast<PwPoint2*>(
      PwScratchMark(&mark, sizeof(PwPoint2) * 4 * static_cast<std::size_t>(count)));
  if (clipped == nullptr) return;
  int n = 0;
  if (PwEpsClipPolygonToPage(&n, clipped, count, points)) {
    PwEpsPolygon(PwEpsSinkState().file, n, clipped, colour.red, colour.green, colour.blue);
  }
  PwScratchRelease(mark);
}
