#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/fields/color_value.h"
#include "scenegraph/core/fields/image_value.h"
#include "scenegraph/core/fields/string_value.h"

using kstest::Parsed;
using kstest::TextStream;

namespace {

struct ImageRead {
  std::string err;
  std::string printed;
  std::string next;  // word under the cursor afterwards
  int width, height, unit;
};

ImageRead ReadImage(const char* text) {
  Parsed p(text);
  KsWordNode cursor = KsMakeCursor(p.root());
  testing::internal::CaptureStderr();
  KsImage image(&cursor);
  ImageRead r;
  r.err = testing::internal::GetCapturedStderr();
  TextStream out;
  EXPECT_EQ(image.Print(&out, 3), 0);
  r.printed = out.out;
  r.next = KsCursorWord(&cursor) ? KsCursorWord(&cursor)->text : "<end>";
  image.GetImage(&r.width, &r.height, &r.unit, nullptr);
  return r;
}

}  // namespace

TEST(StringValue, CopiesAndAssigns) {
  KsString empty;
  EXPECT_EQ(empty.GetText(), nullptr);
  EXPECT_STREQ(empty.GetClassName(), "KsString");
  KsString s("hello");
  KsString copy(s);
  EXPECT_STREQ(copy.GetText(), "hello");
  EXPECT_NE(copy.GetText(), s.GetText());
  EXPECT_EQ(s.Assign(nullptr), 0);
  EXPECT_EQ(s.GetText(), nullptr);
  KsString later(s);
  EXPECT_EQ(later.GetText(), nullptr);
  copy = s;
  EXPECT_EQ(copy.GetText(), nullptr);
}

TEST(StringValue, AssigningItsOwnTextIsSafe) {
  // A route from a field to itself assigns a value its own text.
  KsString s("self assignment");
  EXPECT_EQ(s.Assign(s.GetText()), 0);
  EXPECT_STREQ(s.GetText(), "self assignment");
  EXPECT_EQ(s.Assign(s.GetText() + 5), 0);
  EXPECT_STREQ(s.GetText(), "assignment");
  KsString& alias = s;
  s = alias;
  EXPECT_STREQ(s.GetText(), "assignment");
}

TEST(StringValue, FromWords) {
  Parsed p("first second");
  KsWordNode cursor = KsMakeCursor(p.root());
  KsString a(&cursor);
  EXPECT_STREQ(a.GetText(), "first");
  KsString b(&cursor);
  EXPECT_STREQ(b.GetText(), "second");
  KsString c(&cursor);
  EXPECT_EQ(c.GetText(), nullptr);
  EXPECT_EQ(KsCursorWord(&cursor), nullptr);
}

TEST(ColorValue, FromWords) {
  Parsed p("1 0.5");
  KsWordNode cursor = KsMakeCursor(p.root());
  KsCol c(&cursor);
  EXPECT_EQ(c.r, 1.0f);
  EXPECT_EQ(c.g, 0.5f);
  EXPECT_EQ(c.b, 0.0f);
  EXPECT_EQ(KsCursorWord(&cursor), nullptr);
  Parsed q("2 -1 0.25 next");
  cursor = KsMakeCursor(q.root());
  KsCol d(&cursor);
  EXPECT_EQ(d.r, 2.0f);
  EXPECT_EQ(d.g, -1.0f);
  EXPECT_EQ(d.b, 0.25f);
  EXPECT_STREQ(KsCursorWord(&cursor)->text, "next");
  KsCol e(0.1f, 0.2f, 0.3f);
  EXPECT_EQ(e.g, 0.2f);
  EXPECT_STREQ(e.GetClassName(), "KsCol");
}

