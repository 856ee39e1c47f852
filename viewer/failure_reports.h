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
// 1 when width x height can be written; otherwise 0 and text says the range.
int ViewerCheckExportSize(int kind, int width, int height, char text[kViewerReportSize]);

// The box for an export that was not written.
void ViewerExportFailureText(const char* path, char text[kViewerReportSize]);

// 1 when reading the file found errors, with the box's text; 0 (nothing to
// tell) for a clean read.
int ViewerReadErrorText(const KsReadErrors& errors, const char* path,
                        char text[kViewerReportSize]);
