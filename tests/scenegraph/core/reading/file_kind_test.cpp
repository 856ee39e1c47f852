// Which files a read or an export may open.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "scenegraph/core/reading/file_kind.h"

namespace {

TEST(FileKind, DeviceNamesAreKnownInAnyFolderWithAnyExtension) {
  const char* devices[] = {
      "NUL",      "nul",        "Con",         "PRN",          "AUX",
      "COM1",     "com9",       "LPT1",        "CONIN$",       "conout$",
      "NUL.wrl",  "aux.tar.gz", "COM1 .txt",   "C:NUL",        "C:\\folder\\con.wrl",
      "dir/LPT3", "COM1:",      "\\\\.\\COM1", "//./pipe/name"};
  for (const char* name : devices) EXPECT_TRUE(KsIsDeviceName(name)) << name;
  const char* files[] = {"",
                         "scene.wrl",
                         "COM0",
                         "COM10",
                         "LPT0",
                         "CONSOLE.wrl",
                         "nullable.wrl",
                         "auxiliary",
                         "NU",
                         "C:\\NUL\\scene.wrl",
                         "prn_file.wrl",
                         "a.NUL",
                         "\\\\server\\share\\con_x.wrl",
                         "\\\\?\\C:\\x.wrl"};
  for (const char* name : files) EXPECT_FALSE(KsIsDeviceName(name)) << name;
  EXPECT_FALSE(KsIsDeviceName(nullptr));
}

// The handle check alone, on the platform's own null device.
TEST(FileKind, OnlyAStreamOnADiskFileIsOne) {
#ifdef _WIN32
  std::FILE* device = std::fopen("NUL", "rb");
#else
  std::FILE* device = std::fopen("/dev/null", "rb");
#endif
  ASSERT_NE(device, nullptr);
  EXPECT_FALSE(KsIsDiskStream(device));
  std::fclose(device);
  const std::string path = testing::TempDir() + "ks_file_kind.txt";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(KsIsDiskStream(file));
  std::fclose(file);
  EXPECT_FALSE(KsIsDiskStream(nullptr));

  std::FILE* opened = nullptr;
  EXPECT_EQ(KsOpenRegularFile(path.c_str(), "rb", &opened), kKsFileOpened);
  ASSERT_NE(opened, nullptr);
  std::fclose(opened);
  std::remove(path.c_str());
  EXPECT_EQ(KsOpenRegularFile(path.c_str(), "rb", &opened), kKsFileNotFound);
  EXPECT_EQ(opened, nullptr);
  EXPECT_EQ(KsOpenRegularFile(testing::TempDir().c_str(), "rb", &opened), kKsFileNotRegular);
  EXPECT_EQ(KsOpenRegularFile("COM1", "rb", &opened), kKsFileNotRegular);
  EXPECT_EQ(opened, nullptr);
}

}  // namespace
