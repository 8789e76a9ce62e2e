#include "CReadLzMachine.h"

#include "CQuillmarkDoc.h"
#include "TextRecordCodec.h"

#include <cstring>

namespace {
const unsigned char kVerdictAccepted = 0x04;
const int kLzEntries = 255;
const int kLzTable = 256;
} // namespace

void CReadLzMachine::Receive(int waiting)
{
    switch (m_state) {
    case AwaitIdent:
        if (waiting != TextRecordCodec::IdentLength)
            return;
        m_session.SetStatus(QStringLiteral("Daten werden empfangen"));
        m_session.SetProgressRange(0, kLzTable);
        m_session.Read(TextRecordCodec::IdentLength);
        m_state = AwaitLzData;
        SendByte('C');
        break;
    case AwaitLzData: {
        m_session.SetProgressPos(waiting);
        if (waiting != kLzTable)
            return;
        const QByteArray table = m_session.Read(kLzTable);
        if (table.size() != kLzTable)
            return;
        unsigned char sum = 0;
        if (table.at(kLzEntries) == 0) {
            std::memcpy(Data().lzAssignment, table.constData(), kLzEntries);
            sum = TextRecordCodec::Sum(table.left(kLzEntries));
        }
        SendByte(sum);
        m_state = AwaitLzVerdict;
        break;
    }
    case AwaitLzVerdict: {
        const QByteArray verdict = m_session.Read(1);
        m_state =
            !verdict.isEmpty() && static_cast<unsigned char>(verdict.at(0)) == kVerdictAccepted
                ? LzReadComplete
                : LzReadRejected;
        break;
    }
    default:
        break;
    }
}

CTransferMachine::Verdict CReadLzMachine::OnTimeout(int state) const
{
    if (state == LzReadComplete)
        return Show(TransferText::SuccessRead, true);
    if (state == LzReadRejected)
        return Show("Die LZ-Codierung wurde falsch empfangen.");
    return Show(TransferText::NoAnswer);
}
