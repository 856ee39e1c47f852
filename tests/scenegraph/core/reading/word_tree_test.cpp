#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/local_heap.h"
#include "scenegraph/core/reading/vrml_pass1.h"

using kstest::Parsed;
using kstest::Shape;

namespace {
std::string Nested(int depth) {
  return std::string((size_t)depth, '[') + "x" + std::string((size_t)depth, ']') + " tail";
}
}  // namespace

TEST(LocalHeap, BlocksAndRounding) {
  KsLocalHeap heap;
  EXPECT_STREQ(heap.GetClassName(), "KsLocalHeap");
  unsigned char* a = static_cast<unsigned char*>(heap.Alloc(1));
  unsigned char* b = static_cast<unsigned char*>(heap.Alloc(17));
  unsigned char* c = static_cast<unsigned char*>(heap.Alloc(sizeof(KsWordNode)));
  unsigned char* d = static_cast<unsigned char*>(heap.Alloc(1));
  ASSERT_TRUE(a && b && c && d);
  EXPECT_EQ(b - a, 16);
  EXPECT_EQ(c - b, 32);
  // Nodes take their real size, not 16 bytes (pointers are 8 bytes natively).
  EXPECT_GE((size_t)(d - c), sizeof(KsWordNode));
  EXPECT_EQ((size_t)(d - c) % KsLocalHeap::kGranularity, 0u);
  for (unsigned char* p : {a, b, c, d}) EXPECT_EQ((uintptr_t)p % alignof(std::max_align_t), 0u);
  EXPECT_EQ(heap.Head()->capacity, 65536);
  EXPECT_EQ(heap.Head()->next, nullptr);
  std::memset(d, 0xAB, 16);
}

TEST(LocalHeap, LargeAllocationGetsItsOwnBlock) {
  KsLocalHeap heap;
  ASSERT_NE(heap.Alloc(100), nullptr);
  unsigned char* big = static_cast<unsigned char*>(heap.Alloc(70000));
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(heap.Head()->capacity, 70000);
  EXPECT_EQ(heap.Head()->used, 70000);
  std::memset(big, 0x5A, 70000);  // the whole block is usable
  ASSERT_NE(heap.Alloc(8), nullptr);
  EXPECT_EQ(heap.Head()->capacity, 65536);
  EXPECT_EQ(heap.Head()->next->capacity, 70000);
  EXPECT_EQ(heap.Head()->next->next->capacity, 65536);
  EXPECT_EQ(heap.Alloc((size_t)-1 / 2), nullptr);
  char* s = heap.StrDup("word");
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(s, "word");
  EXPECT_EQ(heap.StrDup(nullptr), nullptr);
}

TEST(Pass1, BuildsTheBracketTree) {
  Parsed p("#VRML V2.0 utf8\nGroup { children [ ] }\nShape { geometry Box { size 1 2 3 } }");
  EXPECT_EQ(p.result, 0);
  EXPECT_EQ(p.pass->GetErrorCode(), 0);
  EXPECT_STREQ(p.pass->GetMessage(), "");
  EXPECT_EQ(Shape(p.root()), "Group {}(children []()) Shape {}(geometry Box {}(size 1 2 3))");
  EXPECT_EQ(p.root()->text.Line(), 2);
  EXPECT_EQ(p.root()->next->next->text.Line(), 3);
  EXPECT_STREQ(p.pass->GetClassName(), "KsVrmlPass1");
}

TEST(Pass1, EmptyInputFails) {
  for (const char* text : {"", "   \n", "#VRML V2.0 utf8\n# nothing here\n"}) {
    Parsed p(text);
    EXPECT_NE(p.result, 0) << text;
    EXPECT_EQ(p.root(), nullptr);
    EXPECT_EQ(p.pass->GetErrorCode(), 0);
  }
}

TEST(Pass1, Strings) {
  Parsed p("a \"" + std::string(600, 's') + "\" \"\" \"x\\\"y\"");
  ASSERT_EQ(p.result, 0);
  const KsWordNode* group = p.root()->next;
  ASSERT_STREQ(group->text, "\"\"");
  const KsWordNode* piece = group->child;
  size_t lengths[3];
  for (size_t& n : lengths) {
    ASSERT_NE(piece, nullptr);
    n = std::strlen(piece->text);
    piece = piece->next;
  }
  EXPECT_EQ(piece, nullptr);
  EXPECT_EQ(lengths[0], 255u);
  EXPECT_EQ(lengths[1], 255u);
  EXPECT_EQ(lengths[2], 90u);
  const KsWordNode* empty = group->next;
  ASSERT_NE(empty->child, nullptr);
  EXPECT_STREQ(empty->child->text, "");
  EXPECT_EQ(empty->child->next, nullptr);
  EXPECT_STREQ(empty->next->child->text, "x\\\"y");
}

