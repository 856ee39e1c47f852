#ifndef KS_STRING_VALUE_H
#define KS_STRING_VALUE_H

#include "scenegraph/core/object/object.h"

struct KsWordNode;

// An owned, NUL-terminated text, or null.
class KsString : public KsObject {
 public:
  KsString();
  KsString(const char* text);
  // The text of the word under the cursor; the cursor moves one word on.
  explicit KsString(KsWordNode* cursor);
  KsString(const KsString& other);
  KsString& operator=(const KsString& other);
  ~KsString() override;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  // Copies text (null clears). Returns 1 and keeps the old text when the
  // copy cannot be allocated, 0 otherwise. Safe when text is the current one.
  int Assign(const char* text);
  const char* GetText() const { return text_; }

  static KsClassRecord* ClassRecord();

 private:
  void Free();

  char* text_ = nullptr;
};

#endif
