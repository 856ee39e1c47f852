// The OpenGL rendering context of the window: pixel format, palette,
// context, initial state, font display lists, drawing area and swap.
#include <windows.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>

#include "graphics/window/display.h"
#include "graphics/opengl/gl_internal.h"
#include "graphics/opengl/gl_logic.h"
#include "graphics/opengl/gl_modes.h"
#include "graphics/window/drawing_area.h"

namespace {

const PIXELFORMATDESCRIPTOR kPixelFormat = {
    sizeof(PIXELFORMATDESCRIPTOR),
    1,
    PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER,
    PFD_TYPE_RGBA,
    24,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    0,
    32,
    0,
    0,
    0,
    0,
    0,
    0,
    0};

struct ContextState {
  HGLRC context = nullptr;
  HPALETTE palette = nullptr;
  GLUtesselator* tess = nullptr;
};

ContextState& Ctx() {
  static ContextState state;
  return state;
}

[[noreturn]] void Fatal(const char* text) {
  MessageBoxA(nullptr, text, nullptr, MB_OK);
  std::fflush(stdout);
  std::fflush(stderr);
  std::exit(1);
}

void QmSetPixelFormat(HDC dc) {
  int format = ChoosePixelFormat(dc, &kPixelFormat);
  if (format == 0 || !SetPixelFormat(dc, format, &kPixelFormat)) {
    Fatal("Error In QmSetPixelFormat.");
  }
}

HPALETTE PwGlMakePalette(HDC dc) {
  int format = GetPixelFormat(dc);
  if (format == 0) Fatal("Error in GetPixelFormat");
  PIXELFORMATDESCRIPTOR pfd = {};
  DescribePixelFormat(dc, format, sizeof(pfd), &pfd);
  if ((pfd.dwFlags & PFD_NEED_PALETTE) == 0) return nullptr;
  if (pfd.cColorBits > 8) return nullptr;  // 2^bits entries must fit a palette
  const int count = 1 << pfd.cColorBits;
  LOGPALETTE* lp = static_cast<LOGPALETTE*>(
      std::malloc(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * static_cast<std::size_t>(count)));
  if (lp == nullptr) return nullptr;
  lp->palVersion = 0x300;
  lp->palNumEntries = static_cast<WORD>(count);
  for (int i = 0; i < count; ++i) {
    lp->palPalEntry[i].peRed = static_cast<BYTE>(PwGlPaletteLevel(i, pfd.cRedBits, pfd.cRedShift));
    lp->palPalEntry[i].peGreen =
        static_cast<BYTE>(PwGlPaletteLevel(i, pfd.cGreenBits, pfd.cGreenShift));
    lp->palPalEntry[i].peBlue =
        static_cast<BYTE>(PwGlPaletteLevel(i, pfd.cBlueBits, pfd.cBlueShift));
    lp->palPalEntry[i].peFlags = 0;
  }
  HPALETTE palette = CreatePalette(lp);
  std::free(lp);
  return palette;
}

}  // namespace

void PwGlInit(int width, int height) {
  PwGlInstallModeOps();
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClearDepth(1.0);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(width) / height, 0.5, 16000.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glViewport(0, 0, width, height);
  PwGlSetAreaSize(width, height);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_LIGHTING);
  glEnable(GL_LIGHT0);
  const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1.0f};
  const GLfloat specular[] = {0.9f, 0.9f, 0.9f, 1.0f};
  const GLfloat ambient[] = {0.4f, 0.4f, 0.4f, 1.0f};
  glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  if (Ctx().tess == nullptr) Ctx().tess = gluNewTess();
}

void* PwGlTessellator() { return Ctx().tess; }

void* PwGlCreateContext(void* window_dc) {
  HDC dc = static_cast<HDC>(window_dc);
  ContextState& c = Ctx();
  QmSetPixelFormat(dc);
  c.palette = PwGlMakePalette(dc);
  if (c.palette != nullptr) {
    SelectPalette(dc, c.palette, FALSE);
    RealizePalette(dc);
  }
  c.context = wglCreateContext(dc);
  if (c.context == nullptr) Fatal("Error in wglCreateContext.");
  if (!wglMakeCurrent(dc, c.context)) Fatal("Error in wglMakeCurrent.");
  PwGlInit(32, 32);
  SelectObject(wglGetCurrentDC(), GetStockObject(SYSTEM_FIXED_FONT));
  wglUseFontBitmapsA(wglGetCurrentDC(), 0, kPwGlFontCount, kPwGlFontBase);
  if (c.palette == nullptr) return nullptr;
  SelectPalette(dc, c.palette, FALSE);
  RealizePalette(dc);
  return c.palette;
}

void PwSetSurface(void* window_dc, int width, int height, int) {
  PwGlSetAreaSize(width, height);
  if (Ctx().context != nullptr) wglMakeCurrent(static_cast<HDC>(window_dc), Ctx().context);
  glViewport(0, 0, width, height);
}

void PwFreeSurface() {}

void PwGetSurfaceSize(int* width, int* height) { PwGlGetAreaSize(width, height); }

int PwPresent() {
  glFlush();
  HDC dc = wglGetCurrentDC();
  return dc != nullptr && SwapBuffers(dc) ? 1 : 0;
}

// ---- The window's display seam.

void PwDisplayOpen(void* window_dc, int width, int height) {
  PwGlCreateContext(window_dc);
  PwSetSurface(window_dc, width, height, 0);
}

void PwDisplayResize(void* window_dc, int width, int height, int depth_mode) {
  PwSetSurface(window_dc, width, height, depth_mode);
}

int PwDisplayPresent() { return PwPresent(); }

void* PwDisplayPalette() { return Ctx().palette; }

void PwDisplayClose() { PwFreeSurface(); }
