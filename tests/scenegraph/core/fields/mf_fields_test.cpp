#include "scenegraph/core/fields/mf_fields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "scenegraph/core/fields/field_factory.h"
#include "scenegraph/core/object/node_duplicator.h"
#include "scenegraph/core/field_test_util.h"
#include "scenegraph/core/object/node_factory.h"

namespace {

using kstest::FieldInput;
using kstest::PrintOf;
using kstest::ProbeNode;

std::string Realized(const char* className, const std::string& input) {
  std::unique_ptr<KsField> f(KsCreateField(className));
  FieldInput in(input);
  EXPECT_EQ(in.RealizeInto(*f), 0) << input;
  return PrintOf(*f);
}

TEST(KsMFPrint, EveryClassPrintsItsList) {
  struct Case {
    const char* className;
    const char* input;
    const char* printed;
  } cases[] = {
      {"MFInt", "[ 1, 2 3 ]", "[\n1,\n2,3]\n"},
      {"MFInt", "[ 1 2 3 4 5 6 7 8 9 10 ]", "[\n1,\n2,3,4,5,6,7,8,9,\n10]\n"},
      {"MFInt", "[ ]", "[\n]\n"},
      {"MFInt", "[ 0x10, -3 ]", "[\n16,\n-3]\n"},
      {"MFFloat", "[ 0.5 1 ]", "[\n0.5000,\n1.0000]\n"},
      {"MFTime", "[ 2 ]", "[\n2.0000\n]\n"},
      {"MFVec2f", "[ 1 2, 3 4 ]", "[\n1.0000 2.0000,\n3.0000 4.0000]\n"},
      {"MFVec3f", "[ 1 2 3, 4 5 6 ]", "[\n1.0000 2.0000 3.0000,\n4.0000 5.0000 6.0000]\n"},
      {"MFRotation", "[ 0 1 0 1.5 ]", "[\n0.0000 1.0000 0.0000 1.5000\n]\n"},
      {"MFColor", "[ 1 0 0, 0 1 0 ]", "[\n1.0000 0.0000 0.0000,\n0.0000 1.0000 0.0000]\n"},
      {"MFBool", "[ TRUE false ]", "[\nTRUE,\nFALSE]\n"},
      {"MFString", "[ \"a\" \"b\" ]", "[\n\"a\",\n\"b\"\n]\n"},
      {"MFString", "[ ]", "[\n\n]\n"},
      {"MFString", "[ \"\" ]", "[\n\"\"\n]\n"},
      {"MFString", "bare", "[\n\"bare\"\n]\n"},
      {"MFImage", "[ 1 1 1 7 ]", "[\n1 1 1 \n7 \n\n]\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.className) + " " + c.input);
    EXPECT_EQ(Realized(c.className, c.input), c.printed);
  }
}

TEST(KsMFPrint, NineVectorsBreakAfterTheFirstAndTheNinth) {
  std::string input = "[";
  for (int i = 0; i < 9; ++i) input += " " + std::to_string(i) + " 0 0,";
  input += " ]";
  std::string expect = "[\n";
  for (int i = 0; i < 9; ++i) {
    expect += std::to_string(i) + ".0000 0.0000 0.0000";
    if (i != 8) expect += ",";
    if (i % 8 == 0) expect += "\n";
  }
  expect += "]\n";
  EXPECT_EQ(Realized("MFVec3f", input), expect);
}

TEST(KsMFRealize, CommasOnlySeparateWhereAnElementBegins) {
  KsMFVec3f v;
  FieldInput in("[ 1, 2, 3 ] x");
  ASSERT_EQ(in.RealizeInto(v), 0);
  ASSERT_EQ(v.GetCount(), 2);
  // The comma inside the first element reads as 0; the last element runs
  // out of words, its unread components are 0.
  EXPECT_EQ(v.Get(0)->x, 1.0f);
  EXPECT_EQ(v.Get(0)->y, 0.0f);
  EXPECT_EQ(v.Get(0)->z, 2.0f);
  EXPECT_EQ(v.Get(1)->x, 3.0f);
  EXPECT_EQ(v.Get(1)->y, 0.0f);
  EXPECT_EQ(v.Get(1)->z, 0.0f);
  EXPECT_EQ(kstest::Rest(&in.cursor), "x");
}

TEST(KsMFRealize, BareValueReplacesTheList) {
  KsMFFloat f;
  const float values[] = {0.5f, 1.0f, 2.0f};
  f.Set(3, values);
  FieldInput in("7 x");
  ASSERT_EQ(in.RealizeInto(f), 0);
  ASSERT_EQ(f.GetCount(), 1);
  EXPECT_EQ(*f.Get(0), 7.0f);
  EXPECT_EQ(kstest::Rest(&in.cursor), "x");

  FieldInput empty("");
  EXPECT_EQ(empty.RealizeInto(f), 1);
  EXPECT_EQ(f.GetCount(), 1);

  FieldInput group("[] x");
  ASSERT_EQ(group.RealizeInto(f), 0);
  EXPECT_EQ(f.GetCount(), 0);
  EXPECT_EQ(f.GetElements(), nullptr);
}

TEST(KsMFRealize, BracketedParseSendsTwoNotices) {
  ProbeNode owner;
  KsMFInt f;
  f.Init(&owner, 1, "index");
  std::vector<int> counts;
  owner.onChanged = [&counts](KsField* field) {
    counts.push_back(static_cast<KsMFInt*>(field)->GetCount());
  };
  const int old[] = {9, 9};
  f.Set(2, old);
  counts.clear();
  FieldInput in("[ 1 2 3 ]");
  ASSERT_EQ(in.RealizeInto(f), 0);
  EXPECT_EQ(counts, (std::vector<int>{0, 3}));

  counts.clear();
  FieldInput bare("4");
  ASSERT_EQ(bare.RealizeInto(f), 0);
  EXPECT_EQ(counts, (std::vector<int>{1}));
}

TEST(KsMFRealize, StringListIsClearedSilentlyFirst) {
  ProbeNode owner;
  KsMFString f;
  f.Init(&owner, 1, "url");
  const KsString old[] = {KsString("x")};
  f.Set(1, old);
  owner.log.clear();
  FieldInput in("[ \"a\", \"b\" ]");
  ASSERT_EQ(in.RealizeInto(f), 0);
  ASSERT_EQ(f.GetCount(), 2);
  EXPECT_STREQ(f.Get(1)->GetText(), "b");
  EXPECT_EQ(owner.log.size(), 4u);  // two notices
}

TEST(KsMFBuild, BeginAppendCommitAddsAtTheEndWithOneNotice) {
  ProbeNode owner;
  KsMFInt f;
  f.Init(&owner, 1, "index");
  const int start[] = {1, 2, 3};
  f.Set(3, start);
  owner.log.clear();
  f.Begin();
  EXPECT_EQ(f.Append(4), 0);
  EXPECT_EQ(f.GetCount(), 3);  // nothing changes before Commit
  EXPECT_EQ(f.Commit(), 0);
  EXPECT_EQ(PrintOf(f), "[\n1,\n2,3,4]\n");
  EXPECT_EQ(owner.log, (std::vector<std::string>{"invalidate", "changed index KsMFInt"}));

  // A second Begin abandons the first pending list.
  f.Begin();
  f.Append(5);
  f.Begin();
  f.Append(6);
  f.Commit();
  EXPECT_EQ(PrintOf(f), "[\n1,\n2,3,4,6]\n");

  // Commit of an emptied list.
  f.Set(0, nullptr);
  f.Begin();
  f.Commit();
  EXPECT_EQ(f.GetCount(), 0);
}

TEST(KsMFGet, OutOfRangeIsReported) {
  KsMFVec2f f;
  const KsVec2f v[] = {KsVec2f(1, 2)};
  f.Set(1, v);
  EXPECT_EQ(f.Get(0)->y, 2.0f);
  for (int index : {-1, 1}) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(f.Get(index), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "KsMFVec2f::Get()\n  Index Out Of Range.\n  Requested " + std::to_string(index) +
                  "\n  Maximum   1\n");
  }
}

TEST(KsMFString, NullElementPrintsEmptyQuotes) {
  KsMFString f;
  const KsString texts[] = {KsString("a"), KsString(), KsString("")};
  f.Set(3, texts);
  EXPECT_EQ(PrintOf(f), "[\n\"a\",\n\"\",\n\"\"\n]\n");
}

TEST(KsMFSet, SelfAssignmentKeepsTheElements) {
  KsMFString s;
  const KsString texts[] = {KsString("one"), KsString("two")};
  s.Set(2, texts);
  EXPECT_EQ(s.Set(s.GetCount(), s.GetElements()), 0);
  EXPECT_EQ(s.CopyTo(&s), 0);
  ASSERT_EQ(s.GetCount(), 2);
  EXPECT_STREQ(s.Get(0)->GetText(), "one");
  EXPECT_STREQ(s.Get(1)->GetText(), "two");

  KsMFImage images;
  const uint8_t px[] = {5};
  const KsImage list[] = {KsImage(1, 1, 1, px)};
  images.Set(1, list);
  EXPECT_EQ(images.Set(images.GetCount(), images.GetElements()), 0);
  EXPECT_EQ(images.Get(0)->GetPixel(0), 5u);

  KsMFVec3f v;
  const KsVec3f pts[] = {KsVec3f(1, 2, 3)};
  v.Set(1, pts);
  EXPECT_EQ(v.Set(v.GetCount(), v.GetElements()), 0);
  EXPECT_EQ(v.Get(0)->z, 3.0f);
}

TEST(KsMFSet, CopyToGivesTheTargetItsOwnElements) {
  KsMFString a, b;
  const KsString texts[] = {KsString("one")};
  a.Set(1, texts);
  ASSERT_EQ(a.CopyTo(&b), 0);
  EXPECT_NE(a.Get(0)->GetText(), b.Get(0)->GetText());
  EXPECT_STREQ(b.Get(0)->GetText(), "one");
  KsMFTime t1, t2;
  const float times[] = {1.0f, 2.0f};
  t1.Set(2, times);
  ASSERT_EQ(t1.CopyTo(&t2), 0);
  EXPECT_EQ(t2.GetCount(), 2);
}

class KsMFNodeTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetNodeFactory();
    ProbeNode::Destroyed() = 0;
    KsRegisterNodeConstructor("Group", []() -> KsNode* { return new ProbeNode(1); });
  }
  void TearDown() override { KsResetNodeFactory(); }
};

