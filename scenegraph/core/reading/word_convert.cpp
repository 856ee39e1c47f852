#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <system_error>

#include "scenegraph/core/reading/word_convert.h"

#include "scenegraph/core/reading/read_errors.h"

namespace {

int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// Every character shifts, only hexadecimal digits add; the low 32 bits are
// kept. *fits becomes false once a digit is shifted out.
uint32_t ParseHex(const char* p, bool* fits) {
  uint32_t value = 0;
  for (; *p; ++p) {
    if ((value >> 28) != 0) *fits = false;
    value = (value << 4) + (uint32_t)HexDigit((unsigned char)*p);
  }
  return value;
}

bool IsBlank(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Whether text is word, letters compared without case.
bool IsWordNoCase(const char* text, const char* word) {
  for (; *word; ++text, ++word) {
    char c = *text;
    if (c >= 'A' && c <= 'Z') c = (char)(c - 'A' + 'a');
    if (c != *word) return false;
  }
  return *text == '\0';
}

// A file read counts its replaced numbers and says so once at its end;
// outside a read each is told at once.
float ReportReplaced(const char* text, KsFloatReplacement kind, float value) {
  if (KsNoteFloatReplaced(kind, text)) return value;
  KsPrintFloatReplaced(kind, text, 1);
  return value;
}

}  // namespace

int KsKeywordIndex(const char* word, const char* const* table) {
  if (!word || !table) return -1;
  for (int i = 0; table[i]; ++i)
    if (std::strcmp(word, table[i]) == 0) return i;
  return -1;
}

int KsParseInt(const char* text) {
  int value = 0;
  KsParseIntChecked(text, &value);
  return value;
}

int KsParseIntChecked(const char* text, int* out) {
  if (out) *out = 0;
  if (!text) return 0;
  const char* p = text;
  bool negative = false;
  if (*p == '+' || *p == '-') {
    negative = *p == '-';
    ++p;
  }
  bool fits = true;
  int64_t value;
  if (p[0] == '0' && p[1] == 'x') {
    // A bit pattern, negated as one: 0xFFFFFFFF is -1. Longer ones have
    // no nearest int.
    uint32_t bits = ParseHex(p + 2, &fits);
    if (negative) bits = 0u - bits;
    value = fits ? (int64_t)(int32_t)bits : negative ? INT32_MIN : INT32_MAX;
    negative = false;
  } else {
    // Decimal as the C library converts it: blanks, a sign, digits. The
    // magnitude is kept in 64 bits and stops growing once it is past
    // any int, so that no text wraps round.
    while (IsBlank((unsigned char)*p)) ++p;
    bool inner = false;
    if (*p == '+' || *p == '-') {
      inner = *p == '-';
      ++p;
    }
    const int64_t limit = (int64_t)INT32_MAX + 1;
    value = 0;
    for (; IsDigit((unsigned char)*p); ++p) {
      value = value * 10 + (*p - '0');
      if (value > limit) value = limit + 1;
    }
    if (inner) value = -value;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) {
    value = INT32_MAX;
    fits = false;
  } else if (value < INT32_MIN) {
    value = INT32_MIN;
    fits = false;
  }
  if (out) *out = (int)value;
  return fits ? 0 : 1;
}

uint32_t KsParseUnsigned(const char* text) {
  if (!text) return 0;
  if (text[0] == '0' && text[1] == 'x') {
    bool fits = true;  // pixels keep their low bits
    return ParseHex(text + 2, &fits);
  }
  uint32_t value = 0;
  for (const char* p = text; *p; ++p) value = value * 10u + (uint32_t)((unsigned char)*p - 48u);
  return value;
}

char* KsCopyUpper(char* destination, const char* source) {
  if (!destination || !source) return nullptr;
  char* d = destination;
  for (const char* s = source;; ++s, ++d) {
    char c = *s;
    *d = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    if (!c) break;
  }
  return destination;
}

int KsNormalizeEventName(char* name) {
  if (!name) return 0;
  if (std::strncmp(name, "set_", 4) == 0) {
    std::memmove(name, name + 4, std::strlen(name + 4) + 1);
    return 0;
  }
  size_t length = std::strlen(name);
  const size_t suffix = 8;  // "_changed"
  if (length >= suffix && std::strcmp(name + length - suffix, "_changed") == 0)
    name[length - suffix] = '\0';
  return 0;
}

namespace {

// The extent of a decimal number at the start of text, as KsParseDouble
// reads it: its digits from *start to *end (the sign and blanks before
// them), the sign, and the decimal exponent of its first significant digit
// for telling an overflow from an underflow. False when there is no number.
bool ScanDecimal(const char* text, const char** start, const char** end, bool* negative,
                 long long* magnitude) {
  const char* p = text;
  while (IsBlank((unsigned char)*p)) ++p;
  *negative = false;
  if (*p == '+' || *p == '-') {
    *negative = *p == '-';
    ++p;
  }
  *start = p;
  *magnitude = 0;
  bool seenSignificant = false;
  int intDigits = 0;
  for (; IsDigit((unsigned char)*p); ++p, ++intDigits) {
    if (*p != '0') seenSignificant = true;
    if (seenSignificant) ++*magnitude;
  }
  int fracDigits = 0;
  if (*p == '.') {
    const char* q = p + 1;
    for (; IsDigit((unsigned char)*q); ++q, ++fracDigits) {
      if (!seenSignificant) {
        if (*q != '0')
          seenSignificant = true;
        else
          --*magnitude;
      }
    }
    if (intDigits + fracDigits > 0) p = q;
  }
  if (intDigits + fracDigits == 0) return false;
  if (*p == 'e' || *p == 'E') {
    const char* q = p + 1;
    bool expNegative = false;
    if (*q == '+' || *q == '-') {
      expNegative = *q == '-';
      ++q;
    }
    if (IsDigit((unsigned char)*q)) {
      long long exponent = 0;
      for (; IsDigit((unsigned char)*q); ++q)
        if (exponent < 100000000) exponent = exponent * 10 + (*q - '0');
      *magnitude += expNegative ? -exponent : exponent;
      p = q;
    }
  }
  *end = p;
  return true;
}

}  // namespace

double KsParseDouble(const char* text, const char** end) {
  if (end) *end = text;
  if (!text) return 0.0;
  const char* start = nullptr;
  const char* stop = nullptr;
  bool negative = false;
  long long magnitude = 0;
  if (!ScanDecimal(text, &start, &stop, &negative, &magnitude)) return 0.0;
  if (end) *end = stop;
  double value = 0.0;
  std::from_chars_result r = std::from_chars(start, stop, value, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (r.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

float KsParseFloat(const char* text) {
  if (!text) return 0.0f;
  const char* start = nullptr;
  const char* stop = nullptr;
  bool negative = false;
  long long magnitude = 0;
  if (!ScanDecimal(text, &start, &stop, &negative, &magnitude)) {
    // What C libraries print for values out of range is no decimal
    // number either: 0, but told.
    const char* word = text + (*text == '+' || *text == '-' ? 1 : 0);
    if (IsWordNoCase(word, "inf") || IsWordNoCase(word, "infinity") || IsWordNoCase(word, "nan"))
      return ReportReplaced(text, kKsFloatNotDecimal, 0.0f);
    return 0.0f;
  }
  // Straight to float: through a double first, a text just past a
  // halfway point between two floats could land on it and round again.
  float value = 0.0f;
  std::from_chars_result r = std::from_chars(start, stop, value, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (magnitude > 0)
      return ReportReplaced(text, kKsFloatOutOfRange, negative ? -FLT_MAX : FLT_MAX);
    value = 0.0f;
  } else if (r.ec != std::errc()) {
    value = 0.0f;
  }
  return negative ? -value : value;
}
