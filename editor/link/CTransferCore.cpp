#include "CTransferCore.h"

#include "CListCtrl.h"
#include "CMessages.h"
#include "CQuillmarkDoc.h"
#include "CRecordList.h"
#include "CSerial.h"
#include "ProjectData.h"
#include "ProjectRules.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimerEvent>

#include <cstring>

namespace {

const unsigned char kWriteTexts = 0x06;
const unsigned char kWriteLz = 0x07;
const unsigned char kReady = 0x06;
const unsigned char kEnd = 0x04;
const unsigned char kVerdictAccepted = 0x04;
const int kIdentLength = 32;
const int kHeaderLength = 6;
const int kMaxRecord = 60;
const int kLzEntries = 255;
const int kLzTable = 256;
// The count 0xFFFF on the wire means "no texts", so at most one less goes out.
const int kMaxWireRecords = 0xFFFE;

const char* const kHinweis = "Hinweis";
const char* const kSuccessRead = "Die Datenübertragung wurde erfolgreich beendet";
const char* const kSuccessWrite = "Die Datenübertragung wurde erfolgreich beendet.";
const char* const kNoAnswer = "FAT antwortet nicht.";
const char* const kWrongFat = "Falsches FAT";
const char* const kSendAgain = "Es ist ein Fehler aufgetreten. Texte bitte nochmal senden.";
const char* const kNotProgrammable = "Das FAT läßt sich nicht mehr Programmieren.";
const char* const kFatEmpty = "Im FAT befinden sich noch keine Texte";
const char* const kLzRejected = "Die LZ-Codierung wurde falsch empfangen.";
const char* const kConnectionLost = "Die Verbindung zum FAT wurde unterbrochen.";

unsigned char Sum(const QByteArray& bytes)
{
    unsigned sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return static_cast<unsigned char>(sum);
}

// Wire length of a received record by its type, from the identification's layout values.
int RecordLengthOf(char tag, const ProjectData& d)
{
    switch (tag) {
    case 'S':
        return d.displayChars - 1;
    case 'P':
        return d.groupDigits + d.displayChars - 1;
    case 'F':
        return d.groupDigits + d.detectorDigits + d.displayChars + 1;
    default:
        return -1;
    }
}

char TagOfType(unsigned char type)
{
    switch (type >> 4) {
    case 0x8:
        return 'S';
    case 0x4:
        return 'P';
    case 0x2:
        return 'F';
    default:
        return 0;
    }
}

// Takes the next field of a received record, never beyond its end.
QByteArray Cut(const QByteArray& record, int& pos, int length)
{
    length = qMax(0, length);
    const QByteArray field = pos < record.size() ? record.mid(pos, length) : QByteArray();
    pos += length;
    return field;
}

QByteArray Padded(const QByteArray& text, int length)
{
    return text.size() >= length ? text : text + QByteArray(length - text.size(), ' ');
}

} // namespace

CTransferCore::CTransferCore(QObject* parent) : QObject(parent)
{
    // The serial component finds its receiver by this name when no window carries it.
    setObjectName(QString::fromLatin1(Caption()));
    CSerial::AnnounceReceiver(this);
}

CTransferCore::~CTransferCore()
{
    StopSender();
    KillTimer();
}

int CTransferCore::StartTransfer(int mode, CListCtrl* list, CQuillmarkDoc* document,
                                 CSerial* serial)
{
    m_mode = mode;
    m_list = list;
    m_document = document;
    m_serial = serial;
    m_data = document ? &document->Data() : nullptr;
    m_byteIndex = 0;
    m_state = (mode == SendTexts || mode == SendLzCoding) ? CheckIdent : AwaitIdent;
    m_ended = false;
    m_succeeded = false;
    if (!m_serial || !m_data || !m_list)
        return 0;
    return m_serial->Open(Caption());
}

void CTransferCore::Begin()
{
    if (m_mode == SendTexts && !FormatAllRecords()) {
        // The records are formatted before anything goes out, on this thread, from the rows
        // as they stand, so that the sender thread never touches the list and a row that
        // cannot be sent leaves the FAT untouched. The end comes once the caller's loop runs.
        QMetaObject::invokeMethod(
            this, [this] { EndTransfer(); }, Qt::QueuedConnection);
        return;
    }
    SetStatus(QStringLiteral("FAT wird vorbereitet"));
    RestartTimer(m_timeouts.silenceMs);
    SendByte('T');
}

// ---------------------------------------------------------------------------------------
// timer, progress, status

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

void CTransferCore::SendEchoed(const QByteArray& bytes)
{
    m_buffer = bytes;
    m_byteIndex = 0;
    SendByte(static_cast<unsigned char>(m_buffer.at(0)));
}

