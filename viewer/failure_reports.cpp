#include "viewer/failure_reports.h"

#include <cstdio>

#include "graphics/window/drawing_area.h"
#include "scenegraph/core/reading/file_kind.h"
#include "scenegraph/core/reading/read_errors.h"
#include "viewer/viewer.h"

namespace {
// The image is drawn at full size in memory first (16 bytes a pixel), which a
// 32-bit process cannot hold much beyond 4096 x 4096.
constexpr int kImageSideMax = 4096;
// The EPS page, in points: 200 inches, what PostScript devices take.
constexpr int kPageSideMax = 14400;
}  // namespace

int ViewerExportSizeRange(int kind, int* low, int* high) {
  switch (kind) {
    case kViewerExportTif:
    case kViewerExportBmp:
      *low = 1;
      *high = kImageSideMax;
      return 1;
    case kViewerExportPs:
      *low = 1;
      *high = kPageSideMax;
      return 1;
    default: return 0;
  }
}

int ViewerCheckExportSize(int kind, int width, int height, char text[kViewerReportSize]) {
  int surface_width = 0, surface_height = 0;
  PwGetSurfaceSize(&surface_width, &surface_height);
  return ViewerCheckExportSizeFor(kind, width, height, surface_width, surface_height, text);
}

int ViewerCheckExportSizeFor(int kind, int width, int height, int surface_width, int surface_height,
                             char text[kViewerReportSize]) {
  text[0] = '\0';
  int low = 0, high = 0;
  if (ViewerExportSizeRange(kind, &low, &high) == 0) return 1;
  if (width < low || width > high || height < low || height > high) {
    std::snprintf(text, kViewerReportSize,
                  "%d x %d cannot be written.\nWidth and height must be from %d to %d.", width,
                  height, low, high);
    return 0;
  }
  if (kind != kViewerExportPs || surface_width <= 0 || surface_height <= 0) return 1;
  // As the page is made: the longer side of the area keeps its typed
  // length, the other follows the area's aspect (rounded down).
  const long long w = surface_width, h = surface_height;
  const bool wide = w >= h;
  const long long other = wide ? width * h / w : height * w / h;
  if (other >= 1) return 1;
  const long long least = wide ? (w + h - 1) / h : (h + w - 1) / w;
  std::snprintf(text, kViewerReportSize,
                "%d x %d cannot be written.\nThe page keeps the window's shape (%d x %d), "
                "which leaves it %s 0.\nThe %s must be at least %lld.",
                width, height, surface_width, surface_height, wide ? "a height of" : "a width of",
                wide ? "width" : "height", least);
  return 0;
}

void ViewerExportFailureText(const char* path, char text[kViewerReportSize]) {
  std::snprintf(text, kViewerReportSize,
                "The file could not be written:\n%s\n\n"
                "Check that the folder can be written to and the disk has room.",
                path ? path : "");
}

void ViewerExportUndrawnText(const char* path, int width, int height,
                             char text[kViewerReportSize]) {
  std::snprintf(text, kViewerReportSize,
                "The picture could not be drawn at %d x %d:\n%s\n\n"
                "There is not enough memory for that size. Try a smaller one.",
                width, height, path ? path : "");
}

int ViewerExportTargetText(const char* path, char text[kViewerReportSize]) {
  text[0] = '\0';
  if (!KsIsDeviceName(path)) return 0;
  std::snprintf(text, kViewerReportSize,
                "This name cannot be written to:\n%s\n\n"
                "Windows keeps it for a device (NUL, CON, AUX, PRN, COM1 to COM9, LPT1 to "
                "LPT9). Choose another name.",
                path ? path : "");
  return 1;
}

int ViewerReadErrorText(const KsReadErrors& errors, const char* path,
                        char text[kViewerReportSize]) {
  text[0] = '\0';
  if (errors.skipped <= 0 && errors.cutLine <= 0) return 0;
  int n =
      std::snprintf(text, kViewerReportSize,
                    "The file has errors, and some of it was not loaded:\n%s\n", path ? path : "");
  if (n > 0 && n < static_cast<int>(kViewerReportSize) && errors.skipped > 0) {
    n += std::snprintf(text + n, kViewerReportSize - n,
                       "\nStatements skipped: %d (the first at line %d).", errors.skipped,
                       errors.firstLine);
  }
  if (n > 0 && n < static_cast<int>(kViewerReportSize) && errors.cutLine > 0) {
    // What was never read cannot be counted: where it begins is told.
    std::snprintf(text + n, kViewerReportSize - n,
                  "\nThe rest of the file, from line %d on, was not read: a bracket there "
                  "does not match.",
                  errors.cutLine);
  }
  return 1;
}

void ViewerLoadFailureText(const KsReadErrors& failure, const char* path,
                           char text[kViewerReportSize]) {
  const char* name = path ? path : "";
  switch (failure.failure) {
    case kKsReadNotFound:
      std::snprintf(text, kViewerReportSize, "LOAD FAILED\n%s\n\nThe file was not found.", name);
      break;
    case kKsReadNotRegular:
      std::snprintf(text, kViewerReportSize,
                    "LOAD FAILED\n%s\n\nThis is not a regular file (a folder, a device or "
                    "a pipe).",
                    name);
      break;
    case kKsReadTooLarge:
      if (failure.failureLine > 0) {
        std::snprintf(text, kViewerReportSize,
                      "LOAD FAILED\n%s\n\nThe file is too large for the memory available "
                      "(reading stopped at line %d).",
                      name, failure.failureLine);
      } else {
        std::snprintf(text, kViewerReportSize,
                      "LOAD FAILED\n%s\n\nThe file is too large for the memory available.", name);
      }
      break;
    case kKsReadNotVrml2:
      std::snprintf(text, kViewerReportSize, "LOAD FAILED\n%s\n\nThe file is not VRML 2.0.", name);
      break;
    case kKsReadEmpty:
      std::snprintf(text, kViewerReportSize, "LOAD FAILED\n%s\n\nThe file is empty.", name);
      break;
    case kKsReadCannotOpen:
    default:
      std::snprintf(text, kViewerReportSize,
                    "LOAD FAILED\n%s\n\nThe file cannot be read. Check that it may be read "
                    "and is not in use.",
                    name);
      break;
  }
}
