#include "scenegraph/core/fields/sf_fields.h"

#include <cstdio>
#include <cstring>

#include "scenegraph/core/fields/field_words.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/read_release.h"
#include "scenegraph/core/object/node_containment.h"
#include "scenegraph/core/object/node_duplicator.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_reading.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {

// The set protocol around a store that cannot fail.
template <class Store>
int RunSet(KsField* field, Store store) {
  field->BeforeSet();
  store();
  field->AfterSet();
  field->ValueChanged();
  return 0;
}

// The same for a store that may run out of memory: the old value stays and
// no change is announced.
template <class Store>
int RunFallibleSet(KsField* field, Store store) {
  field->BeforeSet();
  int failed = store();
  field->AfterSet();
  if (failed != 0) return 1;
  field->ValueChanged();
  return 0;
}

// Whether count words are left; reports and returns false otherwise.
bool HasWords(KsWordNode* cursor, int count, const char* message) {
  if (KsCursorHasWords(cursor, count)) return true;
  std::fputs(message, stderr);
  return false;
}

float ParseFloat(const KsWordNode* word) { return KsParseFloat(word->text); }

// A final double quote closes the text unless an odd run of backslashes
// escapes it.
bool EndsWithClosingQuote(const char* text, size_t length) {
  if (length == 0 || text[length - 1] != '"') return false;
  size_t backslashes = 0;
  while (backslashes + 1 < length && text[length - 2 - backslashes] == '\\') ++backslashes;
  return backslashes % 2 == 0;
}

}  // namespace

// ---- KsSFInt

const char* KsSFInt::GetClassName() const { return "KsSFInt"; }

int KsSFInt::Print(KsOutStream* stream, int) const {
  stream->Printf("%d ", value_);
  return 0;
}

int KsSFInt::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 1, "Error RealizeSFInt\n")) return 1;
  int v = KsParseInt(KsCursorWord(cursor)->text);
  KsCursorAdvance(cursor);
  Set(v);
  return 0;
}

int KsSFInt::ExecCopyTo(KsField* target) {
  static_cast<KsSFInt*>(target)->Set(value_);
  return 0;
}

int KsSFInt::Set(int value) {
  return RunSet(this, [&] { value_ = value; });
}

// ---- KsSFFloat

const char* KsSFFloat::GetClassName() const { return "KsSFFloat"; }

int KsSFFloat::Print(KsOutStream* stream, int) const {
  stream->Printf("%s ", KsFloatText(value_).text);
  return 0;
}

int KsSFFloat::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 1, "Error RealizeSFFlaot\n")) return 1;
  float v = ParseFloat(KsCursorWord(cursor));
  KsCursorAdvance(cursor);
  Set(v);
  return 0;
}

int KsSFFloat::ExecCopyTo(KsField* target) {
  static_cast<KsSFFloat*>(target)->Set(value_);
  return 0;
}

int KsSFFloat::Set(float value) {
  return RunSet(this, [&] { value_ = value; });
}

// ---- KsSFTime

const char* KsSFTime::GetClassName() const { return "KsSFTime"; }

int KsSFTime::Print(KsOutStream* stream, int) const {
  stream->Printf("%s ", KsFloatText(value_).text);
  return 0;
}

int KsSFTime::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 1, "Error RealizeSFTime\n")) return 1;
  float v = ParseFloat(KsCursorWord(cursor));
  KsCursorAdvance(cursor);
  Set(v);
  return 0;
}

int KsSFTime::ExecCopyTo(KsField* target) {
  static_cast<KsSFTime*>(target)->Set(value_);
  return 0;
}

int KsSFTime::Set(float value) {
  return RunSet(this, [&] { value_ = value; });
}

// ---- KsSFVec2f

const char* KsSFVec2f::GetClassName() const { return "KsSFVec2f"; }

int KsSFVec2f::Print(KsOutStream* stream, int) const {
  stream->Printf("%s %s ", KsFloatText(value_.x).text, KsFloatText(value_.y).text);
  return 0;
}