bool CTransferCore::EchoArrived(int waiting)
{
    if (waiting != 1)
        return false;
    if (Read(1).at(0) != m_buffer.at(m_byteIndex))
        return false; // left to the time-out
    if (++m_byteIndex < m_buffer.size()) {
        SendByte(static_cast<unsigned char>(m_buffer.at(m_byteIndex)));
        return false;
    }
    m_byteIndex = 0;
    return true;
}

void CTransferCore::SendByte(unsigned char byte)
{
    Send(QByteArray(1, char(byte)));
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
    if (m_ended || m_mode == LineError || !m_serial || !m_serial->IsOpened())
        return 1;
    const int waiting = m_serial->GetDataToRead();
    if (waiting == 0)
        return 1;
    RestartTimer(m_state == AwaitLzVerdict ? m_timeouts.verdictMs : m_timeouts.silenceMs);
    switch (m_mode) {
    case ReadTexts:
        ReceiveReadTexts(waiting);
        break;
    case SendTexts:
        ReceiveSendTexts(waiting);
        break;
    case SendLzCoding:
        ReceiveSendLz(waiting);
        break;
    case ReadLzCoding:
        ReceiveReadLz(waiting);
        break;
    default:
        break;
    }
    return 1;
}

int CTransferCore::OnCommError(int kind)
{
    if (m_ended)
        return 1;
    StopSender();
    if (kind == CommIoError) {
        // The device failed or is gone: nothing more can be exchanged, so the transfer ends
        // with a message instead of waiting for a user who may not be there.
        KillTimer();
        if (m_serial && m_serial->IsOpened())
            m_serial->Close();
        ShowMessage(QString::fromUtf8(kConnectionLost), true, false);
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
    StopSender();
    EndTransfer();
}

void CTransferCore::timerEvent(QTimerEvent* e)
{
    OnTimer(e->timerId());
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

    const int state = m_state;
    const char* text = nullptr;
    bool errorIcon = false;
    bool success = false;
    switch (m_mode) {
    case ReadTexts:
        text = state == ReadComplete ? kSuccessRead : state == FatEmpty ? kFatEmpty : kNoAnswer;
        success = state == ReadComplete;
        break;
    case SendTexts:
    case SendLzCoding: {
        const bool texts = m_mode == SendTexts;
        if (state == AwaitReady) {
            RestartTimer(m_timeouts.silenceMs); // the FAT may still become ready
            return;
        }
        if (state == WrongFat) {
            text = kWrongFat;
        } else if (state == (texts ? AwaitCountEcho : AwaitDataEcho)) {
            text = kSendAgain;
        } else if (state == (texts ? SendComplete : LzSendComplete)) {
            text = kSuccessWrite;
            success = true;
        } else if (state == EchoMismatch) {
            text = kNotProgrammable;
            errorIcon = true;
        } else {
            text = kNoAnswer;
        }
        break;
    }
    case ReadLzCoding:
        text = state == LzReadComplete   ? kSuccessRead
               : state == LzReadRejected ? kLzRejected
                                         : kNoAnswer;
        success = state == LzReadComplete;
        break;
    case LineError:
    default:
        return;
    }
    AbortLink();
    ShowMessage(QString::fromUtf8(text), errorIcon, success);
    EndTransfer();
}

void CTransferCore::ShowMessage(const QString& text, bool errorIcon, bool success)
{
    m_succeeded = success;
    MessageBox(text, QString::fromLatin1(kHinweis), errorIcon ? msg::Error : msg::NoIcon, msg::Ok);
}

void CTransferCore::EndTransfer()
{
    if (m_ended)
        return;
    StopSender();
    KillTimer();
    if (m_serial && m_serial->IsOpened())
        m_serial->Close();
    m_ended = true;
    emit ended();
}

void CTransferCore::AbortLink()
{
    if (m_serial && m_serial->IsOpened()) {
        SendByte(kEnd);
        m_serial->Close();
    }
}

// ---------------------------------------------------------------------------------------
// reading the texts

void CTransferCore::ReceiveReadTexts(int waiting)
{
    switch (m_state) {
    case AwaitIdent:
        if (waiting != kIdentLength)
            return;
        StoreIdentification(Read(kIdentLength));
        m_state = AwaitHeader;
        SendByte('L');
        break;
    case AwaitHeader: {
        if (waiting != kHeaderLength)
            return;
        const QByteArray h = Read(kHeaderLength);
        const auto byte = [&h](int i) { return static_cast<unsigned char>(h.at(i)); };
        if (byte(0) == 0xFF && byte(1) == 0xFF) {
            m_state = FatEmpty;
            return;
        }
        m_recordCount = byte(0) * 256 + byte(1);
        const qint32 offset = qint32(quint32(byte(2)) << 24 | quint32(byte(3)) << 16 |
                                     quint32(byte(4)) << 8 | quint32(byte(5)));
        const QByteArray text = QByteArray::number(offset);
        std::memset(m_data->groupOffset, 0, sizeof m_data->groupOffset);
        std::memcpy(m_data->groupOffset, text.constData(),
                    size_t(qMin(int(text.size()), int(sizeof m_data->groupOffset) - 1)));
        if (m_recordCount == 0) {
            m_state = FatEmpty;
            OnTimer(m_timerId);
            return;
        }
        m_state = AwaitRecord;
        SetStatus(QStringLiteral("Daten werden empfangen"));
        SetProgressRange(0, m_recordCount);
        SendByte(Sum(h));
        break;
    }
    case AwaitRecord:
        AcceptRecord(waiting);
        break;
    default:
        break;
    }
}

void CTransferCore::StoreIdentification(const QByteArray& id)
{
    ProjectData& d = *m_data;
    const auto byte = [&id](int i) { return static_cast<unsigned char>(id.at(i)); };
    d.displayChars = byte(16);
    d.maxRecords = byte(17) * 256 + byte(18);
    std::memset(d.projectPath, 0, sizeof d.projectPath);
    char letters[5] = {id.at(0), id.at(1), id.at(2), id.at(3), 0};
    int type = d.panelType;
    int variant = d.panelVariant;
    if (ProjectRules::DecodePanelIdFat(letters, type, variant)) {
        d.panelType = type;
        d.panelVariant = variant;
    }
    d.detectorDigits = byte(19);
    d.groupDigits = byte(20);
    d.pseudoGroupDigits = 5;
    d.text2Length = d.displayChars / 2;
    // Positions 0 to 15 as text: up to the first NUL, always terminated within the field.
    std::memset(d.panelId, 0, sizeof d.panelId);
    const int idLength = int(qstrnlen(id.constData(), 16));
    std::memcpy(d.panelId, id.constData(), size_t(idLength));
}

void CTransferCore::AcceptRecord(int waiting)
{
    // A record on a real line arrives byte by byte over several notifications, so its bytes
    // are collected until the length its type announces is reached.
    const bool first = m_pending.isEmpty();
    m_pending += Read(qMin(waiting, kMaxRecord + 1 - int(m_pending.size())));
    const QByteArray& record = m_pending;
    const int n = int(record.size());
    if (n == 0)
        return;
    ProjectData& d = *m_data;
    const char tag = TagOfType(static_cast<unsigned char>(record.at(0)));
    if (first && m_progressPos == 0 && tag) {
        d.textFormat = tag == 'S' ? FormatStandard : tag == 'P' ? FormatPseudo : FormatTwoLines;
        m_list->DeleteAllColumns();
        m_document->SetupListColumns();
    }
    const int expected = tag ? RecordLengthOf(tag, d) : -1;
    if (expected <= 0 || expected > kMaxRecord || n > expected) {
        // Not acknowledged: the FAT falls silent and the time-out ends the reading.
        m_pending.clear();
        return;
    }
    if (n < expected)
        return;

    --m_recordCount;
    StepProgress();
    int pos = 1;
    MessageRecord rec;
    rec.formatTag = QByteArray(1, tag);
    rec.group = Cut(record, pos, d.groupDigits);
    rec.detector = Cut(record, pos, d.detectorDigits);
    if (tag == 'P')
        rec.pseudoGroup = Cut(record, pos, d.pseudoGroupDigits);
    const int line = d.displayChars / 2;
    const int text1 = tag == 'S'   ? line - d.groupDigits - d.detectorDigits - 2
                      : tag == 'P' ? line - d.pseudoGroupDigits - d.detectorDigits - 2
                                   : line;
    rec.text1 = Cut(record, pos, text1);
    rec.text2 = Cut(record, pos, line);
    m_document->Records().SetListCtrl(m_list);
    m_document->Records().SetSettings(m_data);
    m_document->Records().AddRecordAt(rec, m_list->GetItemCount(), false);
    if (m_recordCount == 0)
        m_state = ReadComplete;
    const unsigned char ack = Sum(record);
    m_pending.clear();
    SendByte(ack);
}

// ---------------------------------------------------------------------------------------
// writing the texts

bool CTransferCore::CheckIdentification()
{
    const QByteArray id = Read(kIdentLength);
    for (int i = 0; i < 4; ++i) {
        if (i == 3 && m_data->panelType == PanelType::EffEff)
            continue;
        if (id.at(i) != m_data->panelId[i])
            return false;
    }
    return true;
}

bool CTransferCore::WriteAccepted(int waiting, unsigned char command)
{
    if (m_state == CheckIdent) {
        if (waiting != kIdentLength)
            return false;
        if (!CheckIdentification()) {
            m_state = WrongFat;
            return false;
        }
        m_state = AwaitReady;
        SendByte(command);
        return false;
    }
    if (waiting != 1)
        return false;
    if (static_cast<unsigned char>(Read(1).at(0)) != kReady) {
        SendByte(command); // not ready yet: ask again
        return false;
    }
    return true;
}

void CTransferCore::ReceiveSendTexts(int waiting)
{
    switch (m_state) {
    case CheckIdent:
    case AwaitReady: {
        if (!WriteAccepted(waiting, kWriteTexts))
            return;
        const int count = int(m_wireRecords.size());
        const char countBytes[] = {char(count >> 8), char(count & 0xFF)};
        SendEchoed(QByteArray(countBytes, 2));
        m_state = AwaitCountEcho;
        break;
    }
    case AwaitCountEcho: {
        if (!EchoArrived(waiting))
            return;
        m_recordsDone = 0;
        const long long value = CRecordList::DecimalValue(QByteArray(
            m_data->groupOffset, int(qstrnlen(m_data->groupOffset, sizeof m_data->groupOffset))));
        const quint32 offset =
            quint32(qint32(qBound<long long>(-2147483648LL, value, 2147483647LL)));
        const char offsetBytes[] = {char(offset >> 24), char(offset >> 16), char(offset >> 8),
                                    char(offset)};
        SendEchoed(QByteArray(offsetBytes, 4));
        m_state = AwaitOffsetEcho;
        break;
    }
    case AwaitOffsetEcho: {
        if (!EchoArrived(waiting))
            return;
        m_recordLength = 0;
        m_recordCount = int(m_wireRecords.size());
        m_recordsDone = 0;
        if (m_recordCount == 0) {
            m_state = SendComplete;
            return;
        }
        SetStatus(QStringLiteral("Daten werden gesendet"));
        SetProgressRange(0, m_recordCount);
        m_state = SenderRunning;
        StartSender();
        break;
    }
    default:
        break; // SenderRunning: the thread reads the echoes itself
    }
}

bool CTransferCore::FormatRecord()
{
    const int row = m_recordsDone;
    const QByteArray tag = m_list->GetItemText(row, Column::Tag);
    unsigned char type = 0;
    if (tag == "F")
        type = 0x28;
    else if (tag == "P")
        type = 0x48;
    else if (tag == "S")
        type = 0x88;
    else {
        MessageBox(QStringLiteral("nicht unterstütztes Textformat"), QString(), msg::Warning);
        return false;
    }
    m_buffer = QByteArray(1, char(type));
    m_buffer += m_list->GetItemText(row, Column::Group);
    m_buffer += m_list->GetItemText(row, Column::Detector);
    m_buffer += m_list->GetItemText(row, Column::PseudoGroup);
    m_buffer += Padded(m_list->GetItemText(row, Column::Text1), m_data->text1Length);
    m_buffer += Padded(m_list->GetItemText(row, Column::Text2), m_data->text2Length);
    m_recordLength = int(m_buffer.size());
    return true;
}

bool CTransferCore::FormatAllRecords()
{
    m_wireRecords.clear();
    const int rows = m_list->GetItemCount();
    if (rows > kMaxWireRecords) {
        // The count would not fit the header: send nothing rather than a part.
        MessageBox(QStringLiteral("Es können nicht mehr als %1 Texte gesendet werden.")
                       .arg(kMaxWireRecords),
                   QString(), msg::Warning);
        return false;
    }
    for (m_recordsDone = 0; m_recordsDone < rows; ++m_recordsDone) {
        if (!FormatRecord()) {
            m_wireRecords.clear();
            return false;
        }
        m_wireRecords.append(m_buffer);
    }
    m_recordsDone = 0;
    return true;
}

// ---------------------------------------------------------------------------------------
// the sender thread

bool CTransferCore::SenderActive() const
{
    return m_sender && m_sender->isRunning();
}

void CTransferCore::StartSender()
{
    m_stopSender = false;
    m_sentRecords = 0;
    m_sender = QThread::create([this] { SenderThread(); });
    m_sender->start(QThread::TimeCriticalPriority);
}

void CTransferCore::StopSender()
{
    if (!m_sender)
        return;
    m_stopSender = true;
    m_sender->wait();
    delete m_sender;
    m_sender = nullptr;
}

bool CTransferCore::WaitForEcho(char& echo)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_serial->ReadData(&echo, 1) == 1)
            return true;
        const qint64 left = m_timeouts.echoWaitMs - clock.elapsed();
        if (m_stopSender || !m_serial->IsOpened() || left <= 0)
            return false;
        // Short slices, so that a stop request is seen quickly.
        m_serial->WaitForData(1, int(qMin<qint64>(left, 20)));
    }
}

