// The dialogs' portable halves: number texts and parsing, file filters and
// paths, colour values.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "viewer/toolkit/color_value.h"
#include "viewer/toolkit/file_filter.h"
#include "viewer/toolkit/number_dialog.h"

namespace {

std::string Field(const kr::NumberRequest& r, int index) {
  char text[kr::kNumberTextSize];
  kr::FormatNumberField(r, index, text, sizeof text);
  return text;
}

TEST(NumberDialog, ShowsIntegersFloatsAndWholeDegrees) {
  const int ints[3] = {-7, 0, 123456};
  kr::NumberRequest r = kr::MakeIntRequest(kr::kModeInt, 3, ints, "T", nullptr, nullptr);
  EXPECT_EQ(Field(r, 0), "-7");
  EXPECT_EQ(Field(r, 2), "123456");
  EXPECT_STREQ(kr::OkLabel(r), "OK");
  EXPECT_STREQ(kr::CancelLabel(r), "Cancel");

  kr::NumberRequest f = kr::MakeFloatRequest(1, nullptr, nullptr, "Go", "Stop");
  EXPECT_EQ(Field(f, 0), "0.00");  // null initial values are zeros
  f.floats[0] = 2.5f;
  EXPECT_EQ(Field(f, 0), "2.50");
  f.floats[0] = -0.125f;
  EXPECT_EQ(Field(f, 0), "-0.12");
  f.floats[0] = 3.0e38f;  // fits the edit's buffer
  EXPECT_EQ(Field(f, 0).size(), 42u);
  EXPECT_STREQ(kr::OkLabel(f), "Go");
  EXPECT_STREQ(kr::CancelLabel(f), "Stop");

  const int angles[3] = {16384, -16384, 8191};
  kr::NumberRequest a = kr::MakeIntRequest(kr::kModeAngle, 3, angles, nullptr, nullptr, nullptr);
  EXPECT_EQ(Field(a, 0), "90");
  EXPECT_EQ(Field(a, 1), "-90");
  EXPECT_EQ(Field(a, 2), "44");  // truncated toward zero
}

TEST(NumberDialog, LabelsFollowTheMode) {
  EXPECT_STREQ(kr::NumberLabel(kr::kModeInt, 0), "X:");
  EXPECT_STREQ(kr::NumberLabel(kr::kModeFloat, 2), "Z:");
  EXPECT_STREQ(kr::NumberLabel(kr::kModeAngle, 0), "H:");
  EXPECT_STREQ(kr::NumberLabel(kr::kModeAngle, 1), "P:");
  EXPECT_STREQ(kr::NumberLabel(kr::kModeAngle, 2), "B:");
  EXPECT_EQ(kr::NumberEditId(2), 1013);
  EXPECT_EQ(kr::NumberLabelId(0), 1009);
}

TEST(NumberDialog, ReadsEditsAsAtoiAndAtofWould) {
  kr::NumberRequest r = kr::MakeIntRequest(kr::kModeInt, 3, nullptr, nullptr, nullptr, nullptr);
  struct {
    const char* text;
    int value;
  } ints[] = {{"42", 42},
              {"  -17xyz", -17},
              {"", 0},
              {"abc", 0},
              {"+8", 8},
              {"99999999999999999999", INT_MAX},
              {"-99999999999", INT_MIN}};
  for (const auto& c : ints) {
    kr::ParseNumberField(&r, 1, c.text);
    EXPECT_EQ(r.ints[1], c.value) << c.text;
  }

  kr::NumberRequest f = kr::MakeFloatRequest(2, nullptr, nullptr, nullptr, nullptr);
  kr::ParseNumberField(&f, 0, "2.5");
  EXPECT_EQ(f.floats[0], 2.5f);
  kr::ParseNumberField(&f, 0, " -1e-2junk");
  EXPECT_EQ(f.floats[0], -0.01f);
  kr::ParseNumberField(&f, 1, "1e300");
  EXPECT_TRUE(std::isinf(f.floats[1]) && f.floats[1] > 0);
  kr::ParseNumberField(&f, 1, "nothing");
  EXPECT_EQ(f.floats[1], 0.0f);
}

TEST(NumberDialog, AnglesRoundTripThroughWholeDegrees) {
  kr::NumberRequest a = kr::MakeIntRequest(kr::kModeAngle, 3, nullptr, nullptr, nullptr, nullptr);
  kr::ParseNumberField(&a, 0, "45");
  kr::ParseNumberField(&a, 1, "1");
  kr::ParseNumberField(&a, 2, "-90");
  EXPECT_EQ(a.ints[0], 8192);
  EXPECT_EQ(a.ints[1], 182);
  EXPECT_EQ(a.ints[2], -16384);
  EXPECT_EQ(kr::DegreesFromUnits(182), 0);
  EXPECT_EQ(kr::DegreesFromUnits(INT_MAX), static_cast<int>(INT_MAX * 90LL / 16384));
  EXPECT_EQ(kr::UnitsFromDegrees(INT_MAX), INT_MAX);  // no overflow
  EXPECT_EQ(kr::UnitsFromDegrees(INT_MIN), INT_MIN);
}

std::string FilterText(const char* extension) {
  char filter[kr::kFilterSize];
  std::memset(filter, 'z', sizeof filter);
  kr::BuildFilter(filter, extension);
  // Pairs of strings, ended by an empty one.
  std::string shown;
  const char* p = filter;
  while (*p) {
    shown += std::string(p) + "|";
    p += std::strlen(p) + 1;
  }
  return shown;
}

TEST(FileFilter, AnyFormOfTheExtensionBuildsTheSameFilter) {
  for (const char* e : {"*.wrl", ".wrl", "wrl"}) {
    EXPECT_EQ(FilterText(e), "(*.wrl)|*.wrl|") << e;
    char ext[kr::kExtensionMax + 1];
    kr::DefaultExtension(ext, e);
    EXPECT_STREQ(ext, "wrl");
  }
  // Only one '*' and one '.' go.
  EXPECT_STREQ(kr::ExtensionWord("**.x"), "*.x");
  EXPECT_STREQ(kr::ExtensionWord("..x"), ".x");
  EXPECT_STREQ(kr::ExtensionWord(nullptr), "");
  // A long extension is cut, and the filter stays in its buffer.
  const std::string long_ext(200, 'e');
  EXPECT_EQ(FilterText(long_ext.c_str()),
            "(*." + std::string(63, 'e') + ")|*." + std::string(63, 'e') + "|");
}

TEST(FileFilter, PathsAreCopiedWhenTheyFitAndLowerCased) {
  char out[256];
  EXPECT_EQ(kr::CopyPath(out, sizeof out, "C:\\Data\\World.WRL"), 1);
  kr::LowerAscii(out);
  EXPECT_STREQ(out, "c:\\data\\world.wrl");
  // Only A to Z change.
  std::strcpy(out, "\xC4Z_[@]");
  kr::LowerAscii(out);
  EXPECT_STREQ(out, "\xC4z_[@]");

  const std::string fits(255, 'p'), too_long(256, 'p');
  EXPECT_EQ(kr::CopyPath(out, sizeof out, fits.c_str()), 1);
  EXPECT_EQ(std::strlen(out), 255u);
  EXPECT_EQ(kr::CopyPath(out, sizeof out, too_long.c_str()), 0);
  EXPECT_STREQ(out, "");
  EXPECT_EQ(kr::CopyPath(out, sizeof out, nullptr), 1);
  EXPECT_STREQ(out, "");
}

TEST(ColorValue, ChannelsGoToTheirPlaces) {
  PwColor c = {20, 10, 30};  // green, red, blue
  EXPECT_EQ(kr::RgbFromColor(c), 0x001E140Au);
  PwColor out = {1, 2, 3};
  kr::ColorFromRgb(0x00332211u, &out);
  EXPECT_EQ(out.red, 0x11);
  EXPECT_EQ(out.green, 0x22);
  EXPECT_EQ(out.blue, 0x33);
  PwColor wild = {300, -5, 255};
  EXPECT_EQ(kr::RgbFromColor(wild), 0x00FFFF00u);
}

}  // namespace
