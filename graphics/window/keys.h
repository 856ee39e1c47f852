// The input layer's portable half: library key codes and their virtual
// keys, the queue of pressed keys, keyboard snapshots and mouse buttons.
#pragma once

constexpr int kPwKeyTableSize = 256;
constexpr int kPwKeyQueueSize = 256;

// Key codes the viewer and the sample window use.
constexpr int kPwKeyEnd = 1;
constexpr int kPwKeyF1 = 3;
constexpr int kPwKey0 = 13;
constexpr int kPwKeyA = 23;
constexpr int kPwKeySpace = 49;
constexpr int kPwKeyEscape = 50;
constexpr int kPwKeyTab = 51;
constexpr int kPwKeyControl = 52;
constexpr int kPwKeyShift = 53;
constexpr int kPwKeyBackspace = 55;
constexpr int kPwKeyEnter = 56;
constexpr int kPwKeyHome = 57;
constexpr int kPwKeyDelete = 58;
constexpr int kPwKeyUp = 59;
constexpr int kPwKeyDown = 60;
constexpr int kPwKeyLeft = 61;
constexpr int kPwKeyRight = 62;
constexpr int kPwKeyPad0 = 63;
constexpr int kPwKeyPadMultiply = 73;
constexpr int kPwKeyPadDecimal = 78;

// Clears snapshots, mouse buttons and the queue, and builds the key table.
void PwInitKeys();
// Enters code <-> virtual key (later pairs overwrite reverse entries);
// arguments outside 0..255 are ignored, and virtual key 0 gets no reverse.
void PwMapKey(int code, int virtual_key);
// 1 when the key's virtual key is down in the current snapshot.
int PwKeyDown(int code);
// Look-ups; 0 when unmapped or out of range.
int PwKeyToVk(int code);
int PwVkToKey(int virtual_key);
int PwKeyToAscii(int code);

// The oldest queued code, removed; 0 when the queue is empty.
int PwInkey();
// A key-down message: a virtual key below 128 queues its code (0 when it
// has none) while fewer than 256 codes wait. 1 when queued.
int PwQueueKeyDown(int virtual_key);
int PwQueuedKeyCount();

// The current snapshot becomes the previous one; state is the new current
// (256 bytes, bit 7 set for a key that is down).
void PwTakeKeySnapshot(const unsigned char* state);
// The current (0) or previous (1) snapshot.
const unsigned char* PwKeySnapshot(int previous);

// Mouse buttons from a mouse message's wParam: bit 0 left, bit 1 right.
void PwSetMouseButtons(unsigned int flags);
void PwGetMouseButtons(int* left, int* right);
