// The viewer program's process-wide pieces shared by its start-up, its
// commands and its dialogs (Win32 side).
#pragma once

#include "viewer/menu_table.h"
#include "viewer/toolkit/toolkit.h"

class Viewer;

// The one viewer; null only when its allocation failed.
Viewer* ViewerApp();

// Redraws through the viewer when it exists.
void OnPaint();

// The toolkit callback that runs a command (menu item or key).
KrCommandFunc ViewerCommandFunc(ViewerCommand command);

// After a frame: the export it could not write, told once in a box.
void ViewerTellFailedExport();
// After a load that became the scene: draws it, then a box when the file had
// errors that left part of it unread.
void ViewerTellReadErrors(const char* path);
// After a load chosen in the Open dialog that failed: a box saying why.
void ViewerTellLoadFailure(const char* path);

// Commands that start-up runs itself.
void OnOpenFile(int, int, int, int);

// The About (modal) and Help (modeless) dialogs.
void ViewerShowAbout();
void ViewerShowHelp();
