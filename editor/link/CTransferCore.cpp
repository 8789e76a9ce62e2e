#include "CTransferCore.h"

#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CRecordSender.h"
#include "CSerial.h"

// Qt
#include <QTimerEvent>

namespace {
const unsigned char kEnd = 0x04;
const char* const kHinweis = "Hinweis";
const char* const kConnectionLost = "Die Verbindung zum FAT wurde unterbrochen.";
} // namespace

CTransferCore::CTransferCore(QObject* parent) : QObject(parent) {}

CTransferCore::~CTransferCore()
{
    if (m_sender)
        m_sender->Stop();
    KillTimer();
}

int CTransferCore::StartTransfer(int mode, CQuillmarkDoc* document, CSerial* serial)
{
    m_mode = mode;
    m_document = document;
    m_serial = serial;
    m_ended = false;
    m_succeeded = false;
    m_machine.reset();
    if (m_document)
        m_machine = CTransferMachine::Create(mode, *this, *m_document, m_state);
    if (!m_serial || !m_machine)
        return 0;
    m_state = m_machine->StartState();
    m_sender = std::make_unique<CRecordSender>(*m_serial, m_state);
    connect(m_sender.get(), &CRecordSender::recordStarted, this,
            &CTransferCore::OnSenderRecordStarted, Qt::QueuedConnection);
    connect(m_sender.get(), &CRecordSender::recordSent, this, &CTransferCore::OnSenderRecordSent,
            Qt::QueuedConnection);
    connect(m_sender.get(), &CRecordSender::finished, this, &CTransferCore::OnSenderFinished,
            Qt::QueuedConnection);
    // The port reports to this core, window or not.
    const int opened = m_serial->Open(this);
    if (!opened)
        MessageBox(m_serial->OpenFailure(), QString(), msg::Error);
    return opened;
}

void CTransferCore::Begin()
{
    if (!m_machine || !m_machine->Prepare()) {
        // Nothing went out; the end comes once the caller's loop runs.
        QMetaObject::invokeMethod(
            this, [this] { EndTransfer(); }, Qt::QueuedConnection);
        return;
    }
    SetStatus(QStringLiteral("FAT wird vorbereitet"));
    RestartTimer(m_timeouts.silenceMs);
    Send(QByteArray(1, 'T'));
}

// ---------------------------------------------------------------------------------------
// timer, progress, status, port

void CTransferCore::RestartTimer(int ms)
{
    KillTimer();
    // Precise: the end of a transfer is detected by this silence, so it must not come early.
    m_timerId = startTimer(ms, Qt::PreciseTimer);
}

void CTransferCore::KillTimer()
{
    if (m_timerId != 0)
        killTimer(m_timerId);
    m_timerId = 0;
}

void CTransferCore::SetStatus(const QString& text)
{
    m_statusText = text;
    emit statusTextChanged(text);
}

void CTransferCore::SetProgressRange(int minimum, int maximum)
{
    m_progressMin = minimum;
    m_progressMax = maximum;
    m_progressPos = minimum;
    emit progressChanged(m_progressMin, m_progressMax, m_progressPos);
}

void CTransferCore::SetProgressPos(int position)
{
    m_progressPos = qBound(m_progressMin, position, m_progressMax);
    emit progressChanged(m_progressMin, m_progressMax, m_progressPos);
}

void CTransferCore::StepProgress()
{
    // A step past the end wraps to the start, as a progress control does.
    int next = m_progressPos + 1;
    if (next > m_progressMax)
        next = m_progressMin + (next - m_progressMax);
    SetProgressPos(next);
}

void CTransferCore::Send(const QByteArray& bytes)
{
    if (m_serial && m_serial->IsOpened())
        m_serial->SendData(bytes.constData(), int(bytes.size()));
}

QByteArray CTransferCore::Read(int max)
{
    QByteArray bytes(max, 0);
    const int n = m_serial->ReadData(bytes.data(), max);
    bytes.truncate(qBound(0, n, max));
    return bytes;
}

// ---------------------------------------------------------------------------------------
// notifications

bool CTransferCore::event(QEvent* e)
{
    if (e->type() == CommRxCharMessage()) {
        OnCommRxChar();
        return true;
    }
    if (e->type() == CommErrorMessage()) {
        OnCommError(int(static_cast<CCommEvent*>(e)->wParam()));
        return true;
    }
    return QObject::event(e);
}

