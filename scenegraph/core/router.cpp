#include "scenegraph/core/router.h"

#include <cstring>

#include "scenegraph/core/word_tree.h"

namespace {
const char kRouterName[] = "KsRouter";
KsClassRecord* g_routerRecord = nullptr;
}  // namespace

KsRouter::KsRouter(KsPartition* owner) : owner_(owner) {
    KsClassManager::Ensure(&g_routerRecord, kRouterName, KsObject::ClassRecord());
}
const char* KsRouter::GetClassName() const { return kRouterName; }
KsClassRecord* KsRouter::GetClassInfo() const { return g_routerRecord; }

// ROUTE source.event TO target.event: four words after ROUTE. Without route
// delivery the statement is stepped over; a short statement fails after
// consuming what is there, so the caller always makes progress.
int KsRouter::Realize(KsWordNode* cursor, KsPartition*) {
    if (!KsCursorWord(cursor)) return 1;
    KsCursorAdvance(cursor);  // ROUTE
    if (!KsCursorHasWords(cursor, 3)) {
        while (KsCursorWord(cursor)) KsCursorAdvance(cursor);
        return 1;
    }
    KsWordNode* to = KsCursorWord(cursor)->next;
    int result = (to->text && std::strcmp(to->text, "TO") == 0) ? 0 : 1;
    for (int i = 0; i < 3; ++i) KsCursorAdvance(cursor);
    return result;
}

int KsRouter::EventOut(KsNode*, const char*, KsField*) { return 0; }
