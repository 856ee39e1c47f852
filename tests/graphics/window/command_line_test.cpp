#include "graphics/window/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(BuildArguments, EmptyLineGivesOnlyProgramPath) {
  static PwArgumentVector args;
  EXPECT_EQ(PwBuildArguments(&args, "C:\\prog\\lumaview.exe", ""), 1);
  EXPECT_STREQ(args.argv[0], "C:\\prog\\lumaview.exe");
  EXPECT_EQ(args.argv[1], nullptr);
  EXPECT_EQ(PwBuildArguments(&args, "x.exe", nullptr), 1);
}

TEST(BuildArguments, MissingModuleNameIsUnknown) {
  static PwArgumentVector args;
  PwBuildArguments(&args, nullptr, "a");
  EXPECT_STREQ(args.argv[0], "Unknown");
  PwBuildArguments(&args, "", "a");
  EXPECT_STREQ(args.argv[0], "Unknown");
  std::string long_name(400, 'm');
  PwBuildArguments(&args, long_name.c_str(), "");
  EXPECT_EQ(std::string(args.argv[0]), std::string(kPwModuleNameSize - 1, 'm'));
}

TEST(BuildArguments, QuotedBlanksStayInOneArgument) {
  static PwArgumentVector args;
  EXPECT_EQ(PwBuildArguments(&args, "v.exe", "  \"C:\\My Worlds\\a b.wrl\"\t-x  "), 3);
  EXPECT_STREQ(args.argv[1], "C:\\My Worlds\\a b.wrl");
  EXPECT_STREQ(args.argv[2], "-x");
  EXPECT_EQ(args.argv[3], nullptr);
}

TEST(BuildArguments, OneHundredThirtyWordsGiveArgc127) {
  static PwArgumentVector args;
  std::string line;
  for (int i = 0; i < 130; ++i) line += std::string(1, static_cast<char>('a' + i % 26)) + " ";
  EXPECT_EQ(PwBuildArguments(&args, "v.exe", line.c_str()), 127);
  for (int i = 0; i < 126; ++i) {
    ASSERT_EQ(args.argv[i + 1][0], 'a' + i % 26) << i;
    ASSERT_EQ(args.argv[i + 1][1], '\0') << i;
  }
  EXPECT_EQ(args.argv[127], nullptr);
}

TEST(BuildArguments, OverLongLineIsCutTo255Characters) {
  static PwArgumentVector args;
  std::string line = std::string(300, 'x') + " tail";
  EXPECT_EQ(PwBuildArguments(&args, "v.exe", line.c_str()), 2);
  EXPECT_EQ(std::string(args.argv[1]), std::string(kPwCommandLineSize - 1, 'x'));
  EXPECT_EQ(args.argv[2], nullptr);
}

}  // namespace
