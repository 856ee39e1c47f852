#include "scenegraph/core/reading/read_errors.h"

namespace {
KsReadErrors*& Current() {
    static KsReadErrors* current = nullptr;
    return current;
}
}  // namespace

void KsNoteReadError(int line) {
    KsReadErrors* errors = Current();
    if (!errors) return;
    ++errors->skipped;
    // The lowest line: the pre-pass's bracket error is noted before the
    // statements ahead of it are realised.
    if (line > 0 && (errors->firstLine == 0 || line < errors->firstLine)) errors->firstLine = line;
}

void KsNoteReadOutOfMemory(int line) {
    KsReadErrors* errors = Current();
    if (!errors || errors->failure == kKsReadTooLarge) return;
    errors->failure = kKsReadTooLarge;
    errors->failureLine = line;
}

KsReadErrorScope::KsReadErrorScope(KsReadErrors* errors) : outer_(Current()) {
    Current() = errors;
}

KsReadErrorScope::~KsReadErrorScope() { Current() = outer_; }

void KsResetReadErrors() { Current() = nullptr; }
