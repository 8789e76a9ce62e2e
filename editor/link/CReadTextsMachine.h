#pragma once

#include "CRecordList.h"
#include "CTransferMachine.h"

#include <optional>

// "Daten auslesen": the identification sets the project's layout, the header the count and
// the offset; every record becomes a row at the end of the list, in the FAT's order.
class CReadTextsMachine : public CTransferMachine
{
public:
    using CTransferMachine::CTransferMachine;

    int StartState() const override { return AwaitIdent; }
    void Receive(int waiting) override;
    Verdict OnTimeout(int state) const override;

private:
    // Stores the identification into the project; false (the transfer refused) when it
    // describes a project outside the limits.
    bool StoreIdentification(const QByteArray& id);
    void ReceiveHeader();
    void AcceptRecord(int waiting);
    // The first record decides the text format; false (the transfer refused) when that
    // format leaves the project outside the limits.
    bool SetFormatOf(char tag);

    // The rows arrive in one batch, so the views are told once at the end rather than per
    // row (with tens of thousands of texts, the notices cost more than the line).
    std::optional<CRecordBatch> m_batch;
    QByteArray m_pending; // the bytes of a record still being received
    int m_recordCount = 0;
};