TEST(Pass1, BracketWordsInsideStringsAreText) {
  // A string's contents never close or open a group, also when a piece
  // cut at 255 bytes reads as a single bracket.
  Parsed p("\"]\" \"}\" \"[\" \"{\" \"" + std::string(255, 'a') + "]\" tail");
  ASSERT_EQ(p.result, 0) << p.pass->GetMessage();
  EXPECT_EQ(Shape(p.root()),
            "\"\"(]) \"\"(}) \"\"([) \"\"({) \"\"(" + std::string(255, 'a') + " ]) tail");
}

TEST(Pass1, BracketErrors) {
  struct Case {
    const char* text;
    int code;
    const char* message;
    const char* tree;
    int cut;  // line from which the rest is not in the tree
  } cases[] = {
      // A stray closing mark ends reading: that is an error, the tree so
      // far is kept.
      {"A { }\n} B { }", 1, "Parentheses No Match at 2", "A {}()", 2},
      {"A ] B", 1, "Parentheses No Match at 1", "A", 1},
      {"A\nB\n}\nC", 1, "Parentheses No Match at 3", "A B", 3},
      {"A\n[ 1 2\n3", 1, "']' is missing for '[' at 2", "A", 2},
      {"A { x", 1, "'}' is missing for '{' at 1", "A", 1},
      // The outermost open group is where the loss begins.
      {"A\n{ b\n[ 1\n{", 1, "'}' is missing for '{' at 2", "A", 2},
      // The '[' reports first; the '}' then reaches the top level.
      {"A [ x }", 1, "Parentheses No Match at 1", "A", 1},
      {"\n\"abc", 1, "Open String at 2", "", 2},
      // The shared word buffer lets the enclosing brace accept the '}':
      // the '[' group is lost, the rest is read.
      {"{ [ Shape { } } x", 1, "']' is missing for '[' at 1", "{}() x", 0},
  };
  for (const Case& c : cases) {
    Parsed p(c.text);
    EXPECT_NE(p.result, 0) << c.text;
    EXPECT_EQ(p.pass->GetErrorCode(), c.code) << c.text;
    EXPECT_STREQ(p.pass->GetMessage(), c.message) << c.text;
    EXPECT_EQ(Shape(p.root()), c.tree) << c.text;
    EXPECT_EQ(p.pass->GetCutLine(), c.cut) << c.text;
  }
}

TEST(Pass1, AWordCarriesTheLineItStartsOn) {
  // A line end that ends a word belongs to the next word's count.
  Parsed p("A\nB\r\n\nC # note\nD{\n}\"x\ny\"\nE");
  ASSERT_EQ(p.result, 0) << p.pass->GetMessage();
  std::vector<std::string> got;
  for (const KsWordNode* n = p.root(); n; n = n->next)
    got.push_back(std::string(n->text) + "@" + std::to_string(n->text.Line()));
  EXPECT_EQ(got, (std::vector<std::string>{"A@1", "B@2", "C@4", "D@5", "{}@5", "\"\"@6", "E@8"}));
  EXPECT_EQ(p.root()->next->next->next->next->next->child->text.Line(), 6);
}

TEST(Pass1, RunningOutOfMemoryFailsTheReadAndFreesTheTree) {
  // Words enough for several arena blocks; the arenas may hold two.
  std::string text = "point [";
  for (int i = 0; i < 60000; ++i) text += "\n" + std::to_string(100000 + i);
  text += " ]";
  ASSERT_EQ(KsLocalHeapBytes(), 0u);
  KsSetLocalHeapLimit(2 * KsLocalHeap::kBlockSize);
  {
    Parsed p(text);
    KsResetLocalHeapLimit();
    EXPECT_NE(p.result, 0);
    EXPECT_EQ(p.pass->GetErrorCode(), KsVrmlPass1::kErrorMemory);
    EXPECT_STREQ(p.pass->GetMessage(), "Out Of Memory.");
    // The line where it ran out: some way into the list, not 0.
    EXPECT_GT(p.pass->GetErrorLine(), 100);
    EXPECT_LT(p.pass->GetErrorLine(), 60000);
    EXPECT_EQ(p.pass->GetCutLine(), 0);
  }
  EXPECT_EQ(KsLocalHeapBytes(), 0u);
  Parsed again(text);  // without the limit the same text reads whole
  EXPECT_EQ(again.result, 0);
}

