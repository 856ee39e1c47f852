// Brackets of plain numbers are held as packed runs: the tree, the fields
// realised from it, the messages and their lines must be those of a tree of
// nodes, whatever the text and wherever the reader's fills end.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/local_heap.h"
#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/reading/vrml_pass1.h"

namespace {

// Delivers the text in pieces of 1 to 97 bytes, so that words, line-end
// pairs and brackets fall across the reader's fills.
class PieceSource : public QmCharSource {
 public:
  PieceSource(const std::string& text, unsigned seed) : text_(text), random_(seed) {}
  int Fill(unsigned char* destination, int maximum) override {
    if (maximum <= 0 || offset_ >= text_.size()) return 0;
    size_t n = std::uniform_int_distribution<size_t>(1, 97)(random_);
    n = std::min({n, (size_t)maximum, text_.size() - offset_});
    std::memcpy(destination, text_.data() + offset_, n);
    offset_ += n;
    return (int)n;
  }

 private:
  std::string text_;
  std::mt19937 random_;
  size_t offset_ = 0;
};

// Every node as text@line, groups with their children in parentheses.
// Walking a run's words makes their nodes.
std::string Flatten(const KsWordNode* node) {
  std::string out;
  for (; node; node = node->next) {
    out +=
        std::string(node->text ? node->text : "<null>") + "@" + std::to_string(node->text.Line());
    if (const KsWordNode* child = node->child) out += "(" + Flatten(child) + ")";
    out += ' ';
  }
  return out;
}

int CountRuns(const KsWordNode* node) {
  int runs = 0;
  for (; node; node = node->next) {
    if (node->child.Run())
      ++runs;
    else if (node->child)
      runs += CountRuns(node->child);
  }
  return runs;
}

struct Tree {
  int result, error, errorLine, cutLine;
  std::string message, words;
  int runs;
};

Tree Read(QmCharSource* source, bool pack) {
  QmReadWordFile reader(source);
  KsVrmlPass1 pass;
  pass.SetPackNumbers(pack);
  Tree t;
  t.result = pass.Run(&reader);
  t.error = pass.GetErrorCode();
  t.errorLine = pass.GetErrorLine();
  t.cutLine = pass.GetCutLine();
  t.message = pass.GetMessage();
  t.runs = CountRuns(pass.GetRoot());
  t.words = Flatten(pass.GetRoot());
  return t;
}

// The packed tree against the tree of nodes, from whole and from pieces.
void ExpectSameTree(const std::string& text, unsigned seed, int* runs) {
  QmReadCharMemory plain(text.data(), text.size());
  const Tree nodes = Read(&plain, false);
  ASSERT_EQ(nodes.runs, 0);
  for (int way = 0; way < 3; ++way) {
    QmReadCharMemory memory(text.data(), text.size());
    kstest::TrickleSource trickle(text);
    PieceSource pieces(text, seed);
    QmCharSource* source = way == 0   ? static_cast<QmCharSource*>(&memory)
                           : way == 1 ? static_cast<QmCharSource*>(&trickle)
                                      : static_cast<QmCharSource*>(&pieces);
    const Tree packed = Read(source, true);
    ASSERT_EQ(packed.words, nodes.words) << "way " << way << "\n" << text;
    ASSERT_EQ(packed.result, nodes.result) << text;
    ASSERT_EQ(packed.error, nodes.error) << text;
    ASSERT_EQ(packed.message, nodes.message) << text;
    ASSERT_EQ(packed.errorLine, nodes.errorLine) << text;
    ASSERT_EQ(packed.cutLine, nodes.cutLine) << text;
    *runs += packed.runs;
  }
}

// Texts of brackets that are mostly numbers, with what can end or spoil a run.
std::string RandomText(std::mt19937& random) {
  static const char* const kCommon[] = {"0",   "1", "-1", "2.5", "-0.25",
                                        "1e3", ",", ", ", " ",   "\n"};
  static const std::string kOdd[] = {
      "0x1F",     "1e99",      ".",    "e",    "--3",        "12abc", "face", "\r\n",
      "\n\r",     "\r",        "\n\n", "\t",   "# note ]\n", "[",     "]",    "{",
      "}",        "\"a ] b\"", "\"\"", "TRUE", "Shape",      "\\",    "\\\"", std::string(1, '\0'),
      "\xc3\xa9", "\x81\x40",  "1;2",  "3:4",  "'",          "(",     ")"};
  std::string text;
  const int groups = std::uniform_int_distribution<int>(1, 4)(random);
  for (int g = 0; g < groups; ++g) {
    text += "F { f [ ";
    const int words = std::uniform_int_distribution<int>(0, 300)(random);
    for (int i = 0; i < words; ++i) {
      if (std::uniform_int_distribution<int>(0, 19)(random) > 0)
        text += kCommon[std::uniform_int_distribution<int>(0, 9)(random)];
      else if (std::uniform_int_distribution<int>(0, 30)(random) == 0)
        text += std::string(300, '7');  // longer than a word: cut in two
      else
        text += kOdd[std::uniform_int_distribution<size_t>(0, std::size(kOdd) - 1)(random)];
      text += ' ';
    }
    if (std::uniform_int_distribution<int>(0, 9)(random) > 0) text += "] ";
    if (std::uniform_int_distribution<int>(0, 9)(random) > 0) text += "}\n";
  }
  return text;
}

}  // namespace

