#include "viewer/viewer_settings.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const ViewerExportChoice kChoices[] = {
    {kViewerExportTif, "*.tif", "EXPORT TIF(24bit)", 1},
    {kViewerExportBmp, "*.bmp", "EXPORT BMP(24bit)", 1},
    {kViewerExportPs, "*.ps", "EXPORT PS", 1},
    {kViewerExportSrf, "*.srf", "EXPORT SRF", 0},
    {kViewerExportWrl, "*.wrl", "EXPORT WRL", 0},
};

void StartValues(ViewerSettings* s) {
  std::free(s->extra_buffer);
  std::memset(s, 0, sizeof *s);
  std::strcpy(s->last_open_path, "*.wrl");
  for (const ViewerExportChoice& c : kChoices) std::strcpy(s->export_name[c.kind], c.pattern);
  s->width[kViewerExportTif] = 640;
  s->height[kViewerExportTif] = 480;
  s->width[kViewerExportBmp] = 640;
  s->height[kViewerExportBmp] = 480;
  s->width[kViewerExportPs] = 400;
  s->height[kViewerExportPs] = 300;
}

}  // namespace

const ViewerExportChoice* ViewerExportChoiceFor(int kind) {
  for (const ViewerExportChoice& c : kChoices) {
    if (c.kind == kind) return &c;
  }
  return nullptr;
}

ViewerSettings& ViewerGetSettings() {
  static ViewerSettings settings = [] {
    ViewerSettings s;
    s.extra_buffer = nullptr;
    StartValues(&s);
    return s;
  }();
  return settings;
}

void ViewerResetSettings() { StartValues(&ViewerGetSettings()); }

int ViewerCopyName(char out[kViewerPathSize], const char* text) {
  if (!text) return 0;
  std::size_t n = std::strlen(text);
  if (n >= kViewerPathSize) return 0;
  std::memcpy(out, text, n + 1);
  return 1;
}

int ViewerClampQuality(int value) {
  if (value <= 0) return 1;
  if (value > 15) return 15;
  return value;
}

int ViewerExtraBufferBytes(int kilobytes, std::size_t* bytes) {
  if (kilobytes < 0 || kilobytes > INT_MAX / 1024) return 0;
  *bytes = static_cast<std::size_t>(kilobytes) * 1024u;
  return 1;
}

int ViewerFileExists(const char* path) {
  std::FILE* file = path ? std::fopen(path, "rb") : nullptr;
  if (!file) return 0;
  std::fclose(file);
  return 1;
}
