#ifndef KS_COLOR_VALUE_H
#define KS_COLOR_VALUE_H

#include "scenegraph/core/object/object.h"

struct KsWordNode;

// An RGB colour; values outside 0 to 1 stay as given.
class KsCol : public KsObject {
 public:
  KsCol();
  KsCol(float red, float green, float blue);
  // Reads up to three numbers r, g, b from the cursor, moving past each;
  // missing ones stay 0.
  explicit KsCol(KsWordNode* cursor);
  KsCol(const KsCol& other);
  KsCol& operator=(const KsCol& other);

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  static KsClassRecord* ClassRecord();

  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
};

// A colour component as a byte, 0 to 255, truncated: components outside 0
// to 1 (and NaN, as 0) are clamped first, since a file may hold any float
// and converting one outside the int range is undefined.
int KsColorByte(float component);

#endif
