// Files dropped on the window: each is tried in turn until one loads (no
// header check, no message).
#pragma once

class Viewer;

// Index of the name that loaded (it becomes the last opened path), or -1.
// Null and empty names are skipped.
int ViewerLoadFirstOf(Viewer* viewer, const char* const* names, int count);
