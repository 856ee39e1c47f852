// Names a node is written with: VRML 2.0 field and event names by node
// type, a PROTO instance's names as its interface declared them.
#include <cstring>
#include <vector>

#include "scenegraph/core/protos/custom_node.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_interfaces.h"
#include "scenegraph/core/writing/node_write.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/reading/word_convert.h"

namespace {

// The keyword of a node class of the library ("KsTransform": "Transform"),
// or null for classes the VRML 2.0 table does not describe.
const char* VrmlKeyword(const KsNode* node) {
  const char* name = node->GetClassName();
  if (!name || std::strncmp(name, "Ks", 2) != 0) return nullptr;
  return KsHasVrmlInterface(name + 2) ? name + 2 : nullptr;
}

const KsProtoInterface* InstanceInterface(const KsNode* node) {
  if (node->GetClassInfo() != KsCustomNode::ClassRecord()) return nullptr;
  const KsPartition* declaration = static_cast<const KsCustomNode*>(node)->GetDeclaration();
  return declaration ? declaration->FindInterface() : nullptr;
}

const KsFieldTable* FindEntry(const std::vector<KsFieldTable*>& list, const char* member,
                              bool exposedOnly) {
  for (const KsFieldTable* entry : list)
    if (entry && std::strcmp(entry->memberName, member) == 0 &&
        (!exposedOnly || entry->noEvents == 0))
      return entry;
  return nullptr;
}

// The VRML 2.0 name of a member that our node classes also register under
// an older name on the same field ("rgb" for "color", "keys" for "key",
// "values" for "keyValue"); null when `member` names no such field.
const char* VrmlNameOfAlias(const KsNode* node, const char* keyword, const char* member) {
  const KsField* field = nullptr;
  for (int i = 0; i < node->GetMemberCount() && !field; ++i) {
    const KsMemberTable* m = node->GetMember(i);
    if (m && m->name && std::strcmp(m->name, member) == 0) field = m->field;
  }
  if (!field) return nullptr;
  for (int i = 0; i < node->GetMemberCount(); ++i) {
    const KsMemberTable* m = node->GetMember(i);
    if (m && m->field == field && m->name && KsHasVrmlField(keyword, m->name)) return m->name;
  }
  return nullptr;
}

std::string Normalised(const char* event) {
  std::vector<char> name(event, event + std::strlen(event) + 1);
  KsNormalizeEventName(name.data());
  return name.data();
}

// Nodes of other classes: rebuilt from the member's event flags.
std::string FromMembers(const KsNode* node, const char* event, int sends) {
  std::string name = event;
  bool member = false;
  for (int i = 0; i < node->GetMemberCount() && !member; ++i) {
    const KsMemberTable* m = node->GetMember(i);
    member = m && m->name && std::strcmp(m->name, event) == 0 &&
             (sends ? m->noEventOut : m->noEventIn) == 0;
  }
  if (sends) return member || name == "value" || name == "fraction" ? name + "_changed" : name;
  return member || name == "fraction" ? "set_" + name : name;
}

}  // namespace

const char* KsWrittenMemberName(const KsNode* node, const KsMemberTable* member) {
  if (!node || !member || !member->name) return nullptr;
  if (const KsProtoInterface* in = InstanceInterface(node)) {
    const KsFieldTable* entry = FindEntry(in->fields, member->name, false);
    return entry ? entry->rawName : member->name;
  }
  const char* keyword = VrmlKeyword(node);
  if (keyword && !KsHasVrmlField(keyword, member->name)) return nullptr;
  return member->name;
}

std::string KsWrittenEventName(const KsNode* node, const char* event, int sends) {
  if (!event) event = "";
  if (!node) return event;
  if (const KsProtoInterface* in = InstanceInterface(node)) {
    // An exposedField's own name stands for both of its events.
    const KsFieldTable* entry = FindEntry(sends ? in->eventOuts : in->eventIns, event, false);
    if (!entry) entry = FindEntry(in->fields, event, true);
    if (entry) return entry->rawName;
  } else if (const char* keyword = VrmlKeyword(node)) {
    std::string name = KsVrmlEventName(keyword, event, sends);
    if (name.empty())
      if (const char* vrml = VrmlNameOfAlias(node, keyword, Normalised(event).c_str()))
        name = KsVrmlEventName(keyword, vrml, sends);
    if (!name.empty()) return name;
  }
  return FromMembers(node, event, sends);
}

std::string KsWrittenIsMember(const KsNode* node, const char* member) {
  if (!member) return std::string();
  const char* keyword = node ? VrmlKeyword(node) : nullptr;
  if (!keyword) return member;
  const std::string normal = Normalised(member);
  if (KsHasVrmlField(keyword, normal.c_str()) || !KsVrmlEventName(keyword, member, 0).empty() ||
      !KsVrmlEventName(keyword, member, 1).empty())
    return member;
  const char* vrml = VrmlNameOfAlias(node, keyword, normal.c_str());
  if (!vrml) return member;
  // The same kind of name as given: field, "set_" eventIn or "_changed" eventOut.
  if (std::strncmp(member, "set_", 4) == 0) return std::string("set_") + vrml;
  if (normal.size() < std::strlen(member)) return vrml + std::string("_changed");
  return vrml;
}