TEST(Pass1, NestingDepthIsBounded) {
  Parsed ok(Nested(KsVrmlPass1::kMaxDepth));
  EXPECT_EQ(ok.result, 0) << ok.pass->GetMessage();
  int depth = 0;
  for (const KsWordNode* n = ok.root(); n->child; n = n->child) ++depth;
  EXPECT_EQ(depth, KsVrmlPass1::kMaxDepth);
  EXPECT_STREQ(ok.root()->next->text, "tail");

  for (int deep : {KsVrmlPass1::kMaxDepth + 1, 200000}) {
    Parsed tooDeep(Nested(deep));
    EXPECT_NE(tooDeep.result, 0);
    EXPECT_EQ(tooDeep.pass->GetErrorCode(), 1);
    EXPECT_STREQ(tooDeep.pass->GetMessage(), "']' is missing for '[' at 1");
    EXPECT_EQ(tooDeep.root(), nullptr);  // the rest of the file is not read
  }
}

TEST(Pass1, LargeTreeSpansArenaBlocksIntact) {
  std::string text = "point [";
  for (int i = 0; i < 40000; ++i) text += " " + std::to_string(i * 7) + ",";
  text += " ]";
  Parsed p(text);
  ASSERT_EQ(p.result, 0);
  const KsWordNode* w = p.root()->next->child;
  for (int i = 0; i < 40000; ++i) {
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(std::string(w->text), std::to_string(i * 7));
    ASSERT_STREQ(w->next->text, ",");
    w = w->next->next;
  }
  EXPECT_EQ(w, nullptr);
}

TEST(Pass1, DumpPrintsOneNodeALine) {
  Parsed p("A {\nb [ 1 ] }");
  testing::internal::CaptureStdout();
  p.pass->Dump();
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "A(1)\n{}(1)\n  b(2)\n  [](2)\n    1(2)\n");
}

TEST(WordCursor, AdvancesAlongTheChain) {
  Parsed p("a b c");
  KsWordNode cursor = KsMakeCursor(p.root());
  EXPECT_STREQ(KsCursorWord(&cursor)->text, "a");
  EXPECT_TRUE(KsCursorHasWords(&cursor, 3));
  EXPECT_FALSE(KsCursorHasWords(&cursor, 4));
  KsCursorAdvance(&cursor);
  EXPECT_STREQ(KsCursorWord(&cursor)->text, "b");
  KsCursorAdvance(&cursor);
  KsCursorAdvance(&cursor);
  EXPECT_EQ(KsCursorWord(&cursor), nullptr);
  KsCursorAdvance(&cursor);
  EXPECT_EQ(KsCursorLine(&cursor), 0);
  EXPECT_EQ(KsCursorWord(nullptr), nullptr);
}

TEST(Pass1, WordsKeepTextAndLineWhateverTheirLength) {
  // Short words are packed with their line into the node: the edges of
  // that packing (text length, line width) must read back unchanged.
  const char* words[] = {"1", "-1", "abc", "abcd", "-5.0000", "[", "{", "\""};
  const char* expected[] = {"1", "-1", "abc", "abcd", "-5.0000", "[]", "{}", "\"\""};
  std::string text;
  std::vector<int> lines;
  int line = 1;
  for (int target : {1, 256, 65537, (1 << 24) - 1, 1 << 24, (1 << 24) + 70000}) {
    text.append((size_t)(target - line), '\n');
    line = target;
    for (const char* w : words) {
      text += std::string(w) + (w[0] == '['   ? " ] "
                                : w[0] == '{' ? " } "
                                : w[0] == '"' ? "\" "
                                              : " ");
      lines.push_back(line);
    }
  }
  Parsed p(text);
  ASSERT_EQ(p.result, 0) << p.pass->GetMessage();
  size_t i = 0;
  for (const KsWordNode* n = p.root(); n; n = n->next, ++i) {
    ASSERT_LT(i, lines.size());
    EXPECT_STREQ(n->text, expected[i % 8]) << i;
    EXPECT_EQ(n->text.Line(), lines[i]) << n->text;
    if (i % 8 == 7) {
      EXPECT_STREQ(n->child->text, "") << i;
    }
  }
  EXPECT_EQ(i, lines.size());
}
