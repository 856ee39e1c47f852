#include "graphics/window/window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

class WindowStateTest : public ::testing::Test {
 protected:
  void SetUp() override { PwResetWindowState(); }
  void TearDown() override { PwResetWindowState(); }
};

TEST_F(WindowStateTest, TitleDefaultsAndIsCut) {
  EXPECT_STREQ(PwGetTitle(), "Application Window");
  PwSetTitle(nullptr);
  EXPECT_STREQ(PwGetTitle(), "Application Window");
  PwSetTitle("QM VRML 2.0 VIEWER");
  EXPECT_STREQ(PwGetTitle(), "QM VRML 2.0 VIEWER");
  std::string long_title(300, 't');
  PwSetTitle(long_title.c_str());
  EXPECT_EQ(std::string(PwGetTitle()), std::string(255, 't'));
}

int ConsumeAll(void*, unsigned int, std::uintptr_t, std::intptr_t) { return 1; }

TEST_F(WindowStateTest, HookDefaultsToConsumingNothing) {
  EXPECT_EQ(PwGetMessageHook()(nullptr, 0, 0, 0), 0);
  PwSetMessageHook(ConsumeAll);
  EXPECT_EQ(PwGetMessageHook()(nullptr, 0, 0, 0), 1);
  PwSetMessageHook(nullptr);
  EXPECT_EQ(PwGetMessageHook()(nullptr, 0, 0, 0), 0);
}

TEST_F(WindowStateTest, DepthCommandsCompareTheWholeValue) {
  EXPECT_EQ(PwDepthForCommand(20000), 8);
  EXPECT_EQ(PwDepthForCommand(20001), 16);
  EXPECT_EQ(PwDepthForCommand(20002), 0);
  EXPECT_EQ(PwDepthForCommand(20003), -1);
  EXPECT_EQ(PwDepthForCommand(20016), -1);
  EXPECT_EQ(PwDepthForCommand(0xF060), -1);  // SC_CLOSE
  EXPECT_EQ(PwCommandForDepth(8), 20000u);
  EXPECT_EQ(PwCommandForDepth(16), 20001u);
  EXPECT_EQ(PwCommandForDepth(0), 20002u);
  EXPECT_EQ(PwGetDepthMode(), 0);
  EXPECT_EQ(PwWindowClosed(), 0);
}

TEST(ExitProcess, FlushesBufferedOutputAndEndsWithStatus) {
  const std::string path = ::testing::TempDir() + "pw_exit_stdout.txt";
  std::remove(path.c_str());
  EXPECT_EXIT(
      {
        if (!std::freopen(path.c_str(), "w", stdout)) std::abort();
        std::setvbuf(stdout, nullptr, _IOFBF, 4096);
        std::printf("pending text");
        std::fprintf(stderr, "last words");
        PwExitProcess(1);
      },
      ::testing::ExitedWithCode(1), "last words");
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), "pending text");
  in.close();
  std::remove(path.c_str());
}

}  // namespace
