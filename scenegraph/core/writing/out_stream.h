#ifndef KS_OUT_STREAM_H
#define KS_OUT_STREAM_H

#include <cstdio>
#include <unordered_set>

#include "scenegraph/core/object/object.h"

class KsNode;

class KsStream : public KsObject {
 public:
  KsStream();
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  virtual KsStream* NewInstance();
};

// Formats each piece of text in a fixed buffer and hands it to Write.
class KsOutStream : public KsStream {
 public:
  enum { kBufferSize = 8192 };

  KsOutStream();
  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  KsStream* NewInstance() override;
  // Returns 0; subclasses deliver the text.
  virtual int Write(const char* text);

  // The result of Write. Text longer than 8191 characters ends the process.
  int Printf(const char* format, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;

  // Nodes already written, for USE.
  int FindWritten(const KsNode* node) const;
  void AddWritten(const KsNode* node);

  // Nesting of nodes being written, bounded so that no graph, however
  // deep, exhausts the stack.
  int EnterNode() { return ++depth_; }
  void LeaveNode() { --depth_; }
  // A node that failed to write, kept here since a list of nodes prints
  // its elements without passing results up.
  void MarkNodeFailed() { nodeFailed_ = 1; }
  int GetNodeFailed() const { return nodeFailed_; }
  // While set, nodes are written without DEF or USE (the defaults of a
  // PROTO interface: a label there names a node that no instance's copy
  // of the body holds).
  void SetUnlabelled(int on) { unlabelled_ = on; }
  int GetUnlabelled() const { return unlabelled_; }

 private:
  std::unordered_set<const KsNode*> written_;
  int depth_ = 0;
  int nodeFailed_ = 0;
  int unlabelled_ = 0;
};

// The text a float is written as: "%.4f" where that reads back to the same
// float, else the shortest text that does, so that no value is lost and the
// values of ordinary scenes keep their usual text. Infinities are written as
// the largest float of their sign and NaN as 0, which other readers take.
struct KsFloatText {
  explicit KsFloatText(float value);
  // "-" and 39 digits, the point and 4 decimals at most.
  char text[48];
};

// Writes the text to a file, exactly as given.
class KsFileOutStream : public KsOutStream {
 public:
  KsFileOutStream();
  ~KsFileOutStream() override;
  KsFileOutStream(const KsFileOutStream&) = delete;
  KsFileOutStream& operator=(const KsFileOutStream&) = delete;

  const char* GetClassName() const override;
  KsClassRecord* GetClassInfo() const override;
  KsStream* NewInstance() override;
  // 1 when no file is open or the text could not be written.
  int Write(const char* text) override;

  // Opens the file for writing in text mode; 1 (reported) on failure.
  int Open(const char* path);
  // Uses an open handle without owning it.
  void Attach(std::FILE* handle);
  // 1 when no file is open, or when some text or the close itself failed,
  // so that a full disk is not taken for a written file.
  int Close();
  std::FILE* GetHandle() const { return file_; }

 private:
  std::FILE* file_ = nullptr;
  int ownsFile_ = 1;
  int failed_ = 0;
};

#endif
