// Nodes that take part in the walk without drawing.
#include "scenegraph/nodes/data_only/info_nodes.h"

// Its source is not traversed: sound is not played.
int KsSound::ExecTraverse(KsMatrix*) { return 0; }
