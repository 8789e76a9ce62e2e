// Platforms whose serial drivers keep no error counters that Qt 6 reaches.
#include "DriverCounters.h"

namespace DriverCounters {

bool Read(qintptr, LineCounters*)
{
    return false;
}

} // namespace DriverCounters
