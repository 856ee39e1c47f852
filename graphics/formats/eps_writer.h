// The EPS page file: header, prolog, shapes as PostScript text, trailer.
// Coordinates are EPS units (1/32 point), y growing downwards like the
// screen's; colours are red, green, blue 0..255. Every operation does
// nothing and returns -1 without a file, else returns 0.
#pragma once

#include <cstdio>

#include "graphics/math/pw_types.h"
#include "graphics/files/staged_file.h"

struct PwEpsFile {
  float x0, y0;                   // page origin, points
  float page_width, page_height;  // points
  float eps_width, eps_height;    // EPS units
  std::FILE* file;
  int failed;           // a write went wrong
  PwStagedFile staged;  // file is its temporary until the close
};

// Header and prolog written; null when the path does not fit, the record or
// the file cannot be had.
PwEpsFile* PwEpsOpen(const char* path, int x0, int y0, int page_width, int page_height,
                     int eps_width, int eps_height);
// Trailer, file closed (it takes the path's name only when whole), record
// freed; -1 as well when any write failed.
int PwEpsClose(PwEpsFile* eps);
int PwEpsColor(PwEpsFile* eps, int red, int green, int blue);
int PwEpsRect(PwEpsFile* eps, int x0, int y0, int x1, int y1, int red, int green, int blue);
int PwEpsLine(PwEpsFile* eps, int xa, int ya, int xb, int yb, int red, int green, int blue);
int PwEpsDot(PwEpsFile* eps, int x, int y, int red, int green, int blue);
int PwEpsPolygon(PwEpsFile* eps, int count, const PwPoint2* points, int red, int green, int blue);
int PwEpsText(PwEpsFile* eps, const char* text, int x, int y, int red, int green, int blue);
