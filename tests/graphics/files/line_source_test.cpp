#include "graphics/files/line_source.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Every test leaves the stack as it found it: only the bottom record.
class LineSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(PwPushLineSource(), 1);
    PwResetLineBuffer();
  }
  void TearDown() override {
    PwPopLineSource();
    EXPECT_EQ(PwLineSourceKind(), kPwSourceNone);
  }

  std::vector<std::string> ReadAll(int limit) {
    std::vector<std::string> lines;
    std::vector<char> out(static_cast<size_t>(limit) + 1);
    while (PwReadLine(out.data(), limit)) {
      lines.emplace_back(out.data());
      if (lines.size() > 1000) break;
    }
    return lines;
  }
};

using Lines = std::vector<std::string>;

TEST_F(LineSourceTest, StringsSplitAtBar) {
  const char* const text[] = {"A|B", "C|", "", "D", nullptr};
  PwLineSourceStrings(text);
  EXPECT_EQ(PwLineSourceKind(), kPwSourceStrings);
  EXPECT_EQ(ReadAll(79), (Lines{"A", "B", "C", "", "D"}));
  char out[8];
  EXPECT_EQ(PwReadLine(out, 7), nullptr);  // stays at the end
}

TEST_F(LineSourceTest, LongLogicalLineContinuesAsNext) {
  const char* const text[] = {"ABCDEFGH", "XY|Z", nullptr};
  PwLineSourceStrings(text);
  EXPECT_EQ(ReadAll(5), (Lines{"ABCDE", "FGH", "XY", "Z"}));
}

TEST_F(LineSourceTest, RawStringCutAt255) {
  std::string long_text(400, 'q');
  const char* const text[] = {long_text.c_str(), nullptr};
  PwLineSourceStrings(text);
  char buffer[kPwRawLineSize];
  ASSERT_NE(PwNextRawLine(buffer, sizeof buffer), nullptr);
  EXPECT_EQ(std::string(buffer), std::string(255, 'q'));
  EXPECT_EQ(PwNextRawLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "");
}

TEST_F(LineSourceTest, FileLinesKeepNewlineAndComeInPieces) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::string long_line(300, 'w');
  std::fprintf(file, "first|second\n%s\nlast", long_line.c_str());
  std::rewind(file);
  PwLineSourceFile(file);
  EXPECT_EQ(PwLineSourceKind(), kPwSourceFile);
  Lines lines = ReadAll(300);
  std::fclose(file);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[1], "second\n");
  EXPECT_EQ(lines[2], std::string(255, 'w'));  // raw lines hold 255
  EXPECT_EQ(lines[3], std::string(45, 'w') + "\n");
  EXPECT_EQ(lines[4], "last");
}

TEST_F(LineSourceTest, ResetDropsLeftOverOfEarlierRead) {
  const char* const first[] = {"A|B|C", nullptr};
  PwLineSourceStrings(first);
  char out[80];
  ASSERT_NE(PwReadLine(out, 79), nullptr);
  const char* const second[] = {"X", nullptr};
  PwLineSourceStrings(second);
  PwResetLineBuffer();
  EXPECT_EQ(ReadAll(79), Lines{"X"});
}

TEST_F(LineSourceTest, KindNoneYieldsNothing) {
  char buffer[16] = "junk";
  EXPECT_EQ(PwNextRawLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(PwReadLine(buffer, 15), nullptr);
}

TEST(LineSourceStack, NestedSourcesAndBottomStays) {
  const char* const outer[] = {"outer", nullptr};
  const char* const inner[] = {"inner", nullptr};
  ASSERT_EQ(PwPushLineSource(), 1);
  PwLineSourceStrings(outer);
  ASSERT_EQ(PwPushLineSource(), 1);
  PwLineSourceStrings(inner);
  char buffer[kPwRawLineSize];
  ASSERT_NE(PwNextRawLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "inner");
  EXPECT_EQ(PwPopLineSource(), 0);
  ASSERT_NE(PwNextRawLine(buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "outer");
  PwPopLineSource();
  EXPECT_EQ(PwPopLineSource(), 0);  // the bottom record is never removed
  EXPECT_EQ(PwLineSourceKind(), kPwSourceNone);
}

}  // namespace
