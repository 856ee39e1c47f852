// The Win32 helpers of the install and uninstall against real files,
// folders and registry keys, with message boxes answered by the test.
#include <windows.h>
#include <winioctl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "installer/core/kw_config.h"
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
  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  static void DeleteTreeQuietly(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          DeleteTreeQuietly(folder + name + "\\");
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

  // Held open without sharing: the copy cannot overwrite it.
  HANDLE held = CreateFileA(s.entry_dest, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CopyInstallFile(), 0);
  CloseHandle(held);
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0].text, std::string(s.entry_dest) + " is used by other process. Cannot overwrite this file.");

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
  EXPECT_EQ(Questions()[0].flags, static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));
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

// A junction is made with the reparse-point call; 0 when the system
// cannot make one.
int MakeJunction(const std::string& link, const std::string& target) {
  if (!CreateDirectoryA(link.c_str(), nullptr)) return 0;
  HANDLE h = CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  std::wstring substitute = L"\\??\\";
  for (char c : target) substitute += static_cast<wchar_t>(c);
  std::wstring print;
  // Mount-point reparse data: tag, lengths, offsets, then both names.
  std::vector<BYTE> data(8 + 8 + (substitute.size() + 1 + print.size() + 1) * sizeof(wchar_t));
  auto put16 = [&](std::size_t at, std::size_t v) {
    data[at] = static_cast<BYTE>(v & 0xFF);
    data[at + 1] = static_cast<BYTE>(v >> 8);
  };
  DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
  std::memcpy(data.data(), &tag, sizeof tag);
  put16(4, data.size() - 8);
  std::size_t sub_bytes = substitute.size() * sizeof(wchar_t);
  put16(8, 0);
  put16(10, sub_bytes);
  put16(12, sub_bytes + sizeof(wchar_t));
  put16(14, print.size() * sizeof(wchar_t));
  std::memcpy(data.data() + 16, substitute.c_str(), sub_bytes);
  DWORD got = 0;
  BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, data.data(), static_cast<DWORD>(data.size()), nullptr, 0,
                            &got, nullptr);
  CloseHandle(h);
  if (!ok) RemoveDirectoryA(link.c_str());
  return ok ? 1 : 0;
}

TEST_F(KwFilesTest, FolderTreeDoesNotFollowAJunctionOutside) {
  std::string outside = root_ + "outside\\";
  std::string tree = root_ + "app\\";
  CreateDirectoryA((root_ + "outside").c_str(), nullptr);
  CreateDirectoryA((root_ + "app").c_str(), nullptr);
  Write(outside + "precious.txt", "keep");
  if (!MakeJunction(tree + "data", root_ + "outside")) GTEST_SKIP() << "no junctions on this system";
  ASSERT_NE(GetFileAttributesA((tree + "data").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT, 0u);
  // Every question answered Yes: only the link itself may go.
  NextAnswer() = IDYES;
  EXPECT_EQ(DeleteFolderTree(tree.c_str()), 1);
  EXPECT_TRUE(Exists(outside + "precious.txt"));
  EXPECT_FALSE(Exists(root_ + "app"));
  ASSERT_EQ(Questions().size(), 1u);
  EXPECT_EQ(Questions()[0].text, "Delete \"" + tree + "data\"?");
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
  EXPECT_EQ(Questions()[0].text, "\"" + root_ + "Downloads\\SETUP.EXE\" is not the installed copy of \"Unit Title\", which is \"" +
                                     root_ + "App\\SETUP.EXE\". Nothing was deleted.");
  EXPECT_EQ(Questions()[0].flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
  s.installed_program[0] = '\0';
  EXPECT_EQ(KwMayUninstall((root_ + "App\\SETUP.EXE").c_str()), 0);
  ASSERT_EQ(Questions().size(), 2u);
  EXPECT_EQ(Questions()[1].text, "\"Unit Title\" is not installed. Nothing was deleted.");
}

TEST_F(KwFilesTest, RemovalCaptionIsWideWhateverTheCodePage) {
  EXPECT_EQ(KwRemovalCaption(), std::wstring(L"Unit Title\x306e\x524a\x9664"));
}

TEST_F(KwFilesTest, MissingFileCountsAsDeleted) {
  EXPECT_EQ(DeleteInstalledFile((root_ + "never.txt").c_str()), 1);
  Write(root_ + "held.txt", "x");
  HANDLE held = CreateFileA((root_ + "held.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
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
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (key + sub).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
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
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kept.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(k);
  DeleteRegTree(HKEY_CURRENT_USER, "");
  DeleteRegTree(HKEY_CURRENT_USER, ("\\" + kept).c_str());
  EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kept.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
  RegCloseKey(k);
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
