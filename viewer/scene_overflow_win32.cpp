// The overflow notice as a message box of its own.
#include "viewer/scene_overflow.h"
#include "viewer/toolkit/toolkit.h"

void ViewerOverflowMessageBox() {
  KrMessageBox3(kViewerOverflowLines[0], kViewerOverflowLines[1], kViewerOverflowLines[2],
                nullptr);
}
