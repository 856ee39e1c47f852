// Services of the node library that the partition's queries need: the core
// cannot link the node classes or the drawing buffer, so the node library
// installs these when it registers its classes. Each is null until then
// and a null hook does nothing.
#pragma once

class KsNode;
class KsObject;

// Pick id of what was drawn under the window point, -1 for nothing.
typedef int (*KsPickHook)(int x, int y);
// Starts a frame before the drawing walk: the identity matrix, the default
// colour and no shapes counted.
typedef void (*KsFrameStartHook)();
// Advances one TimeSensor to the scene time now.
typedef int (*KsTimeTickHook)(KsNode* timeSensor, float now);
// Hands a viewpoint the walk's path (partitions and nodes, outermost
// first, the viewpoint itself last); count is at most the path size.
typedef int (*KsViewpointPathHook)(KsNode* viewpoint, int count, KsObject* const* items);

void KsSetPickHook(KsPickHook hook);
void KsSetFrameStartHook(KsFrameStartHook hook);
void KsSetTimeTickHook(KsTimeTickHook hook);
void KsSetViewpointPathHook(KsViewpointPathHook hook);
KsPickHook KsGetPickHook();
KsFrameStartHook KsGetFrameStartHook();
KsTimeTickHook KsGetTimeTickHook();
KsViewpointPathHook KsGetViewpointPathHook();
// All null (tests).
void KsResetSceneHooks();
