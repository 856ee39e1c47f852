#include "graphics/files/paths.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(NormalizePath, SeparatorsAndColons) {
  struct Case {
    const char* path;
    const char* out;
  } cases[] = {
      {"C:\\worlds\\a.wrl", "C:/worlds/a.wrl"},
      {"dir\\sub:x\\f", "dir/sub/x/f"},
      {"a:b:c", "a:b/c"},
      {":x", "/x"},
      {"\\\\server\\share\\f.srf", "\\\\server\\share\\f.srf"},
      {"\\single\\f", "/single/f"},
      {"plain/name", "plain/name"},
  };
  for (const Case& c : cases) {
    char out[kPwPathSize];
    EXPECT_EQ(PwNormalizePath(out, sizeof out, c.path),
              static_cast<int>(std::string(c.path).size()));
    EXPECT_STREQ(out, c.out) << c.path;
  }
}

TEST(NormalizePath, EmptyNullAndTooLongGiveZero) {
  char out[kPwPathSize] = "junk";
  EXPECT_EQ(PwNormalizePath(out, sizeof out, ""), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(PwNormalizePath(out, sizeof out, nullptr), 0);

  // Dialogs and dropped files give up to 259 characters.
  std::string longest(255, 'p');
  EXPECT_EQ(PwNormalizePath(out, sizeof out, longest.c_str()), 255);
  std::string too_long(259, 'p');
  char guarded[kPwPathSize + 8];
  std::memset(guarded, 'G', sizeof guarded);
  EXPECT_EQ(PwNormalizePath(guarded, kPwPathSize, too_long.c_str()), 0);
  EXPECT_EQ(guarded[0], '\0');
  for (size_t i = kPwPathSize; i < sizeof guarded; ++i) EXPECT_EQ(guarded[i], 'G');
  EXPECT_EQ(PwNormalizePath(out, 0, "x"), 0);
}

}  // namespace
