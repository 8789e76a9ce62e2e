#include "CRecordingControl.h"

#include "CCommEvent.h"
#include "CLineprobeDoc.h"
#include "CMessages.h"
#include "CRecordingViews.h"
#include "ComPortSettings.h"
#include "ListFile.h"
#include "PortErrors.h"

// Qt
#include <QElapsedTimer>

namespace {

const char kRequestIdent = 'T';
const char kStartSending = 'S';
const char kHalt = 'H';

// A flood of traffic must not hold the event loop: after this much reading in one go the
// rest is read in the next turn of the loop, in order.
const int kReadBudgetBytes = 256 * 1024;
const int kReadBudgetMs = 50;

} // namespace

CRecordingControl::CRecordingControl(CLineprobeDoc& doc, RecordingOptions& options, QObject* parent)
    : QObject(parent), m_doc(doc), m_options(options),
      m_statusText(QStringLiteral("Lineprobe ist für eine Aufnahme bereit"))
{
    m_serial.SetProgram(QStringLiteral("Lineprobe")); // its own port settings
    m_serial.GetComParameter(&m_options.expertParameter);
    m_identTimer.setSingleShot(true);
    m_identTimer.setInterval(IdentTimeoutMs);
    m_reconnectTimer.setInterval(ReconnectMs);
    connect(&m_identTimer, &QTimer::timeout, this, &CRecordingControl::OnIdentTimeout);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &CRecordingControl::OnReconnect);
}

CRecordingControl::~CRecordingControl()
{
    OnStopRecording();
    m_serial.Close();
}

void CRecordingControl::ReadPortSetting()
{
    ComPortSettings::ReadComPort(m_serial, m_serial.Program());
}

void CRecordingControl::WritePortSetting() const
{
    ComPortSettings::WriteComPort(m_serial, m_serial.Program());
}

bool CRecordingControl::IsRecording() const
{
    return m_doc.recordingFlag != 0;
}

bool CRecordingControl::SaveFailed() const
{
    return m_saveRun && (m_doc.Files().WriteFailed() || m_doc.Files().Lost() || m_listsFailed);
}

bool CRecordingControl::TimerActive(int timer) const
{
    if (timer == IdentTimer)
        return m_identTimer.isActive();
    if (timer == ReconnectTimer)
        return m_reconnectTimer.isActive();
    return false;
}

void CRecordingControl::SetTimerPeriods(int identMs, int reconnectMs)
{
    m_identTimer.setInterval(identMs);
    m_reconnectTimer.setInterval(reconnectMs);
}

void CRecordingControl::SetStatus(const QString& text)
{
    m_statusText = text;
    emit StatusTextChanged(text);
}

void CRecordingControl::ShowText(const QByteArray& text)
{
    if (m_views)
        m_views->ShowTextLines(text);
}

bool CRecordingControl::event(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == CommRxCharMessage()) {
        OnCommRxChar();
        return true;
    }
    if (type == CommErrorMessage()) {
        OnCommError(int(static_cast<CCommEvent*>(event)->wParam()));
        return true;
    }
    if (type == CommStatusChangedMessage()) {
        OnCommStatusChanged();
        return true;
    }
    return QObject::event(event);
}

CRecordingControl::Start CRecordingControl::StartRecording()
{
    if (IsRecording())
        return Start::AlreadyRunning;
    const bool expert = m_options.expertMode;
    m_doc.ClearIdentification();
    if (m_views)
        m_views->ClearLists();
    m_saveRun = m_options.saveData;
    m_listsFailed = false;
    // Created under temporary names: the files of an earlier recording of the same name are
    // replaced only once the port is open and, in normal mode, the FAT has identified itself.
    if (m_saveRun && !m_doc.CreateTraceFiles())
        return Start::NoTraceFiles;

    if (expert) {
        m_serial.SetComParameter(&m_options.expertParameter);
        // Results ignored: a port without modem lines records all the same.
        m_serial.ClearDTR();
        m_serial.ClearRTS();
        if (!m_monitorOpened) {
            m_monitorOpened = true;
            emit MonitorWanted();
        }
    } else {
        m_serial.SetStandardParameter();
    }
    if (!m_serial.Open(this)) {
        m_doc.Files().Close();
        MessageBox(m_serial.OpenFailure(), QString(), msg::Error);
        return Start::NoPort;
    }
    m_expertRun = expert;
    m_doc.recordingFlag = 1;
    m_ready = true;
    m_panelCode = 0;
    if (!expert) {
        m_identTimer.start();
        RequestIdentification();
    } else {
        m_doc.Files().Publish();
        m_state = Recording;
        unsigned long status = 0;
        m_serial.GetCommModemStatus(&status);
        emit ModemStatusChanged(status);
        QByteArray header;
        const ComParameter& p = m_options.expertParameter;
        m_panelCode =
            m_doc.ComposeExpertHeader(p.baudRate, p.parity, p.dataBits, p.stopBits, header);
        if (m_views)
            m_views->TakePanelCode(m_panelCode);
        ShowText(header);
    }
    SetStatus(QStringLiteral("Analyse Aktiv"));
    emit RecordingChanged(true);
    return Start::Started;
}

