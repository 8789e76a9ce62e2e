#include "CSerial.h"
#include "CSerialDispatcher.h"
#include "CSerialIo.h"
#include "ComPortSettings.h"
#include "PortOpenError.h"

// Qt
#include <QDeadlineTimer>
#include <QMutexLocker>
#include <QThread>

#include <algorithm>
#include <cstring>

namespace {

// Received bytes kept at most; beyond it the device is not read until the owner caught up.
constexpr int kMaxBuffered = 1 << 20;
// The device is read again once the owner has read the buffer down to this.
constexpr int kResumeBelow = kMaxBuffered / 2;

constexpr unsigned long kDtrBit = 0x1;
constexpr unsigned long kRtsBit = 0x2;

QMutex g_dialogLock;
CSerial::ComPortDialog g_portDialog;
CSerial::ComParameterDialog g_parameterDialog;

} // namespace

CSerial::CSerial() = default;

CSerial::CSerial(const QString& program) : m_program(program) {}

CSerial::CSerial(const CSerial& other)
    : m_comPort(other.m_comPort), m_portName(other.m_portName), m_parameter(other.m_parameter),
      m_program(other.m_program)
{
}

CSerial::~CSerial()
{
    if (m_thread) {
        Close();
        QObject::connect(m_thread, &QThread::finished, m_io, &QObject::deleteLater);
        m_thread->quit();
        m_thread->wait();
        delete m_thread;
    }
    if (m_dispatcher) {
        if (m_dispatcher->thread() == QThread::currentThread())
            delete m_dispatcher;
        else
            m_dispatcher->deleteLater();
    }
}

// port number ---------------------------------------------------------------------------------

int CSerial::SetComPort(int port)
{
    if (port < 1 || port > 4)
        return 0;
    m_comPort = port;
    return 1;
}

int CSerial::ChangeComPort()
{
    ComPortDialog dialog;
    {
        QMutexLocker lock(&g_dialogLock);
        dialog = g_portDialog;
    }
    if (!dialog)
        return 0;
    int port = m_comPort;
    if (!dialog(port, m_program))
        return 0;
    SetComPort(port);
    return 1;
}

QString CSerial::PortName() const
{
    if (!m_portName.isEmpty())
        return m_portName;
    return ComPortSettings::Device(m_program, m_comPort);
}

// opening -------------------------------------------------------------------------------------

void CSerial::EnsureThreads()
{
    if (m_thread)
        return;
    m_dispatcher = new CSerialDispatcher;
    m_dispatcher->SetErrorDeliveredHook([this](qintptr kind) { ErrorDelivered(kind); });
    m_thread = new QThread;
    m_thread->setObjectName(QStringLiteral("CSerial I/O"));
    m_io = new CSerialIo(this);
    m_io->moveToThread(m_thread);
    // The echo exchange of a transfer waits on this thread for every byte.
    m_thread->start(QThread::TimeCriticalPriority);
}

void CSerial::RunOnIo(const std::function<void()>& fn)
{
    if (QThread::currentThread() == m_thread)
        fn();
    else
        QMetaObject::invokeMethod(m_io, fn, Qt::BlockingQueuedConnection);
}

int CSerial::Open(QObject* receiver)
{
    if (!receiver)
        return 0;
    EnsureThreads();
    m_dispatcher->SetTarget(receiver);
    ErrorDelivered(-1); // the new receiver will not get what waited for the old one
    return OpenPort();
}

int CSerial::OpenPort()
{
    if (IsOpened()) {
        // The new receiver learns about bytes that were waiting already.
        if (GetDataToRead() > 0)
            m_dispatcher->PostRxChar();
        return 1;
    }
    {
        QMutexLocker lock(&m_mutex);
        ResetBuffer();
    }
    const QString device = PortName();
    const int port = m_portName.isEmpty() ? m_comPort : 0;
    m_openFailure.clear();
    // Refused before the device layer sees it: a control character (a NUL above all) takes
    // QSerialPort's lock file apart, and a second program then spins on that broken lock.
    if (device.isEmpty() || PortOpenError::HasControlCharacters(device)) {
        m_openFailure = PortOpenError::Message(port, device, PortOpenError::NameReason(device));
        return 0;
    }
    const ComParameter parameter = m_parameter;
    bool opened = false;
    bool refused = false;
    QString reason;
    const unsigned long linesSet = m_controlInjected < 0 ? m_modemControlSet.load() : 0;
    const unsigned long lines = m_modemControl;
    RunOnIo([&] {
        opened = m_io->OpenPort(device, parameter, &refused, &reason);
        // Set here, on the I/O thread, so that an error reported right after the opening
        // cannot be overtaken by it.
        if (opened)
            m_opened = true;
        // DTR and RTS as the owner asked for them while the port was closed.
        if (opened && (linesSet & kDtrBit))
            m_io->SetLine(0, lines & kDtrBit);
        if (opened && (linesSet & kRtsBit))
            m_io->SetLine(1, lines & kRtsBit);
    });
    if (!opened)
        m_openFailure = PortOpenError::Message(port, device, reason);
    if (opened && refused)
        m_dispatcher->Post(CommErrorMessage(), CommModeError);
    return opened ? 1 : 0;
}

