// Sensors in the drawing walk: they draw nothing; the touch sensor (and the
// drag sensors through their base) tells its group to register a pick id.
#include "scenegraph/nodes/sensors/sensor_nodes.h"

KSBOOL KsTouchSensor::IsPointingSensor() { return KS_TRUE; }

int KsTouchSensor::ExecTraverse(KsMatrix*) { return 0; }
int KsTimeSensor::ExecTraverse(KsMatrix*) { return 0; }
int KsPlaneSensor::ExecTraverse(KsMatrix*) { return 0; }
