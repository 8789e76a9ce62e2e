#pragma once

#include "CTransferMachine.h"

// "LZ-Codierung senden": identification check, write command until ready, then the 255
// entries of the LZ assignment one by one with echo, and the end byte 0x00.
class CSendLzMachine : public CTransferMachine
{
public:
    using CTransferMachine::CTransferMachine;

    int StartState() const override { return CheckIdent; }
    void Receive(int waiting) override;
    Verdict OnTimeout(int state) const override;
};
