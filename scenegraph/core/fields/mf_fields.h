// The eleven multiple-value field classes and their builders.
//
// A value is `count` elements (null array when empty). Set and the builders
// (Begin, Append..., Commit) change it through the set protocol of KsField;
// when the new array cannot be allocated the field is left empty, the change
// notice is skipped and 1 is returned. Print writes "[\n", the elements
// separated by ",", a line break after elements 0, 8, 16 ..., then "]\n".
#ifndef KS_MF_FIELDS_H
#define KS_MF_FIELDS_H

#include "scenegraph/core/fields/color_value.h"
#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/image_value.h"
#include "scenegraph/core/math/rotation.h"
#include "scenegraph/core/fields/string_value.h"
#include "scenegraph/core/math/vec.h"

class KsNode;
class KsWordWindow;

// Element storage, builders, parsing and printing shared by all list classes;
// the classes supply their element parser and printer.
template <class T>
class KsMField : public KsField {
 public:
  KsMField() = default;
  ~KsMField() override;

  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int GetCount() const { return count_; }
  // Element index, or null with a report when out of range.
  T* Get(int index);
  const T* Get(int index) const;
  const T* GetElements() const { return elements_; }

  // Replaces the value by copies of elements (which may be this field's own).
  int Set(int count, const T* elements);

  // Starts a pending list holding copies of the current elements.
  void Begin();
  // 1 without appending when memory runs out.
  int Append(const T& element);
  // Makes the pending list the value, with one change notice.
  int Commit();

 protected:
  // Parses one element at the cursor, moving it past the words used.
  virtual T ParseElement(KsPartition* partition, KsWordNode* cursor) = 0;
  virtual void PrintElement(KsOutStream* stream, const T& element, int indent) const = 0;
  // Whether a parsed element of a bracketed list is kept.
  virtual bool KeepInList(const T&) const { return true; }

  // Frees the elements without hooks or change notice.
  void ClearElements();

  int count_ = 0;
  T* elements_ = nullptr;

 private:
  struct Pending {
    T value;
    Pending* next = nullptr;
  };

  void DropPending();
  // Parses the words of a bracket group and commits them as the value.
  void ParseList(KsPartition* partition, KsWordNode* group);
  // The same from its first word on, words of them not commas; a window
  // when they are a run's, -1 words when memory ran out for it. Memory
  // running out fails the read at the bracket's line.
  void ParseWords(KsPartition* partition, KsWordNode* first, int words, KsWordWindow* window,
                  int line);
  // Fills *out with a new array of the pending elements; 1 when it cannot.
  int TakePending(T** out, int* count);

  Pending* pendingHead_ = nullptr;
  Pending* pendingTail_ = nullptr;
  int pendingCount_ = 0;
  bool beginFailed_ = false;
};

class KsMFInt : public KsMField<int> {
 public:
  const char* GetClassName() const override;

 protected:
  int ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const int& element, int indent) const override;
};

class KsMFFloat : public KsMField<float> {
 public:
  const char* GetClassName() const override;

 protected:
  float ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const float& element, int indent) const override;
};

// Seconds; the same list as KsMFFloat under its own class name.
class KsMFTime : public KsMFFloat {
 public:
  const char* GetClassName() const override;
};

class KsMFVec2f : public KsMField<KsVec2f> {
 public:
  const char* GetClassName() const override;

 protected:
  KsVec2f ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const KsVec2f& element, int indent) const override;
};

class KsMFVec3f : public KsMField<KsVec3f> {
 public:
  const char* GetClassName() const override;

 protected:
  KsVec3f ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const KsVec3f& element, int indent) const override;
};

class KsMFRotation : public KsMField<KsRotation> {
 public:
  const char* GetClassName() const override;

 protected:
  KsRotation ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const KsRotation& element, int indent) const override;
};

class KsMFString : public KsMField<KsString> {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;

 protected:
  KsString ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const KsString& element, int indent) const override;
};

class KsMFColor : public KsMField<KsCol> {
 public:
  const char* GetClassName() const override;

 protected:
  KsCol ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const KsCol& element, int indent) const override;
};

class KsMFBool : public KsMField<KSBOOL> {
 public:
  const char* GetClassName() const override;

 protected:
  KSBOOL ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const KSBOOL& element, int indent) const override;
};

class KsMFImage : public KsMField<KsImage> {
 public:
  const char* GetClassName() const override;

 protected:
  KsImage ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, const KsImage& element, int indent) const override;
};

// Counted references; null elements may be stored and are skipped by
// reference counting. Destruction releases nothing: ReleaseNodes does.
class KsMFNode : public KsMField<KsNode*> {
 public:
  ~KsMFNode() override;

  const char* GetClassName() const override;
  KsDuplicatorList* CollectNodes(KsDuplicatorList* list) override;
  int ApplyDuplicate(KsDuplicatorList* list) override;
  void ReleaseNodes() override;
  void BeforeSet() override;
  void AfterSet() override;

 protected:
  KsNode* ParseElement(KsPartition* partition, KsWordNode* cursor) override;
  void PrintElement(KsOutStream* stream, KsNode* const& element, int indent) const override;
  bool KeepInList(KsNode* const& element) const override { return element != nullptr; }

 private:
  KsNode** previous_ = nullptr;
  int previousCount_ = 0;
};

#endif
