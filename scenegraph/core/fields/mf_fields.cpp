#include "scenegraph/core/fields/mf_fields.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#include "scenegraph/core/fields/field_words.h"
#include "scenegraph/core/fields/value_bytes.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/object/node_containment.h"
#include "scenegraph/core/object/node_duplicator.h"
#include "scenegraph/core/object/read_release.h"
#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/reading/read_errors.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_reading.h"
#include "scenegraph/core/reading/word_tree.h"
#include "scenegraph/core/reading/word_window.h"

namespace {

// Element copies that own memory report a failed allocation.
template <class T>
int CopyElement(T& to, const T& from) {
  to = from;
  return 0;
}

int CopyElement(KsString& to, const KsString& from) { return to.Assign(from.GetText()); }

int CopyElement(KsImage& to, const KsImage& from) {
  if (&to == &from) return 0;
  return to.SetImage(from.GetWidth(), from.GetHeight(), from.GetUnit(), from.GetPixels());
}

// Bytes an array of count elements holds as a value; lists of nodes count
// their nodes instead.
template <class T>
int64_t ArrayBytes(int count) {
  if constexpr (std::is_same<T, KsNode*>::value)
    return 0;
  else
    return (int64_t)sizeof(T) * count;
}

// A new array of count copies, or null when memory runs out.
template <class T>
T* CopyArray(const T* from, int count) {
  T* array = new (std::nothrow) T[count];
  if (array == nullptr) return nullptr;
  KsCountValueBytes(ArrayBytes<T>(count));
  for (int i = 0; i < count; ++i) {
    if (CopyElement(array[i], from[i]) != 0) {
      KsCountValueBytes(-ArrayBytes<T>(count));
      delete[] array;
      return nullptr;
    }
  }
  return array;
}

bool IsComma(const KsWordNode* word) {
  return word->text != nullptr && word->text[0] == ',' && word->text[1] == '\0';
}

bool IsBracketGroup(const KsWordNode* word) {
  return word->text != nullptr && std::strcmp(word->text, "[]") == 0;
}

// Words one element of a list normally takes, to size its array from the
// number of words in the brackets before parsing.
template <class T>
int WordsPerElement() {
  return 1;
}
template <>
int WordsPerElement<KsVec2f>() {
  return 2;
}
template <>
int WordsPerElement<KsVec3f>() {
  return 3;
}
template <>
int WordsPerElement<KsCol>() {
  return 3;
}
template <>
int WordsPerElement<KsRotation>() {
  return 4;
}
// A node statement takes at least two words (a keyword and its body).
template <>
int WordsPerElement<KsNode*>() {
  return 2;
}
// An image takes its header and pixels: grow from one instead.
template <>
int WordsPerElement<KsImage>() {
  return 1 << 20;
}

// Element types whose parsers read at most KsWordWindow::kAhead words; the
// others (node statements, images) walk the words as nodes.
template <class T>
constexpr bool ReadsFewWords() {
  return true;
}
template <>
constexpr bool ReadsFewWords<KsNode*>() {
  return false;
}
template <>
constexpr bool ReadsFewWords<KsImage>() {
  return false;
}

// Moves the first count elements of from into a new array of capacity
// elements; null when memory runs out (from is then untouched).
template <class T>
T* MoveArray(T* from, int count, int capacity) {
  T* array = new (std::nothrow) T[capacity];
  if (array == nullptr) return nullptr;
  for (int i = 0; i < count; ++i) std::swap(array[i], from[i]);
  return array;
}

}  // namespace

// ---- shared list behaviour

template <class T>
KsMField<T>::~KsMField() {
  DropPending();
  if (elements_ != nullptr) KsCountValueBytes(-ArrayBytes<T>(count_));
  delete[] elements_;
}

template <class T>
void KsMField<T>::ClearElements() {
  if (elements_ != nullptr) KsCountValueBytes(-ArrayBytes<T>(count_));
  delete[] elements_;
  elements_ = nullptr;
  count_ = 0;
}

