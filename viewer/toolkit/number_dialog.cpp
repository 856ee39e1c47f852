// Number dialog texts and parsing.
#include "viewer/toolkit/number_dialog.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "resources/toolkit_resource.h"

namespace kr {

namespace {

int ClampToInt(std::int64_t v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// atoi's reading, with the value clamped where atoi's would be undefined.
int ReadInt(const char* text) {
  long long v = std::strtoll(text, nullptr, 10);
  return ClampToInt(v);
}

float ReadFloat(const char* text) {
  double v = std::strtod(text, nullptr);
  if (std::isfinite(v) && std::fabs(v) > FLT_MAX) return v > 0 ? HUGE_VALF : -HUGE_VALF;
  return static_cast<float>(v);
}

}  // namespace

NumberRequest MakeIntRequest(int mode, int count, const int* initial, const char* title,
                             const char* ok, const char* cancel) {
  NumberRequest r = {};
  r.mode = mode;
  r.count = count;
  for (int i = 0; i < count && i < 3; ++i) r.ints[i] = initial ? initial[i] : 0;
  r.title = title;
  r.ok = ok;
  r.cancel = cancel;
  return r;
}

NumberRequest MakeFloatRequest(int count, const float* initial, const char* title, const char* ok,
                               const char* cancel) {
  NumberRequest r = {};
  r.mode = kModeFloat;
  r.count = count;
  for (int i = 0; i < count && i < 3; ++i) r.floats[i] = initial ? initial[i] : 0.0f;
  r.title = title;
  r.ok = ok;
  r.cancel = cancel;
  return r;
}

const char* NumberLabel(int mode, int index) {
  static const char* const kXyz[3] = {"X:", "Y:", "Z:"};
  static const char* const kHpb[3] = {"H:", "P:", "B:"};
  if (index < 0 || index > 2) return "";
  return mode == kModeAngle ? kHpb[index] : kXyz[index];
}

const char* OkLabel(const NumberRequest& r) { return r.ok ? r.ok : "OK"; }
const char* CancelLabel(const NumberRequest& r) { return r.cancel ? r.cancel : "Cancel"; }

void FormatNumberField(const NumberRequest& r, int index, char* out, int size) {
  if (size <= 0) return;
  switch (r.mode) {
    case kModeFloat: std::snprintf(out, size, "%.2f", static_cast<double>(r.floats[index])); break;
    case kModeAngle: std::snprintf(out, size, "%d", DegreesFromUnits(r.ints[index])); break;
    default: std::snprintf(out, size, "%d", r.ints[index]); break;
  }
}

void ParseNumberField(NumberRequest* r, int index, const char* text) {
  if (!text) text = "";
  switch (r->mode) {
    case kModeFloat: r->floats[index] = ReadFloat(text); break;
    case kModeAngle: r->ints[index] = UnitsFromDegrees(ReadInt(text)); break;
    default: r->ints[index] = ReadInt(text); break;
  }
}

int DegreesFromUnits(int units) { return ClampToInt(std::int64_t{units} * 90 / 16384); }

int UnitsFromDegrees(int degrees) { return ClampToInt(std::int64_t{degrees} * 16384 / 90); }

int NumberEditId(int index) {
  static const int kIds[3] = {KR_IDC_NUMBER_EDIT1, KR_IDC_NUMBER_EDIT2, KR_IDC_NUMBER_EDIT3};
  return kIds[index];
}

int NumberLabelId(int index) {
  static const int kIds[3] = {KR_IDC_NUMBER_LABEL1, KR_IDC_NUMBER_LABEL2, KR_IDC_NUMBER_LABEL3};
  return kIds[index];
}

}  // namespace kr
