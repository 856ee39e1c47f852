// A program on the graphics library and its OpenGL back end for the OpenGL
// end-to-end test: it opens the window and draws, again and again, a lit
// cube (half of its faces before some 2D drawing and half after it), a
// white 2D box, a yellow 2D line, a cyan concave 2D polygon, an SRF square
// and a placed PICT2 square, then reads
// the back buffer before the swap and logs its own checks and the sample
// pixels that the test compares with a screenshot.
// Usage: gl_probe.exe work-folder. It logs to work-folder/probe.log and ends
// with status 0 once work-folder/quit exists (status 3 after two minutes).
#include <windows.h>

#include <GL/gl.h>

#include <cstdio>
#include <string>

#include "graphics/window/display.h"
#include "graphics/draw2d/draw2d.h"
#include "graphics/formats/eps_output.h"
#include "graphics/formats/pict_picture.h"
#include "graphics/formats/srf_model.h"
#include "graphics/opengl/gl_modes.h"
#include "graphics/window/drawing_area.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/math/pw_math.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/window/window.h"
#include "graphics/window/winmain.h"
#include "tests/graphics/probe_cube.h"
#include "tests/support/probe_log.h"

namespace {

std::string g_folder;
unsigned char g_scratch[1 << 20];
int g_failures = 0;
int g_queued = 0;  // items the last frame's list held before its flush

using e2e_probe::Log;

void Check(bool ok, const char* what) {
  Log("check %s %s\n", what, ok ? "ok" : "FAIL");
  if (!ok) ++g_failures;
}

bool Exists(const char* name) { return e2e_probe::Exists(g_folder + "/" + name); }

using probe_cube::Corners;
using probe_cube::Face;
using probe_cube::kFaces;
using probe_cube::kPlacement;

const PwColor kWhite = {255, 255, 255}, kYellow = {255, 255, 0}, kCyan = {255, 0, 255};
const PwPoint2 kLShape[6] = {{400, 300}, {600, 300}, {600, 350},
                             {450, 350}, {450, 450}, {400, 450}};

// A magenta unit square facing the eye, placed below left of the cube.
const char* const kSquareSrf[] = {
    "SURF", "V -0.5 -0.5 0", "V 0.5 -0.5 0",   "V 0.5 0.5 0", "V -0.5 0.5 0",
    "F",    "C 1023",        "N 0 0 0 0 0 -1", "V 0 1 2 3",   "E",
    "E",    nullptr};
constexpr PwPose kSquarePose = {-2.2f, -1.4f, 6.0f, 0, 0, 0};
PwSrf g_square = {};

// A red PICT2 square placed in 3D above right of the cube.
const char* const kSquarePict[] = {"PICT2",        "PLG",         "COL 255 0 0",  "VER -0.5 -0.5",
                                   "VER 0.5 -0.5", "VER 0.5 0.5", "VER -0.5 0.5", "ENDO",
                                   "ENDPICT",      nullptr};
constexpr PwPose kPictPose = {2.2f, 1.4f, 6.0f, 0, 0, 0};
PwPict g_pict = {};

struct Rgb {
  int r, g, b;
};

Rgb Read(int x, int y) {
  int w = 0, h = 0;
  PwGetSurfaceSize(&w, &h);
  unsigned char px[4] = {};
  glReadBuffer(GL_BACK);
  glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, px);
  return {px[0], px[1], px[2]};
}

bool Near(Rgb a, Rgb b, int tol) {
  auto d = [](int p, int q) { return p > q ? p - q : q - p; };
  return d(a.r, b.r) <= tol && d(a.g, b.g) <= tol && d(a.b, b.b) <= tol;
}

void Sample(const char* name, int x, int y) {
  Rgb c = Read(x, y);
  Log("sample %s %d %d %d %d %d\n", name, x, y, c.r, c.g, c.b);
}

void DrawCubeFaces(int from, int to) {
  for (int i = from; i < to; ++i) {
    PwVec3 c[4];
    Corners(kFaces[i], c);
    PwPolygon3(4, c, nullptr, kFaces[i].normal, kFaces[i].colour);
  }
}

void Draw() {
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  PwClearScreen();
  const PwVec3 at_eye = {0, 0, 0};
  PwSetLight(&at_eye);
  const PwPose eye = {};
  PwSetEye(&eye);
  PwSetFrame(&kPlacement);
  DrawCubeFaces(0, 3);
  PwDrawBox2({20, 20}, {100, 60}, kWhite);
  PwDrawLine2({20, 400}, {300, 400}, kYellow);
  PwDrawPolygon2(6, kLShape, kCyan);
  DrawCubeFaces(3, 6);  // after 2D: the camera must have come back
  PwResetFrame();
  PwSrfSorted(&g_square, &kSquarePose);
  PwPict3Sorted(&g_pict, &kPictPose);
  g_queued = 0;
  for (PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) ++g_queued;
  PwFlushSorted();
}

long FileSize(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  std::fseek(f, 0, SEEK_END);
  long n = std::ftell(f);
  std::fclose(f);
  return n;
}

// One frame with EPS output on: the list then holds the sorted primitives
// (the three front faces and the model) for the page, and its flush draws
// nothing more on the screen.
void CheckEpsFrame() {
  const std::string empty = g_folder + "/empty.eps", full = g_folder + "/view.eps";
  Check(PwEpsBegin(empty.c_str(), 400, 300) == 1 && PwEpsEnd() == 1, "empty EPS page written");
  Rgb before = Read(60, 40);
  Check(PwEpsBegin(full.c_str(), 400, 300) == 1, "EPS output begins");
  Draw();
  Log("eps queued %d\n", g_queued);
  Check(g_queued == 5, "depth list holds the sorted primitives while EPS is on");
  Check(Near(Read(60, 40), before, 0), "EPS flush leaves the screen alone");
  Check(PwEpsEnd() == 1, "EPS output ends");
  Log("eps sizes %ld %ld\n", FileSize(empty), FileSize(full));
  Check(FileSize(full) > FileSize(empty) + 100, "EPS page holds the frame's shapes");
  Draw();
  Check(g_queued == 0, "no items once EPS output is off");
}