template <class T>
T* KsMField<T>::Get(int index) {
  if (index < 0 || index >= count_) {
    std::fprintf(stderr, "%s::Get()\n", GetClassName());
    std::fprintf(stderr, "  Index Out Of Range.\n");
    std::fprintf(stderr, "  Requested %d\n", index);
    std::fprintf(stderr, "  Maximum   %d\n", count_);
    return nullptr;
  }
  return &elements_[index];
}

template <class T>
const T* KsMField<T>::Get(int index) const {
  return const_cast<KsMField<T>*>(this)->Get(index);
}

template <class T>
int KsMField<T>::Set(int count, const T* elements) {
  BeforeSet();
  // Copy before freeing: elements may be this field's own.
  T* copy = nullptr;
  int newCount = 0;
  bool failed = false;
  if (count > 0 && elements != nullptr) {
    copy = CopyArray(elements, count);
    if (copy == nullptr)
      failed = true;
    else
      newCount = count;
  }
  ClearElements();
  elements_ = copy;
  count_ = newCount;
  AfterSet();
  if (failed) return 1;
  ValueChanged();
  return 0;
}

template <class T>
void KsMField<T>::DropPending() {
  Pending* p = pendingHead_;
  while (p != nullptr) {
    Pending* next = p->next;
    delete p;
    p = next;
  }
  pendingHead_ = nullptr;
  pendingTail_ = nullptr;
  pendingCount_ = 0;
  beginFailed_ = false;
}

template <class T>
void KsMField<T>::Begin() {
  DropPending();
  for (int i = 0; i < count_; ++i) {
    if (Append(elements_[i]) != 0) {
      // Begin cannot report it: Commit fails instead of dropping elements.
      beginFailed_ = true;
      break;
    }
  }
}

template <class T>
int KsMField<T>::Append(const T& element) {
  Pending* p = new (std::nothrow) Pending;
  if (p == nullptr) return 1;
  if (CopyElement(p->value, element) != 0) {
    delete p;
    return 1;
  }
  if (pendingTail_ == nullptr)
    pendingHead_ = p;
  else
    pendingTail_->next = p;
  pendingTail_ = p;
  ++pendingCount_;
  return 0;
}

template <class T>
int KsMField<T>::TakePending(T** out, int* count) {
  *out = nullptr;
  *count = 0;
  if (pendingCount_ == 0) return 0;
  T* array = new (std::nothrow) T[pendingCount_];
  if (array == nullptr) return 1;
  KsCountValueBytes(ArrayBytes<T>(pendingCount_));
  int i = 0;
  for (Pending* p = pendingHead_; p != nullptr; p = p->next, ++i) {
    if (CopyElement(array[i], p->value) != 0) {
      KsCountValueBytes(-ArrayBytes<T>(pendingCount_));
      delete[] array;
      return 1;
    }
  }
  *out = array;
  *count = pendingCount_;
  return 0;
}

template <class T>
int KsMField<T>::Commit() {
  BeforeSet();
  T* array = nullptr;
  int n = 0;
  int failed = beginFailed_ ? 1 : TakePending(&array, &n);
  ClearElements();
  elements_ = array;
  count_ = n;
  DropPending();
  AfterSet();
  if (failed != 0) return 1;
  ValueChanged();
  return 0;
}

template <class T>
int KsMField<T>::ExecCopyTo(KsField* target) {
  return static_cast<KsMField<T>*>(target)->Set(count_, elements_);
}

// Parses a bracketed list straight into an array sized from its words: a
// pending list would cost a block per element, several times the input.
// A packed run of numbers is read through a window of nodes, so that its
// words need no nodes of their own.
template <class T>
void KsMField<T>::ParseList(KsPartition* partition, KsWordNode* group) {
  DropPending();
  // Only where a run can be read: node lists nest, and each level's frame
  // would hold a window.
  if constexpr (ReadsFewWords<T>()) {
    if (const KsWordRun* run = group->child.Run()) {
      KsWordWindow window(run);
      if (window.Ready())
        ParseWords(partition, window.First(), run->values, &window, group->text.Line());
      else
        ParseWords(partition, nullptr, -1, nullptr, group->text.Line());
      return;
    }
  }
  KsWordNode* first = group->child;
  int words = 0;
  for (const KsWordNode* w = first; w != nullptr; w = w->next)
    if (!IsComma(w)) ++words;
  ParseWords(partition, first, words, nullptr, group->text.Line());
}

