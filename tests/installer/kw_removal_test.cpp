// What the installer may write and the uninstaller may delete, with the
// cases that would reach another program's or the user's files as a table.
#include <cstdio>
#include <string>
#include <vector>

#include "installer/core/kw_config.h"
#include "installer/core/kw_location.h"
#include "installer/core/kw_normalize.h"
#include "installer/core/kw_removal.h"
#include "installer/core/kw_shortcuts.h"
#include "installer/core/kw_strings.h"
#include "installer/core/kw_uninstall.h"
#include "tests/installer/kw_fixture.h"

namespace {

enum class Rule {
  kInstallEntry,  // input: Install entry 1; allowed: the configuration is accepted
  kGroupEntry,    // input: Group entry 1; allowed: the configuration is accepted
  kProgramsLink,  // context: title; input: a file in the Programs folder; allowed: removal deletes it
  kUninstallSource,  // context: registered program; input: running copy; allowed: it may uninstall
  kRegEntry,         // input: Reg entry; allowed: a key is deleted
  kWalk,  // context: "dir", "link-dir", "link-file" or "file"; allowed: entered or deleted unasked
  kStageCopy,      // context: temporary folder; input: running copy; allowed: deleted at restart
  kLocation,       // input: install location as typed or configured; allowed: accepted
  kConfigFolder,   // input: Folder; allowed: the default location it gives is accepted
  kRegistered,     // input: UninstallString; allowed: the location read back is accepted
  kStagePath,      // input: the second stage's "x" path; allowed: taken as an installed copy
  kSameFolder,     // context, input: two folders in a Latin code page; allowed: the same folder
  kFinalLocation,  // context: "named=>final" prefix a link or mapped drive leads to; input: location; allowed: accepted
  kLocationText,   // input: location as typed; allowed: nothing in its text is refused
  kRegConfig,      // input: Reg entry 1; allowed: the configuration is accepted
  kOpen,           // input: Open; allowed: the configuration is accepted
  kForeignKey,  // context: the DisplayName of the entry Folder names; allowed: the configuration is accepted
  kOwner,  // context: another product's registered folder; input: location; allowed: not that product's
};

struct Case {
  const char* what;
  Rule rule;
  const char* context;
  const char* input;
  bool allowed;
};

const char kPrograms[] = "C:\\Menu\\Programs\\";

const Case kCases[] = {
    {"title names an existing group: a foreign shortcut in it", Rule::kProgramsLink, "Accessories",
     "C:\\Menu\\Programs\\Accessories\\Notepad.lnk", false},
    {"title names an existing group: the configuration's own shortcut", Rule::kProgramsLink,
     "Accessories", "C:\\Menu\\Programs\\Accessories\\Viewer.lnk", true},
    {"title that climbs out of the Programs folder", Rule::kProgramsLink, "..\\Startup",
     "C:\\Menu\\Startup\\Viewer.lnk", false},
    {"copy run from a downloads folder", Rule::kUninstallSource, "C:\\App\\SETUP.EXE",
     "C:\\Downloads\\SETUP.EXE", false},
    {"copy in a folder whose name extends the install folder's", Rule::kUninstallSource,
     "C:\\App\\SETUP.EXE", "C:\\App2\\SETUP.EXE", false},
    {"copy in a sub-folder of the install folder", Rule::kUninstallSource, "C:\\App\\SETUP.EXE",
     "C:\\App\\old\\SETUP.EXE", false},
    {"no uninstall entry for the title", Rule::kUninstallSource, "", "C:\\Downloads\\SETUP.EXE",
     false},
    {"double-byte names differing only in a second byte", Rule::kUninstallSource,
     "C:\\\x95\x41\\SETUP.EXE", "C:\\\x95\x61\\SETUP.EXE", false},
    {"the installed copy, named in another case", Rule::kUninstallSource, "C:\\App\\SETUP.EXE",
     "c:\\app\\setup.exe", true},
    {"destination climbing with ..", Rule::kInstallEntry, "", "app.exe,..\\..\\WINDOWS\\win.ini",
     false},
    {"source climbing with .. as its own destination", Rule::kInstallEntry, "", "..\\outside.exe",
     false},
    {".. hidden in the middle", Rule::kInstallEntry, "", "app.exe,sub\\..\\..\\x.exe", false},
    {".. with forward slashes", Rule::kInstallEntry, "", "app.exe,sub/../../x.exe", false},
    {"dots and blanks that Windows reads as ..", Rule::kInstallEntry, "", "app.exe,. . \\x.exe",
     false},
    {"absolute destination", Rule::kInstallEntry, "", "app.exe,\\WINDOWS\\x.exe", false},
    {"destination on a drive", Rule::kInstallEntry, "", "app.exe,C:\\WINDOWS\\x.exe", false},
    {"drive-relative destination", Rule::kInstallEntry, "", "app.exe,D:x.exe", false},
    {"network destination", Rule::kInstallEntry, "", "app.exe,\\\\srv\\share\\x.exe", false},
    {"destination naming a folder", Rule::kInstallEntry, "", "app.exe,sub\\", false},
    {"destination in a sub-folder", Rule::kInstallEntry, "", "app.exe,data\\sub\\x.bin", true},
    {"name that only starts with dots", Rule::kInstallEntry, "", "..app.exe", true},
    {"shortcut name climbing out of the group", Rule::kGroupEntry, "",
     "..\\..\\Startup\\Evil,app.exe", false},
    {"shortcut name with a sub-folder", Rule::kGroupEntry, "", "Tools\\Viewer,app.exe", false},
    {"plain shortcut name", Rule::kGroupEntry, "", "Viewer,app.exe", true},
    {"empty Reg subkey", Rule::kRegEntry, "", "HKEY_CURRENT_USER\\", false},
    {"backslash-led Reg subkey", Rule::kRegEntry, "", "HKEY_CURRENT_USER\\\\Software", false},
    {"backslashes only", Rule::kRegEntry, "", "HKEY_LOCAL_MACHINE\\\\\\", false},
    {"bare root", Rule::kRegEntry, "", "HKEY_CLASSES_ROOT", false},
    {"key strictly under a root", Rule::kRegEntry, "", "HKEY_CURRENT_USER\\Software\\Vendor", true},
    {"junction inside the install folder pointing outside", Rule::kWalk, "link-dir", "data", false},
    {"symbolic link named like a help index", Rule::kWalk, "link-file", "APP.GID", false},
    {"user's file", Rule::kWalk, "file", "notes.txt", false},
    {"help index", Rule::kWalk, "file", "APP.GID", true},
    {"real sub-folder", Rule::kWalk, "dir", "data", true},
    {"the system folder's file of the installer's name", Rule::kStageCopy, "C:\\TEMP\\",
     "C:\\WINDOWS\\SYSTEM32\\SETUP.EXE", false},
    {"a file of the installer's name in the temporary folder", Rule::kStageCopy, "C:\\TEMP\\",
     "C:\\TEMP\\SETUP.EXE", false},
    {"a staged name in another folder", Rule::kStageCopy, "C:\\TEMP\\",
     "C:\\TEMP\\sub\\KwUninstall-7.exe", false},
    {"a staged name with more after its number", Rule::kStageCopy, "C:\\TEMP\\",
     "C:\\TEMP\\KwUninstall-7x.exe", false},
    {"a staged folder without its number", Rule::kStageCopy, "C:\\TEMP\\",
     "C:\\TEMP\\KwUninstall-\\KwUninstall.exe", false},
    {"another program in a staged folder", Rule::kStageCopy, "C:\\TEMP\\",
     "C:\\TEMP\\KwUninstall-7\\SETUP.EXE", false},
    {"a staged copy loose in the temporary folder", Rule::kStageCopy, "C:\\TEMP\\",
     "C:\\TEMP\\KwUninstall.exe", false},
    {"the copy the first stage made", Rule::kStageCopy, "C:\\TEMP",
     "c:\\temp\\KWUNINSTALL-7\\kwuninstall.exe", true},
    {"a drive root spelled with a dot", Rule::kLocation, "", "C:\\.\\", false},
    {"a drive root spelled with two backslashes", Rule::kLocation, "", "C:\\\\", false},
    {"a drive root reached from the Windows folder", Rule::kLocation, "", "C:\\Windows\\..\\",
     false},
    {"a drive root reached from Program Files", Rule::kLocation, "", "C:\\Program Files\\..\\",
     false},
    {"a drive root behind dots and blanks", Rule::kLocation, "", "C:\\App\\. .\\..\\", false},
    {"a drive root with forward slashes", Rule::kLocation, "", "C:/App/../", false},
    {"a share root", Rule::kLocation, "", "\\\\srv\\share\\App\\..\\", false},
    {"the Windows folder in another case", Rule::kLocation, "", "c:\\windows\\", false},
    {"the Windows folder with a trailing dot", Rule::kLocation, "", "C:\\WINDOWS.\\", false},
    {"the system folder", Rule::kLocation, "", "C:\\WINDOWS\\system32\\", false},
    {"the system folder reached from elsewhere", Rule::kLocation, "",
     "C:\\App\\..\\WINDOWS\\.\\SYSTEM32\\", false},
    {"a folder holding the Windows folder", Rule::kLocation, "", "C:\\OS\\..\\", false},
    {"Program Files itself", Rule::kLocation, "", "C:\\Program Files\\", false},
    {"the user's profile", Rule::kLocation, "", "C:\\Users\\me\\", false},
    {"another user's profile", Rule::kLocation, "", "C:\\Users\\other\\", false},
    {"the profiles folder", Rule::kLocation, "", "C:\\Users\\", false},
    {"a folder that only starts like the Windows folder", Rule::kLocation, "", "C:\\WINDOWS2\\",
     true},
    {"a folder inside the Windows folder", Rule::kLocation, "", "C:\\WINDOWS\\Viewer\\", false},
    {"a folder in the user's profile", Rule::kLocation, "", "C:\\Users\\me\\Apps\\Viewer\\", true},
    {"a folder under Program Files, spelled with dots", Rule::kLocation, "",
     "C:\\Program Files\\.\\Viewer\\", true},
    {"Folder=.. climbs out of Program Files", Rule::kConfigFolder, "", "..", false},
    {"Folder=. is Program Files itself", Rule::kConfigFolder, "", ".", false},
    {"a plain Folder", Rule::kConfigFolder, "", "SampleView", true},
    {"an entry edited to a root with a dot", Rule::kRegistered, "", "\"C:\\.\\SETUP.EXE\" /r",
     false},
    {"an entry reaching the root through the Windows folder", Rule::kRegistered, "",
     "\"C:\\Windows\\..\\SETUP.EXE\" /r", false},
    {"an entry naming the system folder", Rule::kRegistered, "",
     "C:\\WINDOWS\\SYSTEM32\\SETUP.EXE /r", false},
    {"an entry with a dot inside the install folder", Rule::kRegistered, "",
     "\"C:\\Program Files\\View\\.\\SETUP.EXE\" /r", true},
    {"x ..\\SETUP.EXE", Rule::kStagePath, "", "..\\SETUP.EXE", false},
    {"x climbing out of the install folder", Rule::kStagePath, "",
     "C:\\App\\sub\\..\\..\\SETUP.EXE", false},
    {"x with a dot part", Rule::kStagePath, "", "C:\\App\\.\\SETUP.EXE", false},
    {"x relative to a drive", Rule::kStagePath, "", "C:SETUP.EXE", false},
    {"x naming a folder", Rule::kStagePath, "", "C:\\App\\", false},
    {"x with a stream", Rule::kStagePath, "", "C:\\App\\SETUP.EXE:alt", false},
    {"x naming an installed copy", Rule::kStagePath, "", "C:\\Program Files\\App\\SETUP.EXE", true},
    {"x naming a copy on a share", Rule::kStagePath, "", "\\\\srv\\share\\App\\SETUP.EXE", true},
    {"mixed non-ASCII case", Rule::kSameFolder, "C:\\Program Files\\\xC4rger\\",
     "c:\\program files\\\xE4RGER\\", true},
    {"accented capitals and small letters", Rule::kSameFolder, "C:\\\xC9T\xC9\\\x8A\\",
     "C:\\\xE9t\xE9\\\x9A\\", true},
    {"W:\\system32 through a drive mapped to the Windows folder", Rule::kFinalLocation,
     "W:\\=>C:\\WINDOWS\\", "W:\\system32\\", false},
    {"a new folder through that mapped drive", Rule::kFinalLocation, "W:\\=>C:\\WINDOWS\\",
     "W:\\Viewer\\", false},
    {"a folder link to system32", Rule::kFinalLocation, "C:\\winlink\\=>C:\\WINDOWS\\",
     "C:\\winlink\\system32\\", false},
    {"a folder link to a plain folder", Rule::kFinalLocation, "C:\\link\\=>D:\\Apps\\",
     "C:\\link\\Viewer\\", true},
    {"the fonts folder", Rule::kLocation, "", "C:\\WINDOWS\\Fonts\\", false},
    {"the drivers folder", Rule::kLocation, "", "C:\\WINDOWS\\system32\\drivers\\", false},
    {"ProgramData", Rule::kLocation, "", "C:\\ProgramData\\", false},
    {"a folder in ProgramData", Rule::kLocation, "", "C:\\ProgramData\\Viewer\\", false},
    {"the browser's folder under Program Files", Rule::kLocation, "",
     "C:\\Program Files\\Browser\\", false},
    {"a folder in the browser's folder", Rule::kLocation, "",
     "C:\\Program Files\\Browser\\plugins\\", false},
    {"Documents", Rule::kLocation, "", "C:\\Users\\me\\Documents\\", false},
    {"a folder in Documents", Rule::kLocation, "", "C:\\Users\\me\\Documents\\Viewer\\", false},
    {"the Desktop", Rule::kLocation, "", "C:\\Users\\me\\Desktop\\", false},
    {"AppData", Rule::kLocation, "", "C:\\Users\\me\\AppData\\Roaming\\Viewer\\", false},
    {"an entry pointing into Documents", Rule::kRegistered, "",
     "\"C:\\Users\\me\\Documents\\SETUP.EXE\" /r", false},
    {"a name with a character no file name holds", Rule::kLocationText, "",
     "C:\\KwA\\KwB\\KwC\\bad<name\\", false},
    {"a device name among the folders", Rule::kLocationText, "", "C:\\KwA\\NUL\\App\\", false},
    {"a device name with an extension", Rule::kLocationText, "", "C:\\KwA\\com1.dir\\", false},
    {"a question mark the code page made", Rule::kLocationText, "", "C:\\KwA\\???\\", false},
    {"a colon past the drive", Rule::kLocationText, "", "C:\\KwA\\b:c\\", false},
    {"a 317-character path", Rule::kLocationText, "",
     "C:"
     "\\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
     "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
     "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\\",
     false},
    {"COM0 is an ordinary name", Rule::kLocationText, "", "C:\\KwA\\COM0\\", true},
    {"a plain location", Rule::kLocationText, "", "C:\\Program Files\\Sample View\\", true},
    {"Folder=\\ names the Uninstall key itself", Rule::kConfigFolder, "", "\\", false},
    {"Folder=a\\b names a key below another's", Rule::kConfigFolder, "", "a\\b", false},
    {"Folder=NUL", Rule::kConfigFolder, "", "NUL", false},
    {"Folder naming another product's uninstall key", Rule::kForeignKey, "ForeignApp", "", false},
    {"Folder naming this product's earlier entry", Rule::kForeignKey, "Sample Viewer", "", true},
    {"Folder naming an entry without a name", Rule::kForeignKey, "", "", false},
    {"another product's folder", Rule::kOwner, "C:\\Program Files\\Foreign\\",
     "C:\\Program Files\\Foreign\\", false},
    {"a folder inside another product's folder", Rule::kOwner, "C:\\Program Files\\Foreign\\",
     "C:\\Program Files\\Foreign\\Plugins\\", false},
    {"a folder holding another product's folder", Rule::kOwner, "C:\\Apps\\Foreign\\", "C:\\Apps\\",
     false},
    {"a folder beside another product's folder", Rule::kOwner, "C:\\Program Files\\Foreign\\",
     "C:\\Program Files\\Foreign2\\", true},
    {"LPT1.log as a destination", Rule::kInstallEntry, "", "app.exe,LPT1.log", false},
    {"COM1 as a destination", Rule::kInstallEntry, "", "app.exe,COM1", false},
    {"NUL as a destination", Rule::kInstallEntry, "", "NUL", false},
    {"a device name in a sub-folder", Rule::kInstallEntry, "", "app.exe,sub\\com1.txt", false},
    {"a device name as a folder", Rule::kInstallEntry, "", "app.exe,aux\\x.txt", false},
    {"a device name with blanks before its dot", Rule::kInstallEntry, "", "app.exe,con .txt",
     false},
    {"a name that only starts like a device", Rule::kInstallEntry, "", "app.exe,console.txt", true},
    {"a device name as a shortcut", Rule::kGroupEntry, "", "CON,app.exe", false},
    {"a Group target leaving the install folder", Rule::kGroupEntry, "", "Tool,..\\KwEvil\\grp.exe",
     false},
    {"a Group target on another drive", Rule::kGroupEntry, "", "Tool,C:\\Windows\\notepad.exe",
     false},
    {"a Group target with arguments", Rule::kGroupEntry, "", "Tool,app.exe,/r ..\\x", true},
    {"Open=..\\KwEvil\\evil.exe", Rule::kOpen, "", "..\\KwEvil\\evil.exe", false},
    {"Open on another drive", Rule::kOpen, "", "C:\\Windows\\notepad.exe", false},
    {"Open naming a device", Rule::kOpen, "", "prn", false},
    {"Open in a sub-folder", Rule::kOpen, "", "doc\\readme.txt", true},
    {"a whole vendor's key", Rule::kRegConfig, "", "HKEY_CURRENT_USER\\Software\\ForeignVendor",
     false},
    {"Software itself", Rule::kRegConfig, "", "HKEY_CURRENT_USER\\Software", false},
    {"a root", Rule::kRegConfig, "", "HKEY_LOCAL_MACHINE", false},
    {"a root with its backslash", Rule::kRegConfig, "", "HKEY_CURRENT_USER\\", false},
    {"another product's uninstall entry", Rule::kRegConfig, "",
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ForeignApp",
     false},
    {"the text-file class", Rule::kRegConfig, "", "HKEY_CLASSES_ROOT\\txtfile", false},
    {"the text-file class's open command", Rule::kRegConfig, "",
     "HKEY_CLASSES_ROOT\\txtfile\\shell\\open", false},
    {"a class under Software\\Classes", Rule::kRegConfig, "",
     "HKEY_CURRENT_USER\\Software\\Classes\\txtfile\\shell", false},
    {"the system's settings", Rule::kRegConfig, "",
     "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services", false},
    {"Microsoft's keys", Rule::kRegConfig, "", "HKEY_CURRENT_USER\\Software\\Microsoft\\Notepad",
     false},
    {"an empty part", Rule::kRegConfig, "", "HKEY_CURRENT_USER\\Software\\Vendor\\\\Product",
     false},
    {"the product's own key under its vendor", Rule::kRegConfig, "",
     "HKEY_CURRENT_USER\\Software\\Vendor\\Sample", true},
    {"the product's own uninstall entry", Rule::kRegConfig, "",
     "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\SampleView",
     true},
    {"an unknown root, reported at uninstall", Rule::kRegConfig, "",
     "HKEY_USERS\\.DEFAULT\\Software\\X", true},
    {"different non-ASCII letters", Rule::kSameFolder, "C:\\\xC4rger\\", "C:\\\xD6rger\\", false},
    {"the multiplication and division signs", Rule::kSameFolder, "C:\\\xD7\\", "C:\\\xF7\\", false},
};

// The system's folders as the platform reports them, normalised.
const std::vector<KwProtectedFolder> kProtected = {
    {"C:\\WINDOWS\\", false, true},
    {"C:\\WINDOWS\\system32\\", false, true},
    {"C:\\WINDOWS\\Fonts\\", false, true},
    {"C:\\Program Files\\", false},
    {"C:\\Program Files\\Browser\\", false, true},
    {"C:\\ProgramData\\", false, true},
    {"C:\\Users\\me\\", false},
    {"C:\\Users\\me\\Desktop\\", false, true},
    {"C:\\Users\\me\\Documents\\", false, true},
    {"C:\\Users\\me\\AppData\\Roaming\\", false, true},
    {"C:\\Users\\", true},
};

// Where a test's link or mapped drive leads: "named=>final" of the case.
std::string& FinalPrefix() {
  static std::string mapping;
  return mapping;
}

int FinalThroughMapping(const char* path, char* out, std::size_t size) {
  const std::string& m = FinalPrefix();
  std::size_t arrow = m.find("=>");
  std::string named = m.substr(0, arrow), final_form = m.substr(arrow + 2), p = path;
  if (p.size() >= named.size() && KwSamePath(p.substr(0, named.size()).c_str(), named.c_str())) {
    p = final_form + p.substr(named.size());
  }
  std::snprintf(out, size, "%s", p.c_str());
  return 1;
}

class KwRemovalTest : public KwFixture {
 protected:
  void Basic() {
    Set("Install", "Title", "Sample Viewer");
    Set("Install", "Folder", "SampleView");
  }

