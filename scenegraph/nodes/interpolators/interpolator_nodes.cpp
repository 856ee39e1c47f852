#include "scenegraph/nodes/interpolators/interpolator_nodes.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "scenegraph/core/object/node_factory.h"
#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/events/router.h"
#include "scenegraph/nodes/node_helpers.h"

KS_NODE_CLASS_IMPL(KsInterpolatorBase, KsNode)
KS_NODE_CLASS_IMPL(KsScalarInterpolator, KsInterpolatorBase)
KS_NODE_CLASS_IMPL(KsPositionInterpolator, KsInterpolatorBase)
KS_NODE_CLASS_IMPL(KsColorInterpolator, KsInterpolatorBase)
KS_NODE_CLASS_IMPL(KsOrientationInterpolator, KsInterpolatorBase)
KS_NODE_CLASS_IMPL(KsCoordinateInterpolator, KsInterpolatorBase)
KS_NODE_CLASS_IMPL(KsNormalInterpolator, KsInterpolatorBase)

namespace {
const float kPi = 3.1415927f;
// Whole turns added to bring two key angles together; angles further apart
// than this (or infinite) are blended as they stand.
constexpr int kMaxTurns = 1024;

void Blend(float* out, const float* first, const float* second, int n, float w0, float w1,
           float span) {
  for (int c = 0; c < n; ++c) out[c] = (second[c] * w1 + first[c] * w0) / span;
}

KsVec3f BlendVec(const KsVec3f& first, const KsVec3f& second, float w0, float w1, float span) {
  return KsVec3f((second.x * w1 + first.x * w0) / span, (second.y * w1 + first.y * w0) / span,
                 (second.z * w1 + first.z * w0) / span);
}

// Raises the smaller angle by whole turns until the two lie within pi.
void AlignAngles(float* a0, float* a1) {
  if (!(std::fabs(*a1 - *a0) > kPi)) return;
  float* low = *a0 < *a1 ? a0 : a1;
  float* high = low == a0 ? a1 : a0;
  for (int turn = 0; turn<kMaxTurns&& * high - *low> kPi; ++turn) {
    float raised = *low + 2.0f * kPi;
    if (raised == *low) break;  // too large (or infinite) to move
    *low = raised;
  }
}
}  // namespace

// ---- base ----------------------------------------------------------------

KsInterpolatorBase::KsInterpolatorBase() {
  EnsureRecord();
  RegisterEventIn("fraction");
  RegisterMember("keys", &key, 0);
  // Changes of the field go out under its first name.
  key.Init(this, 0, "key");
  RegisterDone();
}

void KsInterpolatorBase::RegisterKeyValues(KsField* values) {
  RegisterMember("values", values, 0);
  values->Init(this, 0, "keyValue");
  RegisterDone();
}

int KsInterpolatorBase::ExecTraverse(KsMatrix*) { return 0; }

int KsInterpolatorBase::TakeFraction(const char* header, const char* name, KsField* field,
                                     float* fraction, int* status) {
  *status = 0;
  if (!name || std::strcmp(name, "fraction") != 0) {
    if (!GetRouteList()) return 1;
    std::fprintf(stderr, "%s\n", header);
    std::fprintf(stderr, " Unknown Event : %s\n", name ? name : "");
    *status = KS_ERR;
    return 1;
  }
  // Output that goes nowhere is not computed.
  if (!GetRouteList()) return 1;
  // A route may bring any type under this name; only a float is a fraction.
  if (!field || std::strcmp(field->GetClassName(), "KsSFFloat") != 0) {
    std::fprintf(stderr, "%s\n", header);
    std::fprintf(stderr, " Fraction must be SFFloat : %s\n",
                 field ? field->GetClassName() : "(null)");
    *status = KS_ERR;
    return 1;
  }
  *fraction = static_cast<KsSFFloat*>(field)->Get();
  return 0;
}

