#include "CSendLzMachine.h"

#include "CQuillmarkDoc.h"

namespace {
const unsigned char kWriteLz = 0x07;
const int kLzEntries = 255;
} // namespace

void CSendLzMachine::Receive(int waiting)
{
    const char* table = Data().lzAssignment;
    switch (m_state) {
    case CheckIdent:
    case AwaitReady:
        if (!WriteAccepted(waiting, kWriteLz))
            return;
        m_session.SetStatus(QStringLiteral("Daten werden gesendet"));
        m_session.SetProgressRange(0, kLzEntries);
        m_byteIndex = 0;
        SendByte(static_cast<unsigned char>(table[0]));
        m_state = AwaitDataEcho;
        break;
    case AwaitDataEcho: {
        const QByteArray echo = m_session.Read(1);
        if (echo.isEmpty() || echo.at(0) != table[m_byteIndex]) {
            m_state = EchoMismatch;
            return;
        }
        if (++m_byteIndex == kLzEntries) {
            SendByte(0x00);
            m_state = LzSendComplete;
            return;
        }
        m_session.StepProgress();
        SendByte(static_cast<unsigned char>(table[m_byteIndex]));
        break;
    }
    default:
        break;
    }
}

CTransferMachine::Verdict CSendLzMachine::OnTimeout(int state) const
{
    return WriteVerdict(state, AwaitDataEcho, LzSendComplete);
}
