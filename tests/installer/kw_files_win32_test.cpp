// The Win32 helpers of the install and uninstall against real files,
// folders and registry keys, with message boxes answered by the test.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "installer/core/kw_config.h"
#include "installer/core/kw_record.h"
#include "installer/core/kw_state.h"
#include "installer/core/kw_strings.h"
#include "installer/kitwright_win32.h"

namespace {

struct Asked {
  std::string text;
  std::string caption;
  UINT flags;
};

std::vector<Asked>& Questions() {
  static std::vector<Asked> q;
  return q;
}
int& NextAnswer() {
  static int answer = IDOK;
  return answer;
}

int Answer(HWND, const char* text, const char* caption, UINT flags) {
  Questions().push_back({text, caption ? caption : "", flags});
  return NextAnswer();
}

// Wine's own name of a file on the Linux side; empty elsewhere.
std::string UnixName(const std::string& path) {
  using UnixNameOf = char*(CDECL*)(LPCWSTR);
  auto unix_name = reinterpret_cast<UnixNameOf>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unix_name) return "";
  std::wstring wide(path.begin(), path.end());
  char* name = unix_name(wide.c_str());
  std::string out = name ? name : "";
  if (name) HeapFree(GetProcessHeap(), 0, name);
  return out;
}

// Runs a Linux program under Wine, which starts it as it starts its own
// but gives no handle to wait on or exit code: waits (30 seconds at most)
// until done says its work shows. 1 when it does.
template <class Done>
int RunLinux(const char* program, const std::string& arguments, Done done) {
  std::string command = std::string(program) + " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process;
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  std::string windows_program = std::string("Z:") + program;
  std::replace(windows_program.begin(), windows_program.end(), '/', '\\');
  if (!CreateProcessA(windows_program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    std::printf("cannot run %s\n", command.c_str());
    return 0;
  }
  for (int i = 0; i < 3000; ++i) {
    if (done()) return 1;
    Sleep(10);
  }
  std::printf("%s did not finish\n", command.c_str());
  return 0;
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

class KwFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    KwResetState();
    KwResetPlatform();
    KwResetWindows();
    KwSetMessageHook(&Answer);
    Questions().clear();
    NextAnswer() = IDOK;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    root_ = std::string(temp) + "kw_files_test_" + std::to_string(GetCurrentProcessId()) + "\\";
    // Process ids repeat: an earlier run's leftovers would change the case
    // and links that the tests see.
    DeleteTreeQuietly(root_);
    CreateDirectoryA(root_.c_str(), nullptr);
    std::strcpy(KwGlobal().title, "Unit Title");
  }
  void TearDown() override {
    NextAnswer() = IDYES;
    DeleteTreeQuietly(root_);
    KwSetMessageHook(nullptr);
    KwResetState();
  }
  static void Write(const std::string& path, const char* text) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fputs(text, f);
    std::fclose(f);
  }
  static std::string Read(const std::string& path) {
    std::string out;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
      char buf[4096];
      std::size_t n;
      while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
      std::fclose(f);
    }
    return out;
  }
  static bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  static void DeleteTreeQuietly(const std::string& folder);
  static void DeleteTreeFromWindows(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        // A link goes by itself: what it points at is not the test's.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
          if (!RemoveDirectoryA((folder + name).c_str())) DeleteFileA((folder + name).c_str());
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          DeleteTreeFromWindows(folder + name + "\\");
        } else {
          SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA((folder + name).c_str());
        }
      } while (FindNextFileA(h, &found));
      FindClose(h);
    }
    std::string trimmed = folder.substr(0, folder.size() - 1);
    RemoveDirectoryA(trimmed.c_str());
  }

  std::string root_;
};

// Under Wine the tree goes from the Linux side, links and all, without
// following them; elsewhere (and for what that leaves) from Windows.
void KwFilesTest::DeleteTreeQuietly(const std::string& folder) {
  std::string unix_folder = UnixName(folder);
  if (!unix_folder.empty() && GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
    RunLinux("/bin/rm", "-rf " + Quoted(unix_folder),
             [&] { return GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES; });
  }
  if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteTreeFromWindows(folder);
}

TEST_F(KwFilesTest, FolderPathIsMadeLevelByLevel) {
  std::string deep = root_ + "a\\b\\c\\";
  EXPECT_EQ(CreateFolderPath(deep.c_str()), 1);
  EXPECT_TRUE(Exists(root_ + "a\\b\\c"));
  EXPECT_TRUE(Questions().empty());
  // A file in the way is reported and stops the path.
  Write(root_ + "file", "x");
  EXPECT_EQ(CreateFolderPath((root_ + "file\\sub\\").c_str()), 0);
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0].text, root_ + "file - Cannot create folder. File already exists.");
  EXPECT_FALSE(Exists(root_ + "file\\sub"));
}

