#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/proto_test_util.h"

using kstest::AsProbe;
using kstest::Contains;
using kstest::ProtoTest;
using kstest::Realize;

namespace {

using ProtoDeclarationTest = ProtoTest;

TEST_F(ProtoDeclarationTest, InterfaceListsHoldEveryKindWithDefaults) {
  {
    KsPartition p;
    std::string err = Realize(p,
                              "PROTO P [ eventIn SFInt set_a eventOut SFInt a_changed "
                              "exposedField SFColor col 1 0 0 field SFInt n 7 "
                              "field MFNode kids [ Group { x 3 } Shape { } ] ] { Group { } } "
                              "Group { x 1 }");
    EXPECT_EQ(err, "");
    ASSERT_EQ(p.GetProtoCount(), 1);
    ASSERT_EQ(p.GetNodeCount(), 1);
    KsPartition* proto = p.FindProto("P");
    ASSERT_NE(proto, nullptr);
    EXPECT_STREQ(proto->GetProtoName(), "P");
    EXPECT_EQ(p.FindProto("p"), nullptr);
    const KsProtoInterface* in = proto->FindInterface();
    ASSERT_NE(in, nullptr);
    ASSERT_EQ(in->eventIns.size(), 1u);
    EXPECT_STREQ(in->eventIns[0]->rawName, "set_a");
    EXPECT_STREQ(in->eventIns[0]->memberName, "a");
    EXPECT_EQ(in->eventIns[0]->defaultValue, nullptr);
    ASSERT_EQ(in->eventOuts.size(), 1u);
    EXPECT_STREQ(in->eventOuts[0]->memberName, "a");
    ASSERT_EQ(in->fields.size(), 3u);
    EXPECT_STREQ(in->fields[0]->typeName, "SFColor");
    EXPECT_EQ(in->fields[0]->noEvents, 0);
    EXPECT_EQ(in->fields[1]->noEvents, 1);
    const KsCol& col = static_cast<KsSFColor*>(in->fields[0]->defaultValue)->Get();
    EXPECT_EQ(col.r, 1.0f);
    EXPECT_EQ(col.g, 0.0f);
    EXPECT_EQ(static_cast<KsSFInt*>(in->fields[1]->defaultValue)->Get(), 7);
    KsMFNode* kids = static_cast<KsMFNode*>(in->fields[2]->defaultValue);
    ASSERT_EQ(kids->GetCount(), 2);
    EXPECT_EQ(AsProbe(kids->GetElements()[0])->x.Get(), 3);
    // The body is a partition of its own.
    EXPECT_EQ(proto->GetNodeCount(), 1);
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoDeclarationTest, BadInterfaceEntriesAreReportedAndDropped) {
  struct Case {
    const char* list;
    const char* message;
    size_t fieldsLeft;
  } cases[] = {
      {"eventIns SFBool a field SFInt b 2", "  Unknown Type Specifier eventIns\n", 1},
      {"field SFFoo a field SFInt b 2", "  Unknown Field = SFFoo\n", 1},
      {"field SFInt b 2 field SFInt", "  Error in defining parameter table.\n", 1},
      {"[ field SFInt b 2 ]", "", 1},
  };
  for (const Case& c : cases) {
    KsPartition p;
    std::string err = Realize(p, std::string("PROTO P [ ") + c.list + " ] { }\nGroup { }");
    EXPECT_TRUE(Contains(err, c.message)) << c.list << "\n" << err;
    ASSERT_NE(p.FindProto("P"), nullptr) << c.list;
    const KsProtoInterface* in = p.FindProto("P")->FindInterface();
    EXPECT_EQ(in ? in->fields.size() : 0u, c.fieldsLeft) << c.list;
    EXPECT_EQ(p.GetNodeCount(), 1) << c.list;
  }
}

TEST_F(ProtoDeclarationTest, IllegalStatementsAreReportedAndReadingGoesOn) {
  KsPartition p;
  std::string err = Realize(p, "PROTO [ ] { } Group { x 1 }\nPROTO Q { }\nGroup { x 2 }");
  EXPECT_TRUE(Contains(err,
                       "KsPartition::RealizeProto()\n  Illegal PROTO definition.\n"
                       "  Line number = 1\n"))
      << err;
  EXPECT_EQ(p.GetProtoCount(), 0);
  // Only the words that belong to a broken declaration are skipped.
  ASSERT_EQ(p.GetNodeCount(), 2);
  EXPECT_EQ(AsProbe(p.GetNode(0))->x.Get(), 1);
  EXPECT_EQ(AsProbe(p.GetNode(1))->x.Get(), 2);

  KsPartition q;
  err = Realize(q, "EXTERNPROTO E \"e.wrl\"\nGroup { x 3 } EXTERNPROTO");
  EXPECT_TRUE(Contains(err, "  Illegal EXTERNPROTO definition.\n  Line number = 1\n")) << err;
  EXPECT_TRUE(Contains(err, "  Illegal EXTERNPROTO definition.\n  Line number = 2\n")) << err;
  ASSERT_EQ(q.GetNodeCount(), 1);
  EXPECT_EQ(AsProbe(q.GetNode(0))->x.Get(), 3);
}

TEST_F(ProtoDeclarationTest, IsBindsToTheFirstListWithThatName) {
  KsPartition p;
  std::string err = Realize(p,
                            "PROTO P [ exposedField SFInt v 1 eventIn SFInt set_in "
                            "eventOut SFInt out_changed ] "
                            "{ Group { x IS v } Group { x IS set_in } Group { x IS out_changed } "
                            "Group { x IS nothing } }");
  EXPECT_TRUE(Contains(err,
                       "KsPartition::IsLookUp()\n  'IS' target not found.\n"
                       "  Target Name  = x\n  Export Name  = nothing\n"
                       "  Owner Type   = KsProbe\n"))
      << err;
  KsPartition* proto = p.FindProto("P");
  ASSERT_NE(proto, nullptr);
  const KsProtoInterface* in = proto->FindInterface();
  ASSERT_EQ(in->fieldIs.size(), 1u);
  ASSERT_EQ(in->eventInIs.size(), 1u);
  ASSERT_EQ(in->eventOutIs.size(), 1u);
  EXPECT_STREQ(in->eventInIs[0]->exportedName, "in");
  EXPECT_STREQ(in->eventInIs[0]->rawName, "set_in");
  EXPECT_EQ(in->fieldIs[0]->innerNode, proto->GetNode(0));
  // Events cross the interface on routes from and to no node.
  ASSERT_EQ(proto->GetRouter()->GetRouteCount(), 2);
  KsNode *source, *target;
  const char *from, *to;
  proto->GetRouter()->GetRoute(0, &source, &from, &target, &to);
  EXPECT_EQ(source, nullptr);
  EXPECT_STREQ(from, "in");
  EXPECT_EQ(target, proto->GetNode(1));
  proto->GetRouter()->GetRoute(1, &source, &from, &target, &to);
  EXPECT_EQ(source, proto->GetNode(2));
  EXPECT_EQ(target, nullptr);
  EXPECT_STREQ(to, "out");
}

TEST_F(ProtoDeclarationTest, IsOutsideAProtoIsNotFound) {
  KsPartition p;
  std::string err = Realize(p, "Group { x IS v }");
  EXPECT_TRUE(Contains(err, "  'IS' target not found.\n")) << err;
  EXPECT_EQ(p.GetNodeCount(), 1);
}

TEST_F(ProtoDeclarationTest, ProtoNamesAreKeywordsOnlyInTheirOwnPartition) {
  KsPartition p;
  std::string err = Realize(p,
                            "PROTO A [ ] { Group { x 4 } } PROTO A [ ] { Group { x 5 } } "
                            "PROTO B [ ] { A { } } A { } B { }");
  // B's body cannot see A: only the declarations of its own partition count.
  EXPECT_TRUE(Contains(err, "Unknown Node Identifier A\n")) << err;
  ASSERT_EQ(p.GetNodeCount(), 2);
  EXPECT_EQ(p.GetProtoCount(), 3);
  // The first of two declarations with one name wins.
  EXPECT_EQ(AsProbe(kstest::Inner(p.GetNode(0)))->x.Get(), 4);
  EXPECT_EQ(kstest::Inner(p.GetNode(1)), nullptr);
}

}  // namespace
