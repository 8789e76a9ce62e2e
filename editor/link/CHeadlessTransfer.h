#pragma once

#include "CTransferCore.h"

class CQuillmarkDoc;
class CSerial;

// Runs one transfer without a window, in a local event loop, for quillmark-cli and tests.
// A line error, which in the window waits for the user, closes the transfer at once.
class CHeadlessTransfer
{
public:
    enum Outcome { Success, Failure, PortNotOpened, LineErrorStop };

    static Outcome Run(int mode, CQuillmarkDoc& document, CSerial& serial,
                       const TransferTimeouts& timeouts = TransferTimeouts());
};