TEST_F(KwFilesTest, CopyMakesSubFoldersAndReportsAFileInUse) {
  KwState& s = KwGlobal();
  Write(root_ + "src.txt", "payload");
  KwCopy(s.location, sizeof s.location, (root_ + "dest\\").c_str());
  CreateDirectoryA((root_ + "dest").c_str(), nullptr);
  KwCopy(s.entry_source, sizeof s.entry_source, (root_ + "src.txt").c_str());
  KwCopy(s.entry_dest, sizeof s.entry_dest, (root_ + "dest\\doc\\sub\\copy.txt").c_str());
  SetFileAttributesA((root_ + "src.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(CopyInstallFile(), 1);
  EXPECT_EQ(Read(s.entry_dest), "payload");
  EXPECT_EQ(GetFileAttributesA(s.entry_dest) & FILE_ATTRIBUTE_READONLY, 0u);
  // As a later install sees it: the file is the product's own.
  KwWin().previous = KwWin().written;

  // Held open without sharing: the copy cannot overwrite it.
  HANDLE held = CreateFileA(s.entry_dest, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CopyInstallFile(), 0);
  CloseHandle(held);
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0].text,
            std::string(s.entry_dest) + " is used by other process. Cannot overwrite this file.");

  KwCopy(s.entry_source, sizeof s.entry_source, (root_ + "missing.txt").c_str());
  EXPECT_EQ(CopyInstallFile(), 0);
  ASSERT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Questions()[1].text, "Failed to copy " + root_ + "missing.txt.");
  SetFileAttributesA((root_ + "src.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(KwFilesTest, FolderTreeAsksForUserFilesAndDropsHelpIndexes) {
  std::string tree = root_ + "tree\\";
  CreateDirectoryA((root_ + "tree").c_str(), nullptr);
  CreateDirectoryA((tree + "sub").c_str(), nullptr);
  Write(tree + "sub\\VIEWER.GID", "g");
  Write(tree + "notes.txt", "mine");
  KwWin().previous.folders = {KwFullLongPath(tree.c_str()),
                              KwFullLongPath((tree + "sub\\").c_str())};

  // Cancel stops the walk; the folder stays.
  NextAnswer() = IDCANCEL;
  EXPECT_EQ(DeleteFolderTree(tree.c_str()), 0);
  EXPECT_TRUE(Exists(tree + "notes.txt"));
  EXPECT_TRUE(Exists(root_ + "tree"));
  for (const Asked& a : Questions()) EXPECT_EQ(a.text.find("GID"), std::string::npos) << a.text;

  // No keeps the file, so the folder cannot go either.
  Questions().clear();
  NextAnswer() = IDNO;
  EXPECT_EQ(DeleteFolderTree(tree.c_str()), 0);
  EXPECT_FALSE(Exists(tree + "sub"));
  EXPECT_TRUE(Exists(tree + "notes.txt"));
  ASSERT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Questions()[0].text, "Delete \"" + tree + "notes.txt\"?");
  EXPECT_EQ(Questions()[0].caption, "Unit Title");
  // No is the default: a key pressed by habit keeps the file.
  EXPECT_EQ(Questions()[0].flags,
            static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2));
  EXPECT_EQ(Questions()[1].text, "Failed to delete the directory \"" + root_ + "tree\".");

  Questions().clear();
  NextAnswer() = IDYES;
  EXPECT_EQ(DeleteFolderTree(tree.c_str()), 1);
  EXPECT_FALSE(Exists(root_ + "tree"));
  // A drive root is never swept; should that guard ever fail, Cancel
  // stops the walk at its first question instead of wiping the drive.
  NextAnswer() = IDCANCEL;
  Questions().clear();
  EXPECT_EQ(DeleteFolderTree("C:\\"), 0);
  EXPECT_TRUE(Questions().empty());
}

// A drive letter of its own, mapped to a folder of the test, so a sweep
// of its root (should a guard fail) meets only the test's files. Under
// Wine a drive is a link in the prefix's dosdevices folder.
class MappedDrive {
 public:
  explicit MappedDrive(const std::string& folder) {
    DWORD used = GetLogicalDrives();
    std::string dosdevices = UnixName("C:\\");
    std::size_t at = dosdevices.rfind("/c:");
    for (char letter = 'Q'; letter <= 'Y' && drive_.empty(); ++letter) {
      if (used & (1u << (letter - 'A'))) continue;
      std::string drive = std::string(1, letter) + ":";
      if (at != std::string::npos) {
        std::string link =
            dosdevices.substr(0, at) + "/" + static_cast<char>(letter - 'A' + 'a') + ":";
        std::string root = drive + "\\";
        if (!RunLinux("/bin/ln", "-sn " + Quoted(UnixName(folder)) + " " + Quoted(link), [&] {
              return GetFileAttributesA(root.c_str()) != INVALID_FILE_ATTRIBUTES;
            })) {
          break;
        }
        drive_ = drive;
        unix_link_ = link;
      } else if (DefineDosDeviceA(0, drive.c_str(), folder.c_str())) {
        drive_ = drive;
      }
    }
  }
  ~MappedDrive() {
    if (!unix_link_.empty()) {
      std::string root = drive_ + "\\";
      RunLinux("/bin/rm", Quoted(unix_link_),
               [&] { return GetFileAttributesA(root.c_str()) == INVALID_FILE_ATTRIBUTES; });
    } else if (!drive_.empty()) {
      DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive_.c_str(), nullptr);
    }
  }
  const std::string& drive() const { return drive_; }

 private:
  std::string drive_;
  std::string unix_link_;
};