TEST(ImageValue, ReadsAndPrints) {
  struct Case {
    const char* text;
    const char* err;
    const char* printed;
    const char* next;
  } cases[] = {
      {"2 1 1 0xFF 0x00", "", "2 1 1 \n255 \n0 ", "<end>"},
      {"1 1 5 7", "KsImage::KsImage()\n  Illegal Unit Length 5. Assuming 4 bytes unit.\n",
       "1 1 4 \n7 \n", "<end>"},
      {"1 1 -2 7", "KsImage::KsImage()\n  Illegal Unit Length -2. Assuming 4 bytes unit.\n",
       "1 1 4 \n7 \n", "<end>"},
      {"1 1 0 44", "KsImage::KsImage()\n  Illegal Unit Length 0. Assuming 1 bytes unit.\n",
       "1 1 1 \n44 \n", "<end>"},
      // The empty image needs no unit.
      {"0 0 0 tail", "", "0 0 0 \n", "tail"},
      {"2 2 1 1 2 3", "KsImage::KsImate()\n  Error near line 1\n", "0 0 0 \n", "<end>"},
      {"1 1 3 16711680 x", "", "1 1 3 \n16711680 \n", "x"},
      {"1 1 3 0xFF0000", "", "1 1 3 \n16711680 \n", "<end>"},
      // A pixel its unit cannot hold is refused with the image, not cut
      // to another colour; the words of the image are passed over.
      {"1 1 2 0x12345 x",
       "KsImage::KsImage()\n  Illegal Pixel 0x12345 for Unit Length 2 near line 1. Image not "
       "read.\n",
       "0 0 0 \n", "x"},
      // Unsigned, so that the value reads back.
      {"1 1 4 0xFF000080", "", "1 1 4 \n4278190208 \n", "<end>"},
      {"0 0 1 tail", "", "0 0 1 \n", "tail"},
      {"1 2", "KsImage::KsImate()\n  Error near line 1\n", "0 0 0 \n", "1"},
      {"10 1 1 1 2 3 4 5 6 7 8 9 10", "", "10 1 1 \n1 \n2 3 4 5 6 7 8 9 \n10 ", "<end>"},
  };
  for (const Case& c : cases) {
    ImageRead r = ReadImage(c.text);
    EXPECT_EQ(r.err, c.err) << c.text;
    EXPECT_EQ(r.printed, c.printed) << c.text;
    EXPECT_EQ(r.next, c.next) << c.text;
  }
  KsWordNode none = KsMakeCursor(nullptr);
  testing::internal::CaptureStderr();
  KsImage empty(&none);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "KsImage::KsImage()\n  No statement.\n");
  EXPECT_EQ(empty.GetPixels(), nullptr);
}

// Whatever the pixel words, the image read is the image written: an image
// with a pixel its unit cannot hold, or a word that is no number, is refused
// whole, and what is written reads back to the same image.
TEST(ImageValue, WhatIsWrittenReadsBackToTheSameImage) {
  struct Case {
    const char* text;
    const char* printed;
    bool refused;
  } cases[] = {
      {"65536 65536 4", "0 0 0 \n", false},
      {"2 1 1 1e3 2", "0 0 0 \n", true},
      {"3 1 2 0xFFFF 0x10000 -1", "0 0 0 \n", true},
      {"2 1 1 256 0", "0 0 0 \n", true},
      {"1 1 3 0x1000000", "0 0 0 \n", true},
      {"1 1 1 -1", "0 0 0 \n", true},
      {"1 1 1 0x", "0 0 0 \n", true},
      {"1 1 1 12abc", "0 0 0 \n", true},
      {"2 1 1 0xff 0XFF", "2 1 1 \n255 \n255 ", false},
      {"3 1 2 65535 +7 0", "3 1 2 \n65535 \n7 0 ", false},
      {"1 1 3 0xFFFFFF", "1 1 3 \n16777215 \n", false},
      // Written as signed numbers by some exporters.
      {"2 1 4 -1 -2147483648", "2 1 4 \n4294967295 \n2147483648 ", false},
      {"1 1 4 -2147483649", "0 0 0 \n", true},
      {"1 1 4 4294967296", "0 0 0 \n", true},
      {"0 0 0", "0 0 0 \n", false},
  };
  for (const Case& c : cases) {
    ImageRead r = ReadImage(c.text);
    EXPECT_EQ(r.printed, c.printed) << c.text;
    EXPECT_EQ(r.err.find("Illegal Pixel") != std::string::npos, c.refused) << c.text << r.err;
    EXPECT_EQ(r.next, "<end>") << c.text;
    ImageRead again = ReadImage(r.printed.c_str());
    EXPECT_EQ(again.err, "") << c.text;
    EXPECT_EQ(again.printed, r.printed) << c.text;
    EXPECT_EQ(again.width, r.width) << c.text;
    EXPECT_EQ(again.height, r.height) << c.text;
    EXPECT_EQ(again.unit, r.unit) << c.text;
  }
}

