#include <gtest/gtest.h>

#include <string>

#include "scenegraph/core/fields/color_value.h"
#include "scenegraph/core/fields/image_value.h"
#include "scenegraph/core/object/object.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/fields/string_value.h"

namespace {
KsClassRecord MakeRecord(const char* name) {
  KsClassRecord r;
  r.name = name;
  return r;
}
}  // namespace

TEST(ClassRegistry, ValueClassesHangUnderTheRoot) {
  KsString s;
  KsCol c;
  KsImage i;
  KsClassRecord* root = KsObject::ClassRecord();
  ASSERT_NE(root, nullptr);
  EXPECT_STREQ(root->name, "KsObject");
  EXPECT_EQ(root->parent, nullptr);
  EXPECT_EQ(s.GetClassInfo()->parent, root);
  EXPECT_EQ(c.GetClassInfo()->parent, root);
  EXPECT_EQ(i.GetClassInfo()->parent, root);
  // The record's name is the pointer GetClassName returns.
  EXPECT_EQ(s.GetClassInfo()->name, s.GetClassName());
  // Each is linked once among the root's children.
  int found = 0;
  for (KsClassRecord* r = root->firstChild; r; r = r->nextSibling)
    if (r == s.GetClassInfo()) ++found;
  EXPECT_EQ(found, 1);
  KsString again;
  EXPECT_EQ(again.GetClassInfo(), s.GetClassInfo());

  EXPECT_EQ(KsClassManager::IsKindOf(s.GetClassInfo(), "KsObject"), 2);
  EXPECT_EQ(KsClassManager::IsKindOf(s.GetClassInfo(), "KsString"), 1);
  EXPECT_EQ(KsClassManager::IsKindOf(s.GetClassInfo(), "KsCol"), 0);
  EXPECT_EQ(KsClassManager::IsKindOf(s.GetClassInfo(), "ksstring"), 0);

  KsObject plain;
  EXPECT_STREQ(plain.GetClassName(), "KsObject");
  EXPECT_EQ(plain.GetClassInfo(), root);
  EXPECT_EQ(plain.Print(nullptr, 0), 0);
}

TEST(ClassRegistry, IsTableSetHasARecordOfItsOwnUnderNoParent) {
  KsIsTableSet set;
  KsClassRecord* record = set.GetClassInfo();
  ASSERT_NE(record, nullptr);
  EXPECT_STREQ(record->name, "KsIsTableSet");
  EXPECT_EQ(record->name, set.GetClassName());
  EXPECT_EQ(record->parent, nullptr);
  EXPECT_EQ(record->nextSibling, nullptr);
  for (KsClassRecord* r = KsObject::ClassRecord()->firstChild; r; r = r->nextSibling)
    EXPECT_NE(r, record);
  KsIsTableSet again;
  EXPECT_EQ(again.GetClassInfo(), record);
  EXPECT_EQ(KsClassManager::IsKindOf(record, "KsObject"), 0);
}

TEST(ClassRegistry, RegisterAppendsInOrderAndPrints) {
  KsClassRecord top = MakeRecord("Top"), a = MakeRecord("A"), b = MakeRecord("B"),
                c = MakeRecord("C");
  KsClassManager::Register(&a, &top);
  KsClassManager::Register(&b, &top);
  KsClassManager::Register(&c, &a);
  EXPECT_EQ(top.firstChild, &a);
  EXPECT_EQ(a.nextSibling, &b);
  EXPECT_EQ(c.parent, &a);
  EXPECT_EQ(KsClassManager::IsKindOf(&c, "Top"), 3);

  testing::internal::CaptureStdout();
  KsClassManager::PrintHierarchy(&top, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Top Down Hierarchy[Top]\n  Top\n    A\n      C\n    B\n");
  testing::internal::CaptureStdout();
  KsClassManager::PrintBackTrack(&c, 0);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "BackTrack[C]\n  C\n    A\n      Top\n");
}

TEST(ClassRegistry, NullParentIsReportedAndLeftUnlinked) {
  KsClassRecord orphan = MakeRecord("Orphan");
  testing::internal::CaptureStdout();
  KsClassManager::Register(&orphan, nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Ks Class Manager :\n    NULL Parent Class Is Detected\n"
            "    In intializing class [Orphan]\n");
  EXPECT_EQ(orphan.parent, nullptr);
  EXPECT_EQ(orphan.nextSibling, nullptr);

  KsClassRecord* slot = nullptr;
  KsClassRecord* made = KsClassManager::EnsureUnlinked(&slot, "Loose");
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(slot, made);
  EXPECT_EQ(KsClassManager::EnsureUnlinked(&slot, "Loose"), made);
  EXPECT_EQ(made->parent, nullptr);
  delete made;
}
