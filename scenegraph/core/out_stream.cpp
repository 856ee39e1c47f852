#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "scenegraph/core/out_stream.h"

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

int KsOutStream::FindWritten(const KsNode* node) const {
    return written_.count(node) ? 1 : 0;
}

void KsOutStream::AddWritten(const KsNode* node) { written_.insert(node); }
