#include "graphics/state3d/model_capture_state.h"

namespace {
int g_model_active = 0;
}

int PwModelIsActive() { return g_model_active; }
void PwModelSetActive(int on) { g_model_active = on ? 1 : 0; }
