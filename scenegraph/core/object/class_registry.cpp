#include <cstdio>
#include <cstring>
#include <new>

#include "scenegraph/core/object/object.h"

void KsClassManager::Register(KsClassRecord* record, KsClassRecord* parent) {
  if (!record) return;
  if (!parent) {
    std::printf("Ks Class Manager :\n");
    std::printf("    NULL Parent Class Is Detected\n");
    std::printf("    In intializing class [%s]\n", record->name ? record->name : "");
    record->parent = nullptr;
    return;
  }
  record->parent = parent;
  if (!parent->firstChild) {
    parent->firstChild = record;
    return;
  }
  KsClassRecord* last = parent->firstChild;
  while (last->nextSibling) last = last->nextSibling;
  last->nextSibling = record;
}

void KsClassManager::PrintHierarchy(const KsClassRecord* record, int indent) {
  if (indent == 0) {
    std::printf("Top Down Hierarchy[%s]\n", record && record->name ? record->name : "");
    indent = 2;
  }
  for (const KsClassRecord* r = record; r; r = r->nextSibling) {
    std::printf("%*s%s\n", indent, "", r->name ? r->name : "");
    if (r->firstChild) PrintHierarchy(r->firstChild, indent + 2);
  }
}

void KsClassManager::PrintBackTrack(const KsClassRecord* record, int indent) {
  if (indent == 0) {
    std::printf("BackTrack[%s]\n", record && record->name ? record->name : "");
    indent = 2;
  }
  for (const KsClassRecord* r = record; r; r = r->parent) {
    std::printf("%*s%s\n", indent, "", r->name ? r->name : "");
    indent += 2;
  }
}

int KsClassManager::IsKindOf(const KsClassRecord* record, const char* name) {
  if (!name) return 0;
  int position = 1;
  for (const KsClassRecord* r = record; r; r = r->parent, ++position)
    if (r->name && std::strcmp(r->name, name) == 0) return position;
  return 0;
}

KsClassRecord* KsClassManager::EnsureUnlinked(KsClassRecord** slot, const char* name) {
  if (!*slot) {
    KsClassRecord* record = new (std::nothrow) KsClassRecord;
    if (!record) return nullptr;
    record->name = name;
    *slot = record;
  }
  return *slot;
}

KsClassRecord* KsClassManager::Ensure(KsClassRecord** slot, const char* name,
                                      KsClassRecord* parent) {
  if (*slot) return *slot;
  KsClassRecord* record = EnsureUnlinked(slot, name);
  if (record) Register(record, parent);
  return record;
}
