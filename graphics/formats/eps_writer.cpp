// PostScript text of the EPS page. The prolog defines short operators so
// that each shape is a few numbers and a letter.
#include "graphics/formats/eps_writer.h"

#include <cstdlib>

#include "graphics/files/paths.h"

namespace {

const char* const kProlog[] = {
    "",
    "%%BeginProlog",
    "512 dict begin",
    "",
    "/L {",
    "    lineto",
    "} def",
    "",
    "/m {",
    "    moveto",
    "} def",
    "",
    "/@w {",
    "    pop",
    "    setlinewidth",
    "    pop",
    "    pop",
    "} def",
    "",
    "/K {",
    "    /fgColK exch def",
    "    /fgColY exch def",
    "    /fgColM exch def",
    "    /fgColC exch def",
    "} def",
    "",
    "/k {",
    "    /bgColK exch def",
    "    /bgColY exch def",
    "    /bgColM exch def",
    "    /bgColC exch def",
    "} def",
    "",
    "/S {",
    "    fgColC fgColM fgColY fgColK setcmykcolor",
    "    stroke",
    "} def",
    "",
    "/B {",
    "    bgColC bgColM bgColY bgColK setcmykcolor",
    "    eofill",
    "    fgColC fgColM fgColY fgColK setcmykcolor",
    "    stroke",
    "} def",
    "",
    "/z {",
    "    25 div",
    "    /fntSize exch def",
    "    /fntType exch def",
    "} def",
    "",
    "/@t {",
    "    /textString exch def",
    "    /textPosY exch def",
    "    /textPosX exch def",
    "} def",
    "",
    "/T {",
    "    fgColC fgColM fgColY fgColK setcmykcolor",
    "    fntType findfont",
    "    fntSize scalefont",
    "    setfont",
    "    textPosX textPosY m",
    "    textString show",
    "} def",
    "%%EndProlog",
    "",
    "%%BeginSetup",
    "%%EndSetup",
    "",
};

const char* const kTrailer[] = {"", "%%Trailer", " showpage", "", " end"};

void Put(PwEpsFile* eps, const char* text) {
  if (std::fputs(text, eps->file) < 0) eps->failed = 1;
}

template <typename... Args>
void Print(PwEpsFile* eps, const char* format, Args... args) {
  if (std::fprintf(eps->file, format, args...) < 0) eps->failed = 1;
}

// EPS units to page points; the horizontal ratio serves both axes.
void Position(PwEpsFile* eps, int x, int y) {
  const float ratio = eps->page_width / eps->eps_width;
  const float px = static_cast<float>(x) * ratio + eps->x0;
  const float py = eps->y0 + eps->page_height - static_cast<float>(y) * ratio;
  Print(eps, "%.2f %.2f ", static_cast<double>(px), static_cast<double>(py));
}

void MoveTo(PwEpsFile* eps, int x, int y) {
  Position(eps, x, y);
  Put(eps, "m\n");
}

void LineTo(PwEpsFile* eps, int x, int y) {
  Position(eps, x, y);
  Put(eps, "L\n");
}

}  // namespace

PwEpsFile* PwEpsOpen(const char* path, int x0, int y0, int page_width, int page_height,
                     int eps_width, int eps_height) {
  char name[kPwPathSize];
  if (PwNormalizePath(name, sizeof name, path) == 0) return nullptr;
  auto* eps = static_cast<PwEpsFile*>(std::malloc(sizeof(PwEpsFile)));
  if (eps == nullptr) return nullptr;
  eps->file = PwStagedOpen(&eps->staged, name, "w");
  if (eps->file == nullptr) {
    std::free(eps);
    return nullptr;
  }
  eps->x0 = static_cast<float>(x0);
  eps->y0 = static_cast<float>(y0);
  eps->page_width = static_cast<float>(page_width);
  eps->page_height = static_cast<float>(page_height);
  eps->eps_width = static_cast<float>(eps_width);
  eps->eps_height = static_cast<float>(eps_height);
  eps->failed = 0;
  Put(eps, "%!PS-Adobe-2.0 EPSF-2.0\n");
  Print(eps, "%s %ld %ld %ld %ld\n", "%%BoundingBox:", static_cast<long>(x0), static_cast<long>(y0),
        static_cast<long>(x0) + page_width, static_cast<long>(y0) + page_height);
  for (const char* line : kProlog) {
    Put(eps, line);
    Put(eps, "\n");
  }
  return eps;
}

