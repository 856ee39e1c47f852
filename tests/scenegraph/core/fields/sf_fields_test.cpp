#include "scenegraph/core/fields/sf_fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "scenegraph/core/fields/field_factory.h"
#include "scenegraph/core/object/node_duplicator.h"
#include "scenegraph/core/field_test_util.h"
#include "scenegraph/core/object/node_factory.h"

namespace {

using kstest::FieldInput;
using kstest::PrintOf;
using kstest::ProbeNode;

TEST(KsSFPrint, EveryClassPrintsAsItReadsBack) {
  KsSFInt i;
  i.Set(-12);
  EXPECT_EQ(PrintOf(i), "-12 ");
  KsSFFloat f;
  f.Set(1.5f);
  EXPECT_EQ(PrintOf(f), "1.5000 ");
  KsSFTime t;
  t.Set(0.25f);
  EXPECT_EQ(PrintOf(t), "0.2500 ");
  KsSFVec2f v2;
  v2.Set(1, -2);
  EXPECT_EQ(PrintOf(v2), "1.0000 -2.0000 ");
  KsSFVec3f v3;
  v3.Set(1, 2, 3);
  EXPECT_EQ(PrintOf(v3), "1.0000 2.0000 3.0000");
  KsSFRotation r;
  EXPECT_EQ(PrintOf(r), "0.0000 0.0000 1.0000 0.0000 ");
  r.Set(0, 1, 0, 1.5708f);
  EXPECT_EQ(PrintOf(r), "0.0000 1.0000 0.0000 1.5708 ");
  KsSFColor c;
  c.Set(1, 0.5f, 0);
  EXPECT_EQ(PrintOf(c), "1.0000 0.5000 0.0000 ");
  KsSFBool b;
  EXPECT_EQ(PrintOf(b), "TRUE ");
  b.Set(KS_FALSE);
  EXPECT_EQ(PrintOf(b), "FALSE ");
  b.Set(7);
  EXPECT_EQ(PrintOf(b), "FALSE ");
  KsSFImage img;
  EXPECT_EQ(PrintOf(img), "0 0 0 \n");
  const uint8_t pixels[] = {255, 0};
  img.Set(KsImage(2, 1, 1, pixels));
  EXPECT_EQ(PrintOf(img), "2 1 1 \n255 \n0 ");
  KsSFNode n;
  EXPECT_EQ(PrintOf(n), "NULL ");
}

TEST(KsSFPrint, StringsGetTheirQuotes) {
  struct Case {
    const char* text;
    const char* printed;
  } cases[] = {
      {nullptr, "\"\" "},
      {"", "\"\" "},
      {"abc", "\"abc\" "},
      {"\"quoted\"", "\"quoted\" "},
      {"50% off", "\"50% off\" "},
      // An escaped final quote is text: the closing quote is still needed.
      {"say \\\"", "\"say \\\"\" "},
      // An escaped backslash before the quote leaves the quote closing.
      {"end\\\\\"", "\"end\\\\\" "},
      {"\"", "\"\" "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    KsSFString s;
    s.Set(c.text);
    EXPECT_EQ(PrintOf(s), c.printed);
  }
}

TEST(KsSFRealize, ValuesAndCursor) {
  struct Case {
    const char* className;
    const char* input;
    const char* printed;
    const char* rest;
  } cases[] = {
      {"SFInt", "0x1F x", "31 ", "x"},
      {"SFInt", "-12", "-12 ", ""},
      {"SFInt", "-0x10", "-16 ", ""},
      {"SFFloat", "2.5e1 x", "25.0000 ", "x"},
      {"SFFloat", "inf", "0.0000 ", ""},
      {"SFTime", "1.25", "1.2500 ", ""},
      {"SFVec2f", "1 2 3", "1.0000 2.0000 ", "3"},
      {"SFVec3f", "1 2 3 4", "1.0000 2.0000 3.0000", "4"},
      {"SFColor", "1 0.5 0 x", "1.0000 0.5000 0.0000 ", "x"},
      {"SFRotation", "0 1 0 1.5708 x", "0.0000 1.0000 0.0000 1.5708 ", "x"},
      {"SFBool", "true x", "TRUE ", "x"},
      {"SFBool", "FALSE", "FALSE ", ""},
      {"SFString", "abc x", "\"abc\" ", "x"},
      {"SFString", "\"\" x", "\"\" ", "x"},
      {"SFString", "\"a b\" x", "\"a b\" ", "x"},
      {"SFImage", "2 1 1 0xFF 0x00 x", "2 1 1 \n255 \n0 ", "x"},
      {"SFImage", "1 1 4 0x80000000", "1 1 4 \n2147483648 \n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.className) + " " + c.input);
    std::unique_ptr<KsField> f(KsCreateField(c.className));
    FieldInput in(c.input);
    testing::internal::CaptureStderr();
    EXPECT_EQ(in.RealizeInto(*f), 0);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(PrintOf(*f), c.printed);
    EXPECT_EQ(kstest::Rest(&in.cursor), c.rest);
  }
}

TEST(KsSFRealize, MissingWordsLeaveValueAndCursor) {
  struct Case {
    const char* className;
    const char* input;
    const char* message;
  } cases[] = {
      {"SFInt", "", "Error RealizeSFInt\n"},
      {"SFFloat", "", "Error RealizeSFFlaot\n"},
      {"SFTime", "", "Error RealizeSFTime\n"},
      {"SFVec2f", "1", "Error RealizeSFVec2f\n"},
      {"SFVec3f", "1 2", "Error RealizeSFVec3f\n"},
      {"SFColor", "1 2", "Error RealizeSFColor\n"},
      {"SFRotation", "0 1 0", "Error RealizeSFRotation\n"},
      {"SFBool", "", "Error RealizeSFBool(2)\n"},
      {"SFString", "", "Error RealizeSFString\n"},
      {"SFImage", "", "Error RealizeSFImage\n"},
      {"SFNode", "", "Error RealizeSFNode\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.className);
    std::unique_ptr<KsField> f(KsCreateField(c.className));
    std::string before = PrintOf(*f);
    FieldInput in(c.input);
    KsWordNode* first = KsCursorWord(&in.cursor);
    testing::internal::CaptureStderr();
    EXPECT_EQ(in.RealizeInto(*f), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
    EXPECT_EQ(KsCursorWord(&in.cursor), first);
    EXPECT_EQ(PrintOf(*f), before);
  }
}

TEST(KsSFRealize, UnknownBooleanWordIsFalse) {
  KsSFBool b;
  FieldInput in("Yes next");
  testing::internal::CaptureStderr();
  EXPECT_EQ(in.RealizeInto(b), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Unknown KSBOOL specifier YES\n");
  EXPECT_EQ(b.Get(), KS_FALSE);
  EXPECT_EQ(kstest::Rest(&in.cursor), "next");
}

TEST(KsSFString, LongStringsAreJoinedWhole) {
  // The reader cuts strings into 255-byte pieces; every piece is kept, and
  // a text beyond the formatted print's 8191 characters still prints.
  for (size_t length : {600u, 1023u, 1024u, 9000u}) {
    SCOPED_TRACE(length);
    std::string text;
    for (size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
    KsSFString s;
    FieldInput in("\"" + text + "\" after");
    ASSERT_EQ(in.RealizeInto(s), 0);
    ASSERT_NE(s.Get(), nullptr);
    EXPECT_EQ(std::string(s.Get()), text);
    EXPECT_EQ(kstest::Rest(&in.cursor), "after");
    EXPECT_EQ(PrintOf(s), "\"" + text + "\" ");
  }
}

TEST(KsSFString, PrintedTextReadsBack) {
  for (const char* text : {"plain", "say \\\"hi\\\"", "ends with \\\"", "back\\\\slash"}) {
    SCOPED_TRACE(text);
    KsSFString s;
    s.Set(text);
    KsSFString again;
    FieldInput in(PrintOf(s));
    ASSERT_EQ(in.RealizeInto(again), 0);
    ASSERT_NE(again.Get(), nullptr);
    EXPECT_STREQ(again.Get(), text);
    EXPECT_EQ(kstest::Rest(&in.cursor), "");
  }
}

TEST(KsSFSet, SelfAssignmentKeepsTheValue) {
  KsSFString s;
  s.Set("same text");
  EXPECT_EQ(s.Set(s.Get()), 0);
  EXPECT_STREQ(s.Get(), "same text");
  EXPECT_EQ(s.CopyTo(&s), 0);
  EXPECT_STREQ(s.Get(), "same text");

  KsSFImage img;
  const uint32_t pixels[] = {0x11223344u, 0xAABBCCDDu};
  img.Set(KsImage(2, 1, 4, pixels));
  EXPECT_EQ(img.Set(img.Get()), 0);
  EXPECT_EQ(img.Get().GetPixel(1), 0xAABBCCDDu);
}

TEST(KsSFSet, CopiesAreDeep) {
  KsSFString a, b;
  a.Set("first");
  ASSERT_EQ(a.CopyTo(&b), 0);
  a.Set("second");
  EXPECT_STREQ(b.Get(), "first");

  KsSFImage x, y;
  const uint8_t pixels[] = {1, 2, 3, 4};
  x.Set(KsImage(2, 2, 1, pixels));
  ASSERT_EQ(x.CopyTo(&y), 0);
  EXPECT_NE(x.Get().GetPixels(), y.Get().GetPixels());
  EXPECT_EQ(y.Get().GetPixel(3), 4u);
}

class KsSFNodeTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetNodeFactory();
    ProbeNode::Destroyed() = 0;
    KsRegisterNodeConstructor("Group", []() -> KsNode* { return new ProbeNode(1); });
  }
  void TearDown() override { KsResetNodeFactory(); }
};

TEST_F(KsSFNodeTest, ReferenceCountFollowsTheValue) {
  ProbeNode* a = new ProbeNode(1);
  ProbeNode* b = new ProbeNode(2);
  KsSFNode f;
  f.Set(a);
  EXPECT_EQ(a->GetRefCount(), 1);
  f.Set(a);
  EXPECT_EQ(a->GetRefCount(), 1);
  EXPECT_EQ(PrintOf(f), "PROBE1 ");

  KsSFNode g;
  ASSERT_EQ(f.CopyTo(&g), 0);
  EXPECT_EQ(a->GetRefCount(), 2);
  g.Set(b);
  EXPECT_EQ(a->GetRefCount(), 1);
  EXPECT_EQ(b->GetRefCount(), 1);

  f.Set(nullptr);  // releases the last reference to a
  EXPECT_EQ(ProbeNode::Destroyed(), 1);
  EXPECT_EQ(f.Get(), nullptr);

  g.ReleaseNodes();
  EXPECT_EQ(ProbeNode::Destroyed(), 2);
  EXPECT_EQ(g.Get(), nullptr);
  g.ReleaseNodes();  // nothing left to release
  EXPECT_EQ(ProbeNode::Destroyed(), 2);
}

TEST_F(KsSFNodeTest, RealizesStatementsThroughThePartition) {
  KsPartition partition;
  KsSFNode f;
  FieldInput in("Group { } next");
  EXPECT_EQ(in.RealizeInto(f, &partition), 0);
  ASSERT_NE(f.Get(), nullptr);
  EXPECT_STREQ(f.Get()->GetClassName(), "KsProbe");
  EXPECT_EQ(f.Get()->GetRefCount(), 1);
  EXPECT_EQ(kstest::Rest(&in.cursor), "next");

  FieldInput null("NULL next");
  EXPECT_EQ(null.RealizeInto(f, &partition), 0);
  EXPECT_EQ(f.Get(), nullptr);
  EXPECT_EQ(ProbeNode::Destroyed(), 1);
  EXPECT_EQ(PrintOf(f), "NULL ");
  EXPECT_EQ(kstest::Rest(&null.cursor), "next");
}

}  // namespace

namespace {

TEST_F(KsSFNodeTest, DuplicationMovesTheReference) {
  ProbeNode* a = new ProbeNode(1);
  KsSFNode f;
  f.Set(a);
  KsDuplicatorList list;
  EXPECT_EQ(f.CollectNodes(&list), &list);
  ASSERT_EQ(list.GetCount(), 1);
  ProbeNode* copy = new ProbeNode(2);
  list.Get(0)->copy = copy;
  EXPECT_EQ(f.ApplyDuplicate(&list), 0);
  EXPECT_EQ(f.Get(), copy);
  EXPECT_EQ(copy->GetRefCount(), 1);
  EXPECT_EQ(ProbeNode::Destroyed(), 1);

  KsDuplicatorList empty;
  testing::internal::CaptureStderr();
  EXPECT_EQ(f.ApplyDuplicate(&empty), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsSFNode::ApplyDuplicate()\n  Duplicate Failed.\n");
  KsSFNode none;
  EXPECT_EQ(none.ApplyDuplicate(&empty), 0);
  EXPECT_EQ(none.CollectNodes(&empty), &empty);
  f.ReleaseNodes();
}

}  // namespace
