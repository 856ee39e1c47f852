// Program Manager DDE client for systems without the new shell.
#include <windows.h>
#include <ddeml.h>

#include <cstring>

#include "installer/kitwright_win32.h"

namespace {

struct DdeState {
  DWORD instance;
  HCONV conversation;
};

DdeState& Dde() {
  static DdeState dde;
  return dde;
}

HDDEDATA CALLBACK DdeCallback(UINT type, UINT, HCONV conversation, HSZ, HSZ, HDDEDATA, ULONG_PTR,
                              ULONG_PTR) {
  if (type == XTYP_DISCONNECT && conversation == Dde().conversation) Dde().conversation = nullptr;
  return nullptr;
}

}  // namespace

int ProgmanInit() {
  if (Dde().instance) return 1;
  DWORD instance = 0;
  if (DdeInitializeA(&instance, DdeCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) return 0;
  Dde().instance = instance;
  return 1;
}

int ProgmanConnect(const char* service, const char* topic) {
  if (!Dde().instance) return 0;
  HSZ s = DdeCreateStringHandleA(Dde().instance, service, CP_WINANSI);
  HSZ t = DdeCreateStringHandleA(Dde().instance, topic, CP_WINANSI);
  if (Dde().conversation) DdeDisconnect(Dde().conversation);
  Dde().conversation = DdeConnect(Dde().instance, s, t, nullptr);
  if (s) DdeFreeStringHandle(Dde().instance, s);
  if (t) DdeFreeStringHandle(Dde().instance, t);
  return Dde().conversation ? 1 : 0;
}

int ProgmanCommand(const char* command) {
  if (!Dde().conversation) return 0;
  HDDEDATA result =
      DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(command)),
                           static_cast<DWORD>(std::strlen(command) + 1), Dde().conversation,
                           nullptr, CF_TEXT, XTYP_EXECUTE, 10000, nullptr);
  return result ? 1 : 0;
}

// Ends the conversation and the DDE instance, so each call starts afresh.
void ProgmanEnd() {
  if (Dde().conversation) DdeDisconnect(Dde().conversation);
  if (Dde().instance) DdeUninitialize(Dde().instance);
  Dde() = DdeState{};
}