int CTransferCore::OnCommRxChar()
{
    if (m_ended || m_mode == LineError || !m_machine || !m_serial || !m_serial->IsOpened())
        return 1;
    const int waiting = m_serial->GetDataToRead();
    if (waiting == 0)
        return 1;
    RestartTimer(m_state == AwaitLzVerdict ? m_timeouts.verdictMs : m_timeouts.silenceMs);
    m_machine->Receive(waiting);
    return 1;
}

int CTransferCore::OnCommError(int kind)
{
    if (m_ended)
        return 1;
    if (m_sender)
        m_sender->Stop();
    if (kind == CommIoError) {
        // The device failed or is gone: nothing more can be exchanged, so the transfer ends
        // with a message instead of waiting for a user who may not be there.
        KillTimer();
        if (m_serial && m_serial->IsOpened())
            m_serial->Close();
        ShowMessage(QString::fromUtf8(kConnectionLost), QString::fromLatin1(kHinweis), true, false);
        EndTransfer();
        return 1;
    }
    if (m_mode == LineError)
        return 1;
    m_mode = LineError;
    OnTimer(m_timerId);
    emit lineErrorStopped();
    return 1;
}

void CTransferCore::OnClose()
{
    EndTransfer();
}

void CTransferCore::timerEvent(QTimerEvent* e)
{
    OnTimer(e->timerId());
}

void CTransferCore::EndNow()
{
    OnTimer(m_timerId);
}

void CTransferCore::OnTimer(int id)
{
    emit foregroundRequested();
    if (id == 0 || id != m_timerId)
        return;
    if (SenderActive()) {
        // The thread ends by itself within one echo wait; its end restarts the timer.
        RestartTimer(m_timeouts.silenceMs);
        return;
    }
    KillTimer();
    if (m_mode == LineError || !m_machine)
        return;
    const CTransferMachine::Verdict verdict = m_machine->OnTimeout(m_state);
    if (verdict.kind == CTransferMachine::Verdict::KeepWaiting) {
        RestartTimer(m_timeouts.silenceMs);
        return;
    }
    if (verdict.kind != CTransferMachine::Verdict::Message)
        return;
    AbortLink();
    ShowMessage(QString::fromUtf8(verdict.text), QString::fromLatin1(kHinweis), verdict.errorIcon,
                verdict.success);
    EndTransfer();
}

void CTransferCore::Refuse(const QString& text)
{
    KillTimer();
    AbortLink();
    ShowMessage(text, QStringLiteral("Fehler"), true, false);
    EndTransfer();
}

void CTransferCore::ShowMessage(const QString& text, const QString& caption, bool errorIcon,
                                bool success)
{
    m_succeeded = success;
    MessageBox(text, caption, errorIcon ? msg::Error : msg::NoIcon, msg::Ok);
}

void CTransferCore::EndTransfer()
{
    if (m_ended)
        return;
    if (m_sender)
        m_sender->Stop();
    KillTimer();
    if (m_serial && m_serial->IsOpened())
        m_serial->Close();
    m_ended = true;
    emit ended();
}

void CTransferCore::AbortLink()
{
    if (m_serial && m_serial->IsOpened()) {
        Send(QByteArray(1, char(kEnd)));
        m_serial->Close();
    }
}

// ---------------------------------------------------------------------------------------
// the sender thread

bool CTransferCore::SenderActive() const
{
    return m_sender && m_sender->Active();
}

void CTransferCore::StartSender(const QList<QByteArray>& records)
{
    m_recordsDone = 0;
    m_sender->Start(records, m_timeouts.echoWaitMs);
}

void CTransferCore::OnSenderRecordStarted()
{
    if (!m_ended && m_mode == SendTexts)
        RestartTimer(m_timeouts.silenceMs);
}

void CTransferCore::OnSenderRecordSent()
{
    if (m_ended)
        return;
    m_recordsDone = m_sender->SentRecords();
    StepProgress();
}

void CTransferCore::OnSenderFinished()
{
    m_sender->Stop(); // the thread has ended: join it
    if (m_ended || m_mode != SendTexts)
        return;
    m_recordsDone = m_sender->SentRecords();
    RestartTimer(m_timeouts.silenceMs);
}
