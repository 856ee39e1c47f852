#include <gtest/gtest.h>

#include <string>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/object/node_scanner.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/proto_test_util.h"
#include "scenegraph/core/reader_test_util.h"

using kstest::AsCustom;
using kstest::AsProbe;
using kstest::Contains;
using kstest::Inner;
using kstest::PartitionProbe;
using kstest::ProtoTest;
using kstest::Realize;

namespace {

// A class that cannot be duplicated (no NewInstance of its own), which also
// counts its drawing; drawing fails with x when x is not 0.
class PlainProbe : public KsNode {
 public:
  PlainProbe() {
    RegisterMember("x", &x, 0);
    RegisterDone();
  }
  const char* GetClassName() const override { return "KsPlainProbe"; }
  int ExecTraverse(KsMatrix*) override {
    ++Draws();
    return x.Get();
  }
  static int& Draws() {
    static int n = 0;
    return n;
  }
  KsSFInt x;
};

KsNode* MakePlain() { return new PlainProbe(); }

class DrawProbe : public PlainProbe {
 public:
  KsNode* NewInstance() override { return new DrawProbe(); }
};

KsNode* MakeDraw() { return new DrawProbe(); }

class Collect : public KsNodeScanner {
 public:
  int Visit(KsNode* node) override {
    visited.push_back(node);
    return 0;
  }
  std::vector<KsNode*> visited;
};

using ProtoInstanceTest = ProtoTest;

TEST_F(ProtoInstanceTest, InstanceMembersTakeDefaultsAndFileValuesThroughIs) {
  {
    KsPartition p;
    std::string err = Realize(p,
                              "PROTO P [ exposedField SFInt v 5 field SFFloat w 2.5 "
                              "eventIn SFInt set_e eventOut SFInt o ] "
                              "{ Group { x IS v f IS w } }\n"
                              "P { } P { v 9 }");
    ASSERT_EQ(p.GetNodeCount(), 2);
    KsCustomNode* a = AsCustom(p.GetNode(0));
    KsCustomNode* b = AsCustom(p.GetNode(1));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(a->GetDeclaration(), p.FindProto("P"));
    // Members are the fields; the eventIn is a special event-in.
    EXPECT_EQ(a->GetMemberCount(), 2);
    EXPECT_EQ(a->GetEventInCount(), 1);
    EXPECT_STREQ(a->GetEventInName(0), "e");
    EXPECT_EQ(a->GetMember(0)->noEventIn, 0);
    EXPECT_EQ(a->GetMember(1)->noEventIn, 1);
    EXPECT_EQ(AsProbe(Inner(a))->x.Get(), 5);
    EXPECT_EQ(AsProbe(Inner(a))->f.Get(), 2.5f);
    EXPECT_EQ(AsProbe(Inner(b))->x.Get(), 9);
    // Private copies: the declaration and the other instance stay.
    static_cast<KsSFInt*>(b->LookUpMember("v"))->Set(11);
    EXPECT_EQ(AsProbe(Inner(b))->x.Get(), 11);
    EXPECT_EQ(AsProbe(Inner(a))->x.Get(), 5);
    EXPECT_EQ(AsProbe(p.FindProto("P")->GetNode(0))->x.Get(), 0);
    EXPECT_NE(Inner(a), Inner(b));
    EXPECT_EQ(a->GetPrivateCopy()->GetOwner(), a);
    // An unbound field is reported, and that is all.
    EXPECT_FALSE(Contains(err, "Copy Failed")) << err;

    kstest::TextStream out;
    a->WriteTypeName(&out);
    EXPECT_EQ(out.out, "P\n");
    KsNode* clone = a->NewInstance();
    ASSERT_NE(AsCustom(clone), nullptr);
    EXPECT_EQ(AsProbe(Inner(clone))->x.Get(), 5);
    clone->Ref();
    clone->Unref();
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoInstanceTest, IsTypeMismatchAndMissingTargetsAreReported) {
  KsPartition p;
  std::string err = Realize(p,
                            "PROTO P [ exposedField SFBool b TRUE ] { Group { children IS b } }\n"
                            "P { }");
  EXPECT_TRUE(Contains(err, "KsPartition::OwnerMemberChanged()\n  Copy Failed.\n")) << err;
  ASSERT_EQ(p.GetNodeCount(), 1);
  err = Realize(p, "PROTO Q [ field SFInt n 1 ] { Group { } } Q { }");
  EXPECT_TRUE(Contains(err,
                       "  IS target not found.(Maybe not used)\n  Export Name = n\n"
                       "  Field Type = KsSFInt\n"))
      << err;
}

TEST_F(ProtoInstanceTest, EventsCrossTheInterfaceAlongRoutes) {
  KsPartition p;
  std::string err = Realize(p,
                            "PROTO P [ eventIn SFInt set_in eventOut SFInt out_changed "
                            "exposedField SFInt v 0 ] "
                            "{ DEF T Group { x IS set_in } DEF U Group { x IS out_changed } "
                            "ROUTE T.x TO U.x  Group { x IS v } }\n"
                            "DEF A Group { } DEF I P { } DEF B Group { } DEF C Group { }\n"
                            "ROUTE A.x TO I.set_in ROUTE I.out_changed TO B.x\n"
                            "ROUTE A.x TO I.v ROUTE I.v_changed TO C.x");
  EXPECT_EQ(err.find("Failed"), std::string::npos) << err;
  KsNode* a = p.FindLabel("A");
  KsNode* i = p.FindLabel("I");
  ASSERT_NE(AsCustom(i), nullptr);
  testing::internal::CaptureStderr();
  AsProbe(a)->x.Set(4);
  testing::internal::GetCapturedStderr();
  // In through the eventIn, across the body's own route, out again.
  EXPECT_EQ(AsProbe(Inner(i, 0))->x.Get(), 4);
  EXPECT_EQ(AsProbe(Inner(i, 1))->x.Get(), 4);
  EXPECT_EQ(AsProbe(p.FindLabel("B"))->x.Get(), 4);
  // An exposedField takes the event, hands it in and sends its change.
  EXPECT_EQ(static_cast<KsSFInt*>(i->LookUpMember("v"))->Get(), 4);
  EXPECT_EQ(AsProbe(Inner(i, 2))->x.Get(), 4);
  EXPECT_EQ(AsProbe(p.FindLabel("C"))->x.Get(), 4);
}

TEST_F(ProtoInstanceTest, EventInAndExposedFieldOfOneNameGetBoth) {
  KsPartition p;
  Realize(p,
          "PROTO P [ eventIn SFInt set_foo exposedField SFInt foo 1 ] "
          "{ Group { x IS foo } Group { poke IS set_foo } }\n"
          "DEF A Group { } DEF I P { } ROUTE A.x TO I.set_foo");
  testing::internal::CaptureStderr();
  AsProbe(p.FindLabel("A"))->x.Set(6);
  testing::internal::GetCapturedStderr();
  KsNode* i = p.FindLabel("I");
  EXPECT_EQ(AsProbe(Inner(i, 0))->x.Get(), 6);
  ASSERT_EQ(AsProbe(Inner(i, 1))->specialEvents.size(), 1u);
  EXPECT_EQ(AsProbe(Inner(i, 1))->specialEvents[0], "poke");
}

TEST_F(ProtoInstanceTest, ABoundNodeTakenOutOfTheBodyStaysUsable) {
  {
    KsPartition p;
    Realize(p,
            "PROTO P [ exposedField SFInt v 1 eventIn SFInt set_e ] "
            "{ Group { children [ Group { x IS v f IS set_e } ] } }\n"
            "P { }");
    KsNode* instance = p.GetNode(0);
    ASSERT_NE(AsCustom(instance), nullptr);
    KsMFNode& kids = AsProbe(Inner(instance))->children;
    ASSERT_EQ(kids.GetCount(), 1);
    KsNode* bound = kids.GetElements()[0];
    // An event could empty the list just the same.
    kids.Set(0, nullptr);
    ASSERT_EQ(kids.GetCount(), 0);
    static_cast<KsSFInt*>(instance->LookUpMember("v"))->Set(4);
    EXPECT_EQ(AsProbe(bound)->x.Get(), 4);
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoInstanceTest, DefAndUseInABodyGiveOneSharedCopy) {
  {
    KsPartition p;
    std::string err = Realize(p,
                              "PROTO P [ ] { Group { children [ DEF S Shape { x 2 } USE S ] } }\n"
                              "P { }");
    EXPECT_FALSE(Contains(err, "Node not found.")) << err;
    EXPECT_FALSE(Contains(err, "Mismatch")) << err;
    EXPECT_FALSE(Contains(err, "Verify Error")) << err;
    KsNode* group = Inner(p.GetNode(0));
    ASSERT_NE(group, nullptr);
    KsMFNode& kids = AsProbe(group)->children;
    ASSERT_EQ(kids.GetCount(), 2);
    EXPECT_EQ(kids.GetElements()[0], kids.GetElements()[1]);
    EXPECT_EQ(kids.GetElements()[0]->GetRefCount(), 2);
    KsNode* source = AsProbe(p.FindProto("P")->GetNode(0))->children.GetElements()[0];
    EXPECT_NE(kids.GetElements()[0], source);
    EXPECT_EQ(source->GetRefCount(), 2);
    // The copy has the body's labels, pointing at the copies.
    EXPECT_EQ(AsCustom(p.GetNode(0))->GetPrivateCopy()->FindLabel("S"), kids.GetElements()[0]);
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoInstanceTest, NestedProtosPassValuesAndNodesDown) {
  {
    KsPartition p;
    std::string err = Realize(p,
                              "PROTO Outer [ exposedField SFInt v 1 ] {\n"
                              "  PROTO Inner [ exposedField SFInt w 2 field MFNode kids [ ] ] {\n"
                              "    Group { x IS w children IS kids }\n"
                              "  }\n"
                              "  Inner { w IS v kids [ Shape { x 8 } ] }\n"
                              "}\n"
                              "Outer { v 6 } Outer { }");
    ASSERT_EQ(p.GetNodeCount(), 2);
    KsNode* inner = Inner(p.GetNode(0));
    ASSERT_NE(AsCustom(inner), nullptr);
    KsNode* group = Inner(inner);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(AsProbe(group)->x.Get(), 6);
    EXPECT_EQ(AsProbe(Inner(Inner(p.GetNode(1))))->x.Get(), 1);
    // The node passed down is the instance's own copy, not the
    // declaration's, and the Inner instance's member holds the same one.
    ASSERT_EQ(AsProbe(group)->children.GetCount(), 1);
    KsNode* shape = AsProbe(group)->children.GetElements()[0];
    KsMFNode* kids = static_cast<KsMFNode*>(inner->LookUpMember("kids"));
    ASSERT_EQ(kids->GetCount(), 1);
    EXPECT_EQ(kids->GetElements()[0], shape);
    KsNode* declared = Inner(p.FindProto("Outer")->GetNode(0));
    EXPECT_NE(AsProbe(declared)->children.GetElements()[0], shape);
    EXPECT_EQ(AsProbe(shape)->x.Get(), 8);
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoInstanceTest, ClassesWithoutNewInstanceFailTheirCopyButNotTheInstance) {
  KsRegisterNodeConstructor("Box", MakePlain);
  {
    KsPartition p;
    std::string err = Realize(p,
                              "PROTO P [ exposedField SFInt v 3 ] "
                              "{ Group { x IS v children [ Box { } Shape { x 1 } ] } "
                              "Box { x IS v } }\n"
                              "P { }");
    EXPECT_TRUE(Contains(err,
                         "KsNode::NewInstance is called.\n"
                         "  This function must not be called.\n"
                         "  Owner = KsPlainProbe\n"))
        << err;
    EXPECT_TRUE(Contains(err, "KsPartition::DuplicateNode()\n  Duplicate Failed.\n")) << err;
    EXPECT_TRUE(Contains(err, "KsPartition::DuplicateFrom()\n  DuplicateNode()\n")) << err;
    EXPECT_TRUE(Contains(err, "  Failed to find duplicated node.\n")) << err;
    ASSERT_EQ(p.GetNodeCount(), 1);
    KsCustomNode* instance = AsCustom(p.GetNode(0));
    ASSERT_NE(instance, nullptr);
    // The copy keeps what could be copied.
    ASSERT_EQ(instance->GetPrivateCopy()->GetNodeCount(), 1);
    EXPECT_EQ(AsProbe(Inner(instance))->x.Get(), 3);
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoInstanceTest, WalksEnterInstancesOnlyWhenAskedAndDrawTheCopy) {
  KsRegisterNodeConstructor("Sphere", MakeDraw);
  PlainProbe::Draws() = 0;
  KsPartition p;
  Realize(p, "PROTO P [ ] { Sphere { } Sphere { } } Group { children [ P { } ] }");
  ASSERT_EQ(p.GetNodeCount(), 1);
  Collect outside;
  outside.SetEnterProto(1);
  p.GetNode(0)->Scan(&outside);
  EXPECT_EQ(outside.visited.size(), 2u);
  Collect inside;
  inside.SetEnterProto(0);
  p.GetNode(0)->Scan(&inside);
  ASSERT_EQ(inside.visited.size(), 4u);
  EXPECT_EQ(std::string(inside.visited[2]->GetClassName()), "KsPlainProbe");
  EXPECT_EQ(inside.GetDepth(), 0);

  KsNode* instance = AsProbe(p.GetNode(0))->children.GetElements()[0];
  EXPECT_EQ(instance->ExecTraverse(nullptr), 0);
  EXPECT_EQ(PlainProbe::Draws(), 2);

  // A failing body is reported as a partition's, and the instance gives 1.
  Realize(p, "PROTO F [ ] { Sphere { x 7 } Sphere { } } F { }");
  KsNode* failing = p.GetNode(p.GetNodeCount() - 1);
  testing::internal::CaptureStderr();
  EXPECT_EQ(failing->ExecTraverse(nullptr), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "KsPartition::Traverse\n  Error occured during traverse\n");
  EXPECT_EQ(PlainProbe::Draws(), 3);
}

TEST_F(ProtoInstanceTest, BodiesThreeLevelsDeepAreCopiedWhole) {
  {
    KsPartition p;
    EXPECT_EQ(Realize(p,
                      "PROTO P [ exposedField SFInt v 1 ] "
                      "{ Group { child Group { child Group { x IS v } } } }\n"
                      "P { v 5 } P { }"),
              "");
    ASSERT_EQ(p.GetNodeCount(), 2);
    KsNode* declared = p.GetProto(0)->GetNode(0);
    PartitionProbe* levels[2][3];
    for (int k = 0; k < 2; ++k) {
      levels[k][0] = AsProbe(Inner(AsCustom(p.GetNode(k))));
      for (int d = 1; d < 3; ++d) levels[k][d] = AsProbe(levels[k][d - 1]->child.Get());
    }
    PartitionProbe* source = AsProbe(declared);
    for (int d = 0; d < 3; ++d) {
      SCOPED_TRACE(d);
      ASSERT_NE(levels[0][d], nullptr);
      ASSERT_NE(levels[1][d], nullptr);
      EXPECT_NE(levels[0][d], source);
      EXPECT_NE(levels[0][d], levels[1][d]);
      if (d < 2) source = AsProbe(source->child.Get());
    }
    EXPECT_EQ(levels[0][2]->x.Get(), 5);
    EXPECT_EQ(levels[1][2]->x.Get(), 1);
    EXPECT_EQ(source->x.Get(), 0);  // the declaration is left alone
  }
  ExpectAllDestroyed();
}

TEST_F(ProtoInstanceTest, ADefaultReplacingARoutedBodyNodeTakesItsRoutes) {
  for (const char* route : {"ROUTE S.x TO T.x", "ROUTE T.x TO S.x"}) {
    SCOPED_TRACE(route);
    {
      KsPartition p;
      EXPECT_EQ(Realize(p, std::string("PROTO P [ exposedField SFNode n NULL ] "
                                       "{ DEF S Group { } "
                                       "Group { child DEF T Group { } child IS n } ") +
                               route + " }\nP { }"),
                "");
      KsPartition* copy = AsCustom(p.GetNode(0))->GetPrivateCopy();
      ASSERT_NE(copy, nullptr);
      EXPECT_EQ(copy->FindLabel("T"), nullptr);  // replaced by the default
      EXPECT_EQ(copy->GetRouter()->GetRouteCount(), 0);
      AsProbe(copy->FindLabel("S"))->x.Set(3);
    }
    ExpectAllDestroyed();
  }
}

// PROTOs nested in one another's bodies, each using the one inside it.
std::string NestedProtos(int levels, int usesPerLevel) {
  std::string text;
  for (int i = 0; i < levels; ++i) text += "PROTO L" + std::to_string(i) + " [ ] { ";
  text += "Group { x 1 } ";
  for (int i = levels - 1; i >= 0; --i) {
    text += "} ";
    for (int k = 0; k < (i == 0 ? 1 : usesPerLevel); ++k) text += "L" + std::to_string(i) + " { } ";
  }
  return text;
}

TEST_F(ProtoInstanceTest, DeepAndMultiplyingNestingIsBounded) {
  {
    KsPartition p;
    std::string err = Realize(p, NestedProtos(2 * KS_MAX_PROTO_DEPTH, 1));
    EXPECT_TRUE(Contains(err, "  PROTO instances nest too deep.\n")) << err.substr(0, 2000);
  }
  ExpectAllDestroyed();
  const int made = KsNode::GetConstructedCount();
  {
    // Each level doubles the one inside it: 2^30 nodes unless bounded.
    KsPartition p;
    testing::internal::CaptureStderr();
    p.RealizeTree(kstest::Parsed(NestedProtos(30, 2)).root());
    std::string err = testing::internal::GetCapturedStderr();
    // The instance's own allowance or the read's, whichever is met first.
    EXPECT_TRUE(Contains(err, "  PROTO instance adds too many nodes.\n") ||
                Contains(err, "  PROTO instances add too many nodes to this file.\n"));
    EXPECT_LE(KsNode::GetConstructedCount() - KsNode::GetDestroyedCount(),
              4 * KS_MAX_INSTANCE_NODES);
  }
  ExpectAllDestroyed();
  // Refused instances are refused before they are built: what was made
  // in all stays within the allowances, not just what was kept.
  EXPECT_LE(KsNode::GetConstructedCount() - made, 2 * KS_MAX_INSTANCE_NODES);
}

TEST_F(ProtoInstanceTest, SmallInstancesAreBuiltHoweverManyNodesLive) {
  KsPartition p;
  std::string text = "PROTO P [ ] { Group { x 4 } }\n";
  for (int i = 0; i <= KS_MAX_INSTANCE_NODES; ++i) text += "Group { }\n";
  text += "P { } P { }\n";
  EXPECT_EQ(Realize(p, text), "");
  ASSERT_EQ(p.GetNodeCount(), KS_MAX_INSTANCE_NODES + 3);
  for (int i = 1; i <= 2; ++i) {
    KsCustomNode* instance = AsCustom(p.GetNode(p.GetNodeCount() - i));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(AsProbe(Inner(instance))->x.Get(), 4);
  }
}

}  // namespace
