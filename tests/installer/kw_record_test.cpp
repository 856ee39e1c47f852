// The record of what an install wrote, as the registry keeps it.
#include <string>
#include <vector>

#include "installer/core/kw_record.h"
#include "tests/installer/kw_fixture.h"

namespace {

using KwRecordTest = KwFixture;

TEST_F(KwRecordTest, RecordSurvivesTheRegistrysMultiString) {
  std::vector<std::string> files = {"C:\\App\\app.exe", "C:\\App\\doc\\readme.txt"};
  std::string data = KwRecordToMultiString(files);
  EXPECT_EQ(data, std::string("C:\\App\\app.exe\0C:\\App\\doc\\readme.txt\0\0", 38));
  EXPECT_EQ(KwRecordFromMultiString(data.data(), data.size()), files);
  EXPECT_TRUE(KwRecordFromMultiString("\0", 1).empty());
  // A hand-edited value: relative names count for nothing, a missing final
  // terminator loses only the unfinished name, and reading stops at the
  // list's end.
  const char edited[] = "app.exe\0..\\x.dll\0C:\\App\\ok.dll\0\0C:\\Windows\\win.ini\0C:\\App\\cut";
  EXPECT_EQ(KwRecordFromMultiString(edited, sizeof edited - 1),
            std::vector<std::string>{"C:\\App\\ok.dll"});
}

TEST_F(KwRecordTest, NamesCompareAsTheFileSystemComparesThem) {
  std::vector<std::string> list;
  KwRecordAdd(&list, "C:\\App\\APP.EXE");
  KwRecordAdd(&list, "c:\\app\\app.exe");
  EXPECT_EQ(list.size(), 1u);
  EXPECT_EQ(KwRecordHas(list, "C:\\APP\\app.exe"), 1);
  EXPECT_EQ(KwRecordHas(list, "C:\\App\\app.exe2"), 0);
}

}  // namespace