TEST_F(KwFilesTest, FolderTreeRefusesADriveRootHoweverItIsSpelled) {
  std::string folder = root_ + "drive";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\empty").c_str(), nullptr);
  CreateDirectoryA((folder + "\\Windows").c_str(), nullptr);
  Write(folder + "\\help.gid", "g");
  Write(folder + "\\user.txt", "mine");
  MappedDrive mapped(folder);
  const std::string& drive = mapped.drive();
  ASSERT_FALSE(drive.empty());
  ASSERT_TRUE(Exists(drive + "\\user.txt"));
  NextAnswer() = IDYES;
  for (const char* spelled : {"\\.\\", "\\\\", "\\Windows\\..\\", "\\empty\\.\\..\\", "/./"}) {
    Questions().clear();
    EXPECT_EQ(DeleteFolderTree((drive + spelled).c_str()), 0) << spelled;
    EXPECT_TRUE(Questions().empty()) << spelled;
  }
  EXPECT_TRUE(Exists(folder + "\\help.gid"));
  EXPECT_TRUE(Exists(folder + "\\empty"));
  EXPECT_EQ(Read(folder + "\\user.txt"), "mine");
}

// A symbolic link made from the Linux side, as a user or another program
// would make one inside the prefix's drive: Wine makes no junctions and
// its CreateSymbolicLink does nothing, but it runs Linux programs. On
// Windows itself, CreateSymbolicLink. 0 when neither works.
int MakeSymbolicLink(const std::string& link, const std::string& target) {
  std::string from = UnixName(target), to = UnixName(link);
  if (from.empty() || to.empty()) {
    return CreateSymbolicLinkA(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) ? 1 : 0;
  }
  return RunLinux("/bin/ln", "-sn " + Quoted(from) + " " + Quoted(to),
                  [&] { return GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES; });
}

// A link inside the install folder to a foreign folder, and the foreign
// file behind it.
class KwLinkTest : public KwFilesTest {
 protected:
  void SetUp() override {
    KwFilesTest::SetUp();
    outside_ = root_ + "outside\\";
    app_ = root_ + "app\\";
    CreateDirectoryA((root_ + "outside").c_str(), nullptr);
    CreateDirectoryA((root_ + "app").c_str(), nullptr);
    Write(outside_ + "x.dll", "foreign");
    ASSERT_EQ(MakeSymbolicLink(app_ + "sub", root_ + "outside"), 1);
    // What the checks must see past: with a trailing backslash the link
    // reports its target, a plain folder.
    DWORD bare = GetFileAttributesA((app_ + "sub").c_str());
    ASSERT_NE(bare, INVALID_FILE_ATTRIBUTES);
    ASSERT_NE(bare & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << std::hex << bare;
  }
  std::string outside_, app_;
};

TEST_F(KwLinkTest, FolderTreeDoesNotFollowALinkOutside) {
  Write(app_ + "notes.txt", "mine");
  // A link to an empty foreign folder too: removing that link as a folder
  // would remove the folder behind it.
  CreateDirectoryA((root_ + "empty").c_str(), nullptr);
  ASSERT_EQ(MakeSymbolicLink(app_ + "hollow", root_ + "empty"), 1);
  KwWin().previous.folders = {KwFullLongPath(app_.c_str())};
  // Every question answered Yes: the links stay, and what is behind them.
  NextAnswer() = IDYES;
  EXPECT_EQ(DeleteFolderTree(app_.c_str()), 0);
  EXPECT_EQ(Read(outside_ + "x.dll"), "foreign");
  EXPECT_TRUE(Exists(root_ + "empty"));
  EXPECT_FALSE(Exists(app_ + "notes.txt"));
  ASSERT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Questions()[0].text, "Delete \"" + app_ + "notes.txt\"?");
  EXPECT_EQ(Questions()[1].text, "Failed to delete the directory \"" + root_ + "app\".");
  // A tree that is itself a link is not walked at all.
  ASSERT_EQ(MakeSymbolicLink(root_ + "linked", root_ + "outside"), 1);
  Questions().clear();
  EXPECT_EQ(DeleteFolderTree((root_ + "linked\\").c_str()), 0);
  EXPECT_TRUE(Questions().empty());
  EXPECT_EQ(Read(outside_ + "x.dll"), "foreign");
}

