#include "scenegraph/core/events/sensor_table.h"

namespace {
const char kDescriptorName[] = "KsSensorDescriptor";
KsClassRecord* g_descriptorRecord = nullptr;

struct SensorTableState {
  KsSensorDescriptor entries[KS_SENSOR_TABLE_SIZE];
  int count = 0;
  int current = -1;
};

// Function-local so that nodes built by static initialisers may use it.
SensorTableState& Table() {
  static SensorTableState table;
  return table;
}
}  // namespace

KsSensorDescriptor::KsSensorDescriptor() {
  KsClassManager::Ensure(&g_descriptorRecord, kDescriptorName, KsObject::ClassRecord());
}

KsSensorDescriptor::KsSensorDescriptor(KsNode* sensor, KsNode* group, const KsMatrix& matrix)
    : KsSensorDescriptor() {
  sensor_ = sensor;
  group_ = group;
  matrix_ = matrix;
}

KsSensorDescriptor::KsSensorDescriptor(const KsSensorDescriptor& other)
    : KsSensorDescriptor(other.sensor_, other.group_, other.matrix_) {}

KsSensorDescriptor& KsSensorDescriptor::operator=(const KsSensorDescriptor& other) {
  sensor_ = other.sensor_;
  group_ = other.group_;
  matrix_ = other.matrix_;
  return *this;
}

const char* KsSensorDescriptor::GetClassName() const { return kDescriptorName; }
KsClassRecord* KsSensorDescriptor::GetClassInfo() const { return g_descriptorRecord; }

int KsSensorTable::Add(const KsSensorDescriptor& descriptor) {
  SensorTableState& t = Table();
  if (t.count >= KS_SENSOR_TABLE_SIZE) return -1;
  t.entries[t.count] = descriptor;
  return t.count++;
}

KsSensorDescriptor* KsSensorTable::Get(int id) {
  SensorTableState& t = Table();
  if (id < 0 || id >= t.count) return nullptr;
  return &t.entries[id];
}

int KsSensorTable::GetCount() { return Table().count; }
int KsSensorTable::GetCurrent() { return Table().current; }
void KsSensorTable::SetCurrent(int id) { Table().current = id; }

int KsSensorTable::SwapCurrent(int id) {
  SensorTableState& t = Table();
  int previous = t.current;
  t.current = id;
  return previous;
}

void KsSensorTable::Clear() { Table().count = 0; }

void KsSensorTable::Reset() {
  SensorTableState& t = Table();
  t.count = 0;
  t.current = -1;
}
