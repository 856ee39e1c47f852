// Statements whose nodes are given, named and dropped while the lists that
// hold them are still being read: every node a list or a later USE names
// is alive when it is taken, the scene draws what the text says, and all
// of it is freed with the scene (ASan reports any use after free).
#include <gtest/gtest.h>

#include <string>

#include "render_test_util.h"
#include "scenegraph/core/fields/mf_fields.h"

namespace {

class ReadOrderTest : public kstest::RenderTest {};

TEST_F(ReadOrderTest, NodesDroppedByALaterValueLiveUntilTheReadEnds) {
  // Primitives of one box, to count the boxes drawn.
  Read("Shape { geometry Box { } }");
  Draw();
  const size_t perBox = kstest::Recorded().size();
  ASSERT_GT(perBox, 0u);

  const std::string box = "Shape { geometry Box { } }";
  struct Case {
    const char* name;
    std::string text;
    int roots;
    int boxes;
    const char* quiet;  // a message that must not appear
  } cases[] = {
      // The inner list takes S, its second value drops it, and then the
      // outer list takes it.
      {"101-byte file",
       "#VRML V2.0 utf8\nGroup { children [ DEF S Shape { } Transform { children [ USE S ] "
       "children [ ] } ] }\n",
       1, 0, "Failed to USE"},
      {"second value of the inner list given NULL",
       "Group { children [ DEF S " + box + " Transform { children USE S children NULL } ] }", 1, 1,
       "Failed to USE"},
      {"DEF used before its list ends",
       "Group { children [ DEF S " + box + " Transform { children [ USE S ] } ] }", 1, 2,
       "Failed to USE"},
      // The second value names the node the first gave: it is kept.
      {"field given twice",
       "Group { children [ DEF S " + box + " ] children [ USE S Transform { children USE S } ] }",
       1, 2, "Failed to USE"},
      {"field given NULL, then its node used",
       "Group { children [ Shape { geometry DEF B Box { } geometry NULL } Shape { geometry USE B } "
       "] }",
       1, 1, "Failed to USE"},
      {"a dropped node used by a later statement",
       "Transform { children [ DEF S " + box + " ] children [ ] } Group { children USE S }", 2, 1,
       "Failed to USE"},
      // The list that drops S is read inside the list that holds it.
      {"a node dropped inside the list that holds it",
       "Group { children [ DEF S " + box +
           " Transform { children [ USE S ] children [ ] } ] "
           "children [ USE S USE S ] }",
       1, 2, "Failed to USE"},
  };
  for (const Case& c : cases) {
    const std::string err = Read(c.text);
    ASSERT_EQ(scene->GetNodeCount(), c.roots) << c.name << "\n" << err;
    EXPECT_EQ(err.find(c.quiet), std::string::npos) << c.name << "\n" << err;
    kstest::Recorded().clear();
    Draw();
    EXPECT_EQ(kstest::Recorded().size(), perBox * c.boxes) << c.name;
    delete scene;
    scene = nullptr;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount()) << c.name;
  }
}

// The same files read through ReadFile, as the viewer opens them.
TEST_F(ReadOrderTest, TheFileOfOneHundredAndOneBytesOpensAndCloses) {
  const std::string path = testing::TempDir() + "lv_read_order_101.wrl";
  const std::string text =
      "#VRML V2.0 utf8\nGroup { children [ DEF S Shape { } Transform { children [ USE S ] "
      "children [ ] } ] }\n";
  ASSERT_EQ(text.size(), 101u);
  for (const std::string& file : {text, std::string(text).replace(text.find("[ ] }"), 3, "NULL")}) {
    ASSERT_TRUE(kstest::WriteFile(path, file));
    scene = new KsPartition;
    testing::internal::CaptureStderr();
    EXPECT_EQ(scene->ReadFile(path.c_str()), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "") << file;
    ASSERT_EQ(scene->GetNodeCount(), 1);
    KsMFNode* children = scene->GetNode(0)->GetChildren();
    ASSERT_NE(children, nullptr);
    ASSERT_EQ(children->GetCount(), 2);
    EXPECT_STREQ(children->GetElements()[0]->GetClassName(), "KsShape");
    EXPECT_EQ(children->GetElements()[0]->GetRefCount(), 1);
    Draw();
    delete scene;
    scene = nullptr;
    EXPECT_EQ(KsNode::GetConstructedCount(), KsNode::GetDestroyedCount());
  }
  std::remove(path.c_str());
}

}  // namespace
