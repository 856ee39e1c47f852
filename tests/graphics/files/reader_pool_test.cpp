#include "graphics/files/reader_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

class ReaderPoolTest : public ::testing::Test {
 protected:
  void SetUp() override { PwPoolInit(); }
  void TearDown() override { PwPoolFree(); }
};

TEST_F(ReaderPoolTest, LargeRequestGetsBlockOfItsOwnSize) {
  void* big = PwPoolAlloc(1, 200000);
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(PwPoolBlocksMade(), 2);
  EXPECT_EQ(PwPoolBlockBytes(1), 200000u);
  std::memset(big, 0xAB, 200000);  // the whole block is usable
  ASSERT_NE(PwPoolAlloc(1, 16), nullptr);
  EXPECT_EQ(PwPoolBlocksMade(), 3);
  EXPECT_EQ(PwPoolBlockBytes(2), kPwPoolBlockSize);
}

TEST_F(ReaderPoolTest, SmallRequestsShareABlockAndStayAligned) {
  unsigned char* a = static_cast<unsigned char*>(PwPoolAlloc(1, 5));
  unsigned char* b = static_cast<unsigned char*>(PwPoolAlloc(3, 1));
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_GT(b, a);
  EXPECT_GE(b - a, 8);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(b) % alignof(std::max_align_t), 0u);
  EXPECT_EQ(PwPoolBlocksMade(), 1);
}

TEST_F(ReaderPoolTest, FullBlockMovesOnToAFreshOne) {
  ASSERT_NE(PwPoolAlloc(1, static_cast<int>(kPwPoolBlockSize) - 64), nullptr);
  EXPECT_EQ(PwPoolCurrentBlock(), 0);
  ASSERT_NE(PwPoolAlloc(1, 128), nullptr);
  EXPECT_EQ(PwPoolCurrentBlock(), 1);
}

TEST_F(ReaderPoolTest, ReleaseReturnsToMarkAndNeverReusesLaterBlocks) {
  int block = -1, used = -1;
  void* first = PwPoolMark(&block, &used, 1, 64);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(block, 0);
  EXPECT_EQ(used, 0);
  ASSERT_NE(PwPoolAlloc(1, 200000), nullptr);  // block 1
  EXPECT_EQ(PwPoolRelease(block, used), 0);
  EXPECT_EQ(PwPoolCurrentBlock(), 0);
  EXPECT_EQ(PwPoolAlloc(1, 64), first);  // the marked space again
  ASSERT_NE(PwPoolAlloc(1, static_cast<int>(kPwPoolBlockSize)), nullptr);
  EXPECT_EQ(PwPoolBlocksMade(), 3);  // a fresh block, block 1 stays unused
  EXPECT_EQ(PwPoolCurrentBlock(), 2);
}

TEST_F(ReaderPoolTest, OutOfRangeReleaseChangesNothing) {
  ASSERT_NE(PwPoolAlloc(1, 32), nullptr);
  EXPECT_EQ(PwPoolRelease(7, 0), 7);
  EXPECT_EQ(PwPoolRelease(-1, 0), -1);
  EXPECT_EQ(PwPoolCurrentBlock(), 0);
}

TEST_F(ReaderPoolTest, RunsOutAfter128Blocks) {
  for (int i = 0; i < kPwPoolBlocks; ++i) {  // block 0 takes the first
    ASSERT_NE(PwPoolAlloc(1, static_cast<int>(kPwPoolBlockSize)), nullptr) << i;
  }
  EXPECT_EQ(PwPoolBlocksMade(), kPwPoolBlocks);
  EXPECT_EQ(PwPoolAlloc(1, static_cast<int>(kPwPoolBlockSize)), nullptr);
  EXPECT_EQ(PwPoolAlloc(-1, 4), nullptr);
  EXPECT_EQ(PwPoolAlloc(65536, 65536), nullptr);  // n * size beyond any block
}

TEST(ReaderPool, NothingBeforeInitOrAfterFree) {
  PwPoolFree();
  EXPECT_EQ(PwPoolAlloc(1, 4), nullptr);
  EXPECT_EQ(PwPoolBlocksMade(), 0);
}

}  // namespace
