#ifndef KS_TESTS_READER_TEST_UTIL_H
#define KS_TESTS_READER_TEST_UTIL_H

#include <memory>
#include <string>
#include <vector>

#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/vrml_pass1.h"

namespace kstest {

struct Word {
  std::string text;
  int length;  // as GetWord returned it
  int line;    // line count after the word
};

// Delivers at most one byte per Fill, as a pipe or a slow device may.
class TrickleSource : public QmCharSource {
 public:
  explicit TrickleSource(const std::string& text) : text_(text) {}
  int Fill(unsigned char* destination, int maximum) override {
    if (maximum <= 0 || offset_ >= text_.size()) return 0;
    destination[0] = (unsigned char)text_[offset_++];
    return 1;
  }

 private:
  std::string text_;
  size_t offset_ = 0;
};

// Every word a source delivers, with comments on or off. Stops after bound
// words so that a reader that never reports the end fails instead of hanging.
inline std::vector<Word> ReadWordsFrom(QmCharSource* source, size_t bound, bool comments,
                                       int size) {
  QmReadWordFile reader(source);
  if (comments) reader.CommentOn();
  std::vector<Word> words;
  std::vector<char> buffer((size_t)size + 1, 0);
  for (;;) {
    int n = reader.GetWord(buffer.data(), size);
    if (n == 0) break;
    words.push_back({std::string(buffer.data()), n, reader.GetLineCount()});
    if (words.size() > bound) break;
  }
  return words;
}

inline std::vector<Word> ReadWords(const std::string& text, bool comments = true, int size = 256) {
  QmReadCharMemory source(text.data(), text.size());
  return ReadWordsFrom(&source, 4 * text.size() + 16, comments, size);
}

inline bool operator==(const Word& a, const Word& b) {
  return a.text == b.text && a.length == b.length && a.line == b.line;
}

inline std::vector<std::string> Texts(const std::vector<Word>& words) {
  std::vector<std::string> texts;
  for (const Word& w : words) texts.push_back(w.text);
  return texts;
}

// A pre-pass over an in-memory text; keeps source and reader alive with it.
struct Parsed {
  std::string text;
  std::unique_ptr<QmReadCharMemory> source;
  std::unique_ptr<QmReadWordFile> reader;
  std::unique_ptr<KsVrmlPass1> pass;
  int result = -1;

  // Without packNumbers, every word of the tree is a node.
  explicit Parsed(std::string input, bool packNumbers = true) : text(std::move(input)) {
    source.reset(new QmReadCharMemory(text.data(), text.size()));
    reader.reset(new QmReadWordFile(source.get()));
    pass.reset(new KsVrmlPass1);
    pass->SetPackNumbers(packNumbers);
    result = pass->Run(reader.get());
  }
  KsWordNode* root() const { return pass->GetRoot(); }
};

// The tree as text: leaves as their words, groups as text(children...).
inline std::string Shape(const KsWordNode* node) {
  std::string out;
  for (; node; node = node->next) {
    if (!out.empty()) out += ' ';
    out += node->text ? node->text : "<null>";
    if (node->child || (node->text && node->text[0] && node->text[1] &&
                        (std::string(node->text) == "[]" || std::string(node->text) == "{}" ||
                         std::string(node->text) == "\"\""))) {
      out += '(' + Shape(node->child) + ')';
    }
  }
  return out;
}

// Collects printed text.
class TextStream : public KsOutStream {
 public:
  int Write(const char* text) override {
    out += text;
    return 0;
  }
  std::string out;
};

}  // namespace kstest

#endif
