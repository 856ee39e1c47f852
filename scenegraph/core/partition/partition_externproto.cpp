// EXTERNPROTO: a PROTO copied from another VRML file.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "scenegraph/core/partition/partition.h"
#include "scenegraph/core/protos/proto_budget.h"
#include "scenegraph/core/protos/proto_interface.h"
#include "scenegraph/core/reading/word_reading.h"
#include "scenegraph/core/reading/word_tree.h"

namespace {
// Files being read for EXTERNPROTO statements, outermost first. Files that
// name each other would otherwise read one another without end.
struct ExternState {
    std::vector<std::string> reading;
    int reads = 0;  // files read since the outermost statement began
};

ExternState& Extern() {
    static ExternState state;
    return state;
}

void Report(const char* what, int line) {
    KsNoteReadError(line);
    std::fprintf(stderr, "KsPartition::RealizeExternProto()\n");
    std::fprintf(stderr, "  %s\n", what);
    std::fprintf(stderr, "  Line number = %d\n", line);
}

// The URL of the statement: a string's text; of a list, its first string.
std::string UrlOf(const KsWordNode* word) {
    if (KsIsGroupWord(word, "[]")) word = word->child;
    if (KsIsGroupWord(word, "\"\"")) {
        // A long string is kept in pieces.
        std::string url;
        for (const KsWordNode* piece = word->child; piece; piece = piece->next) url += KsWordTextOf(piece);
        return url;
    }
    return KsWordTextOf(word);
}

// The file's absolute name, to recognise it however it was reached; the
// name itself when it cannot be resolved.
std::string FullPath(const std::string& path) {
#ifdef _WIN32
    char* full = _fullpath(nullptr, path.c_str(), 0);
#else
    char* full = realpath(path.c_str(), nullptr);
#endif
    if (!full) return path;
    std::string result(full);
    std::free(full);
    return result;
}

// Drops a read file's scene; its PROTO declarations stay.
void DropScene(KsPartition* p) {
    p->GetRouter()->Clear();
    while (p->GetNodeCount() > 0)
        if (p->DeleteNode(p->GetNode(p->GetNodeCount() - 1)) != 0) break;
}
}  // namespace

void KsResetProtoGlobals() {
    Extern() = ExternState();
    KsResetProtoBudget();
}

// EXTERNPROTO name [ interface ] url
KsNode* KsPartition::RealizeExternProto(KsWordNode* cursor) {
    KsWordNode* keyword = KsCursorWord(cursor);
    if (!keyword) return nullptr;
    const int line = keyword->text.Line();
    KsWordNode* name = keyword->next;
    KsWordNode* list = name ? name->next : nullptr;
    KsWordNode* url = list ? list->next : nullptr;
    KsCursorAdvance(cursor);
    if (!name || KsIsAnyGroup(name) || !KsIsGroupWord(list, "[]") || !url) {
        Report("Illegal EXTERNPROTO definition.", line);
        // Only what can belong to the declaration goes, so that the next
        // statement is still read.
        if (KsCursorWord(cursor) && !KsIsAnyGroup(KsCursorWord(cursor))) KsCursorAdvance(cursor);
        if (KsIsGroupWord(KsCursorWord(cursor), "[]")) KsCursorAdvance(cursor);
        if (KsIsGroupWord(KsCursorWord(cursor), "\"\"") || KsIsGroupWord(KsCursorWord(cursor), "[]"))
            KsCursorAdvance(cursor);
        return nullptr;
    }
    for (int i = 0; i < 3; ++i) KsCursorAdvance(cursor);
    const std::string protoName(KsWordTextOf(name));
    const std::string path = UrlOf(url);

    ExternState& state = Extern();
    if (static_cast<int>(state.reading.size()) >= KS_MAX_EXTERNPROTO_DEPTH ||
        state.reads >= KS_MAX_EXTERNPROTO_READS) {
        Report("Too many EXTERNPROTO files.", line);
        return nullptr;
    }
    const std::string full = FullPath(path);
    for (const std::string& open : state.reading) {
        if (open == full) {
            Report("EXTERNPROTO files name each other.", line);
            return nullptr;
        }
    }

    KsPartition* file = new (std::nothrow) KsPartition();
    if (!file) {
        Report("Out of memory.", line);
        return nullptr;
    }
    state.reading.push_back(full);
    ++state.reads;
    const int failed = file->ReadFile(path.c_str());
    state.reading.pop_back();
    if (state.reading.empty()) state.reads = 0;
    if (failed != 0) {
        Report(file->GetReadErrors().failure == kKsReadTooLarge ? "Out of memory."
                                                                : "VRML file not found.",
               line);
        delete file;
        return nullptr;
    }

    KsPartition* found = file->FindProto(protoName.c_str());
    if (!found) {
        Report("Specified PROTO not found.", line);
        delete file;
        return nullptr;
    }
    KsPartition* copy = found->Duplicate();
    KsProtoInterface* in = copy ? copy->GetInterface() : nullptr;
    if (!in) {
        Report("Out of memory.", line);
        delete copy;
        delete file;
        return nullptr;
    }
    // Instances nested in the copy name declarations of that file.
    DropScene(file);
    in->retained = file;
    protos_.push_back(copy);
    if (KsProtoInterface* own = GetInterface()) own->IndexProto(copy);
    return nullptr;
}
