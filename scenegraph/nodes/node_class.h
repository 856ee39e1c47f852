// Class name and record boilerplate shared by the node classes: each class
// answers its own name and the record made on its first construction,
// linked under its parent's record.
#pragma once

#include "scenegraph/core/object/object.h"

#define KS_NODE_CLASS(Cls)                                  \
public:                                                     \
    const char* GetClassName() const override;              \
    KsClassRecord* GetClassInfo() const override;           \
    static KsClassRecord* ClassRecord();                    \
                                                            \
private:                                                    \
    static void EnsureRecord();                             \
                                                            \
public:

#define KS_NODE_CLASS_IMPL(Cls, Parent)                                     \
    namespace {                                                             \
    const char kClassName_##Cls[] = #Cls;                                   \
    KsClassRecord* g_classRecord_##Cls = nullptr;                           \
    }                                                                       \
    const char* Cls::GetClassName() const { return kClassName_##Cls; }      \
    KsClassRecord* Cls::GetClassInfo() const { return g_classRecord_##Cls; } \
    KsClassRecord* Cls::ClassRecord() { return g_classRecord_##Cls; }       \
    void Cls::EnsureRecord() {                                              \
        KsClassManager::Ensure(&g_classRecord_##Cls, kClassName_##Cls,      \
                               Parent::ClassRecord());                      \
    }
