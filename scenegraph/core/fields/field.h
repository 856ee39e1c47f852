// Base of the typed value classes that make up a node's members, and the
// set protocol every change of value runs through:
//   BeforeSet, store, AfterSet, ValueChanged.
// ValueChanged tells the owner node and sends the value along its routes,
// synchronously and depth first.
#ifndef KS_FIELD_H
#define KS_FIELD_H

#include "scenegraph/core/object/object.h"

class KsNode;
class KsPartition;
class KsDuplicatorList;
struct KsWordNode;

class KsField : public KsObject {
 public:
  KsField();
  ~KsField() override;
  KsField(const KsField&) = delete;
  KsField& operator=(const KsField&) = delete;

  // Every field class answers the root record.
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  int Print(KsOutStream* stream, int indent) const override;

  // Virtual operations, in this order after the object's.
  // Parses the value at the cursor (a word node whose first child is the
  // current word) and moves the cursor past it; 0 or 1.
  virtual int Realize(KsPartition* partition, KsWordNode* cursor);
  virtual KsDuplicatorList* CollectNodes(KsDuplicatorList* list);
  virtual int ApplyDuplicate(KsDuplicatorList* list);
  virtual void ReleaseNodes();
  virtual void BeforeSet();
  virtual void AfterSet();
  // Copies the value into target, which has the same class; 0 or 1.
  virtual int ExecCopyTo(KsField* target);

  // Binds the field to its node; a non-zero flag means no events.
  void Init(KsNode* owner, int flag, const char* memberName);
  void SetNoPropagate(int value) { noPropagate_ = value; }
  int GetNoPropagate() const { return noPropagate_; }
  KsNode* GetOwner() const { return owner_; }
  const char* GetMemberName() const { return memberName_; }

  // The change notice: owner's InvalidateCache and OwnerMemberChanged,
  // then (unless no-propagate) the owner's SendEventOut, whose result it
  // returns. 0 without an owner.
  int ValueChanged();

  // ExecCopyTo when both fields have the same class name, else reports
  // and returns 1 with the target unchanged.
  int CopyTo(KsField* target);

 private:
  int noPropagate_ = 0;
  KsNode* owner_ = nullptr;
  const char* memberName_ = nullptr;  // not owned
};

#endif
