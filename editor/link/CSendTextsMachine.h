#pragma once

#include "CTransferMachine.h"

// "Daten senden": identification check, write command until ready, count and offset with
// echo, then the sender thread writes every record with echo.
class CSendTextsMachine : public CTransferMachine
{
public:
    using CTransferMachine::CTransferMachine;

    int StartState() const override { return CheckIdent; }
    // Formats every row before anything goes out, so a row that cannot be sent leaves the
    // FAT untouched and the sender thread never touches the list.
    bool Prepare() override;
    void Receive(int waiting) override;
    Verdict OnTimeout(int state) const override;

private:
    QList<QByteArray> m_wireRecords;
};
