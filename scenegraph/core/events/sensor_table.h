// The pickable sensors of the last frame drawn: the render traversal adds a
// descriptor for every grouping node that holds a pointing sensor and tags
// the primitives drawn under it with the descriptor's index (its pick id);
// picking maps an id back to the sensor.
#pragma once

#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/object/object.h"

class KsNode;

constexpr int KS_SENSOR_TABLE_SIZE = 256;

// One pointing sensor, the group it was found in and the transformation in
// force there. The nodes are not referenced: an entry lives for one frame.
class KsSensorDescriptor : public KsObject {
 public:
  KsSensorDescriptor();
  KsSensorDescriptor(KsNode* sensor, KsNode* group, const KsMatrix& matrix);
  KsSensorDescriptor(const KsSensorDescriptor& other);
  KsSensorDescriptor& operator=(const KsSensorDescriptor& other);

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;

  KsNode* GetSensor() const { return sensor_; }
  void SetSensor(KsNode* sensor) { sensor_ = sensor; }
  KsNode* GetGroup() const { return group_; }
  void SetGroup(KsNode* group) { group_ = group; }
  // Whole copies, inverse included.
  void GetMatrix(KsMatrix* out) const { *out = matrix_; }
  const KsMatrix& GetMatrix() const { return matrix_; }
  void SetMatrix(const KsMatrix& matrix) { matrix_ = matrix; }

 private:
  KsNode* sensor_ = nullptr;
  KsNode* group_ = nullptr;
  KsMatrix matrix_;
};

// Process-wide table of 256 descriptors and the current pick id (-1: the
// primitives drawn now belong to no sensor).
class KsSensorTable {
 public:
  // Index of a copy of the descriptor, or -1 when all 256 are in use.
  static int Add(const KsSensorDescriptor& descriptor);
  // Null when id is negative or not below the number in use.
  static KsSensorDescriptor* Get(int id);
  static int GetCount();

  static int GetCurrent();
  static void SetCurrent(int id);
  // Sets id and returns the previous one.
  static int SwapCurrent(int id);

  // Number in use 0 (start of a traversal from the root).
  static void Clear();
  // Number in use 0 and no current id (a new scene, and tests).
  static void Reset();
};