int CSerial::Close()
{
    if (!m_io)
        return 0;
    bool wasOpen = false;
    RunOnIo([&] { wasOpen = m_io->ClosePort(); });
    QMutexLocker lock(&m_mutex);
    m_opened = false;
    ResetBuffer();
    m_dataArrived.wakeAll();
    return wasOpen ? 1 : 0;
}

void CSerial::ResetBuffer()
{
    m_buffer.clear();
    m_head = 0;
    m_available = 0;
    m_marks.clear();
    m_consumed = 0;
    m_pullWanted = false;
}

void CSerial::PortFailing()
{
    // Waiting readers (the sender thread) learn at once that no byte will come.
    QMutexLocker lock(&m_mutex);
    m_opened = false;
    m_dataArrived.wakeAll();
}

void CSerial::LineError(int kind, unsigned count)
{
    QMutexLocker lock(&m_mutex);
    m_counters.Add(kind, count);
    m_marks.append({m_consumed + Buffered(), kind, false});
    m_available = Readable();
    PostReachedMark();
}

int CSerial::Readable() const
{
    if (m_marks.isEmpty())
        return Buffered();
    return int(std::min<qint64>(Buffered(), m_marks.first().at - m_consumed));
}

void CSerial::PostReachedMark()
{
    if (m_marks.isEmpty() || m_marks.first().posted || m_marks.first().at != m_consumed)
        return;
    m_marks.first().posted = true;
    m_dispatcher->Post(CommErrorMessage(), m_marks.first().kind);
}

void CSerial::ErrorDelivered(qintptr kind)
{
    QMutexLocker lock(&m_mutex);
    if (m_marks.isEmpty() || !m_marks.first().posted || (kind >= 0 && m_marks.first().kind != kind))
        return;
    m_marks.removeFirst();
    m_available = Readable();
    PostReachedMark();
    // Announced before a waiting reader wakes, as in Received.
    if (m_available > 0)
        m_dispatcher->PostRxChar();
    m_dataArrived.wakeAll();
}

void CSerial::ModemLinesChanged()
{
    if (!m_statusInjected)
        m_dispatcher->Post(CommStatusChangedMessage());
}

void CSerial::ClosedByError()
{
    PortFailing();
    m_dispatcher->Post(CommErrorMessage(), CommIoError);
}

// data ----------------------------------------------------------------------------------------

int CSerial::SendData(const char* data, int n)
{
    if (!data || n <= 0 || !IsOpened())
        return 0;
    const QByteArray bytes(data, n);
    CSerialIo* io = m_io;
    QMetaObject::invokeMethod(
        io, [io, bytes] { io->Write(bytes); }, Qt::QueuedConnection);
    return n;
}

int CSerial::ReadData(char* buffer, int n)
{
    if (!buffer || n < 0)
        return 0;
    QMutexLocker lock(&m_mutex);
    // For n = 0 the caller sized buffer by the count it was told, not by what came since.
    const int limit = n == 0 ? m_reported.exchange(0) : n;
    const int count = std::min(limit, Readable());
    if (count == 0)
        return 0;
    std::memcpy(buffer, m_buffer.constData() + m_head, size_t(count));
    // The read bytes are dropped in one move once they are half the buffer, not by moving
    // the rest after every read: a full buffer read 2048 bytes at a time would otherwise cost
    // its whole size for every read and fall further behind under sustained input.
    m_head += count;
    m_consumed += count;
    if (m_head == m_buffer.size()) {
        m_buffer.resize(0); // keeps its room for the next bytes
        m_head = 0;
    } else if (m_head >= (1 << 16) && 2 * m_head >= m_buffer.size()) {
        m_buffer.remove(0, m_head);
        m_head = 0;
    }
    m_available = Readable();
    PostReachedMark();
    if (m_pullWanted && Buffered() <= kResumeBelow) {
        m_pullWanted = false;
        CSerialIo* io = m_io;
        QMetaObject::invokeMethod(
            io, [io] { io->Pull(); }, Qt::QueuedConnection);
    }
    return count;
}

int CSerial::Room() const
{
    QMutexLocker lock(&m_mutex);
    return kMaxBuffered - Buffered();
}

