#include "scenegraph/core/reading/read_errors.h"

#include <cfloat>
#include <cstdio>
#include <cstring>

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

KsReadErrorScope::KsReadErrorScope(KsReadErrors* errors) : outer_(Current()) { Current() = errors; }

bool KsNoteFloatReplaced(KsFloatReplacement kind, const char* text) {
  KsReadErrors* errors = Current();
  if (!errors || kind < 0 || kind >= kKsFloatReplacementKinds) return false;
  KsFloatTally& tally = errors->floats[kind];
  if (tally.count++ == 0 && text) {
    std::strncpy(tally.first, text, sizeof tally.first - 1);
    tally.first[sizeof tally.first - 1] = '\0';
  }
  return true;
}

void KsPrintFloatReplaced(KsFloatReplacement kind, const char* text, int count) {
  if (count <= 0) return;
  if (!text) text = "";
  const bool range = kind == kKsFloatOutOfRange;
  std::fprintf(stderr, "KsParseFloat()\n");
  if (count == 1) {
    const double value = !range ? 0.0 : text[0] == '-' ? -FLT_MAX : FLT_MAX;
    std::fprintf(stderr, "  Warning : %s is %s, read as %g.\n", text,
                 range ? "out of the float range" : "not a decimal number", value);
    return;
  }
  const char* more = count == 2 ? "number" : "numbers";
  if (range)
    std::fprintf(stderr,
                 "  Warning : %s and %d more %s are out of the float range, read as the "
                 "largest float of their sign.\n",
                 text, count - 1, more);
  else
    std::fprintf(stderr, "  Warning : %s and %d more %s are not decimal numbers, read as 0.\n",
                 text, count - 1, more);
}

KsReadErrorScope::~KsReadErrorScope() {
  KsReadErrors* errors = Current();
  Current() = outer_;
  if (!errors) return;
  for (int kind = 0; kind < kKsFloatReplacementKinds; ++kind)
    KsPrintFloatReplaced(static_cast<KsFloatReplacement>(kind), errors->floats[kind].first,
                         errors->floats[kind].count);
}

void KsResetReadErrors() { Current() = nullptr; }
