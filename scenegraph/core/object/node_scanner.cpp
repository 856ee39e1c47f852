#include "scenegraph/core/object/node_scanner.h"

#include <new>

#include "scenegraph/core/object/node.h"

namespace {
const char kScannerName[] = "KsNodeScanner";
KsClassRecord* g_scannerRecord = nullptr;
const char kFinderName[] = "KsNodeFinder";
KsClassRecord* g_finderRecord = nullptr;
}  // namespace

KsNodeScanner::KsNodeScanner() {
  KsClassManager::Ensure(&g_scannerRecord, kScannerName, KsObject::ClassRecord());
}
const char* KsNodeScanner::GetClassName() const { return kScannerName; }
KsClassRecord* KsNodeScanner::GetClassInfo() const { return g_scannerRecord; }
KsNodeScanner* KsNodeScanner::NewInstance() { return new (std::nothrow) KsNodeScanner(); }
int KsNodeScanner::Visit(KsNode*) { return 1; }

int KsNodeScanner::Enter(const KsNode* node) {
  if (node && node->GetRefCount() > 1) {
    int& visits = shared_[node];
    if (visits >= KS_SCAN_MAX_VISITS) {
      ++leftOut_;
      return 1;
    }
    ++visits;
  }
  ++entered_;
  return 0;
}

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

// ---- finder ----------------------------------------------------------------

KsNodeFinder::KsNodeFinder() {
  KsClassManager::Ensure(&g_finderRecord, kFinderName, g_scannerRecord);
}
const char* KsNodeFinder::GetClassName() const { return kFinderName; }
KsClassRecord* KsNodeFinder::GetClassInfo() const { return g_finderRecord; }
KsNodeScanner* KsNodeFinder::NewInstance() { return new (std::nothrow) KsNodeFinder(); }

int KsNodeFinder::Visit(KsNode* node) {
  if (node && !target_.empty() && target_ == node->GetClassName()) found_.push_back(node);
  return 0;
}

void KsNodeFinder::SetTarget(const KsObject* object) {
  SetTargetName(object ? object->GetClassName() : nullptr);
}

void KsNodeFinder::SetTargetName(const char* className) { target_ = className ? className : ""; }

KsNode* KsNodeFinder::Get(int i) const {
  if (i < 0 || i >= GetCount()) return nullptr;
  return found_[static_cast<size_t>(i)];
}
