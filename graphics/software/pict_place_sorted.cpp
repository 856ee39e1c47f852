// Placed PICT2 pictures in the software build: one depth-sorted item,
// drawn by the flush in painter's order.
#include "graphics/formats/pict_picture.h"

int PwPict3Sorted(const PwPict* pict, const PwPose* pose) {
  if (!PwPict3PlaceFront(pict, pose)) return 0;
  return PwQueuePict3(pict);
}