TEST(WordRuns, TreeIsTheTreeOfNodes) {
  const std::vector<std::string> texts = {
      "a [ 1 2 3 ] b",
      "[1,2,3]",
      "[ ]",
      "p [ 1 2\n3\r\n4\n\r5\r6\n\n\n7 ]",
      "p [ 1 # two ] three\n 4 ]",
      "p [ 1 2 Shape { } 3 ]",
      "p [ 1 2 [ 3 4 ] 5 ]",
      "p [ 1 \"2\" 3 ]",
      "p [ 0x1F -1e-9 1e99 .5 5. +3 ]",
      "p [ 1 2 3",
      "p [ 1 2 } q",
      "p [ 1 2 ] ] q",
      "p [ " + std::string(600, '9') + " ]",
      "p [ 1\\2 3 ]",
      "p [ 1\t2\t\t3 ]",
      std::string("p [ 1 2 ") + std::string(1, '\0') + " 3 ]",
      "p [ 1 2 \xc3\xa9 ]",
      "p [ 1;2 3 ]",
      "p [ 1 2 ]" + std::string(20000, '\n') + "q [ 3\n\n4 ]",
  };
  int runs = 0;
  for (size_t i = 0; i < texts.size(); ++i) ExpectSameTree(texts[i], (unsigned)i, &runs);
  EXPECT_GT(runs, 0);
  std::mt19937 random(1234);
  for (int i = 0; i < 300; ++i) ExpectSameTree(RandomText(random), (unsigned)i, &runs);
}

TEST(WordRuns, LongListCrossesFillsAsOneRun) {
  std::string text = "point [\n";
  for (int i = 0; i < 20000; ++i)
    text += std::to_string(i) + (i % 3 == 2 ? ",\r\n" : " ") + (i % 97 == 0 ? "# c\n" : "");
  text += "]";
  int runs = 0;
  ExpectSameTree(text, 5, &runs);
  EXPECT_EQ(runs, 3);  // one for each way of reading it
}

// Each list class realised from a run and from nodes: the same value, the
// same messages.
TEST(WordRuns, FieldsReadRunsAsTheyReadNodes) {
  std::vector<std::function<KsField*()>> kinds = {
      [] { return new KsMFInt; },   [] { return new KsMFFloat; }, [] { return new KsMFTime; },
      [] { return new KsMFVec2f; }, [] { return new KsMFVec3f; }, [] { return new KsMFRotation; },
      [] { return new KsMFColor; }, [] { return new KsMFBool; },  [] { return new KsMFString; },
      [] { return new KsMFImage; }, [] { return new KsMFNode; },
  };
  std::vector<std::string> lists = {"[ 1 2 3 ]",           "[ 1, 2, 3, 4, 5 ]",
                                    "[ 1 2, 3 4 5, 6 7 ]", "[ , , 1 ]",
                                    "[ 0x10 -0x1 1e40 ]",  "[ 99999999999 -99999999999 ]",
                                    "[ 1e-50 -0 . e ]",    "[ 1 2 3 4 5 6 7 ]"};
  // Longer than a window, with odd counts, so that elements straddle refills.
  for (int words : {511, 512, 513, 1023, 1030, 2049}) {
    std::string list = "[";
    for (int i = 0; i < words; ++i) list += " " + std::to_string(i % 17 - 3) + (i % 5 ? "" : ",");
    lists.push_back(list + " ]");
  }
  for (size_t k = 0; k < kinds.size(); ++k) {
    for (const std::string& list : lists) {
      std::string printed[2], messages[2];
      for (int pack = 0; pack < 2; ++pack) {
        kstest::Parsed parsed(list, pack == 1);
        std::unique_ptr<KsField> field(kinds[k]());
        KsWordNode cursor = KsMakeCursor(parsed.root());
        testing::internal::CaptureStderr();
        field->Realize(nullptr, &cursor);
        messages[pack] = testing::internal::GetCapturedStderr();
        EXPECT_EQ(KsCursorWord(&cursor), nullptr);
        kstest::TextStream out;
        field->Print(&out, 0);
        printed[pack] = out.out;
      }
      EXPECT_EQ(printed[1], printed[0]) << k << " " << list;
      EXPECT_EQ(messages[1], messages[0]) << k << " " << list;
    }
  }
}

