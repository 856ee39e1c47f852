// The IS bindings of the partitions being written, found by the int context
// that node bodies pass down through their fields. Context 0 is none.
#pragma once

#include <vector>

class KsNode;
struct KsProtoInterface;

// Both names as the file gave them, so that an eventIn set_a and an eventOut
// a_changed stay apart when read back.
struct KsWriteBinding {
  const char* innerMember;
  const char* exportedName;
};

// Makes the bindings of the interface (null: none) the newest context and
// returns its handle (1 and up).
int KsPushWriteContext(const KsProtoInterface* in);
void KsPopWriteContext();
// The lines a node of that context writes: fields, eventIns, then eventOuts,
// each in binding order; null when there are none.
const std::vector<KsWriteBinding>* KsFindWriteBindings(int context, const KsNode* node);
void KsResetWriteContexts();
