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

// Commands that start-up runs itself.
void OnOpenFile(int, int, int, int);

// The About (modal) and Help (modeless) dialogs.
void ViewerShowAbout();
void ViewerShowHelp();