void CRecordingControl::RequestIdentification()
{
    m_serial.Close();
    m_serial.SetStandardParameter();
    m_serial.Open(this);
    // A new request gets a whole new identification: what an earlier one left half
    // collected must not shift it.
    m_collecting = false;
    m_collected = 0;
    m_ident.clear();
    m_serial.SendData(&kRequestIdent, 1);
    m_state = AwaitingIdent;
    m_ready = true;
}

void CRecordingControl::OnCommRxChar()
{
    if (m_continuePending)
        return; // a read already waits for the next turn of the event loop
    Receive();
}

void CRecordingControl::Receive()
{
    QElapsedTimer clock;
    clock.start();
    qint64 taken = 0;
    for (;;) {
        if (!IsRecording())
            return;
        const int pending = m_serial.GetDataToRead();
        if (pending <= 0)
            return;
        if (!m_ready)
            return; // the running procedure collects the bytes when it loops back
        if (taken >= kReadBudgetBytes || clock.elapsed() >= kReadBudgetMs) {
            m_continuePending = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_continuePending = false;
                    Receive();
                },
                Qt::QueuedConnection);
            return;
        }
        if (m_state == AwaitingIdent) {
            // Every pending byte is scanned, 32 at a time; the answer may come in pieces.
            const int m = ScanIdentification(pending);
            if (m <= 0)
                return;
            taken += m;
            continue;
        }
        m_ready = false;
        QByteArray chunk(qMin(pending, int(MaxChunk)), '\0');
        const int m = m_serial.ReadData(chunk.data(), int(chunk.size()));
        chunk.resize(qMax(m, 0));
        taken += chunk.size();
        const bool shown = chunk.isEmpty() || RecordChunkAndShow(chunk);
        m_ready = true;
        if (!shown) {
            StopRecording(m_saveRun && m_doc.Files().Lost() ? End::TraceLost : End::Unsupported);
            return;
        }
        if (chunk.isEmpty())
            return;
    }
}

bool CRecordingControl::RecordChunkAndShow(const QByteArray& chunk)
{
    // One stamp for the files and the views, so both tell the same time.
    const QByteArray stamp = m_doc.TimeStamp();
    if (m_saveRun) {
        m_doc.Files().RecordChunk(chunk, stamp);
        // The views read the bytes back from the .ts: without it the recording cannot go on.
        if (m_doc.Files().Lost())
            return false;
    }
    return !m_views || m_views->ShowChunk(chunk, stamp);
}

int CRecordingControl::ScanIdentification(int pending)
{
    // Once more characters came than an identification has, the answer is spoiled: they are
    // read and dropped without restarting timer 1, so a FAT that never stops sending ends
    // the recording with "FAT antwortet nicht".
    if (m_collected <= IdentChars)
        m_identTimer.start();
    char buffer[IdentChars];
    const int m = m_serial.ReadData(buffer, qMin(pending, int(IdentChars)));
    for (int i = 0; i < m; ++i) {
        const char c = buffer[i];
        if (!m_collecting && c >= 'A' && c <= 'Z') {
            m_collecting = true;
            m_collected = 0;
            m_ident.clear();
        }
        if (m_collecting) {
            if (m_collected < IdentChars)
                m_ident.append(c);
            if (m_collected <= IdentChars)
                ++m_collected;
        }
    }
    if (m > 0 && m_collected == IdentChars)
        IdentificationComplete();
    return m;
}

void CRecordingControl::IdentificationComplete()
{
    m_reconnectTimer.stop();
    m_identTimer.stop();
    if (m_saveRun)
        m_doc.Files().Publish();
    QByteArray buffer = m_ident;
    // The unknown-panel message runs a nested event loop: bytes arriving meanwhile wait.
    m_ready = false;
    m_panelCode = m_doc.DecodeIdentification(buffer);
    m_ready = true;
    if (m_panelCode == 0 && m_saveRun) {
        StopRecording(End::Unsupported);
        return;
    }
    if (m_views)
        m_views->TakePanelCode(m_panelCode);
    ShowText(buffer);
    m_state = Recording;
    m_collecting = false;
    m_collected = 0;
    m_ident.clear();
    m_serial.SendData(&kStartSending, 1);
}

