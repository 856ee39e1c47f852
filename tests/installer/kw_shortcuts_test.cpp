#include <cstring>
#include <string>

#include "installer/core/kw_config.h"
#include "installer/core/kw_shortcuts.h"
#include "installer/core/kw_uninstall.h"
#include "tests/installer/kw_fixture.h"

namespace {

class KwShortcutsTest : public KwFixture {
 protected:
  void Load() {
    Set("Install", "Title", "Sample Viewer");
    Set("Install", "Folder", "SampleView");
    Set("Install", "1", "bin\\viewer.exe,viewer.exe");
    ASSERT_EQ(KwSplitProgramPath("A:\\SETUP.EXE"), 1);
    ASSERT_EQ(KwLoadConfig(), 1);
  }
};

TEST_F(KwShortcutsTest, WithoutGroupEntriesOneLinkNamedWithTheTitle) {
  Load();
  for (int kind : {kKwPrograms, kKwDesktop, kKwStartup}) {
    std::vector<KwShortcutItem> items = KwShortcutItems(kind, false);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "Sample Viewer");
    EXPECT_EQ(items[0].target, "C:\\Program Files\\SampleView\\viewer.exe");
  }
  // Program Manager also gets the uninstaller.
  std::vector<KwShortcutItem> items = KwShortcutItems(kKwPrograms, true);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].name, "SETUP.EXE Uninstallation");
  EXPECT_EQ(items[1].target, "C:\\Program Files\\SampleView\\SETUP.EXE,/r");
}

TEST_F(KwShortcutsTest, GroupEntriesServeProgramsOnly) {
  Set("Group", "1", "Viewer,viewer.exe");
  Set("Group", "2", "Remove,SETUP.EXE,/r");
  Load();
  std::vector<KwShortcutItem> items = KwShortcutItems(kKwPrograms, false);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[1].name, "Remove");
  EXPECT_EQ(items[1].target, "C:\\Program Files\\SampleView\\SETUP.EXE,/r");
  items = KwShortcutItems(kKwDesktop, false);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].name, "Sample Viewer");
  EXPECT_EQ(KwShortcutItems(kKwDesktop, true).size(), 2u);

  std::string path, args;
  EXPECT_TRUE(KwSplitTarget(items[0].target + ",-a,b", &path, &args));
  EXPECT_EQ(path, "C:\\Program Files\\SampleView\\viewer.exe");
  EXPECT_EQ(args, "-a,b");
  EXPECT_FALSE(KwSplitTarget("x.exe", &path, &args));
  EXPECT_EQ(KwJoinPathArgs("C:\\PROGRA~1\\X.EXE", true, "/r"), "C:\\PROGRA~1\\X.EXE /r");
  EXPECT_EQ(KwJoinPathArgs("C:\\X.EXE", false, ""), "C:\\X.EXE");
  // A link starts its program in the program's folder.
  EXPECT_EQ(KwTargetFolder("C:\\Program Files\\V\\viewer.exe"), "C:\\Program Files\\V");
  EXPECT_EQ(KwTargetFolder("C:\\viewer.exe"), "C:\\");
  EXPECT_EQ(KwTargetFolder("viewer.exe"), "");
}

TEST_F(KwShortcutsTest, ProgramManagerCommands) {
  std::vector<KwShortcutItem> items = {{"Viewer", "C:\\V\\V.EXE"}, {"Off", "C:\\V\\S.EXE /r"}};
  using V = std::vector<std::string>;
  EXPECT_EQ(KwProgmanCommands(kKwPrograms, false, "T", items),
            (V{"[CreateGroup(\"T\",0)]", "[AddItem(\"C:\\V\\V.EXE\",\"Viewer\")]",
               "[AddItem(\"C:\\V\\S.EXE /r\",\"Off\")]"}));
  EXPECT_EQ(KwProgmanCommands(kKwStartup, false, "T", items),
            (V{"[ShowGroup(\"Startup\",1)]", "[AddItem(\"C:\\V\\V.EXE\",\"T\")]"}));
  EXPECT_EQ(KwProgmanCommands(kKwStartup, true, "T", items),
            (V{"[ShowGroup(\"Startup\",1)]", "[DeleteItem(\"T\")]"}));
  // Only the items, never the group: it may hold others' items too.
  EXPECT_EQ(KwProgmanCommands(kKwPrograms, true, "T", items),
            (V{"[ShowGroup(\"T\",1)]", "[DeleteItem(\"Viewer\")]", "[DeleteItem(\"Off\")]"}));
}

