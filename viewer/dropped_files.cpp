#include "viewer/dropped_files.h"

#include "viewer/viewer.h"
#include "viewer/viewer_settings.h"

int ViewerLoadFirstOf(Viewer* viewer, const char* const* names, int count) {
  if (!viewer) return -1;
  for (int i = 0; i < count; ++i) {
    if (!names[i] || names[i][0] == '\0') continue;
    if (viewer->LoadFile(names[i]) == 1) {
      ViewerCopyName(ViewerGetSettings().last_open_path, names[i]);
      return i;
    }
  }
  return -1;
}
