// The pick tree that the registering and the query files share.
#pragma once

#include "graphics/picking/picking.h"

// Links a filled record into the tree by its depth.
void PwPickInsert(PwPickItem* item);
PwPickItem* PwPickRoot();
