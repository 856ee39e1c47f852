#include "scenegraph/core/fields/value_bytes.h"

namespace {
int64_t& Held() {
  static int64_t held = 0;
  return held;
}
}  // namespace

void KsCountValueBytes(int64_t bytes) { Held() += bytes; }

int64_t KsValueBytesHeld() { return Held(); }

void KsResetValueBytes() { Held() = 0; }
