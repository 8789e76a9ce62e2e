#pragma once

#include "CCommEvent.h"

// Qt
#include <QList>

// The serial driver's line error counters and the error kinds their growth stands for.
struct LineCounters
{
    unsigned parity = 0;
    unsigned frame = 0;
    unsigned overrun = 0; // the UART's and the driver buffer's overruns together
    unsigned brk = 0;

    // The kinds whose counter moved since before, in kind order; one entry per kind however
    // many errors were counted meanwhile.
    QList<int> ErrorsSince(const LineCounters& before) const
    {
        QList<int> kinds;
        if (parity != before.parity)
            kinds.append(CommParityError);
        if (frame != before.frame)
            kinds.append(CommFramingError);
        if (overrun != before.overrun)
            kinds.append(CommOverrunError);
        if (brk != before.brk)
            kinds.append(CommBreakError);
        return kinds;
    }
};