// Checks of the frame just drawn, before its swap; logs once.
void CheckFrame() {
  GLint depth = 0;
  glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
  Check(depth == 1, "model-view stack popped after 2D");
  glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
  Check(depth == 1, "projection stack popped after 2D");
  Check(PwGlDrawMode() == kPwGlModeLit, "lit mode after the last face");
  Check(PwDisplayPalette() == nullptr, "no palette with a true-colour format");
  Check(g_queued == 0, "no depth-list items without EPS output");
  GLint vp[4] = {};
  glGetIntegerv(GL_VIEWPORT, vp);
  Check(vp[2] == 640 && vp[3] == 480, "viewport is the client area");

  Check(Near(Read(60, 40), {255, 255, 255}, 2), "2D box white");
  Check(Near(Read(10, 10), {0, 0, 0}, 2), "background black");
  Rgb l0 = Read(150, 399), l1 = Read(150, 400);
  Check(Near(l0, {255, 255, 0}, 2) || Near(l1, {255, 255, 0}, 2), "2D line yellow");
  Check(Near(Read(425, 400), {0, 255, 255}, 2), "concave polygon arm cyan");
  Check(Near(Read(525, 400), {0, 0, 0}, 2), "concave polygon notch empty (tessellated)");
  Sample("box", 60, 40);
  Sample("arm", 425, 400);
  Sample("notch", 525, 400);

  // Each face that looks at the eye, at the projection of its centre.
  PwSetFrame(&kPlacement);
  for (const Face& f : kFaces) {
    PwVec3 centre, normal;
    PwModelToEye(&centre, &f.normal);
    PwModelDirToEye(&normal, &f.normal);
    if (normal.x * centre.x + normal.y * centre.y + normal.z * centre.z >= 0) continue;
    PwPoint2 s;
    PwProjectToScreen(&s, &centre);
    Rgb c = Read(s.x, s.y);
    const int base[3] = {f.colour.red, f.colour.green, f.colour.blue};
    const int got[3] = {c.r, c.g, c.b};
    bool hue = true;
    for (int k = 0; k < 3; ++k) {
      // Above the ambient share alone (0.4): the light reaches the face.
      if (base[k] == 255 && got[k] < 120) hue = false;
      if (base[k] == 0 && got[k] > 20) hue = false;
    }
    std::string what = std::string("face ") + f.name + " lit in its own hue";
    Check(hue, what.c_str());
    std::string name = std::string("face") + f.name;
    Sample(name.c_str(), s.x, s.y);
  }
  // The SRF square, drawn at once through OpenGL.
  PwVec3 at = {kSquarePose.x, kSquarePose.y, kSquarePose.z};
  PwPoint2 s;
  PwProjectToScreen(&s, &at);
  Rgb c = Read(s.x, s.y);
  Check(c.r >= 120 && c.b >= 120 && c.g <= 20, "SRF model drawn lit in magenta");
  Sample("srf", s.x, s.y);
  // The placed PICT2 square, drawn at once through OpenGL.
  at = {kPictPose.x, kPictPose.y, kPictPose.z};
  PwProjectToScreen(&s, &at);
  c = Read(s.x, s.y);
  Check(c.r >= 120 && c.g <= 20 && c.b <= 20, "placed PICT2 picture drawn lit in red");
  Sample("pict", s.x, s.y);
  CheckEpsFrame();
  Log("failures %d\n", g_failures);
}

}  // namespace

int ViewerMain(int argc, char** argv) {
  if (argc < 2) return 2;
  g_folder = argv[1];
  e2e_probe::OpenLog(g_folder + "/probe.log");
  PwInitMath();
  PwStart3D(g_scratch, sizeof g_scratch);
  PwSetLighting(1);
  if (PwLoadSrfStrings(&g_square, kSquareSrf) != 1) {
    Log("srf load failed\n");
    return 2;
  }
  if (PwLoadPictStrings(&g_pict, kSquarePict) != 1) {
    Log("pict load failed\n");
    return 2;
  }
  PwSetTitle("GL Probe");
  PwOpenWindow(640, 480);
  if (PwWindowClosed() == 1) {
    Log("open failed\n");
    return 2;
  }
  HWND window = static_cast<HWND>(PwGetWindowHandle());
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  RECT client;
  GetClientRect(window, &client);
  POINT origin = {0, 0};
  ClientToScreen(window, &origin);
  Log("client %ld %ld origin %ld %ld\n", client.right, client.bottom, origin.x, origin.y);
  Log("renderer %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));

  // Checked on a later frame: each frame must start from the state the
  // frame before it left.
  int frames = 0;
  bool logged = false;
  DWORD start = GetTickCount();
  for (;;) {
    PwPollMessages();
    Draw();
    if (!logged && ++frames == 5) {
      CheckFrame();
      Log("drawn\n");
      logged = true;
    }
    PwPresent();
    if (Exists("quit")) {
      Log("quit\n");
      PwExitProcess(0);
    }
    if (GetTickCount() - start > 120000) {
      Log("timeout\n");
      PwExitProcess(3);
    }
    Sleep(20);
  }
}
