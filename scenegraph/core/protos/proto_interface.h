// The interface of a PROTO declaration (fields, eventIns, eventOuts with
// their defaults), the IS bindings that tie body members to it, and what a
// declaration keeps alive for its copies.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/object.h"

class KsField;
class KsPartition;

// Deepest nesting of PROTO instances being built inside one another.
constexpr int KS_MAX_PROTO_DEPTH = 32;
// Nodes one PROTO instance may add, those of the instances nested in it
// included, so that instances nested in one another's bodies cannot
// multiply without end. A larger instance is not built at all.
constexpr int KS_MAX_INSTANCE_NODES = 200000;
// Deepest chain of EXTERNPROTO files read from one another, and the most
// files one read may read for its EXTERNPROTO statements in all, the files'
// own included (each file is read once however many statements name it).
constexpr int KS_MAX_EXTERNPROTO_DEPTH = 16;
constexpr int KS_MAX_EXTERNPROTO_READS = 64;

// Interface kinds in table order.
enum KsMemberKind { KS_KIND_EVENT_IN = 0, KS_KIND_EVENT_OUT, KS_KIND_EXPOSED_FIELD, KS_KIND_FIELD };
const char* const* KsMemberKindKeywords();

// One interface entry.
class KsFieldTable : public KsObject {
 public:
  KsFieldTable(const char* typeName, const char* rawName);
  ~KsFieldTable() override;
  KsFieldTable(const KsFieldTable&) = delete;
  KsFieldTable& operator=(const KsFieldTable&) = delete;
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  char typeName[KS_NAME_SIZE];
  char memberName[KS_NAME_SIZE];  // rawName without "set_" / "_changed"
  char rawName[KS_NAME_SIZE];
  int noEvents = 1;                 // 1 field, 0 exposedField
  KsField* defaultValue = nullptr;  // owned; null for events
};

// One IS binding. The binding holds a reference to its inner node, so that
// a body node removed by an event cannot leave it (or its routes) dangling.
class KsIsTable : public KsObject {
 public:
  KsIsTable(const char* interfaceName, KsNode* inner, const char* innerMember);
  ~KsIsTable() override;
  KsIsTable(const KsIsTable&) = delete;
  KsIsTable& operator=(const KsIsTable&) = delete;
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  char exportedName[KS_NAME_SIZE];  // normalised
  char rawName[KS_NAME_SIZE];
  KsNode* innerNode;
  char innerMember[KS_NAME_SIZE];     // normalised
  char rawInnerMember[KS_NAME_SIZE];  // as written, for writing it back
};

// A list of IS bindings in reading order (not owned). Its class record is
// made but linked under no parent.
class KsIsTableSet : public KsObject {
 public:
  KsIsTableSet();
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  std::vector<KsIsTable*> bindings;
};

// Owned by its partition; empty for a plain scene. Entries are added
// through the Add functions, which keep the look-up indexes.
struct KsProtoInterface {
  ~KsProtoInterface();

  void AddEntry(int kind, KsFieldTable* entry);
  // kind: the list the binding's interface name was found in.
  void AddBinding(int kind, KsIsTable* binding);
  // The first list (fields, eventIns, eventOuts) holding the raw name,
  // as a member kind (exposedField standing for both field kinds), or -1.
  int FindKind(const char* rawName) const;
  // The field bindings of an exported name, in reading order; null if none.
  const std::vector<KsIsTable*>* FieldBindings(const char* exportedName) const;
  // The first of the partition's PROTO declarations of each name.
  void IndexProto(KsPartition* declaration);
  KsPartition* FindProto(const char* name) const;

  std::vector<KsFieldTable*> fields;  // exposedFields and fields
  std::vector<KsFieldTable*> eventIns;
  std::vector<KsFieldTable*> eventOuts;
  std::vector<KsIsTable*> fieldIs;
  std::vector<KsIsTable*> eventInIs;
  std::vector<KsIsTable*> eventOutIs;
  // The partition whose PROTO list a copy uses (its source's), not owned.
  KsPartition* sharedProtos = nullptr;
  // The file read by an EXTERNPROTO, kept while the declaration copied
  // from it lives, since the copy's nested instances name declarations
  // that file owns. Its scene is already gone. Shared by every copy of
  // the read that names the file.
  struct KsExternFile* retained = nullptr;
  // 1 once an instance of this declaration was refused as too large, so
  // that later ones are refused without being built.
  int tooLarge = 0;

 private:
  std::unordered_set<std::string> fieldNames_, eventInNames_, eventOutNames_;
  std::unordered_map<std::string, std::vector<KsIsTable*>> fieldIsByName_;
  std::unordered_map<std::string, KsPartition*> protoByName_;
};

// The partition whose PROTO declarations apply to p: p itself, or for a
// copy the partition it was copied from.
KsPartition* KsProtoDeclarationsOf(KsPartition* p);

// A file read for EXTERNPROTO statements, held by the declarations copied
// from it and, until the read that named it ends, by that read.
struct KsExternFile {
  KsPartition* scene = nullptr;  // owned; only its PROTO declarations are left
  int holders = 0;
};
void KsHoldExternFile(KsExternFile* file);
// Deletes the file once nothing holds it.
void KsReleaseExternFile(KsExternFile* file);

// While it lives (one scene's realisation), the EXTERNPROTO files read are
// kept, so that a file named by many statements is read once; the
// outermost scope's end lets them go and starts the count of files read
// afresh.
class KsExternReadScope {
 public:
  KsExternReadScope();
  ~KsExternReadScope();
  KsExternReadScope(const KsExternReadScope&) = delete;
  KsExternReadScope& operator=(const KsExternReadScope&) = delete;
};

// EXTERNPROTO reading state (depth, files being read and kept), instance
// building state and the expansion allowance back to their start.
void KsResetProtoGlobals();
