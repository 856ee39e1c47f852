// The eleven single-value field classes. Every Set runs the set protocol of
// KsField; a copy that cannot be allocated keeps the old value and returns 1.
#ifndef KS_SF_FIELDS_H
#define KS_SF_FIELDS_H

#include "scenegraph/core/fields/color_value.h"
#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/image_value.h"
#include "scenegraph/core/math/rotation.h"
#include "scenegraph/core/fields/string_value.h"
#include "scenegraph/core/math/vec.h"

class KsSFInt : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(int value);
  int Get() const { return value_; }

 private:
  int value_ = 0;
};

class KsSFFloat : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(float value);
  float Get() const { return value_; }

 private:
  float value_ = 0.0f;
};

// Seconds, held as a float like the scene clock.
class KsSFTime : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(float value);
  float Get() const { return value_; }

 private:
  float value_ = 0.0f;
};

class KsSFVec2f : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(const KsVec2f& value);
  int Set(float x, float y) { return Set(KsVec2f(x, y)); }
  const KsVec2f& Get() const { return value_; }

 private:
  KsVec2f value_;
};

class KsSFVec3f : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(const KsVec3f& value);
  int Set(float x, float y, float z) { return Set(KsVec3f(x, y, z)); }
  const KsVec3f& Get() const { return value_; }

 private:
  KsVec3f value_;
};

class KsSFRotation : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(const KsRotation& value);
  int Set(float x, float y, float z, float angle) { return Set(KsRotation(x, y, z, angle)); }
  const KsRotation& Get() const { return value_; }

 private:
  KsRotation value_;
};

class KsSFColor : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(float r, float g, float b);
  int Set(const KsCol& value) { return Set(value.r, value.g, value.b); }
  const KsCol& Get() const { return value_; }

 private:
  KsCol value_;
};

class KsSFBool : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  int Set(KSBOOL value);
  KSBOOL Get() const { return value_; }

 private:
  KSBOOL value_ = KS_TRUE;
};

class KsSFString : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  // Copies the text (null clears it).
  int Set(const char* text);
  int Set(const KsString& value) { return Set(value.GetText()); }
  const char* Get() const { return value_.GetText(); }
  const KsString& GetString() const { return value_; }

 private:
  KsString value_;
};

class KsSFImage : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  int ExecCopyTo(KsField* target) override;

  // Copies the image with its pixels.
  int Set(const KsImage& value);
  const KsImage& Get() const { return value_; }

 private:
  KsImage value_;
};

// A counted reference: the field holds one reference to its node, taken in
// AfterSet and dropped by ReleaseNodes (not by destruction).
class KsSFNode : public KsField {
 public:
  const char* GetClassName() const override;
  int Print(KsOutStream* stream, int indent) const override;
  int Realize(KsPartition* partition, KsWordNode* cursor) override;
  KsDuplicatorList* CollectNodes(KsDuplicatorList* list) override;
  int ApplyDuplicate(KsDuplicatorList* list) override;
  void ReleaseNodes() override;
  void BeforeSet() override;
  void AfterSet() override;
  int ExecCopyTo(KsField* target) override;

  int Set(KsNode* node);
  KsNode* Get() const { return node_; }

 private:
  KsNode* node_ = nullptr;
  KsNode* previous_ = nullptr;
};

#endif
