// An instance of a PROTO declaration: its members are the interface's
// fields, its behaviour comes from a private deep copy of the declaration.
#pragma once

#include <string>
#include <vector>

#include "scenegraph/core/object/node.h"

class KsPartition;

class KsCustomNode : public KsNode {
 public:
  // The declaration is not owned and must outlive the instance.
  explicit KsCustomNode(KsPartition* declaration);
  ~KsCustomNode() override;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  static KsClassRecord* ClassRecord();

  KsNode* NewInstance() override;
  void ReleaseHook() override;
  int Scan(KsNodeScanner* scanner) override;
  int ExecTraverse(KsMatrix* matrix) override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;
  int OwnerMemberChanged(const char* name, KsField* field) override;
  int GetBoundingBox(KsVec3f* min, KsVec3f* max) override;
  int WriteTypeName(KsOutStream* stream) override;

  KsPartition* GetDeclaration() const { return declaration_; }
  // Null when the instance could not be built (too deep, too large, or
  // out of memory).
  KsPartition* GetPrivateCopy() const { return copy_; }

  // A new instance of the declaration, or null (reported) when its copy
  // could not be made.
  static KsNode* Create(KsPartition* declaration);
  // Nesting of instances being built right now.
  static int GetBuildDepth();
  // No instance being built: for a read abandoned part way.
  static void ResetBuildState();

 private:
  KsPartition* declaration_;
  KsPartition* copy_ = nullptr;
  std::vector<KsField*> fields_;    // owned members
  std::vector<std::string> names_;  // their names, which the table points into
  int scanningCopy_ = 0;
  int traversing_ = 0;
  int boxing_ = 0;
};
