#ifndef KS_TESTS_FIELD_TEST_UTIL_H
#define KS_TESTS_FIELD_TEST_UTIL_H

#include <functional>
#include <string>
#include <vector>

#include "scenegraph/core/fields/field.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reading/word_tree.h"
#include "reader_test_util.h"

namespace kstest {

// A node that records what the set protocol tells it and prints as
// "PROBE<id> ".
class ProbeNode : public KsNode {
 public:
  explicit ProbeNode(int id = 0) : id_(id) {}
  ~ProbeNode() override { ++Destroyed(); }

  const char* GetClassName() const override { return "KsProbe"; }
  int Write(KsOutStream* stream, int) override {
    stream->Printf("PROBE%d ", id_);
    return 0;
  }
  int InvalidateCache() override {
    log.push_back("invalidate");
    return 0;
  }
  int OwnerMemberChanged(const char* name, KsField* field) override {
    log.push_back(std::string("changed ") + (name ? name : "") + " " +
                  (field ? field->GetClassName() : ""));
    if (onChanged) onChanged(field);
    return changedResult;
  }

  static int& Destroyed() {
    static int count = 0;
    return count;
  }

  std::vector<std::string> log;
  int changedResult = 0;
  std::function<void(KsField*)> onChanged;

 private:
  int id_;
};

inline std::string PrintOf(const KsObject& value, int indent = 0) {
  TextStream stream;
  value.Print(&stream, indent);
  return stream.out;
}

// The texts of the words left under a cursor.
inline std::string Rest(const KsWordNode* cursor) { return Shape(KsCursorWord(cursor)); }

// Realises a field from VRML text; the word tree stays alive with it.
struct FieldInput {
  Parsed parsed;
  KsWordNode cursor;

  explicit FieldInput(const std::string& text)
      : parsed(text), cursor(KsMakeCursor(parsed.root())) {}
  int RealizeInto(KsField& field, KsPartition* partition = nullptr) {
    return field.Realize(partition, &cursor);
  }
};

}  // namespace kstest

#endif
