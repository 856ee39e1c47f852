// A program on the graphics library for the cube end-to-end test: it opens
// the window and draws a lit cube of six coloured faces through the
// painter's list, again and again, and logs where each face must show and
// in what colour, from its own double-precision copy of the projection and
// shading rules. Mode 1 queues the faces with their normals (back faces
// are culled); mode 2 queues all six two-sided, so that the far faces go
// into the list and the painter's order must cover them.
// Usage: cube_probe.exe work-folder. It logs to work-folder/probe.log,
// moves to mode 2 once work-folder/go2 exists and ends with status 0 once
// work-folder/quit exists (status 3 after two minutes).
#include <windows.h>

#include "graphics/math/pw_math.h"
#include "graphics/primitives/primitives3d.h"
#include "graphics/math/pw_types.h"
#include "graphics/software/screen.h"
#include "graphics/software/surface.h"
#include "graphics/primitives/sorted_list.h"
#include "graphics/state3d/state3d.h"
#include "graphics/window/window.h"
#include "graphics/window/winmain.h"
#include "tests/graphics/probe_cube.h"
#include "tests/support/probe_log.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

std::string g_folder;
unsigned char g_scratch[1 << 20];

using e2e_probe::Log;

bool Exists(const char* name) { return e2e_probe::Exists(g_folder + "/" + name); }

using probe_cube::Corners;
using probe_cube::Face;
using probe_cube::kFaces;
using probe_cube::kPlacement;

// The placement applied to a model point, in double: bank, pitch, heading,
// then the translation (direction: without it).
struct D3 {
  double x, y, z;
};

D3 Place(PwVec3 p, bool translate) {
  const double r = 6.283185307179586 / 65536.0;
  const double h = kPlacement.heading * r, pt = kPlacement.pitch * r, b = kPlacement.bank * r;
  double x1 = p.x * std::cos(b) - p.y * std::sin(b);
  double y1 = p.x * std::sin(b) + p.y * std::cos(b);
  double z1 = p.z * std::cos(pt) - y1 * std::sin(pt);
  double y2 = p.z * std::sin(pt) + y1 * std::cos(pt);
  double x2 = x1 * std::cos(h) - z1 * std::sin(h);
  double z2 = x1 * std::sin(h) + z1 * std::cos(h);
  if (!translate) return {x2, y2, z2};
  return {x2 + kPlacement.x, y2 + kPlacement.y, z2 + kPlacement.z};
}

double Dot(D3 a, D3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The shading's table normalisation: the two minor components over the
// dominant one, each truncated to 1/31, then (u, v, 1) made unit.
D3 TableUnit(D3 a) {
  const double ax = std::fabs(a.x), ay = std::fabs(a.y), az = std::fabs(a.z);
  double d, u, v;
  int axis;
  if (ax > ay && ax > az) {
    axis = 0, d = a.x, u = a.z / a.x, v = a.y / a.x;
  } else if (ay > az) {
    axis = 1, d = a.y, u = a.x / a.y, v = a.z / a.y;
  } else {
    axis = 2, d = a.z, u = a.x / a.z, v = a.y / a.z;
  }
  const double k = std::trunc(31 * u) / 31, r = std::trunc(31 * v) / 31;
  const double l = std::sqrt(k * k + r * r + 1);
  const double e0 = k / l, e1 = r / l, e2 = 1 / l;
  D3 out = axis == 0 ? D3{e2, e1, e0} : axis == 1 ? D3{e0, e2, e1} : D3{e0, e1, e2};
  if (d < 0) out = {-out.x, -out.y, -out.z};
  return out;
}

// What each face must look like: visible or not, its lit colour with the
// light at the eye, and a pixel well inside it (the mean of its projected
// corners).
void LogExpectations(const PwProjection& proj) {
  for (const Face& f : kFaces) {
    PwVec3 c[4];
    Corners(f, c);
    D3 centre = Place(f.normal, true);
    D3 n = Place(f.normal, false);
    const bool visible = Dot(n, centre) < 0;
    // The light sits at the eye.
    const D3 l = TableUnit({-centre.x, -centre.y, -centre.z});
    const D3 view = TableUnit(centre);
    const D3 nu = TableUnit(n);
    const D3 half = TableUnit({l.x - view.x, l.y - view.y, l.z - view.z});
    const double nl = Dot(nu, l);
    const int a = static_cast<int>((0.3 + (nl > 0 ? nl : 0)) * 256);
    const int s = static_cast<int>(std::pow(std::fabs(Dot(nu, half)), 60) * 0.8 * 256);
    auto shade = [&](int k) {
      int v = s + a * k / 256;
      return v > 255 ? 255 : v;
    };
    double sx = 0, sy = 0;
    for (const PwVec3& corner : c) {
      D3 e = Place(corner, true);
      sx += proj.cx + e.x * proj.magx / e.z;
      sy += proj.cy - e.y * proj.magy / e.z;
    }
    Log("face %s %s rgb %d %d %d base %d %d %d at %d %d\n", f.name, visible ? "visible" : "hidden",
        shade(f.colour.red), shade(f.colour.green), shade(f.colour.blue), f.colour.red,
        f.colour.green, f.colour.blue, static_cast<int>(std::lround(sx / 4)),
        static_cast<int>(std::lround(sy / 4)));
  }
}

// One frame through the library; the number of items the list held.
int DrawFrame(int mode) {
  PwProjection proj;
  PwDefaultProjection(&proj);
  PwSetProjection(&proj);
  PwScreenClear();
  const PwVec3 at_eye = {0, 0, 0};
  PwSetLight(&at_eye);
  const PwPose eye = {};
  PwSetEye(&eye);
  PwSetFrame(&kPlacement);
  for (const Face& f : kFaces) {
    PwVec3 c[4];
    Corners(f, c);
    if (mode == 1) {
      PwPolygon3(4, c, nullptr, f.normal, f.colour);
    } else {
      PwPolygon3TwoSided(4, c, f.colour);
    }
  }
  int queued = 0;
  for (PwSortedItem* it = PwSortedFirst(); it != nullptr; it = it->next) ++queued;
  PwFlushSorted();
  PwPresent();
  return queued;
}

}  // namespace

int ViewerMain(int argc, char** argv) {
  if (argc < 2) return 2;
  g_folder = argv[1];
  e2e_probe::OpenLog(g_folder + "/probe.log");
  PwInitMath();
  PwStart3D(g_scratch, sizeof g_scratch);
  PwSetLighting(1);
  PwSetTitle("Cube Probe");
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

  int mode = 1;
  int logged = 0;
  DWORD start = GetTickCount();
  for (;;) {
    PwPollMessages();
    if (PwCurrentPixels()->created == 1) {
      int queued = DrawFrame(mode);
      if (logged != mode) {
        PwProjection proj;
        PwDefaultProjection(&proj);
        Log("mode %d bpp %d queued %d\n", mode, PwCurrentPixels()->bits_per_pixel, queued);
        LogExpectations(proj);
        Log("drawn %d\n", mode);
        logged = mode;
      }
    }
    if (mode == 1 && Exists("go2")) mode = 2;
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
