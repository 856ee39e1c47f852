// A minimal application frame on the scene-graph library: derive from it to
// get a 640 x 480 window with the graphics library set up, a polling main
// loop that turns mouse changes into virtual calls and advances the scene
// clock by 0.1 s per pass, and helpers that aim the eye along the bound
// viewpoint and show a finished frame.
#pragma once

#include "scenegraph/core/ks_types.h"
#include "scenegraph/core/object/object.h"

constexpr int KS_SIMPLE_WINDOW_WIDTH = 640;
constexpr int KS_SIMPLE_WINDOW_HEIGHT = 480;
constexpr const char KS_SIMPLE_WINDOW_TITLE[] = "Kestrune Simple Window Application";

class KsSimpleWindow : public KsObject {
 public:
  // The window operations the frame needs. Initialize, Quit and MainLoop
  // use the graphics library's own (Win32 build); the *With forms take
  // another set, so that the loop runs without a window.
  struct WindowCalls {
    void (*openWindow)(int width, int height);
    void (*closeWindow)();
    void (*pollMessages)();
    void (*getMouse)(int* left, int* middle, int* right, int* x, int* y);
  };

  // Becomes the current simple window.
  KsSimpleWindow();
  ~KsSimpleWindow() override;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  static KsClassRecord* ClassRecord();

  virtual KsSimpleWindow* NewInstance();
  virtual void OnCommand(int id);
  virtual void OnLeftButtonDown(int x, int y);
  virtual void OnRightButtonDown(int x, int y);
  virtual void OnLeftButtonUp(int x, int y);
  virtual void OnRightButtonUp(int x, int y);
  virtual void OnMouseMove(KSBOOL left, KSBOOL right, int x, int y, int dx, int dy);
  virtual void OnStart();
  virtual void OnIdle();

  // Sets up the graphics library and opens the window: 0, or KS_ERR when
  // the window could not be made.
  int Initialize();
  // Until Escape (50) or Quit (the quit flag); 0 when OnStart quits.
  int MainLoop();
  // Closes the window and raises the quit flag; 0.
  int Quit();

  int InitializeWith(const WindowCalls& calls);
  int MainLoopWith(const WindowCalls& calls);
  int QuitWith(const WindowCalls& calls);

  // Clears the screen and the pick list, then (with a viewpoint bound)
  // puts the eye and the light at the viewpoint.
  void SetCamera();
  // Flushes the depth-sorted list and presents the frame; the result of
  // the presentation.
  int Redraw();

  // The newest simple window still alive, or null.
  static KsSimpleWindow* GetCurrent();
  // 1 once Quit ran, else 0.
  static int GetQuitFlag();
};

// No current window, quit flag clear (tests).
void KsResetSimpleWindow();
