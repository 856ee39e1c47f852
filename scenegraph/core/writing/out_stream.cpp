#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "scenegraph/core/writing/out_stream.h"
#include "scenegraph/core/reading/word_convert.h"

namespace {
KsClassRecord* g_streamRecord = nullptr;
KsClassRecord* g_outStreamRecord = nullptr;
}  // namespace

KsStream::KsStream() {
  KsClassManager::Ensure(&g_streamRecord, "KsStream", KsObject::ClassRecord());
}

const char* KsStream::GetClassName() const { return "KsStream"; }

KsClassRecord* KsStream::GetClassInfo() const { return g_streamRecord; }

KsStream* KsStream::NewInstance() { return new (std::nothrow) KsStream; }

KsOutStream::KsOutStream() {
  KsClassManager::Ensure(&g_outStreamRecord, "KsOutStream", g_streamRecord);
}

const char* KsOutStream::GetClassName() const { return "KsOutStream"; }

KsClassRecord* KsOutStream::GetClassInfo() const { return g_outStreamRecord; }

KsStream* KsOutStream::NewInstance() { return new (std::nothrow) KsOutStream; }

int KsOutStream::Write(const char*) { return 0; }

int KsOutStream::Printf(const char* format, ...) {
  char buffer[kBufferSize];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0 || n >= (int)sizeof buffer) {
    std::printf("KsOutStrem::Printf()\n");
    std::printf("Fatal Error!\n");
    std::printf("Output Buffer Overflow\n");
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(1);
  }
  return Write(buffer);
}

int KsOutStream::FindWritten(const KsNode* node) const { return written_.count(node) ? 1 : 0; }

void KsOutStream::AddWritten(const KsNode* node) { written_.insert(node); }

// ---- KsFloatText

namespace {

// Whether our reader reads the text back as exactly this float.
bool ReadsBack(const char* text, float value) {
  const float read = KsParseFloat(text);
  return read == value && std::signbit(read) == std::signbit(value);
}

// The text of to_chars, terminated; false when it does not fit.
template <typename... Format>
bool ToChars(char* text, size_t size, float value, Format... format) {
  std::to_chars_result r = std::to_chars(text, text + size - 1, value, format...);
  if (r.ec != std::errc()) return false;
  *r.ptr = '\0';
  return true;
}

}  // namespace

KsFloatText::KsFloatText(float value) {
  if (std::isnan(value)) value = 0.0f;
  if (std::isinf(value)) value = value < 0 ? -FLT_MAX : FLT_MAX;
  std::snprintf(text, sizeof text, "%.4f", (double)value);
  if (ReadsBack(text, value)) return;
  // The shortest text that rounds to the value, and should reading it back
  // through a double ever round it elsewhere, nine digits, which never do.
  if (ToChars(text, sizeof text, value) && ReadsBack(text, value)) return;
  ToChars(text, sizeof text, value, std::chars_format::general, 9);
}

// ---- KsFileOutStream

namespace {
KsClassRecord* g_fileOutStreamRecord = nullptr;
}  // namespace

KsFileOutStream::KsFileOutStream() {
  KsClassManager::Ensure(&g_fileOutStreamRecord, "KsFileOutStream", g_outStreamRecord);
}

KsFileOutStream::~KsFileOutStream() {
  if (file_ && ownsFile_ == 1) std::fclose(file_);
}

const char* KsFileOutStream::GetClassName() const { return "KsFileOutStream"; }

KsClassRecord* KsFileOutStream::GetClassInfo() const { return g_fileOutStreamRecord; }

KsStream* KsFileOutStream::NewInstance() { return new (std::nothrow) KsFileOutStream; }

int KsFileOutStream::Write(const char* text) {
  if (!file_) return 1;
  if (!text || !text[0]) return 0;
  if (std::fputs(text, file_) < 0) {
    failed_ = 1;
    return 1;
  }
  return 0;
}

int KsFileOutStream::Open(const char* path) {
  Close();
  ownsFile_ = 1;
  failed_ = 0;
  file_ = path ? std::fopen(path, "w") : nullptr;
  if (!file_) {
    std::printf("KsFileOutStream::Open()\n");
    std::printf("Cannot Open Output File : %s\n", path ? path : "");
    std::fflush(stdout);
    return 1;
  }
  return 0;
}

void KsFileOutStream::Attach(std::FILE* handle) {
  Close();
  file_ = handle;
  ownsFile_ = 0;
  failed_ = 0;
}

int KsFileOutStream::Close() {
  if (!file_) return 1;
  int result = failed_;
  if (ownsFile_ == 1) {
    if (std::fclose(file_) != 0) result = 1;
  } else if (std::fflush(file_) != 0) {
    result = 1;
  }
  file_ = nullptr;
  failed_ = 0;
  return result;
}
