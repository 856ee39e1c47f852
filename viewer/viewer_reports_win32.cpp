// Telling the user what failed: an export a frame could not write, a file
// that could not be loaded, and a file whose errors left part of it unread.
#include "scenegraph/core/partition/partition.h"
#include "viewer/failure_reports.h"
#include "viewer/viewer.h"
#include "viewer/viewer_app.h"

void ViewerTellFailedExport() {
  Viewer* viewer = ViewerApp();
  char path[kViewerPathSize];
  int undrawn = 0, width = 0, height = 0;
  if (!viewer || viewer->TakeFailedExport(path, &undrawn, &width, &height) == kViewerExportNone) {
    return;
  }
  char text[kViewerReportSize];
  if (undrawn == 1) {
    ViewerExportUndrawnText(path, width, height, text);
  } else {
    ViewerExportFailureText(path, text);
  }
  KrErrorBox(text);
}

void ViewerTellReadErrors(const char* path) {
  Viewer* viewer = ViewerApp();
  if (!viewer || !viewer->GetScene()) return;
  char text[kViewerReportSize];
  if (ViewerReadErrorText(viewer->GetScene()->GetReadErrors(), path, text) == 0) return;
  // What was read is on the screen before the box.
  OnPaint();
  KrWarningBox(text);
}

void ViewerTellLoadFailure(const char* path) {
  Viewer* viewer = ViewerApp();
  if (!viewer) return;
  char text[kViewerReportSize];
  ViewerLoadFailureText(viewer->GetLoadFailure(), path, text);
  KrErrorBox(text);
}