TEST_F(KwLinkTest, NothingIsWrittenOrDeletedThroughALink) {
  KwState& s = KwGlobal();
  Write(root_ + "x.dll", "ours");
  KwCopy(s.entry_source, sizeof s.entry_source, (root_ + "x.dll").c_str());
  // sub\x.dll, sub being the link; and the install folder itself a link.
  ASSERT_EQ(MakeSymbolicLink(root_ + "linked", root_ + "outside"), 1);
  const std::string locations[] = {app_, root_ + "linked\\"};
  const std::string entries[] = {app_ + "sub\\x.dll", root_ + "linked\\x.dll"};
  for (int i = 0; i < 2; ++i) {
    KwCopy(s.location, sizeof s.location, locations[i].c_str());
    KwCopy(s.entry_dest, sizeof s.entry_dest, entries[i].c_str());
    EXPECT_EQ(KwLinkOnTheWay(s.entry_dest, s.location), 1) << s.entry_dest;
    Questions().clear();
    EXPECT_EQ(CopyInstallFile(), 0) << s.entry_dest;
    ASSERT_EQ(Questions().size(), 1u);
    EXPECT_EQ(Questions()[0].text,
              "\"" + entries[i] + "\" would be written through a link. Not copied.");
    EXPECT_EQ(Read(outside_ + "x.dll"), "foreign");
  }
  // A real sub-folder beside the link is written as before.
  KwCopy(s.location, sizeof s.location, app_.c_str());
  KwCopy(s.entry_dest, sizeof s.entry_dest, (app_ + "real\\x.dll").c_str());
  EXPECT_EQ(KwLinkOnTheWay(s.entry_dest, s.location), 0);
  EXPECT_EQ(CopyInstallFile(), 1);
  EXPECT_EQ(Read(app_ + "real\\x.dll"), "ours");
  // The uninstall may not go in through the link either.
  s.installed_program[0] = '\0';
  KwCopy(s.installed_program, sizeof s.installed_program, (root_ + "linked\\SETUP.EXE").c_str());
  Questions().clear();
  EXPECT_EQ(KwMayUninstall(s.installed_program), 0);
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0].text,
            "\"" + root_ + "linked\\\" is a link to another folder. Nothing was deleted.");
}

// Links to files, made from the Linux side: Wine shows a symbolic link to
// a file as a plain file and a dangling one as missing, so what the file
// is must tell them apart.
class KwFileLinkTest : public KwFilesTest {
 protected:
  void SetUp() override {
    KwFilesTest::SetUp();
    KwInstallPathHooks();
    app_ = root_ + "app\\";
    CreateDirectoryA((root_ + "app").c_str(), nullptr);
    CreateDirectoryA((root_ + "outside").c_str(), nullptr);
    Write(root_ + "outside\\y.dll", "foreign");
    Write(root_ + "outside\\hard.dll", "foreign hard");
    Write(root_ + "outside\\gone.dll", "x");
    Write(app_ + "own.dll", "own");
    Write(root_ + "ours.dll", "ours");
    ASSERT_EQ(Linux("/bin/ln",
                    "-s " + Quoted(UnixName(root_ + "outside\\y.dll")) + " " +
                        Quoted(UnixName(app_) + "y.dll"),
                    app_ + "y.dll", true),
              1);
    ASSERT_EQ(Linux("/bin/ln",
                    "-s " + Quoted(UnixName(root_ + "outside\\gone.dll")) + " " +
                        Quoted(UnixName(app_) + "dangling.dll"),
                    app_ + "dangling.dll", true),
              1);
    ASSERT_EQ(Linux("/bin/rm", Quoted(UnixName(root_ + "outside\\gone.dll")), app_ + "dangling.dll",
                    false),
              1);
    ASSERT_EQ(Linux("/bin/ln",
                    Quoted(UnixName(root_ + "outside\\hard.dll")) + " " +
                        Quoted(UnixName(app_) + "hard.dll"),
                    app_ + "hard.dll", true),
              1);
    ASSERT_EQ(Linux("/bin/ln",
                    "-s " + Quoted(UnixName(root_ + "outside\\y.dll")) + " " +
                        Quoted(UnixName(app_) + "cache.gid"),
                    app_ + "cache.gid", true),
              1);
    KwCopy(KwGlobal().location, sizeof KwGlobal().location, app_.c_str());
  }
  // Runs a Linux program until path shows (present) or goes.
  static int Linux(const char* program, const std::string& arguments, const std::string& path,
                   bool present) {
    if (UnixName(path).empty()) return 0;
    return RunLinux(program, arguments, [&] { return Exists(path) == present; });
  }
  std::string app_;
};

