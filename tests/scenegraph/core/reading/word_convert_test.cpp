#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "scenegraph/core/reading/word_convert.h"

TEST(WordConvert, KeywordIndex) {
  const char* const table[] = {"Group", "Shape", "Box", nullptr};
  EXPECT_EQ(KsKeywordIndex("Group", table), 0);
  EXPECT_EQ(KsKeywordIndex("Box", table), 2);
  EXPECT_EQ(KsKeywordIndex("box", table), -1);
  EXPECT_EQ(KsKeywordIndex("Shap", table), -1);
  EXPECT_EQ(KsKeywordIndex(nullptr, table), -1);
}

TEST(WordConvert, ParseInt) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"0xff", 255},
      {"0XFF", 0},
      {"-7", -7},
      {"+12", 12},
      {"12abc", 12},
      {"0x1G", 16},
      {"-0x10", -16},
      {"", 0},
      {"abc", 0},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"0xFFFFFFFF", -1},
      {"007", 7},
  };
  for (const Case& c : cases) EXPECT_EQ(KsParseInt(c.text), c.value) << c.text;
  EXPECT_EQ(KsParseInt(nullptr), 0);
}

// Numbers beyond the int range never wrap round: they give the nearest int
// and the checked form refuses them.
TEST(WordConvert, ParseIntOutOfRange) {
  struct Case {
    const char* text;
    int value;
    int refused;
  } cases[] = {
      {"2147483647", INT32_MAX, 0},           {"-2147483648", INT32_MIN, 0},
      {"2147483648", INT32_MAX, 1},           {"-2147483649", INT32_MIN, 1},
      {"99999999999999999999", INT32_MAX, 1}, {"-99999999999999999999", INT32_MIN, 1},
      {"4294967297", INT32_MAX, 1},           {"0xFFFFFFFF", -1, 0},
      {"-0x80000000", INT32_MIN, 0},          {"0x100000000", INT32_MAX, 1},
      {"-0x1FFFFFFFF", INT32_MIN, 1},         {"--2147483649", INT32_MAX, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KsParseInt(c.text), c.value) << c.text;
    int v = 12345;
    EXPECT_EQ(KsParseIntChecked(c.text, &v), c.refused) << c.text;
    EXPECT_EQ(v, c.value) << c.text;
  }
}

TEST(WordConvert, ParseUnsigned) {
  EXPECT_EQ(KsParseUnsigned("0xFF"), 255u);
  EXPECT_EQ(KsParseUnsigned("255"), 255u);
  EXPECT_EQ(KsParseUnsigned("0xFF000080"), 0xFF000080u);
  EXPECT_EQ(KsParseUnsigned("4278190208"), 0xFF000080u);
  EXPECT_EQ(KsParseUnsigned("0x00"), 0u);
  EXPECT_EQ(KsParseUnsigned(nullptr), 0u);
}

TEST(WordConvert, CopyUpper) {
  char buffer[256];
  EXPECT_STREQ(KsCopyUpper(buffer, "tRue-1_z"), "TRUE-1_Z");
  EXPECT_STREQ(KsCopyUpper(buffer, ""), "");
  EXPECT_EQ(KsCopyUpper(nullptr, "a"), nullptr);
  EXPECT_EQ(KsCopyUpper(buffer, nullptr), nullptr);
}

TEST(WordConvert, NormalizeEventName) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"set_fraction", "fraction"},
      {"value_changed", "value"},
      {"set_value_changed", "value_changed"},
      {"changed", "changed"},
      {"_changed", ""},
      {"translation", "translation"},
      {"a_changed_b", "a_changed_b"},
      {"set_", ""},
  };
  for (const Case& c : cases) {
    char name[64];
    std::strcpy(name, c.in);
    EXPECT_EQ(KsNormalizeEventName(name), 0);
    EXPECT_STREQ(name, c.out) << c.in;
  }
}

namespace {
uint64_t Bits(double d) {
  uint64_t b;
  std::memcpy(&b, &d, sizeof b);
  return b;
}
}  // namespace

