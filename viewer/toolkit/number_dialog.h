// The number dialogs' portable half: what each control shows and how the
// edits' texts become the outputs.
#pragma once

namespace kr {

enum NumberMode { kModeInt = 0, kModeFloat = 1, kModeAngle = 2 };

constexpr int kNumberTextSize = 128;  // an edit's text: 127 characters

struct NumberRequest {
  int mode;            // NumberMode
  int count;           // 1, 2 or 3 values
  int ints[3];         // modes 0 and 2: initial values, then the outputs
  float floats[3];     // mode 1
  const char* title;   // null keeps the template's caption
  const char* ok;      // null: "OK"
  const char* cancel;  // null: "Cancel"
};

// The request with the initial values (null: zeros).
NumberRequest MakeIntRequest(int mode, int count, const int* initial, const char* title,
                             const char* ok, const char* cancel);
NumberRequest MakeFloatRequest(int count, const float* initial, const char* title, const char* ok,
                               const char* cancel);

// "X:", "Y:", "Z:" (modes 0, 1) or "H:", "P:", "B:" (mode 2).
const char* NumberLabel(int mode, int index);
const char* OkLabel(const NumberRequest& r);
const char* CancelLabel(const NumberRequest& r);

// An edit's initial text: "%d", "%.2f", or whole degrees for angles.
void FormatNumberField(const NumberRequest& r, int index, char* out, int size);
// Reads an edit's text into value index as atoi / atof would (a number out
// of range is clamped instead of undefined).
void ParseNumberField(NumberRequest* r, int index, const char* text);

// trunc(units * 90 / 16384) and trunc(degrees * 16384 / 90), clamped to int.
int DegreesFromUnits(int units);
int UnitsFromDegrees(int degrees);

// The control ids of value index (0..2) in the number templates.
int NumberEditId(int index);
int NumberLabelId(int index);

}  // namespace kr
