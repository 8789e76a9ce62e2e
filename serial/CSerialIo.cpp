#include "CSerialIo.h"
#include "CCommEvent.h"
#include "DriverCounters.h"
#include "PortOpenError.h"

// Qt
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#endif

namespace {

// Period of the error counter and modem line check.
constexpr int kPollMs = 25;
// Longest wait for queued bytes to leave before a close.
constexpr int kDrainMs = 500;
// What the port reads ahead of the owner at most; beyond it the kernel holds the line.
constexpr qint64 kPortReadBuffer = 64 * 1024;

} // namespace

CSerialIo::CSerialIo(ISerialIoOwner* owner) : m_owner(owner) {}

bool CSerialIo::OpenPort(const QString& device, const ComParameter& parameter, bool* refused,
                         QString* reason)
{
    *refused = false;
    if (!m_port) {
        m_port = new QSerialPort(this);
        m_port->setReadBufferSize(kPortReadBuffer);
        connect(m_port, &QSerialPort::readyRead, this, &CSerialIo::OnReadyRead);
        connect(m_port, &QSerialPort::errorOccurred, this, &CSerialIo::OnError);
        m_poll = new QTimer(this);
        m_poll->setInterval(kPollMs);
        connect(m_poll, &QTimer::timeout, this, &CSerialIo::Poll);
    }
    // A port that failed and waits for its queued close is closed here, quietly: the owner
    // opens anew, and the queued close then finds a later session and does nothing.
    if (m_failing) {
        m_poll->stop();
        if (m_port->isOpen())
            m_port->close();
        m_port->clearError();
        m_failing = false;
        ++m_session;
    }
    if (m_port->isOpen())
        return true;
    if (device.isEmpty())
        return false;
    m_failing = false;
    ++m_session;
    m_configuring = true;
    m_port->setPortName(device);
    const bool opened = m_port->open(QIODevice::ReadWrite);
    m_configuring = false;
    if (!opened) {
        if (reason)
            *reason = PortOpenError::Reason(m_port->error(), m_port->errorString());
        m_port->clearError();
        return false;
    }
    *refused = !Apply(parameter);

    m_countersSupported = ReadCounters(&m_counters);
    m_linesSupported = ReadLines(&m_lines);
    if (m_countersSupported || m_linesSupported)
        m_poll->start();
    return true;
}

bool CSerialIo::ClosePort()
{
    if (!m_port || !m_port->isOpen())
        return false;
    m_poll->stop();
    m_failing = false;
    m_port->flush();
    QElapsedTimer drain;
    drain.start();
    while (m_port->bytesToWrite() > 0 && drain.elapsed() < kDrainMs) {
        if (!m_port->waitForBytesWritten(kDrainMs))
            break;
    }
    m_port->close();
    m_port->clearError();
    return true;
}

void CSerialIo::Write(const QByteArray& bytes)
{
    if (!m_port || !m_port->isOpen() || m_failing)
        return;
    m_port->write(bytes);
    // Hand the bytes to the device now rather than on the next turn of the event loop.
    m_port->flush();
}

bool CSerialIo::Apply(const ComParameter& parameter)
{
    if (!m_port || !m_port->isOpen())
        return false;
    static const QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                   QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                   QSerialPort::SpaceParity};
    static const QSerialPort::StopBits stops[] = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop,
                                                  QSerialPort::TwoStop};
    if (!parameter.IsValid())
        return false;
    m_configuring = true;
    bool ok = m_port->setBaudRate(parameter.baudRate);
    ok = m_port->setDataBits(QSerialPort::DataBits(parameter.dataBits)) && ok;
    ok = m_port->setParity(parities[parameter.parity]) && ok;
    ok = m_port->setStopBits(stops[parameter.stopBits]) && ok;
    ok = m_port->setFlowControl(QSerialPort::NoFlowControl) && ok;
    m_port->clearError();
    m_configuring = false;
    return ok;
}