int KsSFVec2f::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 2, "Error RealizeSFVec2f\n")) return 1;
  KsVec2f v(cursor);
  Set(v);
  return 0;
}

int KsSFVec2f::ExecCopyTo(KsField* target) {
  static_cast<KsSFVec2f*>(target)->Set(value_);
  return 0;
}

int KsSFVec2f::Set(const KsVec2f& value) {
  return RunSet(this, [&] { value_.Assign(value); });
}

// ---- KsSFVec3f

const char* KsSFVec3f::GetClassName() const { return "KsSFVec3f"; }

int KsSFVec3f::Print(KsOutStream* stream, int) const {
  stream->Printf("%s %s %s", KsFloatText(value_.x).text, KsFloatText(value_.y).text,
                 KsFloatText(value_.z).text);
  return 0;
}

int KsSFVec3f::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 3, "Error RealizeSFVec3f\n")) return 1;
  KsVec3f v(cursor);
  Set(v);
  return 0;
}

int KsSFVec3f::ExecCopyTo(KsField* target) {
  static_cast<KsSFVec3f*>(target)->Set(value_);
  return 0;
}

int KsSFVec3f::Set(const KsVec3f& value) {
  return RunSet(this, [&] { value_.Assign(value); });
}

// ---- KsSFRotation

const char* KsSFRotation::GetClassName() const { return "KsSFRotation"; }

int KsSFRotation::Print(KsOutStream* stream, int) const {
  stream->Printf("%s %s %s %s ", KsFloatText(value_.axis.x).text, KsFloatText(value_.axis.y).text,
                 KsFloatText(value_.axis.z).text, KsFloatText(value_.angle).text);
  return 0;
}

int KsSFRotation::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 4, "Error RealizeSFRotation\n")) return 1;
  KsRotation v(cursor);
  Set(v);
  return 0;
}

int KsSFRotation::ExecCopyTo(KsField* target) {
  static_cast<KsSFRotation*>(target)->Set(value_);
  return 0;
}

int KsSFRotation::Set(const KsRotation& value) {
  return RunSet(this, [&] { value_.Set(value.axis, value.angle); });
}

// ---- KsSFColor

const char* KsSFColor::GetClassName() const { return "KsSFColor"; }

int KsSFColor::Print(KsOutStream* stream, int) const {
  stream->Printf("%s %s %s ", KsFloatText(value_.r).text, KsFloatText(value_.g).text,
                 KsFloatText(value_.b).text);
  return 0;
}

int KsSFColor::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 3, "Error RealizeSFColor\n")) return 1;
  KsCol v(cursor);
  Set(v);
  return 0;
}

int KsSFColor::ExecCopyTo(KsField* target) {
  static_cast<KsSFColor*>(target)->Set(value_);
  return 0;
}

int KsSFColor::Set(float r, float g, float b) {
  return RunSet(this, [&] {
    value_.r = r;
    value_.g = g;
    value_.b = b;
  });
}

// ---- KsSFBool

const char* KsSFBool::GetClassName() const { return "KsSFBool"; }

int KsSFBool::Print(KsOutStream* stream, int) const {
  stream->Printf("%s", value_ == KS_TRUE ? "TRUE " : "FALSE ");
  return 0;
}

int KsSFBool::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 1, "Error RealizeSFBool(2)\n")) return 1;
  KSBOOL v = KsParseBoolWord(KsCursorWord(cursor)->text);
  KsCursorAdvance(cursor);
  Set(v);
  return 0;
}

int KsSFBool::ExecCopyTo(KsField* target) {
  static_cast<KsSFBool*>(target)->Set(value_);
  return 0;
}

int KsSFBool::Set(KSBOOL value) {
  return RunSet(this, [&] { value_ = value; });
}

// ---- KsSFString

const char* KsSFString::GetClassName() const { return "KsSFString"; }