template <class T>
void KsMField<T>::ParseWords(KsPartition* partition, KsWordNode* first, int words,
                             KsWordWindow* window, int line) {
  bool failed = words < 0;
  const int per = WordsPerElement<T>();
  int capacity = failed ? 0 : words / per + (words % per != 0 ? 1 : 0);
  T* array = nullptr;
  int n = 0;
  if (capacity > 0) {
    array = new (std::nothrow) T[capacity];
    failed = array == nullptr;
  }
  KsWordNode inner = KsMakeCursor(first);
  while (!failed && KsCursorWord(&inner) != nullptr) {
    if (window) window->Keep(&inner);
    if (IsComma(KsCursorWord(&inner))) {
      KsCursorAdvance(&inner);
      continue;
    }
    KsWordNode* start = KsCursorWord(&inner);
    T element = ParseElement(partition, &inner);
    // An element parser that refuses its words (an image header
    // cut short) must not stall the walk.
    if (KsCursorWord(&inner) == start) KsCursorAdvance(&inner);
    if (!KeepInList(element)) continue;
    if (n == capacity) {
      const int grown = capacity < 4 ? 4 : capacity * 2;
      T* bigger = MoveArray(array, n, grown);
      if (bigger == nullptr) {
        failed = true;
        break;
      }
      delete[] array;
      array = bigger;
      capacity = grown;
    }
    // A copy that cannot be allocated drops the element, as Append does.
    if (CopyElement(array[n], element) == 0) ++n;
  }
  if (!failed && n < capacity) {
    T* exact = n > 0 ? MoveArray(array, n, n) : nullptr;
    if (n > 0 && exact == nullptr) {
      failed = true;
    } else {
      delete[] array;
      array = exact;
    }
  }
  if (failed) {
    delete[] array;
    array = nullptr;
    n = 0;
    // An empty list in place of the file's would pass for what it holds.
    KsNoteReadOutOfMemory(line);
  }
  BeforeSet();
  ClearElements();
  elements_ = array;
  count_ = n;
  if (array != nullptr) KsCountValueBytes(ArrayBytes<T>(n));
  AfterSet();
  if (!failed) ValueChanged();
}

template <class T>
int KsMField<T>::Realize(KsPartition* partition, KsWordNode* cursor) {
  KsWordNode* word = KsCursorWord(cursor);
  if (word == nullptr) return 1;
  if (IsBracketGroup(word)) {
    KsCursorAdvance(cursor);
    // First notice: the field is empty.
    BeforeSet();
    ClearElements();
    AfterSet();
    ValueChanged();

    ParseList(partition, word);
    return 0;
  }
  // A single value without brackets.
  DropPending();
  T element = ParseElement(partition, cursor);
  Append(element);
  Commit();
  return 0;
}

template <class T>
int KsMField<T>::Print(KsOutStream* stream, int indent) const {
  stream->Printf("[\n");
  for (int i = 0; i < count_; ++i) {
    PrintElement(stream, elements_[i], indent);
    if (i != count_ - 1) stream->Printf(",");
    if (i % 8 == 0) stream->Printf("\n");
  }
  stream->Printf("]\n");
  return 0;
}

template class KsMField<int>;
template class KsMField<float>;
template class KsMField<KsVec2f>;
template class KsMField<KsVec3f>;
template class KsMField<KsRotation>;
template class KsMField<KsString>;
template class KsMField<KsCol>;
template class KsMField<KsImage>;
template class KsMField<KsNode*>;

// ---- element types

const char* KsMFInt::GetClassName() const { return "KsMFInt"; }