TEST_F(KwFileLinkTest, WhatAFileIsTellsLinksApart) {
  const struct {
    const char* name;
    KwFileKind kind;
  } cases[] = {
      {"own.dll", KwFileKind::kPlain},     {"y.dll", KwFileKind::kLink},
      {"dangling.dll", KwFileKind::kLink}, {"hard.dll", KwFileKind::kHardLink},
      {"cache.gid", KwFileKind::kLink},    {"never.dll", KwFileKind::kAbsent},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KwExistingFileKind((app_ + c.name).c_str()), c.kind) << c.name;
  // What the check sees past: Wine's attributes of the link are a plain file's.
  EXPECT_EQ(GetFileAttributesA((app_ + "y.dll").c_str()),
            static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetFileAttributesA((app_ + "dangling.dll").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(KwFileLinkTest, InstallNeverWritesThroughALinkOrOverAnothersFile) {
  KwState& s = KwGlobal();
  KwCopy(s.entry_source, sizeof s.entry_source, (root_ + "ours.dll").c_str());
  Write(app_ + "theirs.txt", "user's");
  const struct {
    const char* name;
    const char* said;
  } refused[] = {
      {"y.dll", "is a link to another file"},
      {"dangling.dll", "is a link to another file"},
      {"hard.dll", "is a link to another file"},
      {"theirs.txt", "already exists and is not a file of Unit Title"},
  };
  for (const auto& r : refused) {
    Questions().clear();
    KwCopy(s.entry_dest, sizeof s.entry_dest, (app_ + r.name).c_str());
    EXPECT_EQ(CopyInstallFile(), 0) << r.name;
    ASSERT_EQ(Questions().size(), 1u) << r.name;
    EXPECT_NE(Questions()[0].text.find(r.said), std::string::npos) << Questions()[0].text;
  }
  EXPECT_EQ(Read(root_ + "outside\\y.dll"), "foreign");
  EXPECT_EQ(Read(root_ + "outside\\hard.dll"), "foreign hard");
  EXPECT_FALSE(Exists(root_ + "outside\\gone.dll"));
  EXPECT_EQ(Read(app_ + "theirs.txt"), "user's");
  EXPECT_TRUE(KwWin().written.files.empty());
  // A file an earlier install of the product wrote is replaced, and noted.
  KwWin().previous.files = {KwFullLongPath((app_ + "own.dll").c_str())};
  KwCopy(s.entry_dest, sizeof s.entry_dest, (app_ + "own.dll").c_str());
  EXPECT_EQ(CopyInstallFile(), 1);
  EXPECT_EQ(Read(app_ + "own.dll"), "ours");
  KwCopy(s.entry_dest, sizeof s.entry_dest, (app_ + "new.dll").c_str());
  EXPECT_EQ(CopyInstallFile(), 1);
  EXPECT_EQ(KwWin().written.files.size(), 2u);
}

TEST_F(KwFileLinkTest, UninstallDeletesNothingALinkNames) {
  // The record says the install wrote every one of these names.
  KwInstallRecord record;
  for (const char* name : {"own.dll", "y.dll", "dangling.dll", "hard.dll", "cache.gid"}) {
    record.files.push_back(KwFullLongPath((app_ + name).c_str()));
  }
  for (const char* name : {"y.dll", "dangling.dll", "hard.dll"}) {
    bool kept = false;
    EXPECT_EQ(DeleteRecordedFile((app_ + name).c_str(), record, &kept), 1) << name;
    EXPECT_TRUE(kept) << name;
  }
  bool kept = false;
  EXPECT_EQ(DeleteRecordedFile((app_ + "own.dll").c_str(), record, &kept), 1);
  EXPECT_FALSE(Exists(app_ + "own.dll"));
  // A file the install did not write is not its to delete.
  Write(app_ + "user.txt", "mine");
  EXPECT_EQ(DeleteRecordedFile((app_ + "user.txt").c_str(), record, &kept), 1);
  EXPECT_EQ(Read(app_ + "user.txt"), "mine");
  // The walk, every question answered Yes: deleting a link to a file
  // deletes the file behind it under Wine, so the links (cache.gid too)
  // are neither asked about nor deleted; the user's file is asked about.
  KwWin().previous.folders = {KwFullLongPath(app_.c_str())};
  NextAnswer() = IDYES;
  EXPECT_EQ(DeleteFolderTree(app_.c_str()), 0);
  std::vector<std::string> asked;
  for (const Asked& a : Questions()) {
    if (a.text.compare(0, 7, "Delete ") == 0) asked.push_back(a.text);
  }
  EXPECT_EQ(asked, std::vector<std::string>{"Delete \"" + app_ + "user.txt\"?"});
  EXPECT_EQ(Read(root_ + "outside\\y.dll"), "foreign");
  EXPECT_EQ(Read(root_ + "outside\\hard.dll"), "foreign hard");
  EXPECT_TRUE(Exists(app_ + "y.dll"));
}

TEST_F(KwFilesTest, AFolderTheInstallDidNotMakeStays) {
  std::string tree = root_ + "tree\\";
  CreateDirectoryA((root_ + "tree").c_str(), nullptr);
  CreateDirectoryA((tree + "made").c_str(), nullptr);
  CreateDirectoryA((tree + "theirs").c_str(), nullptr);
  KwWin().previous.folders = {KwFullLongPath(tree.c_str()),
                              KwFullLongPath((tree + "made\\").c_str())};
  NextAnswer() = IDYES;
  EXPECT_EQ(DeleteFolderTree(tree.c_str()), 0);
  EXPECT_FALSE(Exists(tree + "made"));
  EXPECT_TRUE(Exists(tree + "theirs"));
  // Nor is a folder swept that no install of the product made.
  KwWin().previous.folders.clear();
  EXPECT_EQ(DeleteFolderTree(tree.c_str()), 0);
  EXPECT_TRUE(Exists(tree + "theirs"));
}

TEST_F(KwFilesTest, KnownFoldersAreJudgedWhereTheyFinallyLead) {
  KwInstallPathHooks();
  std::vector<KwProtectedFolder> folders = KwSystemFolders();
  char windows[MAX_PATH], path[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  std::vector<std::string> refused = {std::string(windows) + "\\Fonts\\",
                                      std::string(windows) + "\\system32\\drivers\\",
                                      std::string(windows) + "\\Viewer\\"};
  for (int kind : {CSIDL_COMMON_APPDATA, CSIDL_PERSONAL, CSIDL_DESKTOPDIRECTORY, CSIDL_APPDATA}) {
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, kind, nullptr, 0, path))) << kind;
    refused.push_back(std::string(path) + "\\");
    refused.push_back(std::string(path) + "\\Viewer\\");
  }
  // A program folder already under Program Files is that program's.
  ASSERT_TRUE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path)));
  std::string program_files = std::string(path) + "\\";
  refused.push_back(program_files + "Internet Explorer\\");
  refused.push_back(program_files + "Common Files\\Viewer\\");
  // The Windows folder through a folder link and through a mapped drive.
  ASSERT_EQ(MakeSymbolicLink(root_ + "winlink", windows), 1);
  refused.push_back(root_ + "winlink\\system32\\");
  refused.push_back(root_ + "winlink\\Viewer\\");
  MappedDrive mapped(windows);
  ASSERT_FALSE(mapped.drive().empty());
  refused.push_back(mapped.drive() + "\\system32\\");
  refused.push_back(mapped.drive() + "\\Viewer\\");
  for (const std::string& location : refused) {
    EXPECT_EQ(KwJudgeLocation(location.c_str(), folders, nullptr), KwLocationCheck::kProtected)
        << location;
  }
  for (const std::string& location : {program_files + "Kw New Product\\", root_ + "App\\"}) {
    EXPECT_EQ(KwJudgeLocation(location.c_str(), folders, nullptr), KwLocationCheck::kOk)
        << location;
  }
}

