#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "scenegraph/core/reader_test_util.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"
#include "support/test_seed.h"

// Deterministic random input through the reader and the pre-pass: no crash,
// no sanitizer report, no hang, and the tree keeps its invariants. The same
// inputs on every machine: a fixed seed and a fixed number of them.

namespace {

const char* const kPieces[] = {
    "[",    "]",    "{",        "}",     "\"",
    "\\\"", "\\\\", "\\",       "#",     "#VRML V2.0 utf8\n",
    "\r",   "\n",   "\r\n",     "\n\r",  " ",
    "\t",   ",",    "Shape",    "point", "1.5e3",
    "DEF",  "USE",  "ROUTE",    "a.b",   "\xE2\x82\xAC",
    "\x82", "\xFF", "\xC3\xA9", "'",     "<>():;",
};

std::string RandomText(std::mt19937& rng) {
  std::string text;
  const int parts = (int)(rng() % 400);
  for (int i = 0; i < parts; ++i) {
    switch (rng() % 8) {
      case 0: text += (char)(rng() % 256); break;
      case 1: text.append(rng() % 300, (char)('a' + rng() % 26)); break;
      case 2: text.append(rng() % 40, "[{"[rng() % 2]); break;
      case 3: text += '\0'; break;
      default: text += kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])]; break;
    }
  }
  return text;
}

std::string Mutate(std::string text, std::mt19937& rng) {
  const int edits = 1 + (int)(rng() % 8);
  for (int i = 0; i < edits && !text.empty(); ++i) {
    size_t at = rng() % text.size();
    switch (rng() % 3) {
      case 0: text[at] = (char)(rng() % 256); break;
      case 1: text.erase(at, 1 + rng() % 16); break;
      default: text.insert(at, kPieces[rng() % (sizeof kPieces / sizeof kPieces[0])]); break;
    }
  }
  return text;
}

// A plain model of the reader, one character at a time, to hold the reader's
// fast paths to: same words, lengths and line counts.
std::vector<kstest::Word> ModelWords(const std::string& text) {
  struct Char {
    std::string bytes;
    int line;  // line count once the character has been read
  };
  std::vector<Char> chars;
  int line = 1;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = (unsigned char)text[i];
    size_t n = 1;
    const unsigned char next = i + 1 < text.size() ? (unsigned char)text[i + 1] : 0;
    if (i + 1 < text.size() &&
        ((c == 0x0D && next == 0x0A) || (c == 0x0A && next == 0x0D) ||
         (c == 0x5C && (next == 0x5C || next == 0x22)) || (c >= 0x80 && next >= 0x40)))
      n = 2;
    std::string bytes = text.substr(i, n);
    if (bytes[0] == 0) bytes[0] = ' ';
    if (bytes[0] == 0x0A || bytes[0] == 0x0D) ++line;
    chars.push_back({bytes, line});
    i += n;
  }
  auto isDelimiter = [](unsigned char c) { return std::strchr("\"'(),:;<>[]{}", c) && c; };
  auto isBlank = [](unsigned char c) { return c == 9 || c == 10 || c == 13 || c == 32; };
  std::vector<kstest::Word> words;
  int state = 1, pieces = 0;
  size_t at = 0;
  std::string word;
  int lineNow = 1;
  auto emit = [&](const std::string& w, int length) { words.push_back({w, length, lineNow}); };
  while (at < chars.size()) {
    const std::string& ch = chars[at].bytes;
    const unsigned char c = (unsigned char)ch[0];
    lineNow = chars[at].line;
    bool consumed = true;
    switch (state) {
      case 0:
        if (word.size() + ch.size() > 255) {
          emit(word, (int)word.size());
          word.clear();
          consumed = false;
          break;
        }
        if (c == '#') {
          state = 4;
          if (!word.empty()) {
            emit(word, (int)word.size());
            word.clear();
          }
          break;
        }
        if (isDelimiter(c)) {
          state = 1;
          consumed = false;
          if (!word.empty()) {
            emit(word, (int)word.size());
            word.clear();
          }
          break;
        }
        if (isBlank(c)) {
          state = 1;
          if (!word.empty()) {
            emit(word, (int)word.size());
            word.clear();
          }
          break;
        }
        word += ch;
        if (word.size() >= 255) {
          emit(word, 255);
          word.clear();
        }
        break;
      case 1:
        if (c == '#') {
          state = 4;
          break;
        }
        if (c == '"') {
          state = 2;
          pieces = 0;
          emit("\"", 1);
          break;
        }
        if (isDelimiter(c)) {
          emit(ch, 1);
          break;
        }
        if (isBlank(c)) break;
        state = 0;
        consumed = false;
        break;
      case 2:
        if (word.size() + ch.size() > 255) {
          ++pieces;
          emit(word, (int)word.size());
          word.clear();
          consumed = false;
          break;
        }
        if (c == '"') {
          state = 3;
          consumed = false;
          if (!word.empty()) {
            ++pieces;
            emit(word, (int)word.size());
            word.clear();
          } else if (pieces == 0) {
            ++pieces;
            emit("", 1);
          }
          break;
        }
        word += ch;
        if (word.size() >= 255) {
          ++pieces;
          emit(word, 255);
          word.clear();
        }
        break;
      case 3:
        state = 1;
        emit("\"", 1);
        break;
      default:
        if (c == 0x0A || c == 0x0D) state = 1;
        break;
    }
    if (consumed) ++at;
  }
  if (!word.empty()) emit(word, (int)word.size());
  return words;
}

