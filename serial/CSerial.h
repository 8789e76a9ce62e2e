#pragma once

#include "CCommEvent.h"
#include "CSerialIo.h"
#include "ComParameter.h"

// Qt
#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <functional>

class QObject;
class QThread;
class CSerialDispatcher;

// The serial port of both programs: one object per owning view, held by value.
//
// How it runs: the device is a QSerialPort (its lock file, line set-up and error reports) that
// lives in an I/O thread of its own, because a QSerialPort serves only the thread it lives in
// and the owner's thread may be busy for long stretches (message boxes, a transfer waiting for
// its sender thread). Bytes are received, counted and announced whether or not the owner's
// thread is idle. Received bytes go into a locked buffer of limited size; while it is full the
// I/O thread reads nothing more from the device (CSerialIo.h), so no received byte is ever
// dropped: a reader that falls behind holds the line. SendData, ReadData, GetDataToRead,
// WaitForData, IsOpened and Close may be called from any thread (the sender thread of a
// transfer writes and reads while the window thread waits). Open and the parameter and
// modem-line calls belong to the owner's thread.
//
// Messages: the three registered messages of CCommEvent.h (CCommEvent, handled in event() or
// customEvent()) go to the object that opened the port (Open(receiver)), on the application's
// main thread; a receiver living in another thread gets them posted to its own event loop.
// Messages still on their way when the receiver is destroyed or another Open names a new one
// are dropped.
//  - "CommRxCharByQK081199": bytes wait. At most one is pending at a time; it is re-armed just
//    before it is delivered, so bytes arriving during or after the handler announce themselves
//    again. The handler asks GetDataToRead; bytes it leaves waiting are not announced again
//    until more arrive.
//  - "CommErrorByQK081199", wParam = CommErrorKind. Kinds 0..3 come from the serial driver's
//    error counters where the device has them. Such an error keeps its place in the byte
//    stream: it is posted once the reader has read the bytes received before it, and the bytes
//    received after it wait (GetDataToRead does not count them) until it has been delivered; 4 when
//    the device refuses the line parameters; 5 on a read/write error or an unplugged device: the
//    port is then closed (IsOpened() == 0) and the error is reported once. Bytes received before
//    stay readable.
//  - "CommStatusChangedByQK140200": CTS, DSR or carrier changed (the lines are polled).
//
// Port number and device: the port number is 1..4 (COM1..COM4). Open uses the device set with
// SetPortName when there is one, otherwise the device that the settings of the owning program
// map the port number to (ComPortSettings.h; default /dev/ttyS0../dev/ttyS3 on Linux).
class CSerial : private ISerialIoOwner
{
public:
    // program names whose settings hold the port number's device mapping (ComPortSettings.h);
    // each program passes its own. Without one, SetProgram must be called before Open uses
    // the mapping.
    CSerial();
    explicit CSerial(const QString& program);
    // Copies the configuration (port number, device, parameters, program); never an open port.
    CSerial(const CSerial& other);
    ~CSerial() override;

    CSerial& operator=(const CSerial& other)
    {
        if (this != &other) {
            m_comPort = other.m_comPort;
            m_portName = other.m_portName;
            m_parameter = other.m_parameter;
            m_program = other.m_program;
        }
        return *this;
    }

    // port number -----------------------------------------------------------------------------
    // 1..4; other values are refused (returns 0) and leave the number unchanged. An open port
    // keeps its device until it is opened again.
    int SetComPort(int port);
    int GetComPort() const { return m_comPort; }
    // Lets the user choose the port number and the devices behind COM1..COM4 (through the
    // installed dialog hook). Returns non-zero when the user confirmed; 0 without a hook.
    int ChangeComPort();

    // Device used by Open instead of the port number's mapping; empty returns to the mapping.
    void SetPortName(const QString& device) { m_portName = device; }
    // The device Open will use now.
    QString PortName() const;

    // Name of the program whose settings hold the device mapping.
    void SetProgram(const QString& program) { m_program = program; }
    QString Program() const { return m_program; }

    // opening ---------------------------------------------------------------------------------
    // Opens the port; its messages go to receiver (a window or a headless object). Non-zero =
    // open. Opening an open port keeps it open and only names the new receiver.
    int Open(QObject* receiver);
    // Sends what is still queued, then closes. Returns non-zero if the port was open.
    int Close();
    int IsOpened() const { return m_opened.load() ? 1 : 0; }
    // Why the last Open failed, naming the port and its device: "COM1 (/dev/ttyUSB0) konnte
    // nicht geöffnet werden: Datei oder Verzeichnis nicht gefunden". Empty after a success.
    QString OpenFailure() const { return m_openFailure; }

    // data ------------------------------------------------------------------------------------
    // Queues n bytes for sending, in call order from any thread. Returns n, or 0 if closed.
    int SendData(const char* data, int n);
    // Moves up to n waiting bytes into buffer and returns how many; n = 0 moves all of them
    // that the last GetDataToRead() or WaitForData() reported (buffer must hold that many;
    // bytes that arrived since stay for the next read). 0 = none waiting.
    int ReadData(char* buffer, int n);
    // Count of received bytes waiting.
    int GetDataToRead() const
    {
        const int count = m_available.load();
        m_reported = count;
        return count;
    }
    // Blocks until at least n bytes wait, the port is closed, or timeoutMs ran out; returns the
    // count waiting then. For worker threads; never call it on the receiver's thread while you
    // need its messages.
    int WaitForData(int n, int timeoutMs);

