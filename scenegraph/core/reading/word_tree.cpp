#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "scenegraph/core/reading/word_reader.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {

KsClassRecord* g_pass1Record = nullptr;

bool Is(const char* word, char c) { return word[0] == c && word[1] == 0; }

void DumpList(const KsWordNode* node, int depth) {
    for (; node; node = node->next) {
        const char* text = node->text;
        std::printf("%*s%s(%d)\n", depth * 2, "", text ? text : "", node->text.Line());
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
    cutLine_ = 0;
    message_[0] = 0;
    reader_ = reader;
    if (!reader) return 1;
    reader->CommentOn();
    char buffer[kWordSize];
    buffer[0] = 0;
    root_ = BuildList(buffer, 0, 0);
    if (error_ != kErrorMemory && (Is(buffer, '}') || Is(buffer, ']') || Is(buffer, '"'))) {
        const int line = reader->GetWordLine();
        std::snprintf(message_, sizeof message_, "Parentheses No Match at %d", line);
        // The rest of the file is not read: that must not pass for success.
        error_ = kErrorBracket;
        errorLine_ = line;
        cutLine_ = line;
    }
    return (!root_ || error_ != kErrorNone) ? 1 : 0;
}

KsWordNode* KsVrmlPass1::NewNode(const char* text, int length) {
    KsWordNode* node = static_cast<KsWordNode*>(heap_.AllocPacked(sizeof(KsWordNode)));
    // The caller reports it: a failed read, not the end of the program.
    if (!node) return nullptr;
    node->child = nullptr;
    node->next = nullptr;
    const int line = reader_->GetWordLine();
#if UINTPTR_MAX > 0xFFFFFFFFu
    unsigned char* raw = node->text.raw;
    if (length <= KsWordText::kInlineLength && line >= 0 && line < KsWordText::kInlineLines) {
        std::memset(raw, 0, sizeof node->text.raw);
        std::memcpy(raw, text, (size_t)length);
        raw[4] = (unsigned char)line;
        raw[5] = (unsigned char)(line >> 8);
        raw[6] = (unsigned char)(line >> 16);
        raw[7] = KsWordText::kInlineTag;
        return node;
    }
    char* copy = heap_.AllocText(sizeof line + (size_t)length + 1);
    if (!copy) return nullptr;
    std::memcpy(copy, &line, sizeof line);
    copy += sizeof line;
    std::memcpy(copy, text, (size_t)length);
    copy[length] = 0;
    std::memcpy(raw, &copy, sizeof copy);
    // A pointer with the tag's top byte would read as inline text.
    if (node->text.IsInline()) return nullptr;
#else
    // Words of at most one byte (commas, digits, the empty text) share a copy.
    const char*& shared = shared_[length == 1 ? (unsigned char)text[0] : 0];
    if (length <= 1 && !shared) shared = heap_.StrDup(text, (size_t)length);
    node->text.text = length <= 1 ? shared : heap_.StrDup(text, (size_t)length);
    node->text.line = line;
    if (!node->text.text) return nullptr;
#endif
    return node;
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
        const char open = stringMode ? 0 : buffer[1] == 0 ? buffer[0] : 0;
        const bool group = open == '[' || open == '{' || open == '"';
        static const char* const kMarks[3] = {"[]", "{}", "\"\""};
        KsWordNode* node = group ? NewNode(kMarks[open == '[' ? 0 : open == '{' ? 1 : 2], 2)
                                 : NewNode(buffer, buffer[0] ? length : 0);
        if (!node) {
            if (error_ != kErrorMemory) {
                std::fprintf(stderr, "Local Heap Allocation Error!!\n");
                error_ = kErrorMemory;
                errorLine_ = reader_->GetWordLine();
                std::snprintf(message_, sizeof message_, "Out Of Memory.");
            }
            return head;
        }
        if (group) {
            const char close = open == '[' ? ']' : open == '{' ? '}' : '"';
            const char* missing = open == '[' ? "']' is missing for '[' at %d"
                                  : open == '{' ? "'}' is missing for '{' at %d"
                                                : "Open String at %d";
            if (depth >= kMaxDepth) {
                // Too deep to follow: reported as unmatched, nothing more read.
                error_ = kErrorBracket;
                errorLine_ = node->line;
                cutLine_ = node->line;
                std::snprintf(message_, sizeof message_, missing, node->text.Line());
                buffer[0] = 0;
                return head;
            }
            node->child = BuildList(buffer, open == '"', depth + 1);
            if (!Is(buffer, close)) {
                if (error_ == kErrorMemory) return head;
                error_ = kErrorBracket;
                errorLine_ = node->line;
                // Ended by the end of the file, every enclosing group is left
                // open too: the outermost is where the loss begins.
                if (buffer[0] == 0) cutLine_ = node->line;
                std::snprintf(message_, sizeof message_, missing, node->text.Line());
                return head;
            }
        }
        *tail = node;
        tail = &node->next;
    }
}

void KsVrmlPass1::Dump() const { DumpList(root_, 0); }