int KsSFString::Print(KsOutStream* stream, int) const {
  const char* text = value_.GetText();
  if (text == nullptr || text[0] == '\0') {
    stream->Printf("\"\" ");
    return 0;
  }
  size_t length = std::strlen(text);
  if (text[0] != '"') stream->Printf("\"");
  KsWriteText(stream, text);
  // A lone quote is its own opening quote and needs its closing one.
  if (length == 1 || !EndsWithClosingQuote(text, length)) stream->Printf("\"");
  stream->Printf(" ");
  return 0;
}

int KsSFString::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 1, "Error RealizeSFString\n")) return 1;
  KsString v;
  if (KsReadStringWord(KsCursorWord(cursor), &v) != 0) return 1;
  KsCursorAdvance(cursor);
  return Set(v);
}

int KsSFString::ExecCopyTo(KsField* target) {
  return static_cast<KsSFString*>(target)->Set(value_.GetText());
}

int KsSFString::Set(const char* text) {
  // Assign copies before it frees, so a field's own text may be passed.
  return RunFallibleSet(this, [&] { return value_.Assign(text); });
}

// ---- KsSFImage

const char* KsSFImage::GetClassName() const { return "KsSFImage"; }

int KsSFImage::Print(KsOutStream* stream, int indent) const { return value_.Print(stream, indent); }

int KsSFImage::Realize(KsPartition*, KsWordNode* cursor) {
  if (!HasWords(cursor, 1, "Error RealizeSFImage\n")) return 1;
  KsImage v(cursor);
  Set(v);
  return 0;
}

int KsSFImage::ExecCopyTo(KsField* target) { return static_cast<KsSFImage*>(target)->Set(value_); }

int KsSFImage::Set(const KsImage& value) {
  return RunFallibleSet(this, [&] {
    if (&value == &value_) return 0;
    return value_.SetImage(value.GetWidth(), value.GetHeight(), value.GetUnit(), value.GetPixels());
  });
}

// ---- KsSFNode

const char* KsSFNode::GetClassName() const { return "KsSFNode"; }

int KsSFNode::Print(KsOutStream* stream, int indent) const {
  if (node_ == nullptr) {
    stream->Printf("NULL ");
    return 0;
  }
  return node_->Write(stream, indent);
}

int KsSFNode::Realize(KsPartition* partition, KsWordNode* cursor) {
  if (!HasWords(cursor, 1, "Error RealizeSFNode\n")) return 1;
  if (partition == nullptr) {
    std::fputs("Error RealizeSFNode\n", stderr);
    return 1;
  }
  KsNode* node = partition->RealizeNode(cursor);
  Set(node);
  return 0;
}

KsDuplicatorList* KsSFNode::CollectNodes(KsDuplicatorList* list) {
  return node_ ? node_->CollectNodes(list) : list;
}

int KsSFNode::ApplyDuplicate(KsDuplicatorList* list) {
  if (node_ == nullptr) return 0;
  KsNodeDuplicator* entry = KsApplyDuplicate(list, node_);
  if (entry == nullptr || entry->copy == nullptr) {
    std::fprintf(stderr, "KsSFNode::ApplyDuplicate()\n");
    std::fprintf(stderr, "  Duplicate Failed.\n");
    return 1;
  }
  KsNode* copy = entry->copy;
  Set(copy);
  if (entry->appliedCount == 1) return copy->ApplyDuplicate(list);
  return 0;
}

void KsSFNode::ReleaseNodes() {
  KsNode* node = node_;
  node_ = nullptr;
  KsNode::Unref(node);
}

void KsSFNode::BeforeSet() { previous_ = node_; }

void KsSFNode::AfterSet() {
  // A node that holds the owner would put the owner under itself.
  if (node_ && KsDropHoldersOf(GetOwner(), GetMemberName(), &node_, 1) == 0) node_ = nullptr;
  KsNode* previous = previous_;
  previous_ = nullptr;
  KsNode::Ref(node_);
  KsReleaseAfterRead(previous);
}

int KsSFNode::ExecCopyTo(KsField* target) {
  static_cast<KsSFNode*>(target)->Set(node_);
  return 0;
}

int KsSFNode::Set(KsNode* node) {
  return RunSet(this, [&] { node_ = node; });
}