TEST_F(KwFilesTest, OnlyTheRegisteredCopyMayUninstall) {
  KwState& s = KwGlobal();
  CreateDirectoryA((root_ + "App").c_str(), nullptr);
  CreateDirectoryA((root_ + "Downloads").c_str(), nullptr);
  Write(root_ + "App\\SETUP.EXE", "x");
  Write(root_ + "Downloads\\SETUP.EXE", "x");
  KwCopy(s.installed_program, sizeof s.installed_program, (root_ + "App\\SETUP.EXE").c_str());
  // The same file however it is named.
  EXPECT_EQ(KwMayUninstall((root_ + "Downloads\\..\\app\\.\\setup.exe").c_str()), 1);
  EXPECT_TRUE(Questions().empty());
  EXPECT_EQ(KwMayUninstall((root_ + "Downloads\\SETUP.EXE").c_str()), 0);
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0].text,
            "\"" + root_ +
                "Downloads\\SETUP.EXE\" is not the installed copy of \"Unit Title\", which is \"" +
                root_ + "App\\SETUP.EXE\". Nothing was deleted.");
  EXPECT_EQ(Questions()[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  s.installed_program[0] = '\0';
  EXPECT_EQ(KwMayUninstall((root_ + "App\\SETUP.EXE").c_str()), 0);
  ASSERT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Questions()[1].text, "\"Unit Title\" is not installed. Nothing was deleted.");
}

