#include "graphics/state3d/state3d.h"

// The heap blocks need no set-up; the hook stays for the start-up order.
void PwInitMemory() {}
