// What reading one file got wrong: how many statements were reported and
// skipped, and where the first was. The failure sites note each one into the
// file being read (PROTO bodies count for the file that holds them).
#pragma once

struct KsReadErrors {
    int skipped = 0;     // statements skipped, unmatched brackets included
    int firstLine = 0;   // line of the first, 0 when none
};

// Notes one skipped statement into the file being read; nothing outside a
// read.
void KsNoteReadError(int line);

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