bool CSerial::Received(const QByteArray& bytes, bool portHoldsMore)
{
    bool readOn = false;
    {
        QMutexLocker lock(&m_mutex);
        m_buffer.append(bytes); // never cut: the device side read no more than Room()
        m_counters.rx += quint64(bytes.size());
        m_available = Readable();
        readOn = portHoldsMore && Buffered() <= kResumeBelow;
        m_pullWanted = portHoldsMore && !readOn;
        // Announced before a waiting reader wakes: a reader that has seen these bytes and
        // lets the pending announcement through is not told about them a second time.
        if (!bytes.isEmpty())
            m_dispatcher->PostRxChar();
        m_dataArrived.wakeAll();
    }
    return readOn;
}

int CSerial::WaitForData(int n, int timeoutMs)
{
    QDeadlineTimer deadline(std::max(timeoutMs, 0));
    QMutexLocker lock(&m_mutex);
    while (Readable() < n && m_opened) {
        if (!m_dataArrived.wait(&m_mutex, deadline))
            break;
    }
    m_reported = Readable();
    return m_reported;
}

// parameters ----------------------------------------------------------------------------------

int CSerial::SetStandardParameter()
{
    const ComParameter standard = ComParameter::Standard();
    return SetComParameter(&standard);
}

int CSerial::GetComParameter(ComParameter* parameter) const
{
    if (!parameter)
        return 0;
    *parameter = m_parameter;
    return 1;
}

int CSerial::SetComParameter(const ComParameter* parameter)
{
    if (!parameter || !parameter->IsValid())
        return 0;
    m_parameter = *parameter;
    if (IsOpened()) {
        bool applied = false;
        const ComParameter copy = m_parameter;
        RunOnIo([&] { applied = m_io->Apply(copy); });
        if (!applied)
            m_dispatcher->Post(CommErrorMessage(), CommModeError);
    }
    return 1;
}

int CSerial::ChangeComParameter(ComParameter* parameter)
{
    if (!parameter)
        return 0;
    ComParameterDialog dialog;
    {
        QMutexLocker lock(&g_dialogLock);
        dialog = g_parameterDialog;
    }
    if (!dialog)
        return 0;
    ComParameter edited = *parameter;
    if (!dialog(edited) || !edited.IsValid())
        return 0;
    *parameter = edited;
    SetComParameter(&edited);
    return 1;
}

// modem lines ---------------------------------------------------------------------------------

int CSerial::ModemControl(unsigned long line, bool on)
{
    bool accepted = false;
    const int injected = m_controlInjected.load();
    if (injected >= 0) {
        accepted = injected == 1;
    } else if (IsOpened()) {
        RunOnIo([&] { accepted = m_io->SetLine(line == kDtrBit ? 0 : 1, on); });
    } else {
        accepted = true; // applied at the next Open
    }
    if (accepted) {
        m_modemControlSet |= line;
        if (on)
            m_modemControl |= line;
        else
            m_modemControl &= ~line;
    }
    return accepted ? 1 : 0;
}

int CSerial::SetDTR()
{
    return ModemControl(kDtrBit, true);
}

int CSerial::ClearDTR()
{
    return ModemControl(kDtrBit, false);
}

int CSerial::SetRTS()
{
    return ModemControl(kRtsBit, true);
}

int CSerial::ClearRTS()
{
    return ModemControl(kRtsBit, false);
}

int CSerial::GetCommModemStatus(unsigned long* status)
{
    if (!status)
        return 0;
    if (m_statusInjected) {
        *status = m_injectedStatus;
        return 1;
    }
    *status = 0;
    if (!IsOpened())
        return 0;
    bool ok = false;
    unsigned long lines = 0;
    RunOnIo([&] { ok = m_io->ReadLines(&lines); });
    *status = ok ? lines : 0;
    return ok ? 1 : 0;
}

// hooks -----------------------------------------------------------------------------------------

void CSerial::SetComPortDialog(ComPortDialog dialog)
{
    QMutexLocker lock(&g_dialogLock);
    g_portDialog = std::move(dialog);
}

void CSerial::SetComParameterDialog(ComParameterDialog dialog)
{
    QMutexLocker lock(&g_dialogLock);
    g_parameterDialog = std::move(dialog);
}

// test hooks ------------------------------------------------------------------------------------

void CSerial::InjectError(int kind)
{
    if (kind < CommParityError || kind > CommIoError || !IsOpened())
        return;
    if (kind == CommIoError)
        RunOnIo([this] { m_io->Fail(); });
    else
        LineError(kind, 1); // at its place in the stream, as the driver's would be
}

LineCounters CSerial::Counters() const
{
    QMutexLocker lock(&m_mutex);
    return m_counters;
}

void CSerial::InjectModemStatus(unsigned long status)
{
    const bool changed = !m_statusInjected || m_injectedStatus != status;
    m_injectedStatus = status;
    m_statusInjected = true;
    if (changed && IsOpened())
        m_dispatcher->Post(CommStatusChangedMessage());
}

void CSerial::InjectModemControl(bool accepted)
{
    m_controlInjected = accepted ? 1 : 0;
}
