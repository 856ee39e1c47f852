// The first-line check of a file chosen in the Open dialog: which files are
// loaded, and what the user is told.
#pragma once

#include "scenegraph/core/reading/file_kind.h"

struct ViewerHeaderVerdict {
  int load;        // 1 go on and load, 0 refuse
  int line_count;  // 0 no message, 1 one line, 3 three lines
  const char* lines[3];
  // kKsFileOpened, or why the file could not be opened (then load is 0).
  KsFileOpenResult open_result;
  int empty;  // 1: the file holds nothing at all
};

// The verdict on a file's first line; null for a file without any (empty).
ViewerHeaderVerdict ViewerCheckHeaderLine(const char* first_line);
// Reads the file's first line (at most 259 characters). Only a
// regular file is opened: a device or a pipe might never give a line.
ViewerHeaderVerdict ViewerCheckHeaderFile(const char* path);