TEST_F(KsMFNodeTest, BracketedNullIsDroppedBareNullIsKept) {
  KsPartition partition;
  KsMFNode f;
  FieldInput in("[ NULL Group { } ] x");
  ASSERT_EQ(in.RealizeInto(f, &partition), 0);
  ASSERT_EQ(f.GetCount(), 1);
  EXPECT_EQ((*f.Get(0))->GetRefCount(), 1);
  EXPECT_EQ(PrintOf(f), "[\nPROBE1 \n]\n");
  EXPECT_EQ(kstest::Rest(&in.cursor), "x");

  FieldInput bare("NULL");
  ASSERT_EQ(bare.RealizeInto(f, &partition), 0);
  EXPECT_EQ(ProbeNode::Destroyed(), 1);
  ASSERT_EQ(f.GetCount(), 1);
  EXPECT_EQ(*f.Get(0), nullptr);
  EXPECT_EQ(PrintOf(f), "[\nNULL \n]\n");
  f.ReleaseNodes();
  EXPECT_EQ(f.GetCount(), 0);
}

TEST_F(KsMFNodeTest, ReferenceCountsSurviveReassignment) {
  ProbeNode* a = new ProbeNode(1);
  ProbeNode* b = new ProbeNode(2);
  KsMFNode f;
  KsNode* both[] = {a, nullptr, b};
  ASSERT_EQ(f.Set(3, both), 0);
  EXPECT_EQ(a->GetRefCount(), 1);
  EXPECT_EQ(b->GetRefCount(), 1);
  EXPECT_EQ(PrintOf(f), "[\nPROBE1 ,\nNULL ,PROBE2 ]\n");

  // A node present before and after keeps its count; one that leaves goes.
  KsNode* onlyB[] = {b};
  f.Set(1, onlyB);
  EXPECT_EQ(b->GetRefCount(), 1);
  EXPECT_EQ(ProbeNode::Destroyed(), 1);

  // Self-assignment and builders keep counts too.
  EXPECT_EQ(f.Set(f.GetCount(), f.GetElements()), 0);
  EXPECT_EQ(f.CopyTo(&f), 0);
  f.Begin();
  f.Append(nullptr);
  f.Commit();
  EXPECT_EQ(f.GetCount(), 2);
  EXPECT_EQ(b->GetRefCount(), 1);

  KsMFNode g;
  ASSERT_EQ(f.CopyTo(&g), 0);
  EXPECT_EQ(b->GetRefCount(), 2);
  g.ReleaseNodes();
  f.ReleaseNodes();
  EXPECT_EQ(ProbeNode::Destroyed(), 2);
}

}  // namespace

