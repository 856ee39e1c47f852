// What reading one file got wrong: how many statements were reported and
// skipped, and where the first was. The failure sites note each one into the
// file being read (PROTO bodies count for the file that holds them).
#pragma once

// Why a read failed, so that the user can be told.
enum KsReadFailure {
    kKsReadOk = 0,
    kKsReadNotFound,     // no file of that name
    kKsReadNotRegular,   // a folder, a device or a pipe
    kKsReadCannotOpen,   // there, but it could not be opened
    kKsReadNotVrml2,     // opened, but its first line is no VRML 2.0 header
    kKsReadTooLarge,     // memory ran out while reading it
    kKsReadEmpty,        // opened, but it holds nothing
};

struct KsReadErrors {
    int skipped = 0;     // statements skipped, mismatched brackets included
    int firstLine = 0;   // line of the first, 0 when none
    int cutLine = 0;     // the rest of the file from this line was not read; 0 none
    KsReadFailure failure = kKsReadOk;  // why the read failed, kKsReadOk when it did not
    int failureLine = 0;  // where reading stopped for a failure, 0 when unknown
};

// Notes one skipped statement into the file being read; nothing outside a
// read.
void KsNoteReadError(int line);

// Memory ran out for a part of the file being read (a list's values, the
// nodes of its words): the read fails as too large for memory, at the first
// such line. Nothing outside a read.
void KsNoteReadOutOfMemory(int line);

// Collects into errors while it lives; a file read meanwhile (EXTERNPROTO)
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
