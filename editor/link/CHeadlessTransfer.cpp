#include "CHeadlessTransfer.h"

#include "CQuillmarkDoc.h"

// Qt
#include <QEventLoop>
#include <QTimer>

CHeadlessTransfer::Outcome CHeadlessTransfer::Run(int mode, CQuillmarkDoc& document,
                                                  CSerial& serial, const TransferTimeouts& timeouts,
                                                  int limitMs, const std::function<void()>& opened)
{
    CTransferCore core;
    core.SetTimeouts(timeouts);
    if (!core.StartTransfer(mode, &document, &serial))
        return PortNotOpened;
    if (opened)
        opened();
    QEventLoop loop;
    bool lineError = false;
    QObject::connect(&core, &CTransferCore::ended, &loop, &QEventLoop::quit);
    QObject::connect(
        &core, &CTransferCore::lineErrorStopped, &loop,
        [&core, &lineError] {
            lineError = true;
            core.OnClose(); // nobody is there to close the window
        },
        Qt::QueuedConnection);
    bool timedOut = false;
    QTimer limit;
    limit.setSingleShot(true);
    limit.setTimerType(Qt::PreciseTimer); // a coarse timer may end the transfer early
    QObject::connect(&limit, &QTimer::timeout, &loop, [&core, &timedOut] {
        timedOut = true;
        core.OnClose();
    });
    core.Begin();
    if (limitMs > 0)
        limit.start(limitMs);
    if (!core.Ended())
        loop.exec();
    if (core.Succeeded())
        return Success;
    if (timedOut)
        return TimedOut;
    return lineError ? LineErrorStop : Failure;
}
