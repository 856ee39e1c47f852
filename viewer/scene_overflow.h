// Telling the user, once per loaded file, that a frame had to leave part of
// the scene out because the draw buffers were full, and once that it met
// more shapes than a frame draws.
#pragma once

// Shows the notice (installed by the Win32 side; none in tests until set).
using ViewerOverflowNoticeFunc = void (*)();
void ViewerOverflowSetNotice(ViewerOverflowNoticeFunc notice);

// A file was loaded: its first overflowing frame is told again.
void ViewerOverflowNewFile();
// After each frame: the notice when the frame left primitives out (or
// shapes) and this file has not been told so yet. 1 when one was shown.
int ViewerOverflowAfterFrame();
// Tests: no notice, nothing told.
void ViewerOverflowReset();

// The Win32 notice: a message box with the notice's three lines.
void ViewerOverflowMessageBox();
// The draw-buffer notice's three lines, the shape notice's, and those of
// the notice being shown (or last shown).
extern const char* const kViewerOverflowLines[3];
extern const char* const kViewerShapeLimitLines[3];
const char* const* ViewerOverflowNoticeLines();
