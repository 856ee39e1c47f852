#include "scenegraph/core/fields/color_value.h"
#include "scenegraph/core/reading/word_convert.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
KsClassRecord* g_colorRecord = nullptr;

void RegisterColor() { KsClassManager::Ensure(&g_colorRecord, "KsCol", KsObject::ClassRecord()); }
}  // namespace

KsCol::KsCol() { RegisterColor(); }

KsCol::KsCol(float red, float green, float blue) : r(red), g(green), b(blue) { RegisterColor(); }

KsCol::KsCol(KsWordNode* cursor) {
  RegisterColor();
  float* component[3] = {&r, &g, &b};
  for (float* c : component) {
    KsWordNode* word = KsCursorWord(cursor);
    if (!word) break;
    *c = KsParseFloat(word->text);
    KsCursorAdvance(cursor);
  }
}

KsCol::KsCol(const KsCol& other) : KsObject(), r(other.r), g(other.g), b(other.b) {
  RegisterColor();
}

KsCol& KsCol::operator=(const KsCol& other) {
  r = other.r;
  g = other.g;
  b = other.b;
  return *this;
}

const char* KsCol::GetClassName() const { return "KsCol"; }

KsClassRecord* KsCol::GetClassInfo() const { return g_colorRecord; }

KsClassRecord* KsCol::ClassRecord() { return g_colorRecord; }

int KsColorByte(float component) {
  if (!(component > 0.0f)) return 0;
  if (component >= 1.0f) return 255;
  const int byte = static_cast<int>(component * 255.0f);
  return byte > 255 ? 255 : byte;
}
