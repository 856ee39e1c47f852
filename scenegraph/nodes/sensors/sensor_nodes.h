// Sensors. The time sensor turns the scene clock into isActive, cycleTime
// and fraction events once per frame; the touch and plane sensors are found
// by picking during the drawing walk and take pointer input from the
// partition. Proximity, visibility, cylinder and sphere sensors only hold
// their members. Events that are not members (isActive, touchTime,
// translation ...) are sent by name with a temporary field.
#pragma once

#include "scenegraph/core/events/drag_sensor.h"
#include "scenegraph/core/object/node.h"
#include "scenegraph/core/fields/sf_fields.h"
#include "scenegraph/core/math/vec.h"
#include "scenegraph/nodes/node_class.h"

// Sends touchTime when clicked (the partition does the sending).
class KsTouchSensor : public KsNode {
  KS_NODE_CLASS(KsTouchSensor)
  KsTouchSensor();
  KSBOOL IsPointingSensor() override;
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  KS_FIELD(KsSFBool, enabled, exposedField, KS_TRUE);
};

class KsTimeSensor : public KsNode {
  KS_NODE_CLASS(KsTimeSensor)
  KsTimeSensor();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;

  // Advances the sensor to the scene time now: while active it sends
  // isActive TRUE on activation, cycleTime when a new cycle begins and
  // the fraction of the cycle, in that order. Going inactive sends
  // nothing. Returns 0.
  int Tick(float now);
  // The scene's time pass: a sensor that the walk reaches more than once
  // (USE) is ticked only at its first visit for a given time, so that the
  // repeat does not read as a pause. Returns 0.
  int TickInPass(float now);
  // Time of the previous active tick, -1 while inactive.
  float GetPreviousTick() const { return previous_; }

  KS_FIELD(KsSFTime, cycleInterval, exposedField, 1.0f);
  KS_FIELD(KsSFBool, enabled, exposedField, KS_TRUE);
  KS_FIELD(KsSFBool, loop, exposedField, KS_FALSE);
  KS_FIELD(KsSFTime, startTime, exposedField, 0.0f);
  KS_FIELD(KsSFTime, stopTime, exposedField, 0.0f);

 private:
  float previous_ = -1.0f;
  float passTime_;  // time of the last pass that ticked the sensor
};

// Drags a point across the plane z = offset.z of its local coordinates and
// reports the movement as translation (clamped to the position limits) and
// trackPoint (unclamped).
class KsPlaneSensor : public KsDragSensor {
  KS_NODE_CLASS(KsPlaneSensor)
  KsPlaneSensor();
  KsNode* NewInstance() override;
  int ExecTraverse(KsMatrix* matrix) override;
  int BeginDrag(KsMatrix* matrix, int x, int y) override;
  int EndDrag() override;
  int Drag(int x, int y, int unused) override;

  // The pointer ray of window point (x, y) from the bound viewpoint met
  // with the drag plane, in the sensor's local coordinates: 0, or 1 with
  // out untouched (no viewpoint, ray parallel to the plane, a transform
  // that cannot be undone).
  int IntersectPlane(KsVec3f* out, int x, int y) const;
  const KsVec3f& GetLastTranslation() const { return lastTranslation_; }

  KS_FIELD(KsSFBool, autoOffset, exposedField, KS_TRUE);
  KS_FIELD(KsSFBool, enabled, exposedField, KS_TRUE);
  KS_FIELD(KsSFVec2f, maxPosition, exposedField, -1.0f, -1.0f);
  KS_FIELD(KsSFVec2f, minPosition, exposedField, 0.0f, 0.0f);
  KS_FIELD(KsSFVec3f, offset, exposedField, 0.0f, 0.0f, 0.0f);

 private:
  KsVec3f lastTranslation_;
};

// Data only: no behaviour, no duplication, the base drawing warning.
class KsProximitySensor : public KsNode {
  KS_NODE_CLASS(KsProximitySensor)
  KsProximitySensor();

  KS_FIELD(KsSFVec3f, center, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFVec3f, size, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFBool, enabled, exposedField, KS_TRUE);
};

class KsVisibilitySensor : public KsNode {
  KS_NODE_CLASS(KsVisibilitySensor)
  KsVisibilitySensor();

  KS_FIELD(KsSFVec3f, center, exposedField, 0.0f, 0.0f, 0.0f);
  KS_FIELD(KsSFBool, enabled, exposedField, KS_TRUE);
  KS_FIELD(KsSFVec3f, size, exposedField, 0.0f, 0.0f, 0.0f);
};

class KsCylinderSensor : public KsNode {
  KS_NODE_CLASS(KsCylinderSensor)
  KsCylinderSensor();

  KS_FIELD(KsSFBool, autoOffset, exposedField, KS_TRUE);
  KS_FIELD(KsSFFloat, diskAngle, exposedField, 0.262f);
  KS_FIELD(KsSFBool, enabled, exposedField, KS_TRUE);
  KS_FIELD(KsSFFloat, maxAngle, exposedField, -1.0f);
  KS_FIELD(KsSFFloat, minAngle, exposedField, 0.0f);
  KS_FIELD(KsSFFloat, offset, exposedField, 0.0f);
};

class KsSphereSensor : public KsNode {
  KS_NODE_CLASS(KsSphereSensor)
  KsSphereSensor();

  KS_FIELD(KsSFBool, autoOffset, exposedField, KS_TRUE);
  KS_FIELD(KsSFBool, enabled, exposedField, KS_TRUE);
  KS_FIELD(KsSFRotation, offset, exposedField, 1.0f, 0.0f, 0.0f, 0.0f);
};

// Registers the seven keywords.
void KsRegisterSensorNodes();
// Advances a TimeSensor to the scene time now; other nodes are left alone (0).
int KsTickTimeSensor(KsNode* node, float now);
