#include "viewer/failure_reports.h"

#include <cstdio>

#include "scenegraph/core/read_errors.h"
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
    default:
      return 0;
  }
}

int ViewerCheckExportSize(int kind, int width, int height, char text[kViewerReportSize]) {
  text[0] = '\0';
  int low = 0, high = 0;
  if (ViewerExportSizeRange(kind, &low, &high) == 0) return 1;
  if (width >= low && width <= high && height >= low && height <= high) return 1;
  std::snprintf(text, kViewerReportSize,
                "%d x %d cannot be written.\nWidth and height must be from %d to %d.", width,
                height, low, high);
  return 0;
}

void ViewerExportFailureText(const char* path, char text[kViewerReportSize]) {
  std::snprintf(text, kViewerReportSize,
                "The file could not be written:\n%s\n\n"
                "Check that the folder can be written to and the disk has room.",
                path ? path : "");
}

int ViewerReadErrorText(const KsReadErrors& errors, const char* path,
                        char text[kViewerReportSize]) {
  text[0] = '\0';
  if (errors.skipped <= 0) return 0;
  std::snprintf(text, kViewerReportSize,
                "The file has errors, and some of it was not loaded:\n%s\n\n"
                "Statements skipped: %d (the first at line %d).",
                path ? path : "", errors.skipped, errors.firstLine);
  return 1;
}
