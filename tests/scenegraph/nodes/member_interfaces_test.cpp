// Every node class's registered members against the VRML 2.0 interface of
// its keyword: the names, kinds and order the readers know a type by must
// be what the class declares, so that a member dropped from a class or
// declared with the wrong kind fails here. The few differences on purpose
// are listed, and each must still occur.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/object/node_interfaces.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/node_library.h"

namespace {

// A name a class has beyond its interface: a second name of one of its
// fields (same), or a member or event-in of its own (null).
struct Extra {
  const char* keyword;
  const char* name;
  const char* same;
};

const Extra kExtras[] = {
    {"Color", "rgb", "color"},
    {"ScalarInterpolator", "keys", "key"},
    {"ScalarInterpolator", "values", "keyValue"},
    {"PositionInterpolator", "keys", "key"},
    {"PositionInterpolator", "values", "keyValue"},
    {"ColorInterpolator", "keys", "key"},
    {"ColorInterpolator", "values", "keyValue"},
    {"OrientationInterpolator", "keys", "key"},
    {"OrientationInterpolator", "values", "keyValue"},
    {"CoordinateInterpolator", "keys", "key"},
    {"CoordinateInterpolator", "values", "keyValue"},
    {"NormalInterpolator", "keys", "key"},
    {"NormalInterpolator", "values", "keyValue"},
    // Inline is a group: it holds its children and takes their events.
    {"Inline", "children", nullptr},
    {"Inline", "addChildren", nullptr},
    {"Inline", "removeChildren", nullptr},
};

// Interface fields the class does not keep (reading skips them).
const Extra kAbsent[] = {
    {"ElevationGrid", "ccw", nullptr},
};

// Classes whose fields are not registered in the interface's order: an
// Inline's url follows the group fields it inherits.
const char* const kOwnOrder[] = {"Inline"};

template <size_t N>
const Extra* Find(const Extra (&list)[N], const std::string& keyword, const std::string& name) {
  for (const Extra& e : list)
    if (keyword == e.keyword && name == e.name) return &e;
  return nullptr;
}

// What a member's flags make of it: 'e' takes and sends events, 'f' neither,
// 's' takes set_ events and sends none; '?' for any other mix.
char KindOf(const KsMemberTable& m) {
  if (m.noEventIn == 0 && m.noEventOut == 0) return 'e';
  if (m.noEventIn == 1 && m.noEventOut == 1) return 'f';
  if (m.noEventIn == 0 && m.noEventOut == 1) return 's';
  return '?';
}

std::string Normalized(const std::string& name) {
  std::vector<char> text(name.begin(), name.end());
  text.push_back('\0');
  KsNormalizeEventName(text.data());
  return text.data();
}

class MemberInterfacesTest : public testing::Test {
 protected:
  void SetUp() override {
    KsNode::ResetGlobals();
    KsResetNodeFactory();
    KsRegisterNodeLibrary();
    KsResetBindings();
  }
  void TearDown() override {
    KsResetBindings();
    KsResetNodeFactory();
  }
};

TEST_F(MemberInterfacesTest, EveryClassHasTheMembersAndEventsOfItsInterface) {
  KsPartition factory;
  std::set<std::string> differencesSeen;
  int checked = 0;
  for (int k = 0; k < KS_NODE_KEYWORD_COUNT; ++k) {
    const std::string keyword = KsNodeKeyword(k);
    SCOPED_TRACE(keyword);
    const std::vector<KsVrmlDeclaration> interface = KsVrmlInterface(keyword.c_str());
    ASSERT_FALSE(interface.empty());
    KsNode* node = factory.CreateNode(keyword.c_str());
    ASSERT_NE(node, nullptr);
    node->Ref();
    EXPECT_EQ(node->GetClassName(), "Ks" + keyword);
    ++checked;

    std::vector<const KsMemberTable*> members;
    for (int i = 0; i < node->GetMemberCount(); ++i) members.push_back(node->GetMember(i));
    auto member = [&](const std::string& name) -> const KsMemberTable* {
      for (const KsMemberTable* m : members)
        if (name == m->name) return m;
      return nullptr;
    };
    auto declared = [&](char kind, const std::string& name) {
      for (const KsVrmlDeclaration& d : interface)
        if (d.kind == kind && d.name == name) return true;
      return false;
    };

    // Each interface field is a member of its kind.
    std::vector<std::string> fieldOrder;
    for (const KsVrmlDeclaration& d : interface) {
      if (d.kind != 'e' && d.kind != 'f') continue;
      SCOPED_TRACE(d.name);
      const KsMemberTable* m = member(d.name);
      if (Find(kAbsent, keyword, d.name)) {
        differencesSeen.insert(keyword + "." + d.name);
        EXPECT_EQ(m, nullptr) << "listed as absent";
        continue;
      }
      ASSERT_NE(m, nullptr) << "interface field is not a member";
      fieldOrder.push_back(d.name);
      char want = d.kind;
      if (d.kind == 'f' && declared('i', "set_" + d.name)) want = 's';
      EXPECT_EQ(KindOf(*m), want);
      EXPECT_EQ(m->field->GetNoPropagate(), m->noEventOut);
      EXPECT_EQ(m->owner, node);
    }

    // Each member is an interface field or a listed extra; the members
    // that are interface fields come in the interface's order.
    std::vector<std::string> memberOrder;
    std::set<std::string> names;
    for (const KsMemberTable* m : members) {
      SCOPED_TRACE(m->name);
      EXPECT_TRUE(names.insert(m->name).second) << "registered twice";
      if (declared('e', m->name) || declared('f', m->name)) {
        memberOrder.push_back(m->name);
        continue;
      }
      const Extra* extra = Find(kExtras, keyword, m->name);
      ASSERT_NE(extra, nullptr) << "member is not in the interface";
      differencesSeen.insert(keyword + "." + m->name);
      if (extra->same) {
        const KsMemberTable* first = member(extra->same);
        ASSERT_NE(first, nullptr);
        EXPECT_EQ(m->field, first->field);
        EXPECT_EQ(KindOf(*m), KindOf(*first));
      }
    }
    bool ownOrder = false;
    for (const char* name : kOwnOrder) ownOrder = ownOrder || keyword == name;
    if (ownOrder) {
      differencesSeen.insert(keyword + ".order");
      EXPECT_NE(memberOrder, fieldOrder) << "listed as registered in its own order";
    } else {
      EXPECT_EQ(memberOrder, fieldOrder);
    }

    // Each eventIn is a settable field's or one the class handles itself,
    // and each event-in the class handles is declared (or listed).
    std::set<std::string> handled;
    for (int i = 0; i < node->GetEventInCount(); ++i) {
      const std::string name = node->GetEventInName(i);
      handled.insert(name);
      SCOPED_TRACE(name);
      bool isDeclared = false;
      for (const KsVrmlDeclaration& d : interface)
        isDeclared = isDeclared || (d.kind == 'i' && Normalized(d.name) == name);
      if (!isDeclared) {
        EXPECT_NE(Find(kExtras, keyword, name), nullptr) << "event-in is not in the interface";
        differencesSeen.insert(keyword + "." + name);
      }
    }
    for (const KsVrmlDeclaration& d : interface) {
      SCOPED_TRACE(d.name);
      if (d.kind == 'i') {
        const std::string target = Normalized(d.name);
        const KsMemberTable* m = member(target);
        if (m && KindOf(*m) == 's') continue;
        EXPECT_EQ(m, nullptr) << "eventIn of a member that takes no events";
        EXPECT_EQ(handled.count(target), 1u) << "eventIn neither stored nor handled";
      }
      // An eventOut is sent by name, never stored.
      if (d.kind == 'o') {
        EXPECT_EQ(member(d.name), nullptr);
      }
    }
    node->Unref();
  }
  EXPECT_EQ(checked, KS_NODE_KEYWORD_COUNT);

  // A listed difference that no longer occurs is a stale entry.
  std::vector<std::string> listed;
  for (const Extra& e : kExtras) listed.push_back(std::string(e.keyword) + "." + e.name);
  for (const Extra& e : kAbsent) listed.push_back(std::string(e.keyword) + "." + e.name);
  for (const char* keyword : kOwnOrder) listed.push_back(std::string(keyword) + ".order");
  for (const std::string& entry : listed) EXPECT_EQ(differencesSeen.count(entry), 1u) << entry;
}

}  // namespace
