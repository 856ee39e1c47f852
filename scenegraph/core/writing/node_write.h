// What writing a node shares with writing a partition: the names a node is
// written with, and field values without empty node slots.
#pragma once

#include <string>

class KsField;
class KsMemberTable;
class KsNode;
class KsOutStream;

// The name a member is written under: a PROTO instance's as its interface
// declared it; null when the node's type has no such field in VRML 2.0, so
// that the member is left out.
const char* KsWrittenMemberName(const KsNode* node, const KsMemberTable* member);

// The full name of a route end: the event `event` (as routes keep it,
// normalised) that the node sends (sends 1) or receives (sends 0).
std::string KsWrittenEventName(const KsNode* node, const char* event, int sends);

// The inner member of an IS line on the node, as the file gave it but
// under the VRML 2.0 name where it used an older one ("set_keys" is written
// "set_key").
std::string KsWrittenIsMember(const KsNode* node, const char* member);

// The field's value as its Print writes it, except that a list of nodes
// leaves out its empty slots, which VRML 2.0 cannot express.
int KsWriteFieldValue(KsOutStream* stream, KsField* field, int context);
