// A tiny application on the simple-window frame for its end-to-end test:
// it loads a scene and draws it from the bound viewpoint every pass.
// Usage: simple_window_app.exe scene.wrl work-folder. It logs to
// work-folder/app.log, returns what the main loop returned, and gives up
// with status 3 after two minutes.
#include <windows.h>
// The scene graph's own virtual GetClassName and GetClassInfo, not USER32's.
#undef GetClassName
#undef GetClassInfo

#include <cstdio>
#include <string>

#include "graphics/window/window.h"
#include "graphics/window/winmain.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/nodes/node_library.h"
#include "scenegraph/nodes/application/simple_window.h"
#include "tests/support/probe_log.h"

namespace {

using e2e_probe::Log;

class SceneWindow : public KsSimpleWindow {
 public:
  explicit SceneWindow(KsPartition* scene) : scene_(scene) {}

  void OnStart() override {
    start_ = GetTickCount();
    Log("start\n");
  }
  void OnIdle() override {
    SetCamera();
    scene_->TraverseFromRoot();
    Redraw();
    if (!drawn_) {
      drawn_ = true;
      HWND window = static_cast<HWND>(PwGetWindowHandle());
      SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      RECT client;
      GetClientRect(window, &client);
      POINT origin = {0, 0};
      ClientToScreen(window, &origin);
      Log("client %ld %ld origin %ld %ld\n", client.right, client.bottom, origin.x, origin.y);
      Log("drawn\n");
    }
    if (GetTickCount() - start_ > 120000) {
      Log("timeout\n");
      timedOut_ = true;
      Quit();
    }
    Sleep(20);
  }
  void OnLeftButtonDown(int, int) override { Log("left down\n"); }
  void OnLeftButtonUp(int, int) override { Log("left up\n"); }

  bool TimedOut() const { return timedOut_; }

 private:
  KsPartition* scene_;
  DWORD start_ = 0;
  bool drawn_ = false;
  bool timedOut_ = false;
};

}  // namespace

int ViewerMain(int argc, char** argv) {
  if (argc < 3) return 2;
  e2e_probe::OpenLog(std::string(argv[2]) + "/app.log");
  KsRegisterNodeLibrary();
  KsPartition scene;
  if (scene.ReadFile(argv[1]) != 0) {
    Log("cannot read %s\n", argv[1]);
    return 2;
  }
  scene.StoreViewpointPaths();
  SceneWindow window(&scene);
  if (window.Initialize() != 0) {
    Log("no window\n");
    return 2;
  }
  int result = window.MainLoop();
  Log("loop %d\n", result);
  return window.TimedOut() ? 3 : result;
}