void CRecordingControl::OnCommError(int kind)
{
    if (!IsRecording())
        return;
    const QByteArray text = PortErrors::Text(kind);
    if (text.isEmpty()) {
        StopRecording(End::PortError);
        MessageBox(QStringLiteral("Es ist ein Schnittstellenfehler aufgetreten!"), QString(),
                   msg::NoIcon);
        return;
    }
    if (m_saveRun)
        m_doc.Files().RecordChunk(text, m_doc.TimeStamp());
    if (m_saveRun && m_doc.Files().Lost()) {
        StopRecording(End::TraceLost);
        return;
    }
    if (m_views)
        m_views->ShowErrorText(text);
    Receive();
    if (!IsRecording())
        return;
    if (kind == CommBreakError && !m_expertRun)
        m_reconnectTimer.start();
    // The device went away (an unplugged adapter): try it again every 500 ms, in both modes.
    if (kind == CommIoError && !m_serial.IsOpened())
        m_reconnectTimer.start();
}

void CRecordingControl::OnCommStatusChanged()
{
    unsigned long status = 0;
    m_serial.GetCommModemStatus(&status);
    emit ModemStatusChanged(status);
}

void CRecordingControl::OnModemLine(int command)
{
    switch (command) {
    case 0:
        m_serial.SetRTS();
        break;
    case 1:
        m_serial.ClearRTS();
        break;
    case 2:
        m_serial.SetDTR();
        break;
    case 3:
        m_serial.ClearDTR();
        break;
    default:
        break;
    }
}

void CRecordingControl::OnConfiguration()
{
    if (!m_options.expertMode) {
        m_serial.ChangeComPort();
        return;
    }
    m_serial.ChangeComParameter(&m_options.expertParameter);
    emit LineSettingsWanted();
}

void CRecordingControl::OnIdentTimeout()
{
    KillTimers();
    if (m_serial.IsOpened())
        m_serial.Close();
    const bool wasRecording = IsRecording();
    SetStatus(QStringLiteral("Analyse Beendet"));
    m_doc.recordingFlag = 0;
    m_doc.Files().Close();
    if (wasRecording)
        emit RecordingChanged(false);
    MessageBox(QStringLiteral("FAT antwortet nicht"), QString(), msg::NoIcon);
    emit Ended(End::NoAnswer);
}

void CRecordingControl::OnReconnect()
{
    if (!IsRecording()) {
        m_reconnectTimer.stop();
        return;
    }
    if (!m_expertRun) {
        // Every 500 ms until a whole identification came: reopen, "T" again.
        RequestIdentification();
        return;
    }
    // Expert mode has no identification: the port is open again, the recording goes on.
    m_serial.SetComParameter(&m_options.expertParameter);
    if (m_serial.IsOpened() || m_serial.Open(this))
        m_reconnectTimer.stop();
}

void CRecordingControl::KillTimers()
{
    m_identTimer.stop();
    m_reconnectTimer.stop();
}

void CRecordingControl::OnStopRecording()
{
    StopRecording(End::Stopped);
}

void CRecordingControl::StopRecording(End reason)
{
    KillTimers();
    if (!IsRecording())
        return;
    // What the port has received already belongs to the recording.
    while (m_state == Recording && m_ready && m_serial.GetDataToRead() > 0) {
        QByteArray chunk(qMin(m_serial.GetDataToRead(), int(MaxChunk)), '\0');
        chunk.resize(qMax(m_serial.ReadData(chunk.data(), int(chunk.size())), 0));
        if (chunk.isEmpty() || !RecordChunkAndShow(chunk))
            break;
    }
    // Stopped before the FAT identified itself: the earlier recording of the name stays.
    const bool published = m_doc.Files().IsPublished();
    if (m_serial.IsOpened()) {
        m_serial.SendData(&kHalt, 1);
        m_serial.Close();
    }
    QByteArray footer;
    m_doc.ComposeFooter(footer);
    m_doc.recordingFlag = 0;
    m_state = AwaitingIdent;
    m_collecting = false;
    m_collected = 0;
    ShowText(footer);
    SetStatus(QStringLiteral("Analyse Beendet"));
    if (m_saveRun && published && m_views)
        m_listsFailed =
            !m_views->WriteLists(ListFile::WithExtension(m_doc.tracePath, QStringLiteral("tvs")),
                                 ListFile::WithExtension(m_doc.tracePath, QStringLiteral("tvh")));
    emit RecordingChanged(false);
    emit Ended(reason);
}