void CTransferCore::SenderThread()
{
    // Reports go to the window's thread by queued calls; nothing here touches the list,
    // the progress bar or the timer directly.
    const int count = int(m_wireRecords.size());
    for (int r = 0; r < count; ++r) {
        QMetaObject::invokeMethod(this, "OnSenderRestartTimer", Qt::QueuedConnection);
        const QByteArray& record = m_wireRecords.at(r);
        for (int i = 0; i < record.size(); ++i) {
            if (m_stopSender)
                return;
            m_serial->SendData(record.constData() + i, 1);
            char echo = 0;
            if (!WaitForEcho(echo)) {
                // No echo at all: the FAT does not answer; the state stays as it is and the
                // time-out reports it.
                QMetaObject::invokeMethod(this, "OnSenderFinished", Qt::QueuedConnection);
                return;
            }
            if (echo != record.at(i)) {
                m_state = EchoMismatch;
                QMetaObject::invokeMethod(this, "OnSenderFinished", Qt::QueuedConnection);
                return;
            }
        }
        ++m_sentRecords;
        QMetaObject::invokeMethod(this, "OnSenderProgress", Qt::QueuedConnection);
    }
    m_state = SendComplete;
    QMetaObject::invokeMethod(this, "OnSenderFinished", Qt::QueuedConnection);
}

