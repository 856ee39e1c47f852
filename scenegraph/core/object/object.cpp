#include "scenegraph/core/object/object.h"

namespace {
const char kObjectName[] = "KsObject";
KsClassRecord* g_objectRecord = nullptr;
}  // namespace

KsObject::KsObject() { KsClassManager::EnsureUnlinked(&g_objectRecord, kObjectName); }

KsObject::~KsObject() = default;

const char* KsObject::GetClassName() const { return kObjectName; }

KsClassRecord* KsObject::GetClassInfo() const { return g_objectRecord; }

int KsObject::Print(KsOutStream*, int) const { return 0; }

KsClassRecord* KsObject::ClassRecord() { return g_objectRecord; }
