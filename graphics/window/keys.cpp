#include "graphics/window/keys.h"

#include <cstring>

namespace {

struct KeyState {
  unsigned char code_to_vk[kPwKeyTableSize] = {};
  unsigned char vk_to_code[kPwKeyTableSize] = {};
  unsigned char current[kPwKeyTableSize] = {};
  unsigned char previous[kPwKeyTableSize] = {};
  unsigned char queue[kPwKeyQueueSize] = {};
  int queued = 0;
  int left = 0;
  int right = 0;
};

KeyState& State() {
  static KeyState state;
  return state;
}

bool InTable(int i) { return i >= 0 && i < kPwKeyTableSize; }

// Virtual keys of the keyboard's fixed keys.
constexpr int kVkBack = 8, kVkTab = 9, kVkReturn = 13, kVkShift = 16, kVkControl = 17;
constexpr int kVkEscape = 27, kVkSpace = 32, kVkEnd = 35, kVkHome = 36, kVkLeft = 37;
constexpr int kVkUp = 38, kVkRight = 39, kVkDown = 40, kVkDelete = 46, kVkF1 = 112;
constexpr int kVkNumpad0 = 96, kVkMultiply = 106, kVkAdd = 107, kVkSubtract = 109;
constexpr int kVkDecimal = 110, kVkDivide = 111;

}  // namespace

void PwMapKey(int code, int virtual_key) {
  if (!InTable(code) || !InTable(virtual_key)) return;
  KeyState& s = State();
  s.code_to_vk[code] = static_cast<unsigned char>(virtual_key);
  if (virtual_key != 0) s.vk_to_code[virtual_key] = static_cast<unsigned char>(code);
}

void PwInitKeys() {
  KeyState& s = State();
  s = KeyState();
  PwMapKey(kPwKeyEnd, kVkEnd);
  PwMapKey(2, 0);
  for (int i = 0; i < 10; ++i) PwMapKey(kPwKeyF1 + i, kVkF1 + i);
  for (int i = 0; i < 10; ++i) PwMapKey(kPwKey0 + i, '0' + i);
  for (int i = 0; i < 26; ++i) PwMapKey(kPwKeyA + i, 'A' + i);
  PwMapKey(kPwKeySpace, kVkSpace);
  PwMapKey(kPwKeyEscape, kVkEscape);
  PwMapKey(kPwKeyTab, kVkTab);
  PwMapKey(kPwKeyControl, kVkControl);
  PwMapKey(kPwKeyShift, kVkShift);
  PwMapKey(54, 0);
  PwMapKey(kPwKeyBackspace, kVkBack);
  PwMapKey(kPwKeyEnter, kVkReturn);
  PwMapKey(kPwKeyHome, kVkHome);
  PwMapKey(kPwKeyDelete, kVkDelete);
  PwMapKey(kPwKeyUp, kVkUp);
  PwMapKey(kPwKeyDown, kVkDown);
  PwMapKey(kPwKeyLeft, kVkLeft);
  PwMapKey(kPwKeyRight, kVkRight);
  // The keypad has keys of its own, so Delete keeps its code.
  for (int i = 0; i < 10; ++i) PwMapKey(kPwKeyPad0 + i, kVkNumpad0 + i);
  PwMapKey(73, kVkMultiply);
  PwMapKey(74, kVkDivide);
  PwMapKey(75, kVkAdd);
  PwMapKey(76, kVkSubtract);
  PwMapKey(77, 0);  // keypad '=' has no key here
  PwMapKey(kPwKeyPadDecimal, kVkDecimal);
}

int PwKeyDown(int code) {
  int vk = PwKeyToVk(code);
  if (vk == 0) return 0;
  return (State().current[vk] & 0x80) ? 1 : 0;
}

int PwKeyToVk(int code) { return InTable(code) ? State().code_to_vk[code] : 0; }

int PwVkToKey(int virtual_key) {
  return InTable(virtual_key) ? State().vk_to_code[virtual_key] : 0;
}

int PwKeyToAscii(int code) {
  if (code >= 13 && code <= 22) return '0' + code - 13;
  if (code >= 23 && code <= 48) return 'A' + code - 23;
  if (code >= 63 && code <= 72) return '0' + code - 63;
  switch (code) {
    case 73: return '*';
    case 74: return '/';
    case 75: return '+';
    case 76: return '-';
    case 78: return '.';
    default: return 0;
  }
}

int PwInkey() {
  KeyState& s = State();
  if (s.queued == 0) return 0;
  int code = s.queue[0];
  std::memmove(s.queue, s.queue + 1, static_cast<size_t>(s.queued - 1));
  --s.queued;
  return code;
}

int PwQueueKeyDown(int virtual_key) {
  KeyState& s = State();
  if (virtual_key < 0 || virtual_key >= 128 || s.queued >= kPwKeyQueueSize) return 0;
  s.queue[s.queued++] = static_cast<unsigned char>(PwVkToKey(virtual_key));
  return 1;
}

int PwQueuedKeyCount() { return State().queued; }

void PwTakeKeySnapshot(const unsigned char* state) {
  KeyState& s = State();
  std::memcpy(s.previous, s.current, sizeof s.previous);
  if (state) {
    std::memcpy(s.current, state, sizeof s.current);
  } else {
    std::memset(s.current, 0, sizeof s.current);
  }
}

const unsigned char* PwKeySnapshot(int previous) {
  return previous ? State().previous : State().current;
}

void PwSetMouseButtons(unsigned int flags) {
  State().left = (flags & 1u) ? 1 : 0;
  State().right = (flags & 2u) ? 1 : 0;
}

void PwGetMouseButtons(int* left, int* right) {
  *left = State().left;
  *right = State().right;
}