TEST_F(KwShortcutsTest, RegEntriesNameOneOfThreeRoots) {
  const struct {
    const char* value;
    KwRegRoot root;
    const char* subkey;
  } cases[] = {
      {"HKEY_CURRENT_USER\\Software\\V", KwRegRoot::kCurrentUser, "Software\\V"},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\V", KwRegRoot::kLocalMachine, "SOFTWARE\\V"},
      {"HKEY_CLASSES_ROOT\\.wrl", KwRegRoot::kClassesRoot, ".wrl"},
      {"HKEY_USERS\\.DEFAULT\\V", KwRegRoot::kNone, nullptr},
      {"hkey_current_user\\Software\\V", KwRegRoot::kNone, nullptr},
      // A bare root would delete everything below it.
      {"HKEY_CURRENT_USER", KwRegRoot::kNone, nullptr},
      {"HKEY_CURRENT_USER\\", KwRegRoot::kNone, nullptr},
      {"HKEY_CURRENT_USERS\\X", KwRegRoot::kNone, nullptr},
  };
  for (const auto& c : cases) {
    const char* subkey = "unset";
    EXPECT_EQ(KwParseRegEntry(c.value, &subkey), c.root) << c.value;
    if (c.subkey) {
      EXPECT_STREQ(subkey, c.subkey);
    } else {
      EXPECT_EQ(subkey, nullptr);
    }
  }
}

TEST_F(KwShortcutsTest, HelpIndexFilesByTheTextAfterTheFirstDot) {
  EXPECT_EQ(KwIsHelpIndexFile("VIEWER.GID"), 1);
  EXPECT_EQ(KwIsHelpIndexFile("viewer.gid"), 1);
  EXPECT_EQ(KwIsHelpIndexFile("viewer.hlp.gid"), 0);
  EXPECT_EQ(KwIsHelpIndexFile("viewer.gidx"), 0);
  EXPECT_EQ(KwIsHelpIndexFile("gid"), 0);
}

TEST_F(KwShortcutsTest, WininitBlockKeepsEveryExistingLine) {
  // Two NUL lines: the same key twice must not collapse into one.
  const char lines[] = "NUL=C:\\OLD1.EXE\0NUL=C:\\OLD2.EXE\0C:\\A.DLL=C:\\B.DLL\0";
  std::string block;
  ASSERT_EQ(KwBuildWininitBlock(lines, "C:\\WINDOWS\\SYSTEM\\SETUP.EXE", &block), 1);
  EXPECT_EQ(block,
            "[Rename]\r\nNUL=C:\\OLD1.EXE\r\nNUL=C:\\OLD2.EXE\r\nC:\\A.DLL=C:\\B.DLL\r\n"
            "NUL=C:\\WINDOWS\\SYSTEM\\SETUP.EXE\r\n");
  ASSERT_EQ(KwBuildWininitBlock("", "X", &block), 1);
  EXPECT_EQ(block, "[Rename]\r\nNUL=X\r\n");

  std::string many;
  for (int i = 0; i < 1000; ++i)
    many += "NUL=C:\\SOME\\LONGER\\NAME" + std::to_string(i) + ".EXE" + '\0';
  many += '\0';
  EXPECT_EQ(KwBuildWininitBlock(many.c_str(), "X", &block), 0);
  EXPECT_TRUE(block.empty());
}

TEST_F(KwShortcutsTest, WininitBlockGoesOverAFinalCtrlZ) {
  long offset = -1;
  bool newline = true;
  KwWininitPlacement(0, -1, &offset, &newline);
  EXPECT_EQ(offset, 0);
  EXPECT_FALSE(newline);
  KwWininitPlacement(120, 26, &offset, &newline);
  EXPECT_EQ(offset, 119);
  EXPECT_FALSE(newline);
  KwWininitPlacement(120, '\n', &offset, &newline);
  EXPECT_EQ(offset, 120);
  EXPECT_FALSE(newline);
  KwWininitPlacement(120, 'x', &offset, &newline);
  EXPECT_EQ(offset, 120);
  EXPECT_TRUE(newline);
}

}  // namespace