void CheckTree(const KsWordNode* node, int depth, int* count) {
  ASSERT_LE(depth, KsVrmlPass1::kMaxDepth + 1);
  for (; node; node = node->next) {
    ++*count;
    ASSERT_NE(node->text, nullptr);
    ASSERT_LE(std::strlen(node->text), 255u);
    ASSERT_GE(node->text.Line(), 1);
    CheckTree(node->child, depth + 1, count);
  }
}

void RunOne(const std::string& text) {
  // Words: bounded in number, each within the buffer.
  std::vector<kstest::Word> words = kstest::ReadWords(text);
  ASSERT_LE(words.size(), 4 * text.size() + 16) << "reader does not end";
  for (const kstest::Word& w : words) ASSERT_LE(w.length, 255);
  std::vector<kstest::Word> model = ModelWords(text);
  for (size_t i = 0; i < model.size() && i < words.size(); ++i) {
    ASSERT_EQ(words[i].text, model[i].text) << "word " << i;
    ASSERT_EQ(words[i].length, model[i].length) << "word " << i;
    ASSERT_EQ(words[i].line, model[i].line) << "word " << i;
  }
  ASSERT_EQ(words.size(), model.size());
  // Where the block boundaries fall must not change a word.
  kstest::TrickleSource trickle(text);
  ASSERT_TRUE(kstest::ReadWordsFrom(&trickle, 4 * text.size() + 16, true, 256) == words);

  kstest::Parsed p(text);
  int count = 0;
  CheckTree(p.root(), 0, &count);
  ASSERT_LE((size_t)count, words.size());
  if (p.result == 0) {
    ASSERT_NE(p.root(), nullptr);
  }
}

std::vector<std::string> CorpusTexts() {
  std::vector<std::string> texts;
  std::error_code ec;
  namespace fs = std::filesystem;
  for (const char* folder : {"good", "bad"}) {
    fs::path dir = fs::path(LV_SOURCE_DIR "/../shared/corpus/parse-suite") / folder;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      std::ifstream in(it->path(), std::ios::binary);
      texts.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  }
  // Directory order differs between machines; the inputs must not.
  std::sort(texts.begin(), texts.end());
  return texts;
}

}  // namespace

TEST(ReaderFuzz, RandomAndMutatedInputs) {
  const std::uint32_t seed = lvtest::Seed(20261210);
  const int inputs = lvtest::Count(1500);
  SCOPED_TRACE(lvtest::SeedNote(seed, inputs));
  std::mt19937 rng(seed);
  const std::vector<std::string> corpus = CorpusTexts();
  for (int runs = 0; runs < inputs; ++runs) {
    std::string text = (runs % 2 == 0 || corpus.empty())
                           ? RandomText(rng)
                           : Mutate(corpus[rng() % corpus.size()], rng);
    RunOne(text);
    if (HasFatalFailure()) {
      ADD_FAILURE() << "input " << runs << " of " << text.size() << " bytes";
      return;
    }
  }
  RecordProperty("inputs", inputs);
}
