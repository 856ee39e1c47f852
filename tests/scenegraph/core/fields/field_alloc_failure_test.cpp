// Allocation failures in the set protocol. The non-throwing operator new
// (the one the library uses where it has a failure path) is replaced here
// so that a test can make one of the next allocations fail.
#include <gtest/gtest.h>

#include <new>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/field_test_util.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/probe_nodes.h"
#include "scenegraph/core/scene_test_util.h"

#include <cstdio>
#include <string>

namespace {

// -1: off; n >= 0: n more allocations succeed, then one fails.
int g_failAfter = -1;
// 0: off; otherwise the next allocation of at least this many bytes fails.
std::size_t g_failFrom = 0;

void* NoThrowAllocate(std::size_t size, bool array) {
  if (g_failFrom != 0 && size >= g_failFrom) {
    g_failFrom = 0;
    return nullptr;
  }
  if (g_failAfter == 0) {
    g_failAfter = -1;
    return nullptr;
  }
  if (g_failAfter > 0) --g_failAfter;
  return array ? ::operator new[](size) : ::operator new(size);
}

// Arms the failure for the scope of one test.
class FailingNew {
 public:
  explicit FailingNew(int succeedFirst) { g_failAfter = succeedFirst; }
  ~FailingNew() { g_failAfter = -1; }
  bool Fired() const { return g_failAfter == -1; }
};

// Arms a failure of the next large allocation for the scope of one test.
class FailingLargeNew {
 public:
  explicit FailingLargeNew(std::size_t bytes) { g_failFrom = bytes; }
  ~FailingLargeNew() { g_failFrom = 0; }
  bool Fired() const { return g_failFrom == 0; }
};

}  // namespace

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return NoThrowAllocate(size, false);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return NoThrowAllocate(size, true);
}

namespace {

using kstest::PrintOf;
using kstest::ProbeNode;

TEST(KsFieldAllocation, FailedSetEmptiesTheListWithoutNotice) {
  ProbeNode owner;
  KsMFVec3f f;
  f.Init(&owner, 1, "point");
  const KsVec3f old[] = {KsVec3f(1, 2, 3)};
  ASSERT_EQ(f.Set(1, old), 0);
  owner.log.clear();

  const KsVec3f next[] = {KsVec3f(4, 5, 6), KsVec3f(7, 8, 9)};
  {
    FailingNew fail(0);
    EXPECT_EQ(f.Set(2, next), 1);
    EXPECT_TRUE(fail.Fired());
  }
  EXPECT_EQ(f.GetCount(), 0);
  EXPECT_EQ(f.GetElements(), nullptr);
  EXPECT_TRUE(owner.log.empty());
  EXPECT_EQ(PrintOf(f), "[\n]\n");
  // The field is usable afterwards.
  EXPECT_EQ(f.Set(2, next), 0);
  EXPECT_EQ(f.GetCount(), 2);
}

TEST(KsFieldAllocation, FailedAppendKeepsThePendingList) {
  KsMFInt f;
  f.Begin();
  EXPECT_EQ(f.Append(1), 0);
  {
    FailingNew fail(0);
    EXPECT_EQ(f.Append(2), 1);
  }
  EXPECT_EQ(f.Append(3), 0);
  EXPECT_EQ(f.Commit(), 0);
  EXPECT_EQ(PrintOf(f), "[\n1,\n3]\n");
}

TEST(KsFieldAllocation, FailedCommitEmptiesTheList) {
  ProbeNode owner;
  KsMFFloat f;
  f.Init(&owner, 1, "key");
  const float old[] = {1.0f, 2.0f};
  f.Set(2, old);
  f.Begin();
  f.Append(3.0f);
  owner.log.clear();
  {
    FailingNew fail(0);
    EXPECT_EQ(f.Commit(), 1);
    EXPECT_TRUE(fail.Fired());
  }
  EXPECT_EQ(f.GetCount(), 0);
  EXPECT_TRUE(owner.log.empty());
  // The pending list is gone: a new Commit gives the empty list.
  EXPECT_EQ(f.Commit(), 0);
  EXPECT_EQ(f.GetCount(), 0);
}

TEST(KsFieldAllocation, FailedNodeListReleasesWhatItHeld) {
  KsNode::ResetGlobals();
  ProbeNode::Destroyed() = 0;
  ProbeNode* a = new ProbeNode(1);
  ProbeNode* b = new ProbeNode(2);
  KsMFNode f;
  KsNode* first[] = {a};
  f.Set(1, first);
  KsNode* second[] = {a, b};
  b->Ref();  // the test's own reference
  {
    // BeforeSet's copy of the old list succeeds, the new array fails.
    FailingNew fail(1);
    EXPECT_EQ(f.Set(2, second), 1);
    EXPECT_TRUE(fail.Fired());
  }
  EXPECT_EQ(f.GetCount(), 0);
  EXPECT_EQ(ProbeNode::Destroyed(), 1);  // a lost its only reference
  EXPECT_EQ(b->GetRefCount(), 1);
  b->Unref();
  EXPECT_EQ(ProbeNode::Destroyed(), 2);
}

TEST(KsFieldAllocation, LowMemoryInNodeBeforeSetIsReported) {
  KsNode::ResetGlobals();
  ProbeNode* a = new ProbeNode(1);
  a->Ref();  // kept alive by the test: the old list's reference is lost
  KsMFNode f;
  KsNode* first[] = {a};
  f.Set(1, first);
  testing::internal::CaptureStderr();
  {
    FailingNew fail(0);
    EXPECT_EQ(f.Set(1, first), 0);
  }
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Low Memory Warning!!\n  KsSFNode::BeforeSet()\n");
  EXPECT_EQ(f.GetCount(), 1);
  f.ReleaseNodes();
  a->SetRefCount(1);
  a->Unref();
}

}  // namespace

