#pragma once

#include "CTransferCore.h"

#include <functional>

class CQuillmarkDoc;
class CSerial;

// Runs one transfer without a window, in a local event loop, for quillmark-cli and tests.
// A line error, which in the window waits for the user, closes the transfer at once.
class CHeadlessTransfer
{
public:
    enum Outcome { Success, Failure, PortNotOpened, LineErrorStop, TimedOut };

    // limitMs > 0 bounds the whole transfer: when it passes, the transfer ends as a closed
    // window ends it (no end byte, port closed) and the outcome is TimedOut. A script has
    // nobody to close a window that waits for a FAT that never becomes ready.
    // opened (when set) is called once the port is open, before the first byte goes out.
    static Outcome Run(int mode, CQuillmarkDoc& document, CSerial& serial,
                       const TransferTimeouts& timeouts = TransferTimeouts(), int limitMs = 0,
                       const std::function<void()>& opened = {});
};