    // parameters ------------------------------------------------------------------------------
    // 9600 baud, 8 data bits, no parity, 1 stop bit; applied at once when open.
    int SetStandardParameter();
    int GetComParameter(ComParameter* parameter) const;
    // Takes the parameters if valid (returns 0 otherwise); applied at once when open. A device
    // that refuses them reports "CommErrorByQK081199" with CommModeError.
    int SetComParameter(const ComParameter* parameter);
    // Lets the user edit *parameter (through the installed dialog hook); on OK *parameter and
    // the component's parameters are changed. Returns non-zero on OK; 0 without a hook.
    int ChangeComParameter(ComParameter* parameter);

    // modem lines -----------------------------------------------------------------------------
    // Non-zero when the device took the change (pseudo-terminals refuse it; see the test hooks).
    // On a closed port the wish is kept and applied when the port opens (result non-zero).
    int SetDTR();
    int ClearDTR();
    int SetRTS();
    int ClearRTS();
    // Bits CommModemCts 0x10, CommModemDsr 0x20, CommModemCarrier 0x80. Returns 0 when the
    // port is closed or the lines cannot be read (status then 0).
    int GetCommModemStatus(unsigned long* status);

    // counters --------------------------------------------------------------------------------
    // Bytes received and the driver's error counts over every opening of this object, for
    // the line's health; any thread. The counts stay 0 where the driver keeps none.
    LineCounters Counters() const;
    // hooks -------------------------------------------------------------------------------------
    // The port dialog: edits port (1..4) and may change the device mapping of program. True = OK.
    using ComPortDialog = std::function<bool(int& port, const QString& program)>;
    // The parameter dialog: edits parameter. True = OK.
    using ComParameterDialog = std::function<bool(ComParameter& parameter)>;

    static void SetComPortDialog(ComPortDialog dialog);
    static void SetComParameterDialog(ComParameterDialog dialog);

    // test hooks: a pseudo-terminal has no modem lines, parity or break ----------------------
    // Reports kind as the line would (kinds 0..5; 5 also closes the port as a real I/O error);
    // kinds 0..3 count as one error of the driver.
    void InjectError(int kind);
    // From now on the lines read as status instead of the device's; a change is reported.
    void InjectModemStatus(unsigned long status);
    // From now on Set/ClearDTR/RTS return accepted instead of asking the device.
    void InjectModemControl(bool accepted);
    // DTR and RTS as last set successfully (bit 0 DTR, bit 1 RTS).
    unsigned long ModemControlState() const { return m_modemControl.load(); }

private:
    int OpenPort();
    void EnsureThreads();
    int ModemControl(unsigned long line, bool on);
    // Runs fn on the I/O thread and waits for it.
    void RunOnIo(const std::function<void()>& fn);
    // what the device side reports, on the I/O thread
    int Room() const override;
    bool Received(const QByteArray& bytes, bool portHoldsMore) override;
    void PortFailing() override;
    void ClosedByError() override;
    void LineError(int kind, unsigned count) override;
    void ModemLinesChanged() override;

    // configuration, copied by operator=
    int m_comPort = 1;
    QString m_portName;
    ComParameter m_parameter;
    QString m_program;

    // run-time state
    QThread* m_thread = nullptr;
    CSerialIo* m_io = nullptr;
    CSerialDispatcher* m_dispatcher = nullptr;
    mutable QMutex m_mutex; // guards m_buffer
    QWaitCondition m_dataArrived;
    QByteArray m_buffer;
    qsizetype m_head = 0; // bytes of m_buffer before it are read
    int Buffered() const { return int(m_buffer.size() - m_head); }
    // A line error at its place in the stream: after the byte count at of all bytes read.
    struct Mark
    {
        qint64 at;
        int kind;
        bool posted;
    };
    QList<Mark> m_marks;
    LineCounters m_counters;   // guarded by m_mutex
    qint64 m_consumed = 0;     // bytes read by the owner since the port opened
    bool m_pullWanted = false; // the port holds bytes that did not fit
    // Bytes the owner may read now: all, or those before the first line error.
    int Readable() const;
    // Posts the first line error once the reader has reached it; with m_mutex held.
    void PostReachedMark();
    // The dispatcher delivers a line error of kind: the bytes after it may be read. A new
    // receiver (kind -1) drops any line error waiting for the old one.
    void ErrorDelivered(qintptr kind);
    void ResetBuffer();
    std::atomic<int> m_available{0};
    mutable std::atomic<int> m_reported{0}; // what ReadData(buffer, 0) may move
    // The one record of whether the port is open; only CSerial's own functions change it.
    std::atomic<bool> m_opened{false};
    QString m_openFailure;
    // test hooks
    std::atomic<bool> m_statusInjected{false};
    std::atomic<unsigned long> m_injectedStatus{0};
    std::atomic<int> m_controlInjected{-1}; // -1 ask the device, 0 refuse, 1 accept
    std::atomic<unsigned long> m_modemControl{0};
    std::atomic<unsigned long> m_modemControlSet{0}; // lines the owner has set or cleared
};
