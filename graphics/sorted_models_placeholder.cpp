// Until SRF models and PICT2 pictures can be placed in 3D: their sorted items
// draw nothing. Replace with the real drawers.
#include "graphics/sorted_list.h"

void PwDrawSortedSrf(const PwSrf*, const PwFrame*, int) {}
void PwDrawSortedPict(const PwPict*, const PwFrame*, int) {}