bool CSerialIo::SetLine(int line, bool on)
{
    if (!m_port || !m_port->isOpen())
        return false;
#ifdef Q_OS_UNIX
    int bits = line == 0 ? TIOCM_DTR : TIOCM_RTS;
    return ::ioctl(m_port->handle(), on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
#else
    m_configuring = true;
    const bool ok = line == 0 ? m_port->setDataTerminalReady(on) : m_port->setRequestToSend(on);
    m_port->clearError();
    m_configuring = false;
    return ok;
#endif
}

bool CSerialIo::ReadLines(unsigned long* status)
{
    *status = 0;
    if (!m_port || !m_port->isOpen())
        return false;
#ifdef Q_OS_UNIX
    int bits = 0;
    if (::ioctl(m_port->handle(), TIOCMGET, &bits) != 0)
        return false;
    if (bits & TIOCM_CTS)
        *status |= CommModemCts;
    if (bits & TIOCM_DSR)
        *status |= CommModemDsr;
    if (bits & TIOCM_CAR)
        *status |= CommModemCarrier;
    return true;
#else
    m_configuring = true;
    const QSerialPort::PinoutSignals pins = m_port->pinoutSignals();
    const bool ok = m_port->error() == QSerialPort::NoError;
    m_port->clearError();
    m_configuring = false;
    if (pins & QSerialPort::ClearToSendSignal)
        *status |= CommModemCts;
    if (pins & QSerialPort::DataSetReadySignal)
        *status |= CommModemDsr;
    if (pins & QSerialPort::DataCarrierDetectSignal)
        *status |= CommModemCarrier;
    return ok;
#endif
}

bool CSerialIo::ReadCounters(LineCounters* counters)
{
    return m_port && DriverCounters::Read(qintptr(m_port->handle()), counters);
}

void CSerialIo::CheckCounters()
{
    LineCounters now;
    if (m_countersSupported && ReadCounters(&now)) {
        for (int kind : now.ErrorsSince(m_counters))
            m_owner->LineError(kind, now.Of(kind) - m_counters.Of(kind));
        m_counters = now;
    }
}

void CSerialIo::Poll()
{
    if (!m_port || !m_port->isOpen() || m_failing)
        return;
    Pull();
    unsigned long lines = 0;
    if (m_linesSupported && ReadLines(&lines) && lines != m_lines) {
        m_lines = lines;
        m_owner->ModemLinesChanged();
    }
}

void CSerialIo::OnReadyRead()
{
    Pull();
}

void CSerialIo::Pull()
{
    if (!m_port || !m_port->isOpen() || m_failing)
        return;
    while (m_port->bytesAvailable() > 0) {
        const int room = std::max(m_owner->Room(), 0);
        // Reading from the port lets it read from the device again once its buffer was full.
        const QByteArray bytes = m_port->read(std::min<qint64>(m_port->bytesAvailable(), room));
        const bool more = m_port->bytesAvailable() > 0;
        if (!m_owner->Received(bytes, more) && more)
            return; // the owner calls again when it has room
    }
    // The errors the driver counted up to now sit after every byte handed on.
    CheckCounters();
}

void CSerialIo::OnError(QSerialPort::SerialPortError error)
{
    if (m_configuring || m_failing)
        return;
    switch (error) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
    case QSerialPort::UnknownError:
        // The port keeps signalling this in a flood; close it once, outside of its own signal.
        m_failing = true;
        m_owner->PortFailing();
        QMetaObject::invokeMethod(
            this, [this, session = m_session] { FailSession(session); }, Qt::QueuedConnection);
        break;
    default:
        break;
    }
}

void CSerialIo::FailSession(int session)
{
    if (session != m_session)
        return;
    const bool wasOpen = m_port && m_port->isOpen();
    if (!wasOpen && !m_failing)
        return;
    if (m_poll)
        m_poll->stop();
    if (wasOpen) {
        // What the port read before it failed is still the FAT's; it reaches the owner
        // before the error does.
        const QByteArray rest = m_port->readAll();
        if (!rest.isEmpty())
            m_owner->Received(rest, false);
        m_port->close();
    }
    m_port->clearError();
    m_failing = false;
    m_owner->ClosedByError();
}