TEST(WordRuns, ANumberListTakesLittleMoreThanItsText) {
  std::string text = "coordIndex [\n";
  for (int i = 0; i < 200000; ++i)
    text += std::to_string(i % 100) + ", " + (i % 4 == 3 ? "-1,\n" : "");
  text += "]";
  size_t held[2];
  for (int pack = 0; pack < 2; ++pack) {
    ASSERT_EQ(KsLocalHeapBytes(), 0u);
    kstest::Parsed parsed(text, pack == 1);
    ASSERT_EQ(parsed.result, 0);
    held[pack] = KsLocalHeapBytes();
  }
  // Nodes cost several times the text; a run about the text itself.
  EXPECT_GT(held[0], 5 * text.size());
  EXPECT_LT(held[1], text.size() + text.size() / 2);
}

TEST(WordRuns, NodesThatCannotBeMadeFailTheReadAndSayWhere) {
  std::string text = "x\n[";
  for (int i = 0; i < 10000; ++i) text += " " + std::to_string(i);
  text += " ]";
  kstest::Parsed parsed(text);
  ASSERT_EQ(parsed.result, 0);
  const KsWordNode* group = parsed.root()->next;
  ASSERT_NE(group->child.Run(), nullptr);
  KsReadErrors errors;
  {
    KsReadErrorScope scope(&errors);
    KsSetLocalHeapLimit(KsLocalHeapBytes());
    testing::internal::CaptureStderr();
    const KsWordNode* words = group->child;
    const std::string said = testing::internal::GetCapturedStderr();
    KsResetLocalHeapLimit();
    EXPECT_EQ(words, nullptr);
    EXPECT_NE(said.find("Local Heap Allocation Error!!"), std::string::npos);
  }
  // The read fails as too large, where the list starts.
  EXPECT_EQ(errors.failure, kKsReadTooLarge);
  EXPECT_EQ(errors.failureLine, 2);
  // Lost, not half made: the list stays empty.
  EXPECT_EQ(static_cast<const KsWordNode*>(group->child), nullptr);
}

TEST(WordRuns, ExpansionBudgetCountsRunsWithoutMakingTheirNodes) {
  std::string text = "PROTO P [ field MFInt32 f [ 1 2 3 ] ] { }\nS { f [";
  for (int i = 0; i < 5000; ++i) text += " " + std::to_string(i) + ",";
  text += " ] }";
  int64_t limits[2];
  for (int pack = 0; pack < 2; ++pack) {
    kstest::Parsed parsed(text, pack == 1);
    KsResetProtoBudget();
    {
      KsProtoBudgetScope scope(parsed.root());
      // More than the fixed ceiling: the file's words are counted into the limit.
      EXPECT_FALSE(KsProtoBudgetAllows(int64_t(1) << 40, "P"));
      limits[pack] = KsProtoBudgetLimit();
    }
    if (pack == 1) {
      EXPECT_EQ(CountRuns(parsed.root()), 2);
    }
    KsResetProtoBudget();
  }
  EXPECT_EQ(limits[1], limits[0]);
}

TEST(WordRuns, ARunStopsAtTheLargestCount) {
  KsLocalHeap heap;
  KsWordRun run = {nullptr, nullptr, nullptr, 0, 0, 0, 0, 0};
  ASSERT_TRUE(KsAppendRunWord(&run, &heap, "7", 1, 1));
  run.words = INT_MAX - 1;
  EXPECT_TRUE(KsAppendRunWord(&run, &heap, "8", 1, 1));
  // One more would wrap the counts the lists are sized from.
  EXPECT_FALSE(KsAppendRunWord(&run, &heap, "9", 1, 1));
  EXPECT_EQ(run.words, INT_MAX);
}
