#include "graphics/files/line_source.h"

#include "graphics/files/pw_alloc.h"

#include <cstring>
#include <new>

namespace {

struct SourceRecord {
  SourceRecord* below = nullptr;
  int kind = kPwSourceNone;
  const char* const* strings = nullptr;
  int next_string = 0;
  std::FILE* file = nullptr;
};

struct LineState {
  SourceRecord bottom;
  SourceRecord* top = nullptr;
  char raw[kPwRawLineSize] = {};
  char* cursor = nullptr;
};

LineState& State() {
  static LineState state;
  if (!state.top) {
    state.top = &state.bottom;
    state.cursor = state.raw;
  }
  return state;
}

}  // namespace

int PwPushLineSource() {
  LineState& s = State();
  void* block = PwAlloc(sizeof(SourceRecord));
  if (!block) return 0;
  SourceRecord* record = new (block) SourceRecord();
  record->below = s.top;
  s.top = record;
  return 1;
}

void PwLineSourceFile(std::FILE* file) {
  SourceRecord* top = State().top;
  top->kind = kPwSourceFile;
  top->file = file;
}

void PwLineSourceStrings(const char* const* strings) {
  SourceRecord* top = State().top;
  top->kind = kPwSourceStrings;
  top->strings = strings;
  top->next_string = 0;
}

int PwPopLineSource() {
  LineState& s = State();
  if (s.top != &s.bottom) {
    SourceRecord* record = s.top;
    s.top = record->below;
    record->~SourceRecord();
    PwFree(record);
  }
  return 0;
}

int PwLineSourceKind() { return State().top->kind; }

void PwResetLineBuffer() {
  LineState& s = State();
  s.raw[0] = '\0';
  s.cursor = s.raw;
}

char* PwNextRawLine(char* buffer, int size) {
  if (!buffer || size < 1) return nullptr;
  SourceRecord* top = State().top;
  buffer[0] = '\0';
  if (top->kind == kPwSourceFile && top->file) {
    return std::fgets(buffer, size, top->file);
  }
  if (top->kind == kPwSourceStrings && top->strings) {
    const char* text = top->strings[top->next_string];
    if (!text) return nullptr;
    ++top->next_string;
    int limit = size - 1 < kPwRawLineSize - 1 ? size - 1 : kPwRawLineSize - 1;
    int n = 0;
    while (n < limit && text[n] != '\0') {
      buffer[n] = text[n];
      ++n;
    }
    buffer[n] = '\0';
    return buffer;
  }
  return nullptr;
}

char* PwReadLine(char* out, int limit) {
  LineState& s = State();
  if (*s.cursor == '\0') {
    if (!PwNextRawLine(s.raw, kPwRawLineSize)) {
      s.raw[0] = '\0';
      s.cursor = s.raw;
      return nullptr;
    }
    s.cursor = s.raw;
  }
  int n = 0;
  while (n < limit && *s.cursor != '\0' && *s.cursor != '|') {
    out[n++] = *s.cursor++;
  }
  out[n] = '\0';
  if (*s.cursor == '|') ++s.cursor;
  return out;
}