TEST_F(KwFilesTest, TheInstalledCopysOwnFolderIsTheOneSwept) {
  KwState& s = KwGlobal();
  KwInstallPathHooks();
  CreateDirectoryA((root_ + "App").c_str(), nullptr);
  Write(root_ + "App\\SETUP.EXE", "x");
  // An entry spelled with dots still names the copy in App.
  KwCopy(s.installed_program, sizeof s.installed_program,
         (root_ + "App\\.\\sub\\..\\SETUP.EXE").c_str());
  KwCopy(s.location, sizeof s.location, "C:\\.\\");
  EXPECT_EQ(KwMayUninstall((root_ + "app\\setup.exe").c_str()), 1);
  EXPECT_STREQ(s.location, (root_ + "App\\").c_str());
  EXPECT_TRUE(Questions().empty());
  // Roots and the system's folders are refused, however they are spelled.
  char windows[MAX_PATH], system[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  GetSystemDirectoryA(system, sizeof system);
  const struct {
    std::string program;
    const char* why;
  } refused[] = {
      {"C:\\.\\SETUP.EXE", "is a drive root"},
      {"C:\\Windows\\..\\SETUP.EXE", "is a drive root"},
      {std::string(windows) + "\\.\\SETUP.EXE", "is a folder of the system or a user profile"},
      {std::string(system) + "\\SETUP.EXE", "is a folder of the system or a user profile"},
      {std::string(windows) + "\\..\\SETUP.EXE", "is a drive root"},
  };
  for (const auto& r : refused) {
    Questions().clear();
    KwCopy(s.installed_program, sizeof s.installed_program, r.program.c_str());
    EXPECT_EQ(KwMayUninstall(r.program.c_str()), 0) << r.program;
    ASSERT_EQ(Questions().size(), 1u) << r.program;
    EXPECT_NE(Questions()[0].text.find(r.why), std::string::npos) << Questions()[0].text;
  }
  // The profiles: the user's own and the folder that holds them all.
  char profile[MAX_PATH];
  ASSERT_NE(GetEnvironmentVariableA("USERPROFILE", profile, sizeof profile), 0u);
  std::vector<KwProtectedFolder> folders = KwSystemFolders();
  for (const std::string& location : {std::string(profile) + "\\", std::string(profile) + "\\..\\",
                                      std::string(profile) + "\\..\\Someone Else\\"}) {
    EXPECT_EQ(KwJudgeLocation(location.c_str(), folders, nullptr), KwLocationCheck::kProtected)
        << location;
  }
  EXPECT_EQ(KwJudgeLocation((std::string(profile) + "\\Apps\\Viewer\\").c_str(), folders, nullptr),
            KwLocationCheck::kOk);
}

TEST_F(KwFilesTest, NamesCompareAsWindowsComparesThem) {
  KwInstallPathHooks();
  // In the ANSI code page: capital and small A with diaeresis.
  char upper[2] = {0, 0}, lower[2] = {0, 0};
  BOOL lossy = FALSE;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\x00C4", 1, upper, 1, nullptr, &lossy), 1);
  if (lossy) GTEST_SKIP() << "code page " << GetACP() << " has no A with diaeresis";
  WideCharToMultiByte(CP_ACP, 0, L"\x00E4", 1, lower, 1, nullptr, nullptr);
  std::string a = std::string("C:\\") + upper + "rger\\",
              b = std::string("c:\\") + lower + "RGER\\";
  EXPECT_EQ(KwSamePath(a.c_str(), b.c_str()), 1);
  EXPECT_EQ(KwSamePath(a.c_str(), "C:\\Orger\\"), 0);
  // The right copy, found under either spelling, may uninstall.
  CreateDirectoryA((root_ + a.substr(3)).c_str(), nullptr);
  Write(root_ + a.substr(3) + "SETUP.EXE", "x");
  KwCopy(KwGlobal().installed_program, sizeof KwGlobal().installed_program,
         (root_ + a.substr(3) + "SETUP.EXE").c_str());
  EXPECT_EQ(KwMayUninstall((root_ + b.substr(3) + "setup.exe").c_str()), 1);
  EXPECT_TRUE(Questions().empty());
}

// A shell link to target, as any program would save one.
bool SaveTestLink(const std::string& file, const std::string& target) {
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  IShellLinkA* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link)))) {
    return false;
  }
  link->SetPath(target.c_str());
  IPersistFile* persist = nullptr;
  bool saved =
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Save(wide, TRUE));
  if (persist) persist->Release();
  link->Release();
  return saved;
}

TEST_F(KwFilesTest, OnlyLinksToTheInstalledProgramAreRemoved) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  std::string program = root_ + "App\\app.exe";
  ASSERT_TRUE(SaveTestLink(root_ + "Ours.lnk", program));
  ASSERT_TRUE(SaveTestLink(root_ + "Theirs.lnk", "C:\\windows\\notepad.exe"));
  ASSERT_TRUE(SaveTestLink(root_ + "Spelled.lnk", root_ + "App\\.\\APP.EXE"));
  EXPECT_EQ(KwLinkTarget(root_ + "Theirs.lnk"), "C:\\windows\\notepad.exe");
  CoUninitialize();
  KwInstallPathHooks();
  KwShortcutRemoval plan;
  plan.kind = kKwDesktop;
  plan.files = {root_ + "Ours.lnk", root_ + "Theirs.lnk", root_ + "Spelled.lnk",
                root_ + "Missing.lnk"};
  plan.targets = {program, program, program, program};
  std::vector<std::string> kept = RemoveShortcuts(plan);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0], root_ + "Theirs.lnk");
  EXPECT_FALSE(Exists(root_ + "Ours.lnk"));
  EXPECT_FALSE(Exists(root_ + "Spelled.lnk"));
  EXPECT_TRUE(Exists(root_ + "Theirs.lnk"));
}

TEST_F(KwFilesTest, RemovalCaptionIsWideWhateverTheCodePage) {
  EXPECT_EQ(KwRemovalCaption(), std::wstring(L"Unit Title\x306e\x524a\x9664"));
}

