// Routes of one partition. Until route delivery exists this router parses
// ROUTE statements only far enough to step over them.
#pragma once

#include "scenegraph/core/object.h"

class KsNode;
class KsField;
class KsPartition;
struct KsWordNode;

class KsRouter : public KsObject {
public:
    explicit KsRouter(KsPartition* owner = nullptr);
    const char* GetClassName() const override;
    KsClassRecord* GetClassInfo() const override;

    void SetOwner(KsPartition* owner) { owner_ = owner; }
    KsPartition* GetOwner() const { return owner_; }

    // Parses one ROUTE statement at the cursor; always consumes at least
    // the word ROUTE. 0 or 1.
    int Realize(KsWordNode* cursor, KsPartition* partition);
    // Offers an event to the routes; 0 when nothing failed.
    int EventOut(KsNode* node, const char* event, KsField* field);

private:
    KsPartition* owner_;
};