int KsMFInt::ParseElement(KsPartition*, KsWordNode* cursor) {
  int v = KsParseInt(KsCursorWord(cursor)->text);
  KsCursorAdvance(cursor);
  return v;
}

void KsMFInt::PrintElement(KsOutStream* stream, const int& element, int) const {
  stream->Printf("%d", element);
}

const char* KsMFFloat::GetClassName() const { return "KsMFFloat"; }

float KsMFFloat::ParseElement(KsPartition*, KsWordNode* cursor) {
  float v = KsParseFloat(KsCursorWord(cursor)->text);
  KsCursorAdvance(cursor);
  return v;
}

void KsMFFloat::PrintElement(KsOutStream* stream, const float& element, int) const {
  stream->Printf("%s", KsFloatText(element).text);
}

const char* KsMFTime::GetClassName() const { return "KsMFTime"; }

const char* KsMFVec2f::GetClassName() const { return "KsMFVec2f"; }

KsVec2f KsMFVec2f::ParseElement(KsPartition*, KsWordNode* cursor) { return KsVec2f(cursor); }

void KsMFVec2f::PrintElement(KsOutStream* stream, const KsVec2f& e, int) const {
  stream->Printf("%s %s", KsFloatText(e.x).text, KsFloatText(e.y).text);
}

const char* KsMFVec3f::GetClassName() const { return "KsMFVec3f"; }

KsVec3f KsMFVec3f::ParseElement(KsPartition*, KsWordNode* cursor) { return KsVec3f(cursor); }

void KsMFVec3f::PrintElement(KsOutStream* stream, const KsVec3f& e, int) const {
  stream->Printf("%s %s %s", KsFloatText(e.x).text, KsFloatText(e.y).text, KsFloatText(e.z).text);
}

const char* KsMFRotation::GetClassName() const { return "KsMFRotation"; }

KsRotation KsMFRotation::ParseElement(KsPartition*, KsWordNode* cursor) {
  return KsRotation(cursor);
}

void KsMFRotation::PrintElement(KsOutStream* stream, const KsRotation& e, int) const {
  stream->Printf("%s %s %s %s", KsFloatText(e.axis.x).text, KsFloatText(e.axis.y).text,
                 KsFloatText(e.axis.z).text, KsFloatText(e.angle).text);
}

const char* KsMFColor::GetClassName() const { return "KsMFColor"; }

KsCol KsMFColor::ParseElement(KsPartition*, KsWordNode* cursor) { return KsCol(cursor); }

void KsMFColor::PrintElement(KsOutStream* stream, const KsCol& e, int) const {
  stream->Printf("%s %s %s", KsFloatText(e.r).text, KsFloatText(e.g).text, KsFloatText(e.b).text);
}

const char* KsMFBool::GetClassName() const { return "KsMFBool"; }

KSBOOL KsMFBool::ParseElement(KsPartition*, KsWordNode* cursor) {
  KSBOOL v = KsParseBoolWord(KsCursorWord(cursor)->text);
  KsCursorAdvance(cursor);
  return v;
}

void KsMFBool::PrintElement(KsOutStream* stream, const KSBOOL& element, int) const {
  stream->Printf("%s", element == KS_TRUE ? "TRUE" : "FALSE");
}

const char* KsMFImage::GetClassName() const { return "KsMFImage"; }

KsImage KsMFImage::ParseElement(KsPartition*, KsWordNode* cursor) { return KsImage(cursor); }

void KsMFImage::PrintElement(KsOutStream* stream, const KsImage& e, int indent) const {
  e.Print(stream, indent);
}

// ---- KsMFString

const char* KsMFString::GetClassName() const { return "KsMFString"; }

int KsMFString::Realize(KsPartition* partition, KsWordNode* cursor) {
  if (KsCursorWord(cursor) == nullptr) return 1;
  // Emptied at once, without hooks or notice.
  ClearElements();
  return KsMField<KsString>::Realize(partition, cursor);
}

