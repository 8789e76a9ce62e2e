#pragma once

#include "CCommEvent.h"

// Qt
#include <QList>

// The line's counters: received bytes and the serial driver's error counts, with the error
// kinds their growth stands for. Where the driver keeps them is DriverCounters.h.
struct LineCounters
{
    unsigned parity = 0;
    unsigned frame = 0;
    unsigned overrun = 0; // the UART's and the driver buffer's overruns together
    unsigned brk = 0;
    quint64 rx = 0; // bytes received

    // The count of an error kind (CommParityError..CommBreakError).
    unsigned Of(int kind) const
    {
        const unsigned counts[] = {parity, frame, overrun, brk};
        return kind >= 0 && kind < 4 ? counts[kind] : 0;
    }
    void Add(int kind, unsigned count)
    {
        unsigned* counts[] = {&parity, &frame, &overrun, &brk};
        if (kind >= 0 && kind < 4)
            *counts[kind] += count;
    }

    // The kinds whose counter moved since before, in kind order; one entry per kind however
    // many errors were counted meanwhile.
    QList<int> ErrorsSince(const LineCounters& before) const
    {
        QList<int> kinds;
        for (int kind = CommParityError; kind <= CommBreakError; ++kind)
            if (Of(kind) != before.Of(kind))
                kinds.append(kind);
        return kinds;
    }
};
