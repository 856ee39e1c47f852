#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/word_reader.h"

using kstest::ReadWords;
using kstest::Texts;
using kstest::TrickleSource;
using Strings = std::vector<std::string>;

namespace {

std::string TempPath(const char* name) { return testing::TempDir() + name; }

}  // namespace

TEST(WordReader, SplitsWordsAndDelimiters) {
  struct Case {
    const char* text;
    Strings words;
  } cases[] = {
      {"Group{ children [ a,b ] }", {"Group", "{", "children", "[", "a", ",", "b", "]", "}"}},
      {"a=b", {"a=b"}},
      {"a<b", {"a", "<", "b"}},
      {"node.event TO x.y", {"node.event", "TO", "x.y"}},
      {"\n\n  \t Shape", {"Shape"}},
      {"(a):b;c'd'", {"(", "a", ")", ":", "b", ";", "c", "'", "d", "'"}},
      {"-1.5e3,+2", {"-1.5e3", ",", "+2"}},
      {"", {}},
      {"   \r\n\t", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Texts(ReadWords(c.text)), c.words) << c.text;
}

TEST(WordReader, CommentsOnlyWhenEnabled) {
  const char* text = "#VRML V2.0 utf8\nShape #note { }\nCube";
  EXPECT_EQ(Texts(ReadWords(text, true)), (Strings{"Shape", "Cube"}));
  EXPECT_EQ(Texts(ReadWords(text, false)),
            (Strings{"#VRML", "V2.0", "utf8", "Shape", "#note", "{", "}", "Cube"}));
  // A comment right after word characters ends the word.
  EXPECT_EQ(Texts(ReadWords("Shape#note\nCube")), (Strings{"Shape", "Cube"}));
  EXPECT_EQ(Texts(ReadWords("a # to the end")), (Strings{"a"}));
}

TEST(WordReader, CountsEachLineEndOnce) {
  // CR LF, LF CR, lone CR and lone LF are one line each.
  std::vector<kstest::Word> words = ReadWords("a\r\nb\n\rc\rd\ne");
  ASSERT_EQ(words.size(), 5u);
  const int lines[] = {2, 3, 4, 5, 5};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(words[i].line, lines[i]) << words[i].text;
  // CR CR LF is two lines (CR, then CR LF).
  EXPECT_EQ(ReadWords("x\r\r\ny").back().line, 3);
}

TEST(WordReader, CrLfAcrossTheRefillIsOneLine) {
  // Place the pair at every offset around the 16,384-byte block boundary,
  // reading from memory, from a real file and from a one-byte trickle.
  for (int at = QmCharSource::kBlockSize - 5; at <= QmCharSource::kBlockSize + 2; ++at) {
    std::string text = "a" + std::string((size_t)at - 1, ' ') + "\r\nb\r\nc";
    ASSERT_EQ(text.compare((size_t)at, 2, "\r\n"), 0);

    std::vector<kstest::Word> words = ReadWords(text);
    ASSERT_EQ(Texts(words), (Strings{"a", "b", "c"})) << at;
    EXPECT_EQ(words[1].line, 3) << at;

    TrickleSource trickle(text);
    QmReadWordFile slow(&trickle);
    char buffer[256];
    int lines[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
      ASSERT_GT(slow.GetWord(buffer, sizeof buffer), 0);
      lines[i] = slow.GetLineCount();
    }
    EXPECT_EQ(slow.GetWord(buffer, sizeof buffer), 0);
    EXPECT_EQ(lines[1], 3) << at;
    EXPECT_EQ(lines[2], 3) << at;

    const std::string path = TempPath("ks_crlf_refill.wrl");
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    QmReadWordFile file;
    ASSERT_NE(file.Open(path.c_str()), nullptr);
    int count = 0, lastLine = 0;
    while (file.GetWord(buffer, sizeof buffer) > 0 && count < 10) {
      ++count;
      lastLine = file.GetLineCount();
    }
    EXPECT_EQ(count, 3);
    EXPECT_EQ(lastLine, 3) << at;
    file.Close();
    std::remove(path.c_str());
  }
}

TEST(WordReader, LongWordsAreCutAtMaxAndReadingGoesOn) {
  const std::string w300(300, 'w'), w255(255, 'x'), w510(510, 'y');
  std::vector<kstest::Word> words = ReadWords(w300 + " tail");
  ASSERT_EQ(words.size(), 3u);
  EXPECT_EQ(words[0].length, 255);
  EXPECT_EQ(words[1].length, 45);
  EXPECT_EQ(words[2].text, "tail");

  // A word of exactly max must not make the following blank or delimiter
  // look like the end of input.
  struct Case {
    std::string text;
    Strings words;
  } cases[] = {
      {w255 + " next", {w255, "next"}},
      {w255 + "\n{ a }", {w255, "{", "a", "}"}},
      {w255 + ",b", {w255, ",", "b"}},
      {w255 + "#c\nd", {w255, "d"}},
      {w255, {w255}},
      {w510 + " z", {std::string(255, 'y'), std::string(255, 'y'), "z"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Texts(ReadWords(c.text)), c.words) << c.text.size();
}

TEST(WordReader, QuotedStrings) {
  // Escapes stay as they stand; an escaped quote never ends the string.
  EXPECT_EQ(Texts(ReadWords("\"say \\\"hi\\\"\" x")), (Strings{"\"", "say \\\"hi\\\"", "\"", "x"}));
  EXPECT_EQ(Texts(ReadWords("\"a\\\\\" b")), (Strings{"\"", "a\\\\", "\"", "b"}));
  // Blanks, delimiters and '#' inside a string are text.
  EXPECT_EQ(Texts(ReadWords("\"a [ # }, b\"")), (Strings{"\"", "a [ # }, b", "\""}));
  // The empty string gives an empty word of length 1.
  std::vector<kstest::Word> empty = ReadWords("\"\" x");
  ASSERT_EQ(empty.size(), 4u);
  EXPECT_EQ(empty[1].text, "");
  EXPECT_EQ(empty[1].length, 1);
  // End of input inside a string returns what was read, then 0.
  EXPECT_EQ(Texts(ReadWords("\"abc")), (Strings{"\"", "abc"}));
  // Long contents come in pieces of max bytes; no empty piece is added
  // when the contents end exactly at a cut.
  const std::string s600(600, 's');
  std::vector<kstest::Word> pieces = ReadWords("\"" + s600 + "\"");
  ASSERT_EQ(pieces.size(), 5u);
  EXPECT_EQ(pieces[1].length, 255);
  EXPECT_EQ(pieces[2].length, 255);
  EXPECT_EQ(pieces[3].length, 90);
  EXPECT_EQ(Texts(ReadWords("\"" + std::string(255, 't') + "\" u")),
            (Strings{"\"", std::string(255, 't'), "\"", "u"}));
}

TEST(WordReader, HighBytesPairOnlyWithPlausibleTrailBytes) {
  // UTF-8: a three-byte character before a closing quote or a line end
  // must not swallow it.
  const std::string euro = "\xE2\x82\xAC";
  EXPECT_EQ(Texts(ReadWords("\"" + euro + "\" next")), (Strings{"\"", euro, "\"", "next"}));
  std::vector<kstest::Word> words = ReadWords("a" + euro + "\nb");
  ASSERT_EQ(Texts(words), (Strings{"a" + euro, "b"}));
  EXPECT_EQ(words[0].line, 2);
  EXPECT_EQ(Texts(ReadWords("\"\xC3\xA9t\xC3\xA9\"")), (Strings{"\"", "\xC3\xA9t\xC3\xA9", "\""}));
  // A double-byte character whose trail byte is a backslash keeps it, so
  // the following quote still closes the string.
  EXPECT_EQ(Texts(ReadWords("\"\x82\x5C\" z")), (Strings{"\"", "\x82\x5C", "\"", "z"}));
  // A double-byte character never ends a word.
  EXPECT_EQ(Texts(ReadWords("ab\x82\x7B"
                            "cd e")),
            (Strings{"ab\x82\x7B"
                     "cd",
                     "e"}));
  // A lead byte at the very end forms a character by itself.
  EXPECT_EQ(Texts(ReadWords("q\x90")), (Strings{"q\x90"}));
}

TEST(WordReader, NulByteIsWhiteSpace) {
  EXPECT_EQ(Texts(ReadWords(std::string("a\0b c", 5))), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Texts(ReadWords(std::string("\0\0Shape { }", 12))), (Strings{"Shape", "{", "}"}));
}

TEST(WordReader, SmallBuffers) {
  QmReadCharMemory source("abc", 3);
  QmReadWordFile reader(&source);
  char buffer[4] = {'z', 'z', 'z', 'z'};
  EXPECT_EQ(reader.GetWord(buffer, 1), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(Texts(ReadWords("abcde f", true, 3)), (Strings{"ab", "cd", "e", "f"}));
}

TEST(WordReader, FilesOpenAndClose) {
  QmReadWordFile reader;
  EXPECT_STREQ(reader.GetClassName(), "QmReadWordFile");
  EXPECT_EQ(reader.Open("/nonexistent/dir/none.wrl"), nullptr);
  char buffer[256];
  EXPECT_EQ(reader.GetWord(buffer, sizeof buffer), 0);
  QmReadCharFile chars;
  EXPECT_STREQ(chars.GetClassName(), "QmReadCharFile");
  EXPECT_EQ(chars.GetClassInfo()->parent, KsObject::ClassRecord());
}
