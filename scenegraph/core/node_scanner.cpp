#include "scenegraph/core/node_scanner.h"

#include <new>

namespace {
const char kScannerName[] = "KsNodeScanner";
KsClassRecord* g_scannerRecord = nullptr;
}  // namespace

KsNodeScanner::KsNodeScanner() {
    KsClassManager::Ensure(&g_scannerRecord, kScannerName, KsObject::ClassRecord());
}
const char* KsNodeScanner::GetClassName() const { return kScannerName; }
KsClassRecord* KsNodeScanner::GetClassInfo() const { return g_scannerRecord; }
KsNodeScanner* KsNodeScanner::NewInstance() { return new (std::nothrow) KsNodeScanner(); }
int KsNodeScanner::Visit(KsNode*) { return 1; }

int KsNodeScanner::Push(KsObject* item) {
    int stored = 1;
    if (depth_ >= 0 && depth_ < KS_SCAN_PATH_SIZE) {
        path_[depth_] = item;
        stored = 0;
    }
    ++depth_;
    return stored;
}

void KsNodeScanner::Pop() { --depth_; }

KsObject* KsNodeScanner::GetPathItem(int i) const {
    if (i < 0 || i >= depth_ || i >= KS_SCAN_PATH_SIZE) return nullptr;
    return path_[i];
}