TEST(WordConvert, ParseDoubleIsDecimalOnlyAndExact) {
  struct Case {
    const char* text;
    double value;
    int used;  // characters consumed
  } cases[] = {
      {"1.5", 1.5, 3},
      {"-2", -2.0, 2},
      {"+3", 3.0, 2},
      {".5", 0.5, 2},
      {"5.", 5.0, 2},
      {"1e3", 1000.0, 3},
      {"1E-2", 0.01, 4},
      {"1e", 1.0, 1},
      {"2e+", 2.0, 1},
      {"  7x", 7.0, 3},
      {"abc", 0.0, 0},
      {".", 0.0, 0},
      {"-", 0.0, 0},
      {"inf", 0.0, 0},
      {"nan", 0.0, 0},
      {"infinity", 0.0, 0},
      {"0x10", 0.0, 1},
      {"1,2", 1.0, 1},
      {"0.1", 0.1, 3},
      {"1e-400", 0.0, 6},
      {"-0", -0.0, 2},
      {"3.14159265358979323846", 3.14159265358979323846, 22},
      {"2.2250738585072011e-308", 2.2250738585072011e-308, 23},
      {"4.9406564584124654e-324", 4.9406564584124654e-324, 23},
      {"1.7976931348623157e308", 1.7976931348623157e308, 22},
      {"0.000000000000000000000000000001e30", 1.0, 35},
      {"123456789012345678901234567890", 123456789012345678901234567890.0, 30},
  };
  for (const Case& c : cases) {
    const char* end = nullptr;
    double v = KsParseDouble(c.text, &end);
    EXPECT_EQ(Bits(v), Bits(c.value)) << c.text << " gave " << v;
    EXPECT_EQ(end - c.text, c.used) << c.text;
  }
  EXPECT_EQ(Bits(KsParseDouble("0.1")), 0x3FB999999999999Aull);
  EXPECT_EQ(KsParseDouble("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(KsParseDouble("-1e99999999999"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(KsParseDouble("1e-99999999999"), 0.0);
  EXPECT_EQ(KsParseDouble(nullptr), 0.0);
  // Float results the fields store come out the same in every build.
  EXPECT_EQ((float)KsParseDouble("0.7"), 0.7f);
  EXPECT_EQ((float)KsParseDouble("16777217"), 16777216.0f);
}

// Fields hold floats: a number beyond their range is clamped, with a
// warning, rather than stored as an infinity that no reader takes back.
TEST(WordConvert, ParseFloatClampsOverflowAndWarns) {
  const float kMax = std::numeric_limits<float>::max();
  struct Case {
    const char* text;
    float value;
    bool warns;
  } cases[] = {
      {"1e39", kMax, true},
      {"-1e39", -kMax, true},
      {"1e400", kMax, true},
      {"-1e99999999999", -kMax, true},
      // The shortest text of the largest float, and the last double that
      // still rounds to it, are in range; halfway to 2^128 is not.
      {"3.4028235e38", kMax, false},
      {"3.4028235677973362e38", kMax, false},
      {"340282356779733661637539395458142568448", kMax, true},
      {"1e-45", std::numeric_limits<float>::denorm_min(), false},
      {"1e-50", 0.0f, false},
      {"0.00001", 1e-5f, false},
      {"-0", -0.0f, false},
      {"abc", 0.0f, false},
      // Not decimal numbers: 0, and told.
      {"inf", 0.0f, true},
      {"-Infinity", 0.0f, true},
      {"nan", 0.0f, true},
      {"-nan", 0.0f, true},
  };
  for (const Case& c : cases) {
    testing::internal::CaptureStderr();
    const float v = KsParseFloat(c.text);
    const std::string warning = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::memcmp(&v, &c.value, sizeof v), 0) << c.text << " gave " << v;
    EXPECT_EQ(!warning.empty(), c.warns) << c.text << ": " << warning;
    if (c.warns) {
      EXPECT_NE(warning.find(c.text), std::string::npos) << warning;
    }
  }
  EXPECT_EQ(KsParseFloat(nullptr), 0.0f);
}

// A float is rounded once from the text, as strtof rounds it: through a
// double first, a text just past a halfway point between two floats lands
// on it and then rounds to even, one step off.
TEST(WordConvert, ParseFloatRoundsOnceAsStrtof) {
  const char* texts[] = {
      "1.0000000596046448",  // just above 1 + 2^-24: strtof gives 1.00000012
      "1.00000005960464477539062500001",
      "1.0000000596046447",     // just below: 1
      "16777217.000000001",     // just above 2^24 + 1
      "16777217",               // a tie, to even
      "3.4028235677973362e38",  // the largest float, not beyond it
      "1.4012984643248170e-45",
      "7.0064923216240862e-46",  // halfway to the smallest: to even, 0
      "7.0064923216240863e-46",
      "0.1",
      "0.7",
      "123456.789",
      "-2.5e-3",
      "1e-38",
  };
  for (const char* text : texts) {
    const float expected = std::strtof(text, nullptr);
    const float v = KsParseFloat(text);
    EXPECT_EQ(std::memcmp(&v, &expected, sizeof v), 0)
        << text << " gave " << v << ", strtof " << expected;
  }
  EXPECT_EQ(KsParseFloat("1.0000000596046448"), 1.00000012f);
}
