#include "scenegraph/core/fields/field.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenegraph/core/fields/field_factory.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/field_test_util.h"

namespace {

using kstest::ProbeNode;

// Records the hooks together with the value they see.
class LoggedSFInt : public KsSFInt {
 public:
  void BeforeSet() override { log->push_back("before " + std::to_string(Get())); }
  void AfterSet() override { log->push_back("after " + std::to_string(Get())); }
  std::vector<std::string>* log = nullptr;
};

TEST(KsFieldProtocol, FreeFieldRunsHooksAndNotifiesNobody) {
  std::vector<std::string> log;
  LoggedSFInt f;
  f.log = &log;
  EXPECT_EQ(f.Set(5), 0);
  EXPECT_EQ(log, (std::vector<std::string>{"before 0", "after 5"}));
  EXPECT_EQ(f.ValueChanged(), 0);
  EXPECT_EQ(f.GetOwner(), nullptr);
  EXPECT_EQ(f.GetMemberName(), nullptr);
}

TEST(KsFieldProtocol, OwnedFieldNotifiesItsOwnerAfterTheHooks) {
  ProbeNode owner;
  LoggedSFInt f;
  f.log = &owner.log;
  f.Init(&owner, 1, "count");
  EXPECT_EQ(f.GetNoPropagate(), 1);
  f.Set(7);
  EXPECT_EQ(owner.log, (std::vector<std::string>{"before 0", "after 7", "invalidate",
                                                 "changed count KsSFInt"}));
  // An eventOut registration clears the flag; the notice is the same.
  f.SetNoPropagate(0);
  owner.log.clear();
  EXPECT_EQ(f.Set(8), 0);
  EXPECT_EQ(owner.log, (std::vector<std::string>{"before 7", "after 8", "invalidate",
                                                 "changed count KsSFInt"}));
  f.Init(&owner, 0, "count");
  EXPECT_EQ(f.GetNoPropagate(), 0);
}

TEST(KsFieldProtocol, FailingOwnerOnlyWarns) {
  ProbeNode owner;
  owner.changedResult = 1;
  KsSFFloat f;
  f.Init(&owner, 0, "speed");
  testing::internal::CaptureStderr();
  EXPECT_EQ(f.Set(2.0f), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Warning   KsField::ValueChanged()\n  OwnerMemberChanged returned KS_ERR.\n");
  EXPECT_EQ(f.Get(), 2.0f);
}

TEST(KsFieldProtocol, CopyToNeedsTheSameClassName) {
  KsSFFloat from;
  KsSFTime time;
  from.Set(1.5f);
  time.Set(9.0f);
  testing::internal::CaptureStderr();
  EXPECT_EQ(from.CopyTo(&time), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsField::CopyTo()\n  Attempted to copy between different types.\n"
            "  Original : KsSFFloat\n  Target   : KsSFTime\n");
  EXPECT_EQ(time.Get(), 9.0f);

  ProbeNode owner;
  KsSFFloat to;
  to.Init(&owner, 1, "speed");
  EXPECT_EQ(from.CopyTo(&to), 0);
  EXPECT_EQ(to.Get(), 1.5f);
  EXPECT_EQ(owner.log, (std::vector<std::string>{"invalidate", "changed speed KsSFFloat"}));

  // MFTime shares MFFloat's list but is a different type.
  KsMFFloat floats;
  KsMFTime times;
  testing::internal::CaptureStderr();
  EXPECT_EQ(floats.CopyTo(&times), 1);
  testing::internal::GetCapturedStderr();
}

TEST(KsFieldProtocol, BaseOperationsReportMisuse) {
  KsField f;
  EXPECT_STREQ(f.GetClassName(), "KsField");
  kstest::FieldInput in("word");
  testing::internal::CaptureStderr();
  EXPECT_EQ(in.RealizeInto(f), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsField::Realize is called.\nThis function must not called.\n"
            "Owner class = KsField\nString = word\n");
  testing::internal::CaptureStderr();
  KsField g;
  EXPECT_EQ(f.CopyTo(&g), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsField::ExecCopyTo() is called.\n  This must not be called.\n");
  EXPECT_EQ(kstest::PrintOf(f), "");
  EXPECT_EQ(f.CollectNodes(nullptr), nullptr);
  EXPECT_EQ(f.ApplyDuplicate(nullptr), 0);
}

struct KeywordCase {
  const char* keyword;
  int index;
  const char* className;
};

TEST(KsFieldFactory, EveryKeywordMakesItsClass) {
  const KeywordCase cases[] = {
      {"SFInt", 0, "KsSFInt"},           {"SFFloat", 1, "KsSFFloat"},
      {"SFVec2f", 2, "KsSFVec2f"},       {"SFVec3f", 3, "KsSFVec3f"},
      {"SFRotation", 4, "KsSFRotation"}, {"SFString", 5, "KsSFString"},
      {"SFTime", 6, "KsSFTime"},         {"SFColor", 7, "KsSFColor"},
      {"SFBool", 8, "KsSFBool"},         {"SFImage", 9, "KsSFImage"},
      {"SFNode", 10, "KsSFNode"},        {"MFInt", 11, "KsMFInt"},
      {"MFFloat", 12, "KsMFFloat"},      {"MFVec2f", 13, "KsMFVec2f"},
      {"MFVec3f", 14, "KsMFVec3f"},      {"MFRotation", 15, "KsMFRotation"},
      {"MFString", 16, "KsMFString"},    {"MFTime", 17, "KsMFTime"},
      {"MFColor", 18, "KsMFColor"},      {"MFBool", 19, "KsMFBool"},
      {"MFImage", 20, "KsMFImage"},      {"MFNode", 21, "KsMFNode"},
      {"SFInt32", 22, "KsSFInt"},        {"MFInt32", 23, "KsMFInt"},
  };
  ASSERT_EQ(sizeof(cases) / sizeof(cases[0]), static_cast<size_t>(KS_FIELD_TYPE_COUNT));
  const char* const* table = KsFieldTypeKeywords();
  EXPECT_EQ(table[KS_FIELD_TYPE_COUNT], nullptr);
  for (const KeywordCase& c : cases) {
    SCOPED_TRACE(c.keyword);
    EXPECT_EQ(KsKeywordIndex(c.keyword, table), c.index);
    KsField* f = KsCreateField(c.keyword);
    ASSERT_NE(f, nullptr);
    EXPECT_STREQ(f->GetClassName(), c.className);
    EXPECT_EQ(f->GetClassInfo(), KsObject::ClassRecord());
    EXPECT_EQ(f->GetOwner(), nullptr);
    delete f;
  }
}

TEST(KsFieldFactory, UnknownKeywordsAreReported) {
  for (const char* word : {"sffloat", "SFVec4f", "Int32"}) {
    SCOPED_TRACE(word);
    testing::internal::CaptureStderr();
    EXPECT_EQ(KsCreateField(word), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              std::string("KsCreateField()\n  Unknown Field Type ") + word + "\n");
  }
  EXPECT_EQ(KsKeywordIndex("SFVec4f", KsFieldTypeKeywords()), -1);
}

}  // namespace