TEST(ImageValue, ImpossibleSizesTakeTheFailurePath) {
  // Sizes whose byte count would wrap in 32 bits, or is negative.
  for (const char* text :
       {"65536 65536 4 1", "-1 -1 1 5", "-3 2 1 5", "2147483647 3 3 1", "100000 100000 1 2"}) {
    ImageRead r = ReadImage(text);
    EXPECT_EQ(r.err, "") << text;
    EXPECT_EQ(r.printed, "0 0 0 \n") << text;
    EXPECT_EQ(r.width, 0);
    EXPECT_EQ(r.unit, 0);
  }
  // Sizes near 2^31: refused when the byte count or a size does not fit
  // (before, a wrapped size could make a small image of the pixel words),
  // read as far as the words go when it does.
  struct Case {
    const char* text;
    const char* err;
    const char* next;
  } near[] = {
      {"2147483647 2147483647 4 1", "", "1"},
      {"46341 46341 1 1", "", "1"},    // 2,147,488,281 bytes
      {"65536 32768 1 1", "", "1"},    // 2^31 bytes
      {"32768 16384 4 1", "", "1"},    // 2^31 bytes, 4 per pixel
      {"-2147483649 1 1 1", "", "1"},  // wrapped: 2147483647
      {"4294967297 1 1 1", "", "1"},   // wrapped: 1
      {"1 99999999999999999999 1 1", "", "1"},
      {"1 -4294967295 1 1", "", "1"},  // wrapped: 1
      {"2147483647 1 1 1", "KsImage::KsImate()\n  Error near line 1\n", "<end>"},
      {"46340 46340 1 1", "KsImage::KsImate()\n  Error near line 1\n", "<end>"},
  };
  for (const Case& c : near) {
    ImageRead r = ReadImage(c.text);
    EXPECT_EQ(r.err, c.err) << c.text;
    EXPECT_EQ(r.printed, "0 0 0 \n") << c.text;
    EXPECT_EQ(r.next, c.next) << c.text;
    EXPECT_EQ(r.width, 0) << c.text;
  }
  // A size that fits and is backed by its words reads whole, past the
  // first allocation (65,536 bytes) too.
  std::string big = "300 100 3";
  for (int i = 0; i < 30000; ++i) big += " " + std::to_string(i);
  ImageRead whole = ReadImage(big.c_str());
  EXPECT_EQ(whole.err, "");
  EXPECT_EQ(whole.width, 300);
  EXPECT_EQ(whole.height, 100);
  EXPECT_EQ(whole.printed.substr(0, 14), "300 100 3 \n0 \n");
  EXPECT_NE(whole.printed.find(" 29999 "), std::string::npos);
  KsImage image;
  const uint8_t one = 1;
  EXPECT_EQ(image.SetImage(65536, 65536, 1, &one), 1);
  EXPECT_EQ(image.SetImage(-1, 1, 1, &one), 1);
  EXPECT_EQ(KsImage::ByteCount(65536, 65536, 4), -1);
  EXPECT_EQ(KsImage::ByteCount(INT32_MAX, INT32_MAX, 4), -1);
  EXPECT_EQ(KsImage::ByteCount(INT32_MAX, 1, 1), INT32_MAX);
  EXPECT_EQ(KsImage::ByteCount(INT32_MAX, 1, 2), -1);
  EXPECT_EQ(KsImage::ByteCount(3, 5, 3), 60);
}

TEST(ImageValue, CopyAndAssign) {
  const uint32_t pixels[] = {0x112233, 0x445566};
  KsImage a(2, 1, 3, pixels);
  EXPECT_EQ(a.GetPixel(1), 0x445566u);
  EXPECT_EQ(a.GetPixel(2), 0u);
  KsImage b(a);
  EXPECT_NE(b.GetPixels(), a.GetPixels());
  EXPECT_EQ(std::memcmp(b.GetPixels(), pixels, sizeof pixels), 0);
  const uint16_t small[] = {7};
  KsImage c(1, 1, 2, small);
  c = a;
  EXPECT_EQ(c.GetUnit(), 3);
  EXPECT_EQ(c.GetPixel(0), 0x112233u);
  KsImage& self = c;
  c = self;
  EXPECT_EQ(c.GetPixel(1), 0x445566u);
  // A failed assignment keeps the old image.
  EXPECT_EQ(c.SetImage(-5, 1, 1, nullptr), 1);
  EXPECT_EQ(c.GetWidth(), 2);
  EXPECT_EQ(c.GetPixel(0), 0x112233u);
  EXPECT_STREQ(c.GetClassName(), "KsImage");
}