int PwEpsClose(PwEpsFile* eps) {
  if (eps == nullptr) return -1;
  for (const char* line : kTrailer) {
    Put(eps, line);
    Put(eps, "\n");
  }
  if (PwStagedClose(&eps->staged, eps->failed ? 0 : 1) != 1) eps->failed = 1;
  const int failed = eps->failed;
  std::free(eps);
  return failed ? -1 : 0;
}

int PwEpsColor(PwEpsFile* eps, int red, int green, int blue) {
  if (eps == nullptr) return -1;
  const double c = (255 - red) / 255.0;
  const double m = (255 - green) / 255.0;
  const double y = (255 - blue) / 255.0;
  Print(eps, "%1.1f %1.1f %1.1f 0.0 K\n", c, m, y);
  Print(eps, "%1.1f %1.1f %1.1f 0.0 k\n", c, m, y);
  return 0;
}

int PwEpsRect(PwEpsFile* eps, int x0, int y0, int x1, int y1, int red, int green, int blue) {
  if (eps == nullptr) return -1;
  PwEpsColor(eps, red, green, blue);
  Put(eps, "0 0 0 0 @w\n");
  MoveTo(eps, x0, y0);
  LineTo(eps, x1, y0);
  LineTo(eps, x1, y1);
  LineTo(eps, x0, y1);
  LineTo(eps, x0, y0);
  Put(eps, "B\n");
  return 0;
}

int PwEpsLine(PwEpsFile* eps, int xa, int ya, int xb, int yb, int red, int green, int blue) {
  if (eps == nullptr) return -1;
  PwEpsColor(eps, red, green, blue);
  Put(eps, "0 0 0 0 @w\n");
  MoveTo(eps, xa, ya);
  LineTo(eps, xb, yb);
  Put(eps, "S\n");
  return 0;
}

int PwEpsDot(PwEpsFile* eps, int x, int y, int red, int green, int blue) {
  if (eps == nullptr) return -1;
  PwEpsColor(eps, red, green, blue);
  Put(eps, "0 2.0 2.0 0 @w\n");
  MoveTo(eps, x, y);
  LineTo(eps, x, y + 2);
  Put(eps, "S\n");
  return 0;
}

int PwEpsPolygon(PwEpsFile* eps, int count, const PwPoint2* points, int red, int green, int blue) {
  if (eps == nullptr) return -1;
  if (count < 1 || points == nullptr) return 0;
  PwEpsColor(eps, red, green, blue);
  Put(eps, "0 0 0 0 @w\n");
  MoveTo(eps, points[0].x, points[0].y);
  for (int i = 1; i < count; ++i) LineTo(eps, points[i].x, points[i].y);
  LineTo(eps, points[0].x, points[0].y);
  Put(eps, "B\n");
  return 0;
}

int PwEpsText(PwEpsFile* eps, const char* text, int x, int y, int red, int green, int blue) {
  if (eps == nullptr) return -1;
  if (text == nullptr) text = "";
  PwEpsColor(eps, red, green, blue);
  bool wide = false;
  for (const char* c = text; *c != '\0'; ++c) {
    if (static_cast<unsigned char>(*c) & 0x80) wide = true;
  }
  Put(eps, wide ? "/Ryumin-Light-83pv-RKSJ-H 333 z\n" : "/Times-Roman 333 z\n");
  Position(eps, x, y);
  Put(eps, "(");
  for (const char* c = text; *c != '\0'; ++c) {
    Print(eps, "\\%03o", static_cast<unsigned>(static_cast<unsigned char>(*c)));
  }
  Put(eps, ") @t\n");
  Put(eps, "T\n");
  return 0;
}
