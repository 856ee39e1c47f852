#include "scenegraph/core/protos/proto_interface.h"

#include <cstring>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/name_text.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reading/word_convert.h"

namespace {
const char kFieldTableName[] = "KsFieldTable";
const char kIsTableName[] = "KsIsTable";
KsClassRecord* g_fieldTableRecord = nullptr;
KsClassRecord* g_isTableRecord = nullptr;
}  // namespace

const char* const* KsMemberKindKeywords() {
  static const char* const kinds[] = {"eventIn", "eventOut", "exposedField", "field", nullptr};
  return kinds;
}

KsFieldTable::KsFieldTable(const char* type, const char* raw) {
  KsClassManager::Ensure(&g_fieldTableRecord, kFieldTableName, KsObject::ClassRecord());
  KsCopyName(typeName, type);
  KsCopyName(rawName, raw);
  KsCopyEventName(memberName, raw);
}

KsFieldTable::~KsFieldTable() {
  if (defaultValue) {
    defaultValue->ReleaseNodes();
    delete defaultValue;
  }
}

const char* KsFieldTable::GetClassName() const { return kFieldTableName; }
KsClassRecord* KsFieldTable::GetClassInfo() const { return g_fieldTableRecord; }

KsIsTable::KsIsTable(const char* interfaceName, KsNode* inner, const char* member)
    : innerNode(inner) {
  KsClassManager::Ensure(&g_isTableRecord, kIsTableName, KsObject::ClassRecord());
  KsCopyName(rawName, interfaceName);
  KsCopyEventName(exportedName, interfaceName);
  KsCopyEventName(innerMember, member);
  KsCopyName(rawInnerMember, member);
  KsNode::Ref(innerNode);
}

KsIsTable::~KsIsTable() { KsNode::Unref(innerNode); }

const char* KsIsTable::GetClassName() const { return kIsTableName; }
KsClassRecord* KsIsTable::GetClassInfo() const { return g_isTableRecord; }

KsProtoInterface::~KsProtoInterface() {
  // Bindings and defaults first: their nodes may be instances of
  // declarations that the retained file owns.
  for (KsIsTable* is : fieldIs) delete is;
  for (KsIsTable* is : eventInIs) delete is;
  for (KsIsTable* is : eventOutIs) delete is;
  for (KsFieldTable* entry : fields) delete entry;
  for (KsFieldTable* entry : eventIns) delete entry;
  for (KsFieldTable* entry : eventOuts) delete entry;
  KsReleaseExternFile(retained);
}

void KsProtoInterface::AddEntry(int kind, KsFieldTable* entry) {
  if (!entry) return;
  if (kind == KS_KIND_EVENT_IN) {
    eventIns.push_back(entry);
    eventInNames_.insert(entry->rawName);
  } else if (kind == KS_KIND_EVENT_OUT) {
    eventOuts.push_back(entry);
    eventOutNames_.insert(entry->rawName);
  } else {
    fields.push_back(entry);
    fieldNames_.insert(entry->rawName);
  }
}

void KsProtoInterface::AddBinding(int kind, KsIsTable* binding) {
  if (!binding) return;
  if (kind == KS_KIND_EVENT_IN) {
    eventInIs.push_back(binding);
  } else if (kind == KS_KIND_EVENT_OUT) {
    eventOutIs.push_back(binding);
  } else {
    fieldIs.push_back(binding);
    fieldIsByName_[binding->exportedName].push_back(binding);
  }
}

int KsProtoInterface::FindKind(const char* rawName) const {
  if (!rawName) return -1;
  const std::string name(rawName);
  if (fieldNames_.count(name)) return KS_KIND_EXPOSED_FIELD;
  if (eventInNames_.count(name)) return KS_KIND_EVENT_IN;
  if (eventOutNames_.count(name)) return KS_KIND_EVENT_OUT;
  return -1;
}

const std::vector<KsIsTable*>* KsProtoInterface::FieldBindings(const char* exportedName) const {
  if (!exportedName) return nullptr;
  auto it = fieldIsByName_.find(exportedName);
  return it == fieldIsByName_.end() ? nullptr : &it->second;
}

void KsProtoInterface::IndexProto(KsPartition* declaration) {
  if (declaration) protoByName_.emplace(declaration->GetProtoName(), declaration);
}

KsPartition* KsProtoInterface::FindProto(const char* name) const {
  if (!name) return nullptr;
  auto it = protoByName_.find(name);
  return it == protoByName_.end() ? nullptr : it->second;
}

KsPartition* KsProtoDeclarationsOf(KsPartition* p) {
  if (!p) return nullptr;
  const KsProtoInterface* in = p->FindInterface();
  return in && in->sharedProtos ? in->sharedProtos : p;
}

namespace {
const char kIsTableSetName[] = "KsIsTableSet";
KsClassRecord* g_isTableSetRecord = nullptr;
}  // namespace

KsIsTableSet::KsIsTableSet() {
  KsClassManager::EnsureUnlinked(&g_isTableSetRecord, kIsTableSetName);
}
const char* KsIsTableSet::GetClassName() const { return kIsTableSetName; }
KsClassRecord* KsIsTableSet::GetClassInfo() const { return g_isTableSetRecord; }
