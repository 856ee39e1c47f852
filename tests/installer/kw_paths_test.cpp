#include <cstring>
#include <string>

#include "installer/core/kw_command_line.h"
#include "installer/core/kw_location.h"
#include "installer/core/kw_strings.h"
#include "tests/installer/kw_fixture.h"

namespace {

using KwPathsTest = KwFixture;

TEST_F(KwPathsTest, CommandLineChoosesTheMode) {
  const struct {
    const char* line;
    KwMode mode;
  } cases[] = {
      {"", KwMode::kInstall},
      {"/r", KwMode::kUninstallRequest},
      {"r", KwMode::kUninstallRequest},
      {"R", KwMode::kUninstallRequest},
      {"/R", KwMode::kUninstallRequest},
      {"x C:\\A\\S.EXE", KwMode::kSecondStage},
      {"/x C:\\A\\S.EXE", KwMode::kSecondStage},
      {"X C:\\A", KwMode::kInstall},
      {"/install", KwMode::kInstall},
      {"//r", KwMode::kInstall},
  };
  for (const auto& c : cases) EXPECT_EQ(KwChooseMode(c.line, nullptr), c.mode) << c.line;
  const char* path = nullptr;
  ASSERT_EQ(KwChooseMode("/x C:\\Program Files\\V\\SETUP.EXE", &path), KwMode::kSecondStage);
  EXPECT_STREQ(path, "C:\\Program Files\\V\\SETUP.EXE");
  ASSERT_EQ(KwChooseMode("x", &path), KwMode::kSecondStage);
  EXPECT_STREQ(path, "");
}

TEST_F(KwPathsTest, StagePathLosesBlanksAndQuotes) {
  char out[kKwPathSize];
  ASSERT_EQ(KwStagePath("\"C:\\Program Files\\V\\S.EXE\"  ", out, sizeof out), 1);
  EXPECT_STREQ(out, "C:\\Program Files\\V\\S.EXE");
  ASSERT_EQ(KwStagePath("C:\\V\\S.EXE", out, sizeof out), 1);
  EXPECT_STREQ(out, "C:\\V\\S.EXE");
  EXPECT_EQ(KwStagePath(std::string(300, 'a').c_str(), out, sizeof out), 0);
}

TEST_F(KwPathsTest, BoundedCopiesRefuseWhatDoesNotFit) {
  char small[6] = "ab";
  EXPECT_EQ(KwAppend(small, sizeof small, "cdef"), 0);
  EXPECT_STREQ(small, "ab");
  EXPECT_EQ(KwAppend(small, sizeof small, "cde"), 1);
  EXPECT_STREQ(small, "abcde");
  EXPECT_EQ(KwCopy(small, sizeof small, "123456"), 0);
  EXPECT_STREQ(small, "");
}

TEST_F(KwPathsTest, AddBackslashKnowsDoubleByteCharacters) {
  KwPlatformHooks().is_lead_byte = &ShiftJisLead;
  char path[kKwPathSize] = "C:\\Soft";
  ASSERT_EQ(AddBackslash(path, sizeof path), 1);
  EXPECT_STREQ(path, "C:\\Soft\\");
  ASSERT_EQ(AddBackslash(path, sizeof path), 1);
  EXPECT_STREQ(path, "C:\\Soft\\");
  // The 0x5C that ends a double-byte character is not a backslash.
  std::strcpy(path, "C:\\\x95\x5C");
  ASSERT_EQ(AddBackslash(path, sizeof path), 1);
  EXPECT_STREQ(path, "C:\\\x95\x5C\\");
  EXPECT_EQ(IsTrailByteAt("\x95\x5C"
                          "a",
                          1),
            1);
  EXPECT_EQ(IsTrailByteAt("\x95\x5C"
                          "a",
                          2),
            0);
  EXPECT_EQ(IsTrailByteAt("a\\", 1), 0);
  EXPECT_EQ(FindCharDbcs("\x95\x5C\\", '\\') - "\x95\x5C\\", 2);
  char full[4] = "abc";
  EXPECT_EQ(AddBackslash(full, sizeof full), 0);
  EXPECT_STREQ(full, "abc");
}

TEST_F(KwPathsTest, EntryKeysAreDecimal) {
  char key[kKwKeySize];
  EntryKey(1, key);
  EXPECT_STREQ(key, "1");
  EntryKey(4294967295u, key);
  EXPECT_STREQ(key, "4294967295");
}

TEST_F(KwPathsTest, LocationChecks) {
  const struct {
    const char* typed;
    const char* location;
    KwLocationCheck check;
  } cases[] = {
      {"C:", "C:\\", KwLocationCheck::kRoot},
      {"C:\\", "C:\\", KwLocationCheck::kRoot},
      {"C", "C\\", KwLocationCheck::kRoot},
      {"Soft", "Soft\\", KwLocationCheck::kNotFullPath},
      {"\\\\srv\\share", "\\\\srv\\share\\", KwLocationCheck::kNotFullPath},
      {"C:Soft", "C:Soft\\", KwLocationCheck::kNotFullPath},
      {"C:\\Soft", "C:\\Soft\\", KwLocationCheck::kOk},
      {"d:\\A\\B\\", "d:\\A\\B\\", KwLocationCheck::kOk},
  };
  for (const auto& c : cases) {
    char loc[kKwPathSize];
    std::strcpy(loc, c.typed);
    ASSERT_EQ(AddBackslash(loc, sizeof loc), 1);
    EXPECT_STREQ(loc, c.location);
    EXPECT_EQ(KwCheckLocation(loc), c.check) << c.typed;
  }
}

TEST_F(KwPathsTest, FreeSpaceIsATenthWithoutWrapping) {
  // 50 MB free: 8 sectors of 512 bytes per cluster, 12800 clusters.
  std::uint64_t fifty = KwFreeSpaceTenth(8, 512, 12800);
  EXPECT_LT(fifty, kKwLowSpaceTenth);
  EXPECT_EQ(KwFreeSpaceShown(fifty), 50u);
  std::uint64_t two_hundred = KwFreeSpaceTenth(8, 512, 51200);
  EXPECT_GE(two_hundred, kKwLowSpaceTenth);
  EXPECT_EQ(KwFreeSpaceShown(two_hundred), 200u);
  // 2 TB free would wrap 32 bits and look nearly empty.
  std::uint64_t huge = KwFreeSpaceTenth(64, 512, 0xFFFFFFFFu);
  EXPECT_GT(huge, 0xFFFFFFFFull);
  EXPECT_GE(huge, kKwLowSpaceTenth);
}

TEST_F(KwPathsTest, FolderLevelsFromTheRootDown) {
  std::vector<std::string> levels = KwFolderLevels("C:\\Program Files\\Sample\\");
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0], "C:\\Program Files\\");
  EXPECT_EQ(levels[1], "C:\\Program Files\\Sample\\");
  levels = KwFolderLevels("relative\\dir\\");
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels[0], "relative\\dir\\");
  EXPECT_TRUE(KwFolderLevels("C:\\").empty());

  const char* dest = "C:\\App\\data\\sub\\file.bin";
  levels = KwDestinationLevels(dest, std::strlen("C:\\App\\"));
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0], "C:\\App\\data\\");
  EXPECT_EQ(levels[1], "C:\\App\\data\\sub\\");
  EXPECT_TRUE(KwDestinationLevels("C:\\App\\file.bin", 7).empty());
}

TEST_F(KwPathsTest, UninstallStringQuotesTheInstalledCopy) {
  char out[kKwPathSize];
  ASSERT_EQ(KwUninstallString("C:\\Program Files\\X\\", "SETUP.EXE", out, sizeof out), 1);
  EXPECT_STREQ(out, "\"C:\\Program Files\\X\\SETUP.EXE\" /r");
  std::string deep = "C:\\" + std::string(250, 'a') + "\\";
  EXPECT_EQ(KwUninstallString(deep.c_str(), "SETUP.EXE", out, sizeof out), 0);
}

}  // namespace
