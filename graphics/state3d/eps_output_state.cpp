#include "graphics/state3d/eps_output_state.h"

namespace {
int g_eps_active = 0;
}

int PwEpsIsActive() { return g_eps_active; }
void PwEpsSetActive(int on) { g_eps_active = on ? 1 : 0; }
