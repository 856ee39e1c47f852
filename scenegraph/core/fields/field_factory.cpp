#include "scenegraph/core/fields/field_factory.h"

#include <cstdio>
#include <new>

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/reading/word_convert.h"

const char* const* KsFieldTypeKeywords() {
  // The index selects the class in KsCreateField.
  static const char* const kKeywords[KS_FIELD_TYPE_COUNT + 1] = {
      "SFInt",   "SFFloat",    "SFVec2f",  "SFVec3f", "SFRotation", "SFString", "SFTime",
      "SFColor", "SFBool",     "SFImage",  "SFNode",  "MFInt",      "MFFloat",  "MFVec2f",
      "MFVec3f", "MFRotation", "MFString", "MFTime",  "MFColor",    "MFBool",   "MFImage",
      "MFNode",  "SFInt32",    "MFInt32",  nullptr};
  return kKeywords;
}

KsField* KsCreateField(const char* keyword) {
  switch (KsKeywordIndex(keyword, KsFieldTypeKeywords())) {
    case 0:
    case 22: return new (std::nothrow) KsSFInt;
    case 1: return new (std::nothrow) KsSFFloat;
    case 2: return new (std::nothrow) KsSFVec2f;
    case 3: return new (std::nothrow) KsSFVec3f;
    case 4: return new (std::nothrow) KsSFRotation;
    case 5: return new (std::nothrow) KsSFString;
    case 6: return new (std::nothrow) KsSFTime;
    case 7: return new (std::nothrow) KsSFColor;
    case 8: return new (std::nothrow) KsSFBool;
    case 9: return new (std::nothrow) KsSFImage;
    case 10: return new (std::nothrow) KsSFNode;
    case 11:
    case 23: return new (std::nothrow) KsMFInt;
    case 12: return new (std::nothrow) KsMFFloat;
    case 13: return new (std::nothrow) KsMFVec2f;
    case 14: return new (std::nothrow) KsMFVec3f;
    case 15: return new (std::nothrow) KsMFRotation;
    case 16: return new (std::nothrow) KsMFString;
    case 17: return new (std::nothrow) KsMFTime;
    case 18: return new (std::nothrow) KsMFColor;
    case 19: return new (std::nothrow) KsMFBool;
    case 20: return new (std::nothrow) KsMFImage;
    case 21: return new (std::nothrow) KsMFNode;
    default: break;
  }
  std::fprintf(stderr, "KsCreateField()\n");
  std::fprintf(stderr, "  Unknown Field Type %s\n", keyword ? keyword : "(null)");
  return nullptr;
}
