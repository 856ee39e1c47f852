// While a file's statements are realised, a node that a field lets go of is
// not freed at once. A list holds its elements only once the whole list is
// read, so a node just read sits unreferenced in the list around it; a
// field given twice in its body (or a list that took it and then another
// value) would free it under that list, and a later USE would name it
// after its memory is gone. The references the fields drop are kept until
// the realisation ends, so every node read lives until then.
#pragma once

#include <vector>

class KsNode;

// Collects the dropped references while it lives and drops them at its end.
// A scope inside another (a file read for an EXTERNPROTO) keeps its own.
class KsReadReleaseScope {
 public:
  KsReadReleaseScope();
  ~KsReadReleaseScope();
  KsReadReleaseScope(const KsReadReleaseScope&) = delete;
  KsReadReleaseScope& operator=(const KsReadReleaseScope&) = delete;

 private:
  KsReadReleaseScope* outer_;
  std::vector<KsNode*> held_;
  friend void KsReleaseAfterRead(KsNode* node);
  friend long long KsReadReleasesPending();
};

// Drops one reference to node (null accepted): at once outside a read, at
// the end of the read under way inside one.
void KsReleaseAfterRead(KsNode* node);
// References kept for the read under way, for tests.
long long KsReadReleasesPending();
