#pragma once

#include "CTransferMachine.h"

// "LZ-Codierung auslesen": after the identification "C" asks for the 256-byte table; its
// checksum goes back and the FAT's verdict decides the message.
class CReadLzMachine : public CTransferMachine
{
public:
    using CTransferMachine::CTransferMachine;

    int StartState() const override { return AwaitIdent; }
    void Receive(int waiting) override;
    Verdict OnTimeout(int state) const override;
};
