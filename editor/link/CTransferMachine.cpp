#include "CTransferMachine.h"

#include "CQuillmarkDoc.h"
#include "CReadLzMachine.h"
#include "CReadTextsMachine.h"
#include "CSendLzMachine.h"
#include "CSendTextsMachine.h"
#include "TextRecordCodec.h"

namespace TransferText {
const char* const SuccessRead = "Die Datenübertragung wurde erfolgreich beendet";
const char* const SuccessWrite = "Die Datenübertragung wurde erfolgreich beendet.";
const char* const NoAnswer = "FAT antwortet nicht.";
const char* const WrongFat = "Falsches FAT";
const char* const SendAgain = "Es ist ein Fehler aufgetreten. Texte bitte nochmal senden.";
const char* const NotProgrammable = "Das FAT läßt sich nicht mehr Programmieren.";
} // namespace TransferText

namespace {
const unsigned char kReady = 0x06;
}

CTransferMachine::CTransferMachine(ITransferSession& session, CQuillmarkDoc& document,
                                   std::atomic<int>& state)
    : m_session(session), m_document(document), m_state(state)
{
}

std::unique_ptr<CTransferMachine> CTransferMachine::Create(int mode, ITransferSession& session,
                                                           CQuillmarkDoc& document,
                                                           std::atomic<int>& state)
{
    switch (mode) {
    case ReadTexts:
        return std::make_unique<CReadTextsMachine>(session, document, state);
    case SendTexts:
        return std::make_unique<CSendTextsMachine>(session, document, state);
    case SendLzCoding:
        return std::make_unique<CSendLzMachine>(session, document, state);
    case ReadLzCoding:
        return std::make_unique<CReadLzMachine>(session, document, state);
    }
    return nullptr;
}

ProjectData& CTransferMachine::Data()
{
    return m_document.Data();
}

void CTransferMachine::SendByte(unsigned char byte)
{
    m_session.Send(QByteArray(1, char(byte)));
}

void CTransferMachine::SendEchoed(const QByteArray& bytes)
{
    m_buffer = bytes;
    m_byteIndex = 0;
    SendByte(static_cast<unsigned char>(m_buffer.at(0)));
}

bool CTransferMachine::EchoArrived(int waiting)
{
    if (waiting != 1)
        return false;
    const QByteArray echo = m_session.Read(1);
    if (echo.isEmpty() || echo.at(0) != m_buffer.at(m_byteIndex))
        return false; // left to the time-out
    if (++m_byteIndex < m_buffer.size()) {
        SendByte(static_cast<unsigned char>(m_buffer.at(m_byteIndex)));
        return false;
    }
    m_byteIndex = 0;
    return true;
}

bool CTransferMachine::WriteAccepted(int waiting, unsigned char command)
{
    if (m_state == CheckIdent) {
        if (waiting != TextRecordCodec::IdentLength)
            return false;
        if (!TextRecordCodec::SameFat(m_session.Read(TextRecordCodec::IdentLength), Data())) {
            m_state = WrongFat;
            return false;
        }
        m_state = AwaitReady;
        SendByte(command);
        return false;
    }
    if (waiting != 1)
        return false;
    const QByteArray answer = m_session.Read(1);
    if (answer.isEmpty() || static_cast<unsigned char>(answer.at(0)) != kReady) {
        SendByte(command); // not ready yet: ask again
        return false;
    }
    return true;
}

CTransferMachine::Verdict CTransferMachine::WriteVerdict(int state, int echoState,
                                                         int completeState)
{
    if (state == AwaitReady)
        return Verdict{Verdict::KeepWaiting}; // the FAT may still become ready
    if (state == WrongFat)
        return Show(TransferText::WrongFat);
    if (state == echoState)
        return Show(TransferText::SendAgain);
    if (state == completeState)
        return Show(TransferText::SuccessWrite, true);
    if (state == EchoMismatch)
        return Show(TransferText::NotProgrammable, false, true);
    return Show(TransferText::NoAnswer);
}
