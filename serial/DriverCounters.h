#pragma once

#include "LineCounters.h"

// Qt
#include <QtGlobal>

// The serial driver's error counters of an open device (its native handle). The counts go
// into the four error fields of counters; false where the platform or the device keeps none
// (Qt 6's QSerialPort reports no parity, framing or break errors of its own).
namespace DriverCounters {

bool Read(qintptr handle, LineCounters* counters);

} // namespace DriverCounters
