// The simple window on the graphics library's real application window.
#include "graphics/window/window.h"
#include "scenegraph/nodes/application/simple_window.h"

namespace {
const KsSimpleWindow::WindowCalls kApplicationWindow = {PwOpenWindow, PwCloseWindow, PwPollMessages,
                                                        PwGetMouse};
}  // namespace

int KsSimpleWindow::Initialize() { return InitializeWith(kApplicationWindow); }
int KsSimpleWindow::MainLoop() { return MainLoopWith(kApplicationWindow); }
int KsSimpleWindow::Quit() { return QuitWith(kApplicationWindow); }
