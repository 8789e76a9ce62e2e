#include "CHeadlessTransfer.h"

#include "CQuillmarkDoc.h"

// Qt
#include <QEventLoop>

CHeadlessTransfer::Outcome CHeadlessTransfer::Run(int mode, CQuillmarkDoc& document,
                                                  CSerial& serial, const TransferTimeouts& timeouts)
{
    CTransferCore core;
    core.SetTimeouts(timeouts);
    if (!core.StartTransfer(mode, &document.List(), &document, &serial))
        return PortNotOpened;
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
    core.Begin();
    if (!core.Ended())
        loop.exec();
    if (core.Succeeded())
        return Success;
    return lineError ? LineErrorStop : Failure;
}