namespace {

TEST_F(KsMFNodeTest, DuplicationSkipsNullElements) {
  ProbeNode* a = new ProbeNode(1);
  KsMFNode f;
  KsNode* nodes[] = {a, nullptr, a};
  f.Set(3, nodes);
  EXPECT_EQ(a->GetRefCount(), 2);

  KsDuplicatorList list;
  EXPECT_EQ(f.CollectNodes(&list), &list);
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.Get(0)->source, a);
  EXPECT_EQ(list.Get(0)->useCount, 2);

  ProbeNode* copy = new ProbeNode(2);
  list.Get(0)->copy = copy;
  EXPECT_EQ(f.ApplyDuplicate(&list), 0);
  EXPECT_EQ(list.Get(0)->appliedCount, 2);
  EXPECT_EQ(*f.Get(0), copy);
  EXPECT_EQ(*f.Get(1), nullptr);
  EXPECT_EQ(*f.Get(2), copy);
  EXPECT_EQ(copy->GetRefCount(), 2);
  EXPECT_EQ(ProbeNode::Destroyed(), 1);  // a lost both references

  // A node missing from the map stops the remapping.
  KsDuplicatorList empty;
  testing::internal::CaptureStderr();
  EXPECT_EQ(f.ApplyDuplicate(&empty), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsSFNode::ApplyDuplicate()\n  Duplicate Failed(2).\n");
  f.ReleaseNodes();
  EXPECT_EQ(ProbeNode::Destroyed(), 2);
}

}  // namespace

namespace {

TEST(KsMFRealize, ShortImageHeaderDoesNotStallTheList) {
  KsMFImage f;
  FieldInput in("[ 1 2 ] x");
  testing::internal::CaptureStderr();
  ASSERT_EQ(in.RealizeInto(f), 0);
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("KsImage::KsImate()\n  Error near line 1\n"), std::string::npos);
  EXPECT_EQ(kstest::Rest(&in.cursor), "x");
  for (int i = 0; i < f.GetCount(); ++i) EXPECT_EQ(f.Get(i)->GetPixels(), nullptr);
}

}  // namespace