KsString KsMFString::ParseElement(KsPartition*, KsWordNode* cursor) {
  KsString v;
  // A text that cannot be allocated is kept as a null text.
  KsReadStringWord(KsCursorWord(cursor), &v);
  KsCursorAdvance(cursor);
  return v;
}

void KsMFString::PrintElement(KsOutStream* stream, const KsString& e, int) const {
  stream->Printf("\"");
  KsWriteText(stream, e.GetText());
  stream->Printf("\"");
}

int KsMFString::Print(KsOutStream* stream, int indent) const {
  stream->Printf("[\n");
  for (int i = 0; i < count_; ++i) {
    PrintElement(stream, elements_[i], indent);
    if (i != count_ - 1) stream->Printf(",\n");
  }
  stream->Printf("\n");
  stream->Printf("]\n");
  return 0;
}

// ---- KsMFNode

KsMFNode::~KsMFNode() { delete[] previous_; }

const char* KsMFNode::GetClassName() const { return "KsMFNode"; }

KsNode* KsMFNode::ParseElement(KsPartition* partition, KsWordNode* cursor) {
  if (partition == nullptr) {
    KsCursorAdvance(cursor);
    return nullptr;
  }
  return partition->RealizeNode(cursor);
}

void KsMFNode::PrintElement(KsOutStream* stream, KsNode* const& element, int indent) const {
  if (element == nullptr)
    stream->Printf("NULL ");
  else
    element->Write(stream, indent);
}

KsDuplicatorList* KsMFNode::CollectNodes(KsDuplicatorList* list) {
  for (int i = 0; i < count_; ++i)
    if (elements_[i] != nullptr) list = elements_[i]->CollectNodes(list);
  return list;
}

int KsMFNode::ApplyDuplicate(KsDuplicatorList* list) {
  for (int i = 0; i < count_; ++i) {
    KsNode* node = elements_[i];
    if (node == nullptr) continue;
    KsNodeDuplicator* entry = KsApplyDuplicate(list, node);
    if (entry == nullptr || entry->copy == nullptr) {
      std::fprintf(stderr, "KsSFNode::ApplyDuplicate()\n");
      std::fprintf(stderr, "  Duplicate Failed(2).\n");
      return 1;
    }
    KsNode* copy = entry->copy;
    KsNode::Ref(copy);
    KsNode::Unref(node);
    elements_[i] = copy;
    if (entry->appliedCount == 1 && copy->ApplyDuplicate(list) != 0) {
      std::fprintf(stderr, "KsSFNode::ApplyDuplicate()\n");
      std::fprintf(stderr, "  Duplicate Failed(1).\n");
      return 1;
    }
  }
  return 0;
}

void KsMFNode::ReleaseNodes() {
  // Detach first: an Unref may destroy a node whose release reaches back here.
  KsNode** nodes = elements_;
  int n = count_;
  elements_ = nullptr;
  count_ = 0;
  for (int i = 0; i < n; ++i) KsNode::Unref(nodes[i]);
  delete[] nodes;
}

void KsMFNode::BeforeSet() {
  delete[] previous_;
  previous_ = nullptr;
  previousCount_ = 0;
  if (count_ == 0) return;
  previous_ = new (std::nothrow) KsNode*[count_];
  if (previous_ == nullptr) {
    std::fprintf(stderr, "Low Memory Warning!!\n");
    std::fprintf(stderr, "  KsSFNode::BeforeSet()\n");
    return;
  }
  std::memcpy(previous_, elements_, sizeof(KsNode*) * static_cast<size_t>(count_));
  previousCount_ = count_;
}

void KsMFNode::AfterSet() {
  // A node that holds the owner would put the owner under itself.
  count_ =
      KsDropHoldersOf(GetOwner(), GetMemberName(), elements_, count_, previous_, previousCount_);
  for (int i = 0; i < count_; ++i) KsNode::Ref(elements_[i]);
  KsNode** previous = previous_;
  int n = previousCount_;
  previous_ = nullptr;
  previousCount_ = 0;
  for (int i = 0; i < n; ++i) KsReleaseAfterRead(previous[i]);
  delete[] previous;
}
