#pragma once

#include "ComParameter.h"
#include "LineCounters.h"

// Qt
#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

class QTimer;

// What the device side tells its owner, on the I/O thread. CSerial implements it; the device
// side knows nothing else of it.
class ISerialIoOwner
{
public:
    virtual ~ISerialIoOwner() = default;
    // How many bytes the owner takes now; the device side reads no more than that.
    virtual int Room() const = 0;
    // Received bytes, all of them kept; portHoldsMore: bytes wait that did not fit. Returns
    // true when room has come meanwhile, so the device side reads on at once; otherwise the
    // owner calls Pull() once its reader has made room.
    virtual bool Received(const QByteArray& bytes, bool portHoldsMore) = 0;
    // A read or write error: the port is going to close; no more bytes go out.
    virtual void PortFailing() = 0;
    // The failing port is closed now; reported once.
    virtual void ClosedByError() = 0;
    // The driver's error counter of kind (CommErrorKind 0..3) moved by count.
    virtual void LineError(int kind, unsigned count) = 0;
    virtual void ModemLinesChanged() = 0;
};

// The device side of CSerial; lives in CSerial's I/O thread and is only called there. It owns
// the QSerialPort, hands every received chunk to its owner and watches the driver's error
// counters and the modem lines.
//
// Backpressure: it reads only as much as the owner has room for. The rest stays in the
// QSerialPort, whose read buffer is limited; once that is full the port stops reading from the
// device, so the kernel holds the line (and a real UART's driver counts its overruns) instead
// of a buffer here dropping bytes.
class CSerialIo : public QObject
{
    Q_OBJECT

public:
    explicit CSerialIo(ISerialIoOwner* owner);

    // Opens device with parameter; refused is set when the device declined a parameter,
    // reason (when not null) to why it did not open.
    bool OpenPort(const QString& device, const ComParameter& parameter, bool* refused,
                  QString* reason = nullptr);
    // Writes what is still queued, then closes. Returns true if the port was open.
    bool ClosePort();
    void Write(const QByteArray& bytes);
    // Applies parameter to the open port; false when the device declined a part of it.
    bool Apply(const ComParameter& parameter);
    // line: 0 DTR, 1 RTS.
    bool SetLine(int line, bool on);
    // CTS, DSR and carrier as CommModemBits; false when the device has no such lines.
    bool ReadLines(unsigned long* status);
    // Closes the port after an I/O error and reports it once.
    void Fail() { FailSession(m_session); }
    // Hands the owner what the port holds, as far as the owner has room.
    void Pull();

private:
    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void Poll();
    // Reports the error counters that moved since the last check.
    void CheckCounters();
    bool ReadCounters(LineCounters* counters);
    // Fails only the opening it was meant for, not a later one.
    void FailSession(int session);

    ISerialIoOwner* m_owner;
    QSerialPort* m_port = nullptr;
    QTimer* m_poll = nullptr;
    bool m_configuring = false;
    bool m_failing = false;
    bool m_countersSupported = false;
    LineCounters m_counters;
    int m_session = 0; // counts the openings
    bool m_linesSupported = false;
    unsigned long m_lines = 0;
};
