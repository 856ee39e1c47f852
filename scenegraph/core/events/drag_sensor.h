// Base of the pointing sensors that follow a drag: the partition starts a
// drag on the sensor picked under the pointer, moves it while the button is
// held and ends it on release. One drag sensor at a time is active.
#pragma once

#include "scenegraph/core/math/matrix.h"
#include "scenegraph/core/object/node.h"

class KsDragSensor : public KsNode {
 public:
  KsDragSensor();
  ~KsDragSensor() override;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  static KsClassRecord* ClassRecord();

  KSBOOL IsPointingSensor() override;
  KSBOOL IsDragSensor() override;
  KsNode* NewInstance() override;

  // Keeps the matrix the sensor was picked under (inverse included) and
  // the start point, sends isActive TRUE and becomes the active sensor;
  // the delivery status.
  virtual int BeginDrag(KsMatrix* matrix, int x, int y);
  // Sends isActive FALSE and clears the active sensor.
  virtual int EndDrag();
  // The pointer moved to (x, y) with the button held; the third argument
  // is unused.
  virtual int Drag(int x, int y, int unused);

  const KsMatrix& GetDragMatrix() const { return matrix_; }
  int GetStartX() const { return startX_; }
  int GetStartY() const { return startY_; }

  // The sensor being dragged, or null.
  static KsDragSensor* GetActive();
  static void SetActive(KsDragSensor* sensor);

 protected:
  int SendIsActive(KSBOOL value);

 private:
  KsMatrix matrix_;
  int startX_ = 0;
  int startY_ = 0;
};
