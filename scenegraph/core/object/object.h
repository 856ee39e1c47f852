#ifndef KS_OBJECT_H
#define KS_OBJECT_H

#include "scenegraph/core/ks_types.h"

class KsOutStream;

// One node of the process-wide class tree. Records are made on the first
// construction of their class and live until the process ends.
struct KsClassRecord {
  KsClassRecord* parent = nullptr;
  KsClassRecord* nextSibling = nullptr;
  KsClassRecord* firstChild = nullptr;
  const char* name = nullptr;
};

class KsClassManager {
 public:
  // Links record under parent (appended after the parent's last child).
  static void Register(KsClassRecord* record, KsClassRecord* parent);
  static void PrintHierarchy(const KsClassRecord* record, int indent);
  static void PrintBackTrack(const KsClassRecord* record, int indent);
  // 1-based position of the first record named name on the chain up to the
  // root (1 = record itself), 0 when none.
  static int IsKindOf(const KsClassRecord* record, const char* name);

  // Lazy creation used by class constructors: when *slot is null, allocates a
  // record named name, stores it in *slot and registers it under parent.
  // A failed allocation leaves *slot null (tried again next time).
  static KsClassRecord* Ensure(KsClassRecord** slot, const char* name, KsClassRecord* parent);
  // The same without linking it anywhere (the root, and classes that are
  // deliberately kept outside the tree).
  static KsClassRecord* EnsureUnlinked(KsClassRecord** slot, const char* name);
};

// Root of every class that takes part in run-time type tests, which compare
// GetClassName strings.
class KsObject {
 public:
  KsObject();
  virtual ~KsObject();

  virtual const char* GetClassName() const;
  virtual KsClassRecord* GetClassInfo() const;
  // Writes the value as VRML text; returns 0.
  virtual int Print(KsOutStream* stream, int indent) const;

  // The root record ("KsObject"), null before the first construction.
  static KsClassRecord* ClassRecord();
};

#endif
