#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scenegraph/core/word_reader.h"
#include "scenegraph/core/word_tree.h"

namespace {

KsClassRecord* g_pass1Record = nullptr;

bool Is(const char* word, char c) { return word[0] == c && word[1] == 0; }

void DumpList(const KsWordNode* node, int depth) {
    for (; node; node = node->next) {
        std::printf("%*s%s(%d)\n", depth * 2, "", node->text ? node->text : "", node->line);
        if (node->child) DumpList(node->child, depth + 1);
    }
}

}  // namespace

KsVrmlPass1::KsVrmlPass1() {
    KsClassManager::Ensure(&g_pass1Record, "KsVrmlPass1", KsObject::ClassRecord());
}

KsVrmlPass1::~KsVrmlPass1() = default;

const char* KsVrmlPass1::GetClassName() const { return "KsVrmlPass1"; }

KsClassRecord* KsVrmlPass1::GetClassInfo() const { return g_pass1Record; }

int KsVrmlPass1::Run(QmReadWordFile* reader) {
    root_ = nullptr;
    error_ = kErrorNone;
    errorLine_ = 0;
    message_[0] = 0;
    reader_ = reader;
    if (!reader) return 1;
    reader->CommentOn();
    char buffer[kWordSize];
    buffer[0] = 0;
    root_ = BuildList(buffer, 0, 0);
    if (error_ != kErrorMemory && (Is(buffer, '}') || Is(buffer, ']') || Is(buffer, '"'))) {
        std::snprintf(message_, sizeof message_, "Parentheses No Match at %d",
                      reader->GetLineCount());
        // The rest of the file is not read: that must not pass for success.
        error_ = kErrorBracket;
        errorLine_ = reader->GetLineCount();
    }
    return (!root_ || error_ != kErrorNone) ? 1 : 0;
}

KsWordNode* KsVrmlPass1::NewNode() {
    KsWordNode* node = static_cast<KsWordNode*>(heap_.Alloc(sizeof(KsWordNode)));
    if (!node) {
        std::fprintf(stderr, "Local Heap Allocation Error!!\n");
        std::fflush(stdout);
        std::fflush(stderr);
        std::exit(1);
    }
    node->child = nullptr;
    node->next = nullptr;
    node->text = nullptr;
    node->line = reader_->GetLineCount();
    return node;
}

char* KsVrmlPass1::WordText(const char* word, int length) {
    if (length > 1) return heap_.StrDup(word, (size_t)length);
    char*& text = shared_[length == 1 ? (unsigned char)word[0] : 0];
    if (!text) text = heap_.StrDup(word, (size_t)length);
    return text;
}

char* KsVrmlPass1::MarkText(int kind) {
    static const char* const kMarks[3] = {"[]", "{}", "\"\""};
    if (!marks_[kind]) marks_[kind] = heap_.StrDup(kMarks[kind], 2);
    return marks_[kind];
}

// The word buffer is shared by every level: a level that returns leaves its
// closing word there for the caller to check.
KsWordNode* KsVrmlPass1::BuildList(char* buffer, int stringMode, int depth) {
    KsWordNode* head = nullptr;
    KsWordNode** tail = &head;
    for (;;) {
        int length = reader_->GetWord(buffer, kWordSize);
        if (length <= 0) {
            buffer[0] = 0;
            return head;
        }
        if (stringMode) {
            // Inside a string every other word, brackets included, is text.
            if (Is(buffer, '"')) return head;
        } else if (Is(buffer, ']') || Is(buffer, '}')) {
            return head;
        }
        KsWordNode* node = NewNode();
        char open = stringMode ? 0 : buffer[1] == 0 ? buffer[0] : 0;
        if (open == '[' || open == '{' || open == '"') {
            const char close = open == '[' ? ']' : open == '{' ? '}' : '"';
            const char* missing = open == '[' ? "']' is missing for '[' at %d"
                                  : open == '{' ? "'}' is missing for '{' at %d"
                                                : "Open String at %d";
            node->text = MarkText(open == '[' ? 0 : open == '{' ? 1 : 2);
            if (!node->text) {
                error_ = kErrorMemory;
                std::snprintf(message_, sizeof message_, "Out Of Memory.");
                return head;
            }
            if (depth >= kMaxDepth) {
                // Too deep to follow: reported as unmatched, nothing more read.
                error_ = kErrorBracket;
                errorLine_ = node->line;
                std::snprintf(message_, sizeof message_, missing, node->line);
                buffer[0] = 0;
                return head;
            }
            node->child = BuildList(buffer, open == '"', depth + 1);
            if (!Is(buffer, close)) {
                if (error_ == kErrorMemory) return head;
                error_ = kErrorBracket;
                errorLine_ = node->line;
                std::snprintf(message_, sizeof message_, missing, node->line);
                return head;
            }
        } else {
            node->text = WordText(buffer, buffer[0] ? length : 0);
            if (!node->text) {
                error_ = kErrorMemory;
                std::snprintf(message_, sizeof message_, "Out Of Memory.");
                return head;
            }
        }
        *tail = node;
        tail = &node->next;
    }
}

void KsVrmlPass1::Dump() const { DumpList(root_, 0); }
