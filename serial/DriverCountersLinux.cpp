// The counters of Linux serial drivers (TIOCGICOUNT).
#include "DriverCounters.h"

#include <linux/serial.h>
#include <sys/ioctl.h>

namespace DriverCounters {

bool Read(qintptr handle, LineCounters* counters)
{
    serial_icounter_struct icount{};
    if (handle < 0 || ::ioctl(int(handle), TIOCGICOUNT, &icount) != 0)
        return false;
    counters->parity = unsigned(icount.parity);
    counters->frame = unsigned(icount.frame);
    counters->overrun = unsigned(icount.overrun + icount.buf_overrun);
    counters->brk = unsigned(icount.brk);
    return true;
}

} // namespace DriverCounters
