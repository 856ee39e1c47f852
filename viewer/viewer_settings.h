// What the viewer's commands remember while the program runs: file names of
// the dialogs, export sizes, the extra draw buffer, and the value rules of
// the settings prompts. Nothing is kept between runs.
#pragma once

#include <cstddef>

#include "viewer/viewer.h"

struct ViewerExportChoice {
  int kind;
  const char* pattern;
  const char* title;
  int asks_resolution;
};

// The five exports, by kind (1 TIF .. 5 WRL); null for any other kind.
const ViewerExportChoice* ViewerExportChoiceFor(int kind);

struct ViewerSettings {
  char last_open_path[kViewerPathSize];
  char export_name[6][kViewerPathSize];  // by kind; 0 unused
  int width[4];                          // by kind 1..3
  int height[4];
  void* extra_buffer;
  std::size_t extra_size;
};

// The one set of settings, at its start-up values on first use.
ViewerSettings& ViewerGetSettings();
void ViewerResetSettings();

// Bounded copy into a 256-character name; 0 (nothing changed) when the
// text does not fit.
int ViewerCopyName(char out[kViewerPathSize], const char* text);

// The tessellation level a typed quality gives: below 1 is 1, above 15 is 15.
int ViewerClampQuality(int value);
// The buffer size in bytes for a typed size in KB: 1, or 0 when it is
// negative or does not fit an int.
int ViewerExtraBufferBytes(int kilobytes, std::size_t* bytes);

// 1 when the file can be opened for binary reading.
int ViewerFileExists(const char* path);