int KsInterpolatorBase::FindInterval(float f, int* i, float* w0, float* w1, float* span) const {
  const int n = key.GetCount();
  const float* keys = key.GetElements();
  for (int k = 0; k + 1 < n; ++k) {
    float k0 = keys[k];
    float k1 = keys[k + 1];
    if (k0 <= f && f < k1) {
      *i = k;
      *w0 = k1 - f;
      *w1 = f - k0;
      *span = *w0 + *w1;
      return 0;
    }
  }
  return 1;
}

int KsInterpolatorBase::SendValue(KsField* value) {
  KsRouter* router = GetRouteList();
  return router ? router->EventOut(this, "value", value) : 0;
}

// The key values form keys blocks of count / keys points (extra values
// ignored); the output blends blocks i and i + 1 point by point.
int KsInterpolatorBase::BlendBlocks(const char* header, const KsMFVec3f& values, float f,
                                    KsMFVec3f* out) {
  int i = 0;
  float w0 = 0.0f, w1 = 0.0f, span = 0.0f;
  if (FindInterval(f, &i, &w0, &w1, &span) != 0) {
    std::fprintf(stderr, "%s\n", header);
    std::fprintf(stderr, " Fraction seems be out of range : %f\n", f);
    return KS_ERR;
  }
  const int m = values.GetCount() / key.GetCount();
  const KsVec3f* v = values.GetElements();
  std::vector<KsVec3f> blended;
  blended.reserve(static_cast<size_t>(m));
  for (int j = 0; j < m; ++j)
    blended.push_back(BlendVec(v[i * m + j], v[(i + 1) * m + j], w0, w1, span));
  return out->Set(m, m > 0 ? blended.data() : nullptr);
}

int KsInterpolatorBase::SendBlocksBlend(const char* header, const char* name, KsField* field,
                                        const KsMFVec3f& values) {
  float f = 0.0f;
  int status = 0;
  if (TakeFraction(header, name, field, &f, &status) != 0) return status;
  KsMFVec3f value;
  if (BlendBlocks(header, values, f, &value) != 0) return KS_ERR;
  return SendValue(&value);
}

// ---- scalar, position, colour -------------------------------------------

namespace {
void SetBlend(KsSFFloat* out, const float& first, const float& second, float w0, float w1,
              float span) {
  float result;
  Blend(&result, &first, &second, 1, w0, w1, span);
  out->Set(result);
}

void SetBlend(KsSFVec3f* out, const KsVec3f& first, const KsVec3f& second, float w0, float w1,
              float span) {
  out->Set(BlendVec(first, second, w0, w1, span));
}

void SetBlend(KsSFColor* out, const KsCol& first, const KsCol& second, float w0, float w1,
              float span) {
  const float a[3] = {first.r, first.g, first.b};
  const float b[3] = {second.r, second.g, second.b};
  float c[3];
  Blend(c, a, b, 3, w0, w1, span);
  out->Set(c[0], c[1], c[2]);
}
}  // namespace

// A fraction outside the keys sends nothing and is no error here.
template <class Event, class Values>
int KsInterpolatorBase::SendPairBlend(const char* header, const char* name, KsField* field,
                                      const Values& values) {
  float f = 0.0f;
  int status = 0;
  if (TakeFraction(header, name, field, &f, &status) != 0) return status;
  int i = 0;
  float w0, w1, span;
  if (FindInterval(f, &i, &w0, &w1, &span) != 0) return 0;
  const auto* first = values.Get(i);
  const auto* second = values.Get(i + 1);
  if (!first || !second) return KS_ERR;
  Event value;
  SetBlend(&value, *first, *second, w0, w1, span);
  return SendValue(&value);
}

KsScalarInterpolator::KsScalarInterpolator() {
  EnsureRecord();
  RegisterKeyValues(&keyValue);
}

KsNode* KsScalarInterpolator::NewInstance() { return new (std::nothrow) KsScalarInterpolator(); }

int KsScalarInterpolator::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  return SendPairBlend<KsSFFloat>("KsScalarInterpolator::ExecSpecialEvent()", name, field,
                                  keyValue);
}

