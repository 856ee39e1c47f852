#include "scenegraph/core/events/drag_sensor.h"

#include <new>

#include "scenegraph/core/fields/sf_fields.h"

namespace {
const char kDragSensorName[] = "KsDragSensor";
KsClassRecord* g_dragSensorRecord = nullptr;

KsDragSensor*& Active() {
  static KsDragSensor* active = nullptr;
  return active;
}
}  // namespace

KsDragSensor::KsDragSensor() {
  KsClassManager::Ensure(&g_dragSensorRecord, kDragSensorName, KsNode::ClassRecord());
  RegisterDone();
}

// A sensor freed in the middle of a drag must not be dragged further.
KsDragSensor::~KsDragSensor() {
  if (Active() == this) Active() = nullptr;
}

const char* KsDragSensor::GetClassName() const { return kDragSensorName; }
KsClassRecord* KsDragSensor::GetClassInfo() const { return g_dragSensorRecord; }
KsClassRecord* KsDragSensor::ClassRecord() { return g_dragSensorRecord; }

KSBOOL KsDragSensor::IsPointingSensor() { return KS_TRUE; }
KSBOOL KsDragSensor::IsDragSensor() { return KS_TRUE; }
KsNode* KsDragSensor::NewInstance() { return new (std::nothrow) KsDragSensor(); }

int KsDragSensor::SendIsActive(KSBOOL value) {
  KsSFBool event;
  event.Set(value);
  return SendEventOut("isActive", &event);
}

int KsDragSensor::BeginDrag(KsMatrix* matrix, int x, int y) {
  matrix_ = matrix ? *matrix : KsMatrix();
  startX_ = x;
  startY_ = y;
  int status = SendIsActive(KS_TRUE);
  Active() = this;
  return status;
}

int KsDragSensor::EndDrag() {
  int status = SendIsActive(KS_FALSE);
  Active() = nullptr;
  return status;
}

int KsDragSensor::Drag(int, int, int) { return 0; }

KsDragSensor* KsDragSensor::GetActive() { return Active(); }
void KsDragSensor::SetActive(KsDragSensor* sensor) { Active() = sensor; }
