// The overflow notice as a message box of its own.
#include "viewer/scene_overflow.h"
#include "viewer/toolkit/toolkit.h"

void ViewerOverflowMessageBox() {
  const char* const* lines = ViewerOverflowNoticeLines();
  KrMessageBox3(lines[0], lines[1], lines[2], nullptr);
}
