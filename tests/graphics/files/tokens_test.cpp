#include "graphics/files/tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(std::string text, int max = 127) {
  std::vector<char> line(text.begin(), text.end());
  line.push_back('\0');
  std::vector<char*> vector(static_cast<size_t>(max) + 1, reinterpret_cast<char*>(1));
  int count = -1;
  PwSplitTokens(&count, vector.data(), max, line.data());
  EXPECT_EQ(vector[static_cast<size_t>(count)], nullptr);
  std::vector<std::string> out;
  for (int i = 0; i < count; ++i) out.emplace_back(vector[static_cast<size_t>(i)]);
  return out;
}

using Tokens = std::vector<std::string>;

TEST(SplitTokens, TableOfLines) {
  struct Case {
    const char* line;
    Tokens tokens;
  } cases[] = {
      {"  PST  \r\n", {"PST"}},
      {"VER 1.5\t2", {"VER", "1.5", "2"}},
      {"\"a b\" d", {"a b", "d"}},
      {"\"open", {"open"}},
      {"", {}},
      {" \t ", {}},
      {"\"\" x", {"", "x"}},
      {"ab\"cd ef", {"ab\"cd", "ef"}},
      {"\"a b\"c", {"a b", "c"}},
      {"x\x7f", {"x"}},
      {"a   \t", {"a"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.line), c.tokens) << c.line;
}

TEST(SplitTokens, StopsAtMaxWithNullAfterLast) {
  EXPECT_EQ(Split("a b d", 2), (Tokens{"a", "b"}));
  EXPECT_EQ(Split("a b", 0), Tokens{});
}

TEST(SplitTokens, HighBytesAtEndAreText) {
  EXPECT_EQ(Split("caf\xe9"), Tokens{"caf\xe9"});
  EXPECT_EQ(Split("x \xa0\n"), (Tokens{"x", "\xa0"}));
}

TEST(SplitTokens, NullLineGivesNoTokens) {
  char* vector[2] = {reinterpret_cast<char*>(1), reinterpret_cast<char*>(1)};
  int count = -1;
  PwSplitTokens(&count, vector, 1, nullptr);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(vector[0], nullptr);
}

TEST(FindKeyword, FirstPrefixWinsCaseSensitive) {
  const char* const table[] = {"PST", "PLL", "LSQ", "PLG", "ENDPICT", "REM", nullptr};
  int index = -1;
  EXPECT_EQ(PwFindKeyword(&index, "ENDPICTURE", table), 1);
  EXPECT_EQ(index, 4);
  EXPECT_EQ(PwFindKeyword(&index, "pst", table), 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(PwFindKeyword(&index, "PL", table), 0);  // shorter than every keyword
  const char* const srf[] = {"V", "F", "C", "N", "E", nullptr};
  EXPECT_EQ(PwFindKeyword(&index, "VER", srf), 1);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(PwFindKeyword(&index, "END", srf), 1);
  EXPECT_EQ(index, 4);
}

TEST(UpperCase, OnlyLettersChange) {
  char text[] = "abc-XYZ_09\xe9z";
  PwUpperCase(text);
  EXPECT_STREQ(text, "ABC-XYZ_09\xe9Z");
}

TEST(SplitPath, FolderKeepsSeparatorAndDrive) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  } cases[] = {
      {"C:\\models\\car.srf", "C:\\models\\", "car.srf"},
      {"a/b/c.txt", "a/b/", "c.txt"},
      {"file.srf", "", "file.srf"},
      {"C:file.srf", "", "C:file.srf"},
      {"dir/", "dir/", ""},
      {"vol:x", "vol:", "x"},
  };
  for (const Case& c : cases) {
    char folder[kPwSplitPathSize], name[kPwSplitPathSize];
    EXPECT_EQ(PwSplitPath(folder, name, c.path), 1);
    EXPECT_STREQ(folder, c.folder) << c.path;
    EXPECT_STREQ(name, c.name) << c.path;
  }
}

TEST(SplitPath, RefusesPathThatDoesNotFit) {
  std::string path(300, 'a');
  char folder[kPwSplitPathSize] = "x", name[kPwSplitPathSize] = "x";
  EXPECT_EQ(PwSplitPath(folder, name, path.c_str()), 0);
  EXPECT_STREQ(folder, "");
  EXPECT_STREQ(name, "");
}

}  // namespace
