// Telling the user, once per loaded file, that a frame had to leave part of
// the scene out because the draw buffers were full.
#pragma once

// Shows the notice (installed by the Win32 side; none in tests until set).
using ViewerOverflowNoticeFunc = void (*)();
void ViewerOverflowSetNotice(ViewerOverflowNoticeFunc notice);

// A file was loaded: its first overflowing frame is told again.
void ViewerOverflowNewFile();
// After each frame: the notice when the frame left primitives out and this
// file has not been told yet. 1 when it was shown.
int ViewerOverflowAfterFrame();
// Tests: no notice, nothing told.
void ViewerOverflowReset();

// The Win32 notice: a message box with the three lines below.
void ViewerOverflowMessageBox();
// The notice's three lines.
extern const char* const kViewerOverflowLines[3];
