#ifndef KS_OUT_STREAM_H
#define KS_OUT_STREAM_H

#include <cstdio>
#include <unordered_set>

#include "scenegraph/core/object.h"

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

private:
    std::unordered_set<const KsNode*> written_;
};

#endif
