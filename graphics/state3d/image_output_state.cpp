#include "graphics/state3d/image_output_state.h"

namespace {
int g_image_active = 0;
}

int PwImageIsActive() { return g_image_active; }
void PwImageSetActive(int on) { g_image_active = on ? 1 : 0; }