KsPositionInterpolator::KsPositionInterpolator() {
  EnsureRecord();
  RegisterKeyValues(&keyValue);
}

KsNode* KsPositionInterpolator::NewInstance() {
  return new (std::nothrow) KsPositionInterpolator();
}

int KsPositionInterpolator::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  return SendPairBlend<KsSFVec3f>("KsPositionInterpolator::ExecSpecialEvent()", name, field,
                                  keyValue);
}

KsColorInterpolator::KsColorInterpolator() {
  EnsureRecord();
  RegisterKeyValues(&keyValue);
}

KsNode* KsColorInterpolator::NewInstance() { return new (std::nothrow) KsColorInterpolator(); }

int KsColorInterpolator::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  return SendPairBlend<KsSFColor>("KsColorInterpolator::ExecSpecialEvent()", name, field, keyValue);
}

// ---- orientation ---------------------------------------------------------

KsOrientationInterpolator::KsOrientationInterpolator() {
  EnsureRecord();
  RegisterKeyValues(&keyValue);
}

KsNode* KsOrientationInterpolator::NewInstance() {
  return new (std::nothrow) KsOrientationInterpolator();
}

int KsOrientationInterpolator::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  const char* header = "KsOrientationInterpolator::ExecSpecialEvent()";
  float f = 0.0f;
  int status = 0;
  if (TakeFraction(header, name, field, &f, &status) != 0) return status;
  int i = 0;
  float w0, w1, span;
  if (FindInterval(f, &i, &w0, &w1, &span) != 0) {
    std::fprintf(stderr, "%s\n", header);
    std::fprintf(stderr, " Fraction seems to be out of range : %f\n", f);
    return KS_ERR;
  }
  const KsRotation* first = keyValue.Get(i);
  const KsRotation* second = keyValue.Get(i + 1);
  if (!first || !second) return KS_ERR;
  KsVec3f axis = BlendVec(first->axis, second->axis, w0, w1, span);
  axis.Normalize();
  float a0 = first->angle;
  float a1 = second->angle;
  AlignAngles(&a0, &a1);
  KsSFRotation value;
  value.Set(KsRotation(axis.x, axis.y, axis.z, (a1 * w1 + a0 * w0) / span));
  return SendValue(&value);
}

// ---- coordinate, normal --------------------------------------------------

KsCoordinateInterpolator::KsCoordinateInterpolator() {
  EnsureRecord();
  RegisterKeyValues(&keyValue);
}

KsNode* KsCoordinateInterpolator::NewInstance() {
  return new (std::nothrow) KsCoordinateInterpolator();
}

int KsCoordinateInterpolator::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  return SendBlocksBlend("KsCoordinateInterpolator::ExecSpecialEvent()", name, field, keyValue);
}

KsNormalInterpolator::KsNormalInterpolator() {
  EnsureRecord();
  RegisterKeyValues(&keyValue);
}

KsNode* KsNormalInterpolator::NewInstance() { return new (std::nothrow) KsNormalInterpolator(); }

int KsNormalInterpolator::ExecSpecialEvent(const char* name, KsField* field, KsNode*) {
  return SendBlocksBlend("KsNormalInterpolator::ExecSpecialEvent()", name, field, keyValue);
}

// ---- registration --------------------------------------------------------

void KsRegisterInterpolatorNodes() {
  KsRegisterNodeConstructor("ScalarInterpolator", KsMakeNode<KsScalarInterpolator>);
  KsRegisterNodeConstructor("PositionInterpolator", KsMakeNode<KsPositionInterpolator>);
  KsRegisterNodeConstructor("CoordinateInterpolator", KsMakeNode<KsCoordinateInterpolator>);
  KsRegisterNodeConstructor("OrientationInterpolator", KsMakeNode<KsOrientationInterpolator>);
  KsRegisterNodeConstructor("NormalInterpolator", KsMakeNode<KsNormalInterpolator>);
  KsRegisterNodeConstructor("ColorInterpolator", KsMakeNode<KsColorInterpolator>);
}