namespace {

TEST(KsFieldAllocation, BeginThatCannotCopyMakesCommitFail) {
  KsMFInt f;
  const int start[] = {1, 2, 3};
  f.Set(3, start);
  {
    FailingNew fail(1);  // the second element's copy fails
    f.Begin();
    EXPECT_TRUE(fail.Fired());
  }
  f.Append(4);
  EXPECT_EQ(f.Commit(), 1);
  EXPECT_EQ(f.GetCount(), 0);
  // The next build starts clean.
  f.Begin();
  f.Append(5);
  EXPECT_EQ(f.Commit(), 0);
  EXPECT_EQ(PrintOf(f), "[\n5\n]\n");
}

}  // namespace

namespace {

// A list whose values cannot be held fails the read as too large: an empty
// list in its place would pass for the file.
TEST(KsFieldAllocation, AListThatCannotBeHeldFailsTheRead) {
  kstest::RegisterProbes();
  const std::string path = testing::TempDir() + "ks_list_too_large.wrl";
  std::string text = "#VRML V2.0 utf8\nGroup { children [\n";
  for (int i = 0; i < 60000; ++i) text += "Group { }\n";
  text += "] }\n";
  ASSERT_TRUE(kstest::WriteFile(path, text));
  KsPartition* scene = new KsPartition;
  {
    // The children's array, 60,000 pointers: nothing else read is as large.
    FailingLargeNew fail(60000 * sizeof(KsNode*) / 2);
    EXPECT_EQ(scene->ReadFile(path.c_str()), 1);
    EXPECT_TRUE(fail.Fired());
  }
  EXPECT_EQ(scene->GetReadErrors().failure, kKsReadTooLarge);
  EXPECT_EQ(scene->GetReadErrors().failureLine, 2);
  delete scene;
  // With memory for it the same file reads whole.
  KsPartition again;
  EXPECT_EQ(again.ReadFile(path.c_str()), 0);
  ASSERT_EQ(again.GetNodeCount(), 1);
  EXPECT_EQ(again.GetNode(0)->GetChildren()->GetCount(), 60000);
  std::remove(path.c_str());
  KsResetNodeFactory();
}

}  // namespace
