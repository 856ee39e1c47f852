#include "graphics/window/keys.h"

#include <gtest/gtest.h>

namespace {

class KeysTest : public ::testing::Test {
 protected:
  void SetUp() override { PwInitKeys(); }
};

TEST_F(KeysTest, TableBindsCodesBothWays) {
  struct Pair {
    int code, vk;
  } pairs[] = {{1, 35},   {3, 112},  {12, 121}, {13, '0'}, {22, '9'}, {23, 'A'}, {28, 'F'},
               {48, 'Z'}, {49, 32},  {50, 27},  {51, 9},   {52, 17},  {53, 16},  {55, 8},
               {56, 13},  {57, 36},  {58, 46},  {59, 38},  {60, 40},  {61, 37},  {62, 39},
               {63, 96},  {72, 105}, {73, 106}, {74, 111}, {75, 107}, {76, 109}, {78, 110}};
  for (const Pair& p : pairs) {
    EXPECT_EQ(PwKeyToVk(p.code), p.vk) << p.code;
    EXPECT_EQ(PwVkToKey(p.vk), p.code) << p.vk;
  }
  EXPECT_EQ(PwKeyToVk(2), 0);
  EXPECT_EQ(PwKeyToVk(54), 0);
  EXPECT_EQ(PwKeyToVk(77), 0);
  EXPECT_EQ(PwVkToKey(0), 0);    // unbound codes leave no reverse entry
  EXPECT_EQ(PwVkToKey(122), 0);  // F11
}

TEST_F(KeysTest, KeyToAscii) {
  EXPECT_EQ(PwKeyToAscii(23), 'A');
  EXPECT_EQ(PwKeyToAscii(48), 'Z');
  EXPECT_EQ(PwKeyToAscii(13), '0');
  EXPECT_EQ(PwKeyToAscii(72), '9');
  EXPECT_EQ(PwKeyToAscii(73), '*');
  EXPECT_EQ(PwKeyToAscii(74), '/');
  EXPECT_EQ(PwKeyToAscii(75), '+');
  EXPECT_EQ(PwKeyToAscii(76), '-');
  EXPECT_EQ(PwKeyToAscii(77), 0);
  EXPECT_EQ(PwKeyToAscii(78), '.');
  EXPECT_EQ(PwKeyToAscii(59), 0);
}

TEST_F(KeysTest, OutOfRangeArgumentsGiveZeroAndWriteNothing) {
  for (int bad : {-1, 256, 100000, -100000}) {
    EXPECT_EQ(PwKeyToVk(bad), 0);
    EXPECT_EQ(PwVkToKey(bad), 0);
    EXPECT_EQ(PwKeyToAscii(bad), 0);
    EXPECT_EQ(PwKeyDown(bad), 0);
    PwMapKey(bad, 65);
    PwMapKey(23, bad);
  }
  EXPECT_EQ(PwVkToKey(65), 23);
  EXPECT_EQ(PwKeyToVk(23), 65);
}

TEST_F(KeysTest, LaterPairOverwritesReverseEntry) {
  PwMapKey(100, 'A');
  EXPECT_EQ(PwVkToKey('A'), 100);
  EXPECT_EQ(PwKeyToVk(23), 'A');
  PwInitKeys();
  EXPECT_EQ(PwVkToKey('A'), 23);
  EXPECT_EQ(PwKeyToVk(100), 0);
}

TEST_F(KeysTest, QueueKeepsOrderAndDropsThe257th) {
  EXPECT_EQ(PwInkey(), 0);
  EXPECT_EQ(PwQueueKeyDown('A'), 1);
  EXPECT_EQ(PwQueueKeyDown(122), 1);  // F11 has no code: queues 0
  EXPECT_EQ(PwQueueKeyDown(200), 0);  // 128 and above are not queued
  EXPECT_EQ(PwQueueKeyDown(-5), 0);
  EXPECT_EQ(PwInkey(), 23);
  EXPECT_EQ(PwQueuedKeyCount(), 1);
  EXPECT_EQ(PwInkey(), 0);
  EXPECT_EQ(PwQueuedKeyCount(), 0);

  for (int i = 0; i < kPwKeyQueueSize; ++i) ASSERT_EQ(PwQueueKeyDown('0' + i % 10), 1);
  EXPECT_EQ(PwQueueKeyDown('Z'), 0);
  EXPECT_EQ(PwQueuedKeyCount(), kPwKeyQueueSize);
  for (int i = 0; i < kPwKeyQueueSize; ++i) ASSERT_EQ(PwInkey(), 13 + i % 10);
  EXPECT_EQ(PwInkey(), 0);
}

TEST_F(KeysTest, SnapshotsAndKeyDown) {
  unsigned char state[256] = {};
  state['A'] = 0x80;
  state[38] = 0x81;
  state[17] = 0x01;  // toggled, not down
  PwTakeKeySnapshot(state);
  EXPECT_EQ(PwKeyDown(23), 1);
  EXPECT_EQ(PwKeyDown(59), 1);
  EXPECT_EQ(PwKeyDown(52), 0);
  EXPECT_EQ(PwKeyDown(2), 0);
  PwTakeKeySnapshot(nullptr);
  EXPECT_EQ(PwKeyDown(23), 0);
  EXPECT_EQ(PwKeySnapshot(1)['A'], 0x80);
  PwInitKeys();
  EXPECT_EQ(PwKeySnapshot(1)['A'], 0);
}

TEST_F(KeysTest, MouseButtonsFromWParamBits) {
  int left = -1, right = -1;
  PwGetMouseButtons(&left, &right);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 0);
  PwSetMouseButtons(0x0003 | 0x0004);  // left, right, shift
  PwGetMouseButtons(&left, &right);
  EXPECT_EQ(left, 1);
  EXPECT_EQ(right, 1);
  PwSetMouseButtons(0x0002);
  PwGetMouseButtons(&left, &right);
  EXPECT_EQ(left, 0);
  EXPECT_EQ(right, 1);
}

}  // namespace