TEST_F(KwFilesTest, MissingFileCountsAsDeleted) {
  EXPECT_EQ(DeleteInstalledFile((root_ + "never.txt").c_str()), 1);
  Write(root_ + "held.txt", "x");
  HANDLE held = CreateFileA((root_ + "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  EXPECT_EQ(DeleteInstalledFile((root_ + "held.txt").c_str()), 0);
  CloseHandle(held);
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0].text, "Failed to delete " + root_ + "held.txt. Skipping this file.");
}

TEST_F(KwFilesTest, RegistryTreeGoesWithItsSubkeys) {
  const char* base = "Software\\KwUnitTest";
  std::string key = std::string(base) + std::to_string(GetCurrentProcessId());
  for (const char* sub : {"\\A\\Deep", "\\B", "\\C\\X\\Y"}) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (key + sub).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, "v", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegCloseKey(k);
  }
  DeleteRegTree(HKEY_CURRENT_USER, key.c_str());
  HKEY k;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  // An empty or backslash-led subkey names nothing, never the root or a
  // key the entry did not name.
  std::string kept = key + "Kept";
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kept.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k,
                            nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
  DeleteRegTree(HKEY_CURRENT_USER, "");
  DeleteRegTree(HKEY_CURRENT_USER, ("\\" + kept).c_str());
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kept.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  RegCloseKey(k);
  // Under HKEY_CLASSES_ROOT the system reads past a leading backslash:
  // there "\\" opens the root itself, and a walk from it would try every
  // class key. Nothing is even opened.
  std::string class_key = "KwUnitClass" + std::to_string(GetCurrentProcessId());
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (class_key + "\\Sub").c_str(), 0, nullptr, 0,
                            KEY_WRITE, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "\\", 0, KEY_READ, &k), ERROR_SUCCESS);
  RegCloseKey(k);
  KwResetRegistryOpenCount();
  DeleteRegTree(HKEY_CLASSES_ROOT, "\\");
  DeleteRegTree(HKEY_CLASSES_ROOT, ("\\" + class_key).c_str());
  EXPECT_EQ(KwRegistryOpenCount(), 0u);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, (class_key + "\\Sub").c_str(), 0, KEY_READ, &k),
            ERROR_SUCCESS);
  RegCloseKey(k);
  DeleteRegTree(HKEY_CLASSES_ROOT, class_key.c_str());
  EXPECT_EQ(KwRegistryOpenCount(), 2u);
  EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, class_key.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &k), ERROR_SUCCESS);
  RegCloseKey(k);
  DeleteRegTree(HKEY_CURRENT_USER, kept.c_str());
}

TEST_F(KwFilesTest, WininitKeepsEarlierRenamesAndReplacesCtrlZ) {
  std::string ini = root_ + "WININIT.INI";
  Write(ini, "[Rename]\r\nNUL=C:\\OLD1.EXE\r\nNUL=C:\\OLD2.EXE\r\n\x1a");
  Write(root_ + "gone.exe", "x");
  ASSERT_EQ(KwAppendWininitRename(ini.c_str(), (root_ + "gone.exe").c_str()), 1);
  std::string text = Read(ini);
  EXPECT_EQ(text.find('\x1a'), std::string::npos) << text;
  EXPECT_NE(text.find("NUL=C:\\OLD1.EXE\r\nNUL=C:\\OLD2.EXE\r\nNUL="), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  // One section only, and a fresh file is made when there is none.
  EXPECT_EQ(text.find("[Rename]"), text.rfind("[Rename]")) << text;
  std::string fresh = root_ + "NEW.INI";
  ASSERT_EQ(KwAppendWininitRename(fresh.c_str(), "C:\\X.EXE"), 1);
  EXPECT_EQ(Read(fresh), "[Rename]\r\nNUL=C:\\X.EXE\r\n");
}

TEST_F(KwFilesTest, UninstallEntryIsWrittenAndReadBack) {
  KwState& s = KwGlobal();
  std::string folder = "KwUnitEntry" + std::to_string(GetCurrentProcessId());
  std::strcpy(s.folder, folder.c_str());
  std::strcpy(s.location, "C:\\Program Files\\X\\");
  std::strcpy(s.program_file, "SETUP.EXE");
  WriteUninstallEntry();
  KwInstallWin32Platform();
  char got[kKwPathSize] = "";
  ASSERT_EQ(KwPlatformHooks().read_uninstall_string(s.folder, got, sizeof got), 1);
  EXPECT_STREQ(got, "\"C:\\Program Files\\X\\SETUP.EXE\" /r");
  char location[kKwPathSize];
  ASSERT_EQ(KwLocationFromUninstallString(got, location, sizeof location), 1);
  EXPECT_STREQ(location, "C:\\Program Files\\X\\");
  DeleteRegTree(HKEY_LOCAL_MACHINE, KwUninstallKey().c_str());
  EXPECT_EQ(KwPlatformHooks().read_uninstall_string(s.folder, got, sizeof got), 0);
}

}  // namespace
