#include <cstring>

#include "installer/core/kw_config.h"
#include "installer/core/kw_state.h"
#include "tests/installer/kw_fixture.h"

namespace {

class KwConfigTest : public KwFixture {
 protected:
  void Basic() {
    Set("Install", "Title", "Sample Viewer");
    Set("Install", "Folder", "SampleView");
  }
};

TEST_F(KwConfigTest, ConfigurationNameAndFolderComeFromTheProgramPath) {
  ASSERT_EQ(KwSplitProgramPath("D:\\Dist\\Disk1\\SETUP.EXE"), 1);
  const KwState& s = KwGlobal();
  EXPECT_STREQ(s.program_folder, "D:\\Dist\\Disk1\\");
  EXPECT_STREQ(s.program_file, "SETUP.EXE");
  EXPECT_STREQ(s.config_file, "SETUP.INF");
  EXPECT_STREQ(s.config_path, "D:\\Dist\\Disk1\\SETUP.INF");

  char name[kKwPathSize];
  ASSERT_EQ(KwConfigFileName("ab", name, sizeof name), 1);
  EXPECT_STREQ(name, "ab.INF");
  // A path too long for the buffers is refused, not cut.
  std::string longer = "C:\\" + std::string(300, 'a') + "\\SETUP.EXE";
  EXPECT_EQ(KwSplitProgramPath(longer.c_str()), 0);
  EXPECT_STREQ(s.config_path, "");
}

TEST_F(KwConfigTest, TrailingBackslashOfADoubleByteNameIsNoSeparator) {
  KwPlatformHooks().is_lead_byte = &ShiftJisLead;
  // 0x95 0x5C is one character whose second byte looks like a backslash.
  ASSERT_EQ(KwSplitProgramPath("C:\\\x95\x5CSETUP.EXE"), 1);
  EXPECT_STREQ(KwGlobal().program_folder, "C:\\");
  EXPECT_STREQ(KwGlobal().program_file, "\x95\x5CSETUP.EXE");
}

TEST_F(KwConfigTest, MissingTitleOrFolderFails) {
  EXPECT_EQ(KwLoadConfig(), 0);
  Set("Install", "Title", "T");
  EXPECT_EQ(KwLoadConfig(), 0);
  profile_.clear();
  Set("Install", "Folder", "F");
  EXPECT_EQ(KwLoadConfig(), 0);
  Set("Install", "Title", "T");
  EXPECT_EQ(KwLoadConfig(), 1);
}

TEST_F(KwConfigTest, DefaultLocationIsUnderProgramFilesOfTheWindowsDrive) {
  Basic();
  windows_ = "E:\\WINNT";
  ASSERT_EQ(KwLoadConfig(), 1);
  EXPECT_STREQ(KwGlobal().location, "E:\\Program Files\\SampleView\\");
  windows_ = "\\\\server\\windows";
  ASSERT_EQ(KwLoadConfig(), 1);
  EXPECT_STREQ(KwGlobal().location, "c:\\SampleView\\");
}

TEST_F(KwConfigTest, ResidentFlagFromTheFirstCharacterOfTsr) {
  Basic();
  const struct {
    const char* tsr;
    int resident;
  } cases[] = {{"", 0}, {"1", 1}, {"10", 1}, {"0", 0}, {"yes", 0}};
  for (const auto& c : cases) {
    Set("Install", "TSR", c.tsr);
    ASSERT_EQ(KwLoadConfig(), 1);
    EXPECT_EQ(KwGlobal().resident, c.resident) << c.tsr;
  }
}

TEST_F(KwConfigTest, EarlierInstallGivesTheRegisteredProgramsFolder) {
  Basic();
  registered_ = true;
  const struct {
    const char* registered;
    const char* location;
  } cases[] = {
      {"\"D:\\Apps\\Sample View\\SETUP.EXE\" /r", "D:\\Apps\\Sample View\\"},
      {"D:\\Apps\\View\\SETUP.EXE /r", "D:\\Apps\\View\\"},
      // Unquoted with blanks: the first blank ends the program's path.
      {"D:\\Program Files\\View\\SETUP.EXE /r", "D:\\"},
      // Without arguments the text is the program itself.
      {"D:\\Apps\\View\\SETUP.EXE", "D:\\Apps\\View\\"},
      {"\"D:\\Apps\\View\\SETUP.EXE", "D:\\Apps\\View\\"},
      // An empty or path-less value keeps the default.
      {"", "C:\\Program Files\\SampleView\\"},
      {"setup /r", "C:\\Program Files\\SampleView\\"},
  };
  for (const auto& c : cases) {
    uninstall_string_ = c.registered;
    ASSERT_EQ(KwLoadConfig(), 1);
    EXPECT_STREQ(KwGlobal().location, c.location) << c.registered;
  }
}

TEST_F(KwConfigTest, CountsStopAtTheFirstGap) {
  Basic();
  Set("Install", "1", "a.exe");
  Set("Install", "2", "b.dll");
  Set("Install", "4", "d.txt");
  Set("Group", "1", "Viewer,a.exe");
  Set("Group", "2", "no comma here");
  Set("Group", "3", "Help,b.hlp");
  ASSERT_EQ(KwLoadConfig(), 1);
  EXPECT_EQ(KwGlobal().install_count, 2);
  EXPECT_EQ(KwGlobal().group_count, 1);
}

TEST_F(KwConfigTest, InstallEntriesSplitIntoSourceAndDestination) {
  Basic();
  Set("Install", "1", "viewer.exe");
  Set("Install", "2", "disk1\\data.bin,data\\sub\\data.bin");
  ASSERT_EQ(KwSplitProgramPath("A:\\SETUP.EXE"), 1);
  ASSERT_EQ(KwLoadConfig(), 1);
  const KwState& s = KwGlobal();
  const struct {
    int n;
    const char* source;
    const char* dest;
  } cases[] = {
      {1, "viewer.exe", "C:\\Program Files\\SampleView\\viewer.exe"},
      {2, "disk1\\data.bin", "C:\\Program Files\\SampleView\\data\\sub\\data.bin"},
      {0, "SETUP.INF", "C:\\Program Files\\SampleView\\SETUP.INF"},
      {-1, "SETUP.EXE", "C:\\Program Files\\SampleView\\SETUP.EXE"},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(GetInstallEntry(c.n), 1) << c.n;
    EXPECT_STREQ(s.entry_source, c.source);
    EXPECT_STREQ(s.entry_dest, c.dest);
  }
  EXPECT_EQ(GetInstallEntry(3), 0);
  EXPECT_STREQ(s.entry_source, "");
}

TEST_F(KwConfigTest, CommaInsideADoubleByteCharacterDoesNotSplit) {
  KwPlatformHooks().is_lead_byte = &ShiftJisLead;
  Basic();
  // 0x81 0x2C is one character in a double-byte code page.
  Set("Install", "1", "a\x81,b.exe,c.exe");
  ASSERT_EQ(KwLoadConfig(), 1);
  ASSERT_EQ(GetInstallEntry(1), 1);
  EXPECT_STREQ(KwGlobal().entry_source, "a\x81,b.exe");
  EXPECT_STREQ(KwGlobal().entry_dest, "C:\\Program Files\\SampleView\\c.exe");
}

TEST_F(KwConfigTest, DestinationTooLongForItsBufferIsRefused) {
  Basic();
  Set("Install", "1", "a.exe," + std::string(250, 'd'));
  ASSERT_EQ(KwLoadConfig(), 1);
  EXPECT_EQ(GetInstallEntry(1), 0);
  EXPECT_STREQ(KwGlobal().entry_dest, "");
}

TEST_F(KwConfigTest, GroupEntriesGiveNameAndTargetWithArguments) {
  Basic();
  Set("Group", "1", "Uninstall,SETUP.EXE,/r");
  Set("Group", "2", "plain");
  ASSERT_EQ(KwLoadConfig(), 1);
  ASSERT_EQ(GetGroupEntry(1), 1);
  EXPECT_STREQ(KwGlobal().entry_source, "Uninstall");
  EXPECT_STREQ(KwGlobal().entry_dest, "C:\\Program Files\\SampleView\\SETUP.EXE,/r");
  EXPECT_EQ(GetGroupEntry(2), 0);
  EXPECT_STREQ(KwGlobal().entry_source, "");
}

}  // namespace
