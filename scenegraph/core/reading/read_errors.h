// What reading one file got wrong: how many statements were reported and
// skipped, and where the first was. The failure sites note each one into the
// file being read (PROTO bodies count for the file that holds them).
#pragma once

// Why a read failed, so that the user can be told.
enum KsReadFailure {
  kKsReadOk = 0,
  kKsReadNotFound,    // no file of that name
  kKsReadNotRegular,  // a folder, a device or a pipe
  kKsReadCannotOpen,  // there, but it could not be opened
  kKsReadNotVrml2,    // opened, but its first line is no VRML 2.0 header
  kKsReadTooLarge,    // memory ran out while reading it
  kKsReadEmpty,       // opened, but it holds nothing
};

// Numbers read as another value than their text's.
enum KsFloatReplacement {
  kKsFloatOutOfRange = 0,  // beyond the float range: the largest float of its sign
  kKsFloatNotDecimal,      // "inf" or "nan": 0
  kKsFloatReplacementKinds
};

// How many numbers of one kind a file had replaced, and the first one's text.
struct KsFloatTally {
  int count = 0;
  char first[64] = {0};
};

struct KsReadErrors {
  int skipped = 0;                    // statements skipped, mismatched brackets included
  int firstLine = 0;                  // line of the first, 0 when none
  int cutLine = 0;                    // the rest of the file from this line was not read; 0 none
  KsReadFailure failure = kKsReadOk;  // why the read failed, kKsReadOk when it did not
  int failureLine = 0;                // where reading stopped for a failure, 0 when unknown
  KsFloatTally floats[kKsFloatReplacementKinds];
};

// Notes one skipped statement into the file being read; nothing outside a
// read.
void KsNoteReadError(int line);

// Memory ran out for a part of the file being read (a list's values, the
// nodes of its words): the read fails as too large for memory, at the first
// such line. Nothing outside a read.
void KsNoteReadOutOfMemory(int line);

// Counts a replaced number into the file being read and returns true;
// outside a read returns false and counts nothing.
bool KsNoteFloatReplaced(KsFloatReplacement kind, const char* text);
// The warning for count numbers of one kind, the first of them text.
void KsPrintFloatReplaced(KsFloatReplacement kind, const char* text, int count);

// Collects into errors while it lives, and at its end says once how many
// numbers of the file were replaced; a file read meanwhile (EXTERNPROTO)
// collects into its own record and hands this one back after.
class KsReadErrorScope {
 public:
  explicit KsReadErrorScope(KsReadErrors* errors);
  ~KsReadErrorScope();
  KsReadErrorScope(const KsReadErrorScope&) = delete;
  KsReadErrorScope& operator=(const KsReadErrorScope&) = delete;

 private:
  KsReadErrors* outer_;
};

// For tests: no read under way.
void KsResetReadErrors();
