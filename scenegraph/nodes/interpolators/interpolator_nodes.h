// Interpolators: a fraction arriving on "fraction" picks the key interval
// that holds it (first match of a linear scan, upper key excluded), blends
// the two neighbouring key values linearly and sends the result as the
// event-out "value" along the node's routes. Nothing is clamped: a fraction
// outside the keys sends nothing. Without routes nothing is computed.
#pragma once

#include "scenegraph/core/fields/mf_fields.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/nodes/node_class.h"

// Keys under "key" and "keys" (one field); the classes declare their key
// values ("keyValue") and name them "values" too (one field).
class KsInterpolatorBase : public KsNode {
  KS_NODE_CLASS(KsInterpolatorBase)
  // Nothing to draw.
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsMFFloat, key, exposedField);

 protected:
  KsInterpolatorBase();
  // Registers the key values' second name.
  void RegisterKeyValues(KsField* values);

  // Steps shared by the six classes. 0 when the event is a fraction to
  // work on (stored in *fraction); otherwise *status holds the result.
  int TakeFraction(const char* header, const char* name, KsField* field, float* fraction,
                   int* status);
  // Finds the interval [key[i], key[i+1]) holding f and its weights;
  // 1 when there is none.
  int FindInterval(float f, int* i, float* w0, float* w1, float* span) const;
  // The point-by-point blend of the coordinate and normal classes; 1
  // (reported) when no interval holds f.
  int BlendBlocks(const char* header, const KsMFVec3f& values, float f, KsMFVec3f* out);
  // A whole event of the coordinate and normal classes: the fraction taken
  // and the blended list sent.
  int SendBlocksBlend(const char* header, const char* name, KsField* field,
                      const KsMFVec3f& values);
  // A whole event of the scalar, position and colour classes: the two key
  // values around the fraction blended and sent as an Event.
  template <class Event, class Values>
  int SendPairBlend(const char* header, const char* name, KsField* field, const Values& values);
  // Sends "value" along the routes; the delivery status.
  int SendValue(KsField* value);
};

class KsScalarInterpolator : public KsInterpolatorBase {
  KS_NODE_CLASS(KsScalarInterpolator)
  KsScalarInterpolator();
  KsNode* NewInstance() override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  KS_FIELD(KsMFFloat, keyValue, exposedField);
};

class KsPositionInterpolator : public KsInterpolatorBase {
  KS_NODE_CLASS(KsPositionInterpolator)
  KsPositionInterpolator();
  KsNode* NewInstance() override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  KS_FIELD(KsMFVec3f, keyValue, exposedField);
};

class KsColorInterpolator : public KsInterpolatorBase {
  KS_NODE_CLASS(KsColorInterpolator)
  KsColorInterpolator();
  KsNode* NewInstance() override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  KS_FIELD(KsMFColor, keyValue, exposedField);
};

// Blends axis and angle linearly (not a spherical blend); the angles are
// first brought within pi of each other by whole turns.
class KsOrientationInterpolator : public KsInterpolatorBase {
  KS_NODE_CLASS(KsOrientationInterpolator)
  KsOrientationInterpolator();
  KsNode* NewInstance() override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  KS_FIELD(KsMFRotation, keyValue, exposedField);
};

// The key values form one block of points per key; "value" is a list.
class KsCoordinateInterpolator : public KsInterpolatorBase {
  KS_NODE_CLASS(KsCoordinateInterpolator)
  KsCoordinateInterpolator();
  KsNode* NewInstance() override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  KS_FIELD(KsMFVec3f, keyValue, exposedField);
};

// As the coordinate interpolator; the blended normals are not renormalised.
class KsNormalInterpolator : public KsInterpolatorBase {
  KS_NODE_CLASS(KsNormalInterpolator)
  KsNormalInterpolator();
  KsNode* NewInstance() override;
  int ExecSpecialEvent(const char* name, KsField* field, KsNode* source) override;

  KS_FIELD(KsMFVec3f, keyValue, exposedField);
};

// Registers the six keywords with the node factory.
void KsRegisterInterpolatorNodes();
