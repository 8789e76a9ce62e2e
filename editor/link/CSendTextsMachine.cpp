#include "CSendTextsMachine.h"

#include "CRecordList.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "TextRecordCodec.h"

namespace {
const unsigned char kWriteTexts = 0x06;
}

bool CSendTextsMachine::Prepare()
{
    m_wireRecords.clear();
    const CRecordList& records = m_document.Records();
    const int rows = records.GetCount();
    if (rows > TextRecordCodec::MaxWireRecords) {
        // The count would not fit the header: send nothing rather than a part.
        MessageBox(QStringLiteral("Es können nicht mehr als %1 Texte gesendet werden.")
                       .arg(TextRecordCodec::MaxWireRecords),
                   QString(), msg::Warning);
        return false;
    }
    for (int row = 0; row < rows; ++row) {
        QByteArray wire;
        QString problem;
        if (!TextRecordCodec::EncodeRecord(records.At(row), row, Data(), wire, problem)) {
            MessageBox(problem, QString(), msg::Warning);
            m_wireRecords.clear();
            return false;
        }
        m_wireRecords.append(wire);
    }
    return true;
}

void CSendTextsMachine::Receive(int waiting)
{
    switch (m_state) {
    case CheckIdent:
    case AwaitReady:
        if (!WriteAccepted(waiting, kWriteTexts))
            return;
        SendEchoed(TextRecordCodec::CountBytes(int(m_wireRecords.size())));
        m_state = AwaitCountEcho;
        break;
    case AwaitCountEcho:
        if (!EchoArrived(waiting))
            return;
        SendEchoed(TextRecordCodec::OffsetBytes(Data().groupOffset, sizeof Data().groupOffset));
        m_state = AwaitOffsetEcho;
        break;
    case AwaitOffsetEcho:
        if (!EchoArrived(waiting))
            return;
        if (m_wireRecords.isEmpty()) {
            m_state = SendComplete;
            return;
        }
        m_session.SetStatus(QStringLiteral("Daten werden gesendet"));
        m_session.SetProgressRange(0, int(m_wireRecords.size()));
        m_state = SenderRunning;
        m_session.StartSender(m_wireRecords);
        break;
    default:
        break; // SenderRunning: the thread reads the echoes itself
    }
}

CTransferMachine::Verdict CSendTextsMachine::OnTimeout(int state) const
{
    return WriteVerdict(state, AwaitCountEcho, SendComplete);
}
