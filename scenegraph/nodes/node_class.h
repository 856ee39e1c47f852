// Class name and record boilerplate shared by the node classes: each class
// answers its own name and the record made on its first construction,
// linked under its parent's record; and the members declared in one line.
#pragma once

#include <initializer_list>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/object.h"

#define KS_NODE_CLASS(Cls)                      \
 public:                                        \
  const char* GetClassName() const override;    \
  KsClassRecord* GetClassInfo() const override; \
  static KsClassRecord* ClassRecord();          \
                                                \
 private:                                       \
  static void EnsureRecord();                   \
                                                \
 public:

#define KS_NODE_CLASS_IMPL(Cls, Parent)                                                    \
  namespace {                                                                              \
  const char kClassName_##Cls[] = #Cls;                                                    \
  KsClassRecord* g_classRecord_##Cls = nullptr;                                            \
  }                                                                                        \
  const char* Cls::GetClassName() const { return kClassName_##Cls; }                       \
  KsClassRecord* Cls::GetClassInfo() const { return g_classRecord_##Cls; }                 \
  KsClassRecord* Cls::ClassRecord() { return g_classRecord_##Cls; }                        \
  void Cls::EnsureRecord() {                                                               \
    KsClassManager::Ensure(&g_classRecord_##Cls, kClassName_##Cls, Parent::ClassRecord()); \
  }

// How a member takes part in events: a field takes none, an exposed field
// takes set_ events and sends _changed ones, a settable field takes set_
// events and sends none.
enum class KsFieldKind { field, exposedField, settableField };

// A member declared once in the class body (KS_FIELD): its field, default
// and registration. It registers itself as it is constructed, so a class's
// members register in declaration order, after its base classes' members
// and before its constructor body (which registers event-ins and aliases,
// then calls RegisterDone). The default is set before registration, while
// the field has no owner to tell.
template <class Field>
class KsMember : public Field {
 public:
  template <class... Default>
  KsMember(KsNode* owner, const char* name, KsFieldKind kind, const Default&... value) {
    if constexpr (sizeof...(Default) > 0) Field::Set(value...);
    Register(owner, name, kind);
  }
  // A list default, given as its elements.
  template <class Element>
  KsMember(KsNode* owner, const char* name, KsFieldKind kind, std::initializer_list<Element> list) {
    Field::Set(static_cast<int>(list.size()), list.begin());
    Register(owner, name, kind);
  }

 private:
  void Register(KsNode* owner, const char* name, KsFieldKind kind) {
    owner->RegisterMember(name, this, kind == KsFieldKind::exposedField ? 0 : 1);
    if (kind == KsFieldKind::settableField) owner->RegisterFieldEventIn(name);
  }
};

// KS_FIELD(KsSFFloat, beamWidth, exposedField, 1.570796f): the member
// beamWidth with its kind and default (the arguments of the field's Set, or
// a braced list of elements; none keeps the field's own).
#define KS_FIELD(Type, name, kind, ...) \
  KsMember<Type> name { this, #name, KsFieldKind::kind, __VA_ARGS__ }
