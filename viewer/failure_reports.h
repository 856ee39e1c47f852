// What the user is told when something fails: export sizes that cannot be
// written, exports that were not written and files read with errors. The
// Win32 side only shows these texts.
#pragma once

#include <cstddef>

struct KsReadErrors;

constexpr std::size_t kViewerReportSize = 512;

// The sizes an export kind can write: each side from *low to *high. 0 for a
// kind without a size.
int ViewerExportSizeRange(int kind, int* low, int* high);
// 1 when width x height can be written from the current drawing area;
// otherwise 0 and text says what would work.
int ViewerCheckExportSize(int kind, int width, int height, char text[kViewerReportSize]);
// The same for a drawing area of surface_width x surface_height (0 x 0:
// unknown). The EPS page keeps the area's aspect, so one of the typed sides
// is computed again from the other and must not come out 0.
int ViewerCheckExportSizeFor(int kind, int width, int height, int surface_width, int surface_height,
                             char text[kViewerReportSize]);

// The box for an export that was not written.
void ViewerExportFailureText(const char* path, char text[kViewerReportSize]);
// The box for an export whose picture could not be made at its size.
void ViewerExportUndrawnText(const char* path, int width, int height, char text[kViewerReportSize]);
// 1 with the box's text when the export target is a name Windows keeps for
// a device (NUL, CON, COM1 ...), which must not be written to; 0 otherwise.
int ViewerExportTargetText(const char* path, char text[kViewerReportSize]);

// 1 when reading the file found errors, with the box's text; 0 (nothing to
// tell) for a clean read.
int ViewerReadErrorText(const KsReadErrors& errors, const char* path, char text[kViewerReportSize]);

// The box for a file that could not be loaded, saying why.
void ViewerLoadFailureText(const KsReadErrors& failure, const char* path,
                           char text[kViewerReportSize]);
