#pragma once

// What one run of the transfer window does.
enum TransferMode {
    SendTexts = 0,
    ReadTexts = 1,
    SendLzCoding = 3,
    ReadLzCoding = 4,
    LineError = 6
};

// Where a transfer stands; the numbers are those the transfer window has always used.
enum TransferState {
    AwaitIdent = 0,
    AwaitHeader = 1,
    AwaitRecord = 2,
    ReadComplete = 3,
    FatEmpty = 5,
    WrongFat = 7,
    CheckIdent = 8,
    AwaitReady = 9,
    AwaitCountEcho = 11,
    SendComplete = 13,
    AwaitDataEcho = 14,
    EchoMismatch = 15,
    AwaitOffsetEcho = 18,
    LzSendComplete = 20,
    AwaitLzData = 21,
    LzReadComplete = 22,
    LzReadRejected = 23,
    AwaitLzVerdict = 24,
    SenderRunning = 27
};
