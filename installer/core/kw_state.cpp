#include "installer/core/kw_state.h"

#include <cstring>

namespace {

KwState& StateStorage() {
  static KwState state;
  return state;
}

KwPlatform& PlatformStorage() {
  static KwPlatform platform;
  return platform;
}

}  // namespace

KwState& KwGlobal() { return StateStorage(); }

void KwResetState() {
  std::memset(&StateStorage(), 0, sizeof(KwState));
  StateStorage().new_shell = 1;
}

KwPlatform& KwPlatformHooks() { return PlatformStorage(); }

void KwResetPlatform() { PlatformStorage() = KwPlatform{}; }

void KwReadProfile(const char* section, const char* key, char* out, std::size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  if (PlatformStorage().read_profile) PlatformStorage().read_profile(section, key, out, size);
  out[size - 1] = '\0';
}
