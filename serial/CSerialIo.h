#pragma once

#include "ComParameter.h"

// Qt
#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

class CSerial;
class QTimer;

// The device side of CSerial; lives in CSerial's I/O thread and is only called there. It owns
// the QSerialPort, hands every received chunk to CSerial and watches the driver's error
// counters and the modem lines.
class CSerialIo : public QObject
{
    Q_OBJECT

public:
    explicit CSerialIo(CSerial* owner);

    // Opens device with parameter; refused is set when the device declined a parameter.
    bool OpenPort(const QString& device, const ComParameter& parameter, bool* refused);
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
    void Fail();

private:
    struct Counters
    {
        int parity = 0;
        int frame = 0;
        int overrun = 0;
        int brk = 0;
    };

    void OnReadyRead();
    void OnError(QSerialPort::SerialPortError error);
    void Poll();
    bool ReadCounters(Counters* counters);

    CSerial* m_owner;
    QSerialPort* m_port = nullptr;
    QTimer* m_poll = nullptr;
    bool m_configuring = false;
    bool m_failing = false;
    bool m_countersSupported = false;
    Counters m_counters;
    bool m_linesSupported = false;
    unsigned long m_lines = 0;
};