  bool Allowed(const Case& c) {
    profile_.clear();
    Basic();
    switch (c.rule) {
      case Rule::kInstallEntry: Set("Install", "1", c.input); return KwLoadConfig() == 1;
      case Rule::kGroupEntry:
        Set("Install", "1", "app.exe");
        Set("Group", "1", c.input);
        return KwLoadConfig() == 1;
      case Rule::kProgramsLink: {
        Set("Install", "Title", c.context);
        Set("Install", "1", "app.exe");
        Set("Group", "1", "Viewer,app.exe");
        if (KwLoadConfig() != 1) return false;
        // Judged on what the link's name resolves to, not how it is spelled.
        for (const std::string& file : KwShortcutFiles(kKwPrograms, kPrograms)) {
          char resolved[kKwPathSize];
          if (KwNormalizePath(file.c_str(), resolved, sizeof resolved) &&
              KwSamePath(resolved, c.input))
            return true;
        }
        return false;
      }
      case Rule::kUninstallSource:
        return KwCheckUninstallSource(c.context, c.input) == KwUninstallSource::kOk;
      case Rule::kRegEntry: return KwParseRegEntry(c.input, nullptr) != KwRegRoot::kNone;
      case Rule::kWalk: {
        std::string kind = c.context;
        bool directory = kind == "dir" || kind == "link-dir";
        bool link = kind.compare(0, 4, "link") == 0;
        KwWalkAction action = KwFolderEntryAction(c.input, directory, link);
        return action == KwWalkAction::kRecurse || action == KwWalkAction::kDeleteQuietly;
      }
      case Rule::kStageCopy: return KwIsStageCopy(c.input, c.context) == 1;
      case Rule::kLocation:
        return KwJudgeLocation(c.input, kProtected, nullptr) == KwLocationCheck::kOk;
      case Rule::kConfigFolder:
        Set("Install", "Folder", c.input);
        return KwLoadConfig() == 1 &&
               KwJudgeLocation(KwGlobal().location, kProtected, nullptr) == KwLocationCheck::kOk;
      case Rule::kRegistered:
        registered_ = true;
        uninstall_string_ = c.input;
        if (KwLoadConfig() != 1) return false;
        registered_ = false;
        return KwJudgeLocation(KwGlobal().location, kProtected, nullptr) == KwLocationCheck::kOk;
      case Rule::kStagePath: return KwIsStageProgramPath(c.input) == 1;
      case Rule::kFinalLocation: {
        FinalPrefix() = c.context;
        KwPlatformHooks().final_path = &FinalThroughMapping;
        bool accepted = KwJudgeLocation(c.input, kProtected, nullptr) == KwLocationCheck::kOk;
        KwPlatformHooks().final_path = nullptr;
        return accepted;
      }
      case Rule::kLocationText: return KwCheckLocationText(c.input) == KwLocationCheck::kOk;
      case Rule::kRegConfig: Set("Reg", "1", c.input); return KwLoadConfig() == 1;
      case Rule::kOpen:
        Set("Install", "1", "app.exe");
        Set("Install", "Open", c.input);
        return KwLoadConfig() == 1;
      case Rule::kForeignKey: {
        shown_ = true;
        display_name_ = c.context;
        bool accepted = KwLoadConfig() == 1;
        shown_ = false;
        return accepted;
      }
      case Rule::kOwner: {
        std::vector<KwUninstallEntry> entries = {{"SampleView", c.input}, {"Foreign", c.context}};
        return KwForeignOwner(c.input, "SampleView", entries) == nullptr;
      }
      case Rule::kSameFolder: {
        KwPlatformHooks().is_lead_byte = nullptr;
        bool same = KwSamePath(c.context, c.input) == 1;
        KwPlatformHooks().is_lead_byte = &ShiftJisLead;
        return same;
      }
    }
    return false;
  }
};

TEST_F(KwRemovalTest, DangerousCasesTouchNothingOfOthers) {
  KwPlatformHooks().is_lead_byte = &ShiftJisLead;
  for (const Case& c : kCases) EXPECT_EQ(Allowed(c), c.allowed) << c.what << ": " << c.input;
}

TEST_F(KwRemovalTest, RefusedEntryIsNamedForItsMessage) {
  Basic();
  Set("Install", "1", "app.exe");
  Set("Install", "2", "x.dll,..\\x.dll");
  EXPECT_EQ(KwLoadConfig(), 0);
  EXPECT_STREQ(KwGlobal().refused, "[Install] 2=x.dll,..\\x.dll");
  Set("Install", "2", "x.dll");
  Set("Group", "1", "A\\B,app.exe");
  EXPECT_EQ(KwLoadConfig(), 0);
  EXPECT_STREQ(KwGlobal().refused, "[Group] 1=A\\B,app.exe");
  Set("Group", "1", "B,app.exe");
  EXPECT_EQ(KwLoadConfig(), 1);
  EXPECT_STREQ(KwGlobal().refused, "");
  EXPECT_EQ(KwGlobal().refusal, KwRefusal::kNone);
  // Each refusal says why, for a box that names the real cause.
  Set("Reg", "1", "HKEY_CLASSES_ROOT\\txtfile");
  EXPECT_EQ(KwLoadConfig(), 0);
  EXPECT_STREQ(KwGlobal().refused, "[Reg] 1=HKEY_CLASSES_ROOT\\txtfile");
  EXPECT_EQ(KwGlobal().refusal, KwRefusal::kRegKey);
  profile_.erase({"Reg", "1"});
  shown_ = true;
  display_name_ = "Foreign App";
  EXPECT_EQ(KwLoadConfig(), 0);
  EXPECT_EQ(KwGlobal().refusal, KwRefusal::kForeignEntry);
  EXPECT_STREQ(KwGlobal().owner, "Foreign App");
  EXPECT_STREQ(KwGlobal().refused, "[Install] Folder=SampleView");
  shown_ = false;
  Set("Install", "1", "app.exe,sub\\LPT1.log");
  EXPECT_EQ(KwLoadConfig(), 0);
  EXPECT_EQ(KwGlobal().refusal, KwRefusal::kDevice);
  Set("Install", "1", "app.exe");
  Set("Install", "Folder", "..");
  EXPECT_EQ(KwLoadConfig(), 0);
  EXPECT_EQ(KwGlobal().refusal, KwRefusal::kFolderName);
}

TEST_F(KwRemovalTest, RegisteredProgramIsTheCopyThatMayUninstall) {
  Basic();
  registered_ = true;
  uninstall_string_ = "\"D:\\Apps\\Sample View\\SETUP.EXE\" /r";
  ASSERT_EQ(KwLoadConfig(), 1);
  EXPECT_STREQ(KwGlobal().installed_program, "D:\\Apps\\Sample View\\SETUP.EXE");
  EXPECT_STREQ(KwGlobal().location, "D:\\Apps\\Sample View\\");
  // A value naming no program leaves nothing that may uninstall.
  uninstall_string_ = "setup /r";
  ASSERT_EQ(KwLoadConfig(), 1);
  EXPECT_STREQ(KwGlobal().installed_program, "");
  registered_ = false;
  ASSERT_EQ(KwLoadConfig(), 1);
  EXPECT_STREQ(KwGlobal().installed_program, "");
}

TEST_F(KwRemovalTest, StageCopyIsAFreshFolderInTheTemporaryFolder) {
  char folder[kKwPathSize];
  char out[kKwPathSize];
  ASSERT_EQ(KwStageCopyName("C:\\TEMP", 42, folder, sizeof folder, out, sizeof out), 1);
  EXPECT_STREQ(folder, "C:\\TEMP\\KwUninstall-42\\");
  EXPECT_STREQ(out, "C:\\TEMP\\KwUninstall-42\\KwUninstall.exe");
  EXPECT_EQ(KwIsStageCopy(out, "C:\\TEMP\\"), 1);
  ASSERT_EQ(KwStageCopyName("C:\\TEMP\\", 4294967295u, folder, sizeof folder, out, sizeof out), 1);
  EXPECT_STREQ(out, "C:\\TEMP\\KwUninstall-4294967295\\KwUninstall.exe");
  std::string deep = "C:\\" + std::string(240, 't') + "\\";
  EXPECT_EQ(KwStageCopyName(deep.c_str(), 1, folder, sizeof folder, out, sizeof out), 0);
  EXPECT_STREQ(folder, "");
  EXPECT_STREQ(out, "");
}

TEST_F(KwRemovalTest, PathsAreNormalisedAsWindowsResolvesThem) {
  const struct {
    const char* path;
    const char* normalised;
  } cases[] = {
      {"C:\\.\\", "C:\\"},
      {"C:\\\\", "C:\\"},
      {"C:\\Windows\\..\\..\\..\\", "C:\\"},
      {"c:/App//sub/./x.dll", "c:\\App\\sub\\x.dll"},
      {"C:\\App. \\sub\\", "C:\\App\\sub\\"},
      {"C:\\App\\sub\\..", "C:\\App"},
      {"\\\\srv\\share\\..\\x", "\\\\srv\\share\\x"},
      {"relative\\x", ""},
      {"C:relative", ""},
      {"\\\\srv", ""},
  };
  for (const auto& c : cases) {
    char out[kKwPathSize];
    EXPECT_EQ(KwNormalizePath(c.path, out, sizeof out), c.normalised[0] ? 1 : 0) << c.path;
    EXPECT_STREQ(out, c.normalised) << c.path;
  }
  EXPECT_EQ(KwIsRootPath("C:\\"), 1);
  EXPECT_EQ(KwIsRootPath("\\\\srv\\share\\"), 1);
  EXPECT_EQ(KwIsRootPath("C:\\App\\"), 0);
}

}  // namespace