void CTransferCore::OnSenderRestartTimer()
{
    if (!m_ended && m_mode == SendTexts)
        RestartTimer(m_timeouts.silenceMs);
}

void CTransferCore::OnSenderProgress()
{
    if (m_ended)
        return;
    m_recordsDone = m_sentRecords;
    StepProgress();
}

void CTransferCore::OnSenderFinished()
{
    if (m_sender) {
        m_sender->wait();
        delete m_sender;
        m_sender = nullptr;
    }
    if (m_ended || m_mode != SendTexts)
        return;
    m_recordsDone = m_sentRecords;
    if (m_state == SendComplete)
        m_recordCount = 0;
    RestartTimer(m_timeouts.silenceMs);
}

// ---------------------------------------------------------------------------------------
// the LZ coding

void CTransferCore::ReceiveSendLz(int waiting)
{
    switch (m_state) {
    case CheckIdent:
    case AwaitReady:
        if (!WriteAccepted(waiting, kWriteLz))
            return;
        SetStatus(QStringLiteral("Daten werden gesendet"));
        SetProgressRange(0, kLzEntries);
        m_byteIndex = 0;
        SendByte(static_cast<unsigned char>(m_data->lzAssignment[0]));
        m_state = AwaitDataEcho;
        break;
    case AwaitDataEcho: {
        const char echo = Read(1).at(0);
        if (echo != m_data->lzAssignment[m_byteIndex]) {
            m_state = EchoMismatch;
            return;
        }
        if (++m_byteIndex == kLzEntries) {
            SendByte(0x00);
            m_state = LzSendComplete;
            return;
        }
        StepProgress();
        SendByte(static_cast<unsigned char>(m_data->lzAssignment[m_byteIndex]));
        break;
    }
    default:
        break;
    }
}

void CTransferCore::ReceiveReadLz(int waiting)
{
    switch (m_state) {
    case AwaitIdent:
        if (waiting != kIdentLength)
            return;
        SetStatus(QStringLiteral("Daten werden empfangen"));
        SetProgressRange(0, kLzTable);
        Read(kIdentLength);
        m_state = AwaitLzData;
        SendByte('C');
        break;
    case AwaitLzData: {
        SetProgressPos(waiting);
        if (waiting != kLzTable)
            return;
        const QByteArray table = Read(kLzTable);
        unsigned char sum = 0;
        if (table.at(kLzEntries) == 0) {
            std::memcpy(m_data->lzAssignment, table.constData(), kLzEntries);
            sum = Sum(table.left(kLzEntries));
        }
        SendByte(sum);
        m_state = AwaitLzVerdict;
        break;
    }
    case AwaitLzVerdict:
        m_state = static_cast<unsigned char>(Read(1).at(0)) == kVerdictAccepted ? LzReadComplete
                                                                                : LzReadRejected;
        break;
    default:
        break;
    }
}
