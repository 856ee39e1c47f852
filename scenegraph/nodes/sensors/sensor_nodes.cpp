#include "scenegraph/nodes/sensors/sensor_nodes.h"

#include <cmath>
#include <new>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/math/plane.h"
#include "scenegraph/nodes/bindable/bindable_nodes.h"
#include "scenegraph/nodes/node_helpers.h"

KS_NODE_CLASS_IMPL(KsTouchSensor, KsNode)
KS_NODE_CLASS_IMPL(KsTimeSensor, KsNode)
KS_NODE_CLASS_IMPL(KsPlaneSensor, KsDragSensor)
KS_NODE_CLASS_IMPL(KsProximitySensor, KsNode)
KS_NODE_CLASS_IMPL(KsVisibilitySensor, KsNode)
KS_NODE_CLASS_IMPL(KsCylinderSensor, KsNode)
KS_NODE_CLASS_IMPL(KsSphereSensor, KsNode)

namespace {
constexpr float kInactive = -1.0f;

int SendTime(KsNode* node, const char* name, float value) {
  KsSFTime event;
  event.Set(value);
  return node->SendEventOut(name, &event);
}

int SendFloat(KsNode* node, const char* name, float value) {
  KsSFFloat event;
  event.Set(value);
  return node->SendEventOut(name, &event);
}

int SendVec3f(KsNode* node, const char* name, const KsVec3f& value) {
  KsSFVec3f event;
  event.Set(value);
  return node->SendEventOut(name, &event);
}

// Raises v to lo when below it, else lowers it to hi when above it.
float Clamp(float v, float lo, float hi) {
  if (v < lo) return lo;
  if (v > hi) return hi;
  return v;
}

}  // namespace

int KsTickTimeSensor(KsNode* node, float now) {
  KsTimeSensor* sensor = dynamic_cast<KsTimeSensor*>(node);
  return sensor ? sensor->TickInPass(now) : 0;
}

// ---- TouchSensor -----------------------------------------------------------

KsTouchSensor::KsTouchSensor() {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsTouchSensor::NewInstance() { return new (std::nothrow) KsTouchSensor(); }

// ---- TimeSensor ------------------------------------------------------------

KsTimeSensor::KsTimeSensor() : passTime_(std::nanf("")) {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsTimeSensor::NewInstance() { return new (std::nothrow) KsTimeSensor(); }

int KsTimeSensor::Tick(float now) {
  const float ci = cycleInterval.Get();
  const float start = startTime.Get();
  const float stop = stopTime.Get();
  const float prev = previous_;
  // A repeated tick at the same time counts as a pause, not a step.
  if (enabled.Get() != KS_TRUE || !(ci > 0.0f) || prev == now) {
    previous_ = kInactive;
    return 0;
  }
  bool active = false;
  if (loop.Get() == KS_FALSE)
    active = start <= now && now < start + ci;
  else if (loop.Get() == KS_TRUE)
    active = start <= now && (now < stop || stop <= start);
  if (!active) {
    previous_ = kInactive;
    return 0;
  }
  // Everything is computed before sending: routes may change the members.
  const float cn = (now - start) / ci;
  const float cp = (prev - start) / ci;
  const bool newCycle = std::floor(cp) != std::floor(cn);
  // A cycle too short to measure gives no fraction within [0, 1).
  const float fraction = std::isfinite(cn) ? cn - std::floor(cn) : 0.0f;
  if (prev < 0.0f) KsSendBool(this, "isActive", KS_TRUE);
  if (newCycle) SendTime(this, "cycleTime", now);
  SendFloat(this, "fraction", fraction);
  previous_ = now;
  return 0;
}

int KsTimeSensor::TickInPass(float now) {
  if (passTime_ == now) return 0;
  passTime_ = now;
  return Tick(now);
}

// ---- PlaneSensor -----------------------------------------------------------

KsPlaneSensor::KsPlaneSensor() : lastTranslation_(0.0f, 0.0f, 0.0f) {
  EnsureRecord();
  RegisterDone();
}

KsNode* KsPlaneSensor::NewInstance() { return new (std::nothrow) KsPlaneSensor(); }

int KsPlaneSensor::IntersectPlane(KsVec3f* out, int x, int y) const {
  const KsViewpoint* viewpoint = KsViewpoint::GetBound();
  if (!out || !viewpoint) return 1;
  const KsMatrix& m = GetDragMatrix();
  // Under a collapsed transform the hit has no local coordinates.
  if (m.IsInverseInvalid() != 0) return 1;
  KsVec3f origin, direction;
  viewpoint->MouseToVec3f(&origin, &direction, x, y);
  KsVec3f point, normal;
  m.Apply(point, offset.Get(), 1.0f);
  m.Apply(normal, KsVec3f(0.0f, 0.0f, -1.0f), 0.0f);
  KsVec3f hit;
  if (KsPlane(point, normal).Intersect(hit, origin, direction) != 0) return 1;
  KsVec3f local;
  m.ApplyInverse(local, hit, 1.0f);
  if (!std::isfinite(local.x) || !std::isfinite(local.y) || !std::isfinite(local.z)) return 1;
  *out = local;
  return 0;
}

int KsPlaneSensor::BeginDrag(KsMatrix* matrix, int x, int y) {
  int status = KsDragSensor::BeginDrag(matrix, x, y);
  lastTranslation_ = offset.Get();
  return status;
}

int KsPlaneSensor::Drag(int x, int y, int) {
  KsVec3f a, b;
  if (IntersectPlane(&a, GetStartX(), GetStartY()) != 0 || IntersectPlane(&b, x, y) != 0) return 0;
  KsVec3f t = offset.Get() + (b - a);
  SendVec3f(this, "trackPoint", t);
  const KsVec2f lo = minPosition.Get();
  const KsVec2f hi = maxPosition.Get();
  if (hi.x > lo.x && hi.y > lo.y) {
    t.x = Clamp(t.x, lo.x, hi.x);
    t.y = Clamp(t.y, lo.y, hi.y);
  }
  SendVec3f(this, "translation", t);
  lastTranslation_ = t;
  return 0;
}

int KsPlaneSensor::EndDrag() {
  int status = KsDragSensor::EndDrag();
  if (autoOffset.Get() == KS_TRUE) offset.Set(lastTranslation_);
  return status;
}

// ---- data-only sensors -----------------------------------------------------

KsProximitySensor::KsProximitySensor() {
  EnsureRecord();
  RegisterDone();
}

KsVisibilitySensor::KsVisibilitySensor() {
  EnsureRecord();
  RegisterDone();
}

KsCylinderSensor::KsCylinderSensor() {
  EnsureRecord();
  RegisterDone();
}

KsSphereSensor::KsSphereSensor() {
  EnsureRecord();
  RegisterDone();
}

// ---- registration ----------------------------------------------------------

void KsRegisterSensorNodes() {
  KsRegisterNodeConstructor("TouchSensor", KsMakeNode<KsTouchSensor>);
  KsRegisterNodeConstructor("TimeSensor", KsMakeNode<KsTimeSensor>);
  KsRegisterNodeConstructor("PlaneSensor", KsMakeNode<KsPlaneSensor>);
  KsRegisterNodeConstructor("ProximitySensor", KsMakeNode<KsProximitySensor>);
  KsRegisterNodeConstructor("VisibilitySensor", KsMakeNode<KsVisibilitySensor>);
  KsRegisterNodeConstructor("CylinderSensor", KsMakeNode<KsCylinderSensor>);
  KsRegisterNodeConstructor("SphereSensor", KsMakeNode<KsSphereSensor>);
}
