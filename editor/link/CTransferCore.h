#pragma once

#include "TransferTypes.h"

// Qt
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>

class CListCtrl;
class CQuillmarkDoc;
class CSerial;
class QThread;
struct ProjectData;

// The time limits of a transfer. The FAT's end is detected by silence; tests that are about
// the logic rather than the time-out itself may shorten them.
struct TransferTimeouts
{
    int silenceMs = 2000; // after the last notification
    int verdictMs = 500;  // while the LZ checksum verdict is awaited
    int echoWaitMs = 500; // the sender thread's wait for one echo byte
};

// The transfer window's state machine without the window: one run of reading or writing the
// texts or the LZ coding, driven by the serial component's notifications and one timer.
// CCommunicationDlg shows it; quillmark-cli and the tests run it headless.
class CTransferCore : public QObject
{
    Q_OBJECT

public:
    explicit CTransferCore(QObject* parent = nullptr);
    ~CTransferCore() override;

    // The caption the serial component posts its notifications to.
    static const char* Caption() { return "Communication"; }

    // Stores the arguments and opens the port; non-zero when it opened.
    int StartTransfer(int mode, CListCtrl* list, CQuillmarkDoc* document, CSerial* serial);
    // The window's initialisation: first status text, timer 1, "T".
    void Begin();

    int OnCommRxChar();
    int OnCommError(int kind);
    // The window is being closed by the user.
    void OnClose();
    void EndTransfer();
    void AbortLink();
    // Builds the wire record of row recordsDone into the buffer; false for an unknown tag.
    bool FormatRecord();

    // data access
    int Mode() const { return m_mode; }
    int State() const { return m_state; }
    QString StatusText() const { return m_statusText; }
    int ProgressMinimum() const { return m_progressMin; }
    int ProgressMaximum() const { return m_progressMax; }
    int ProgressPosition() const { return m_progressPos; }
    bool Ended() const { return m_ended; }
    // True when the transfer ended with its success message.
    bool Succeeded() const { return m_succeeded; }
    // True after a line error: the window waits for the user to close it.
    bool WaitsForClose() const { return m_mode == LineError && !m_ended; }
    bool SenderActive() const;

    void SetTimeouts(const TransferTimeouts& timeouts) { m_timeouts = timeouts; }
    const TransferTimeouts& Timeouts() const { return m_timeouts; }

signals:
    void statusTextChanged(const QString& text);
    void progressChanged(int minimum, int maximum, int position);
    // The time-out brings the main window to the front.
    void foregroundRequested();
    // A line error stopped the transfer; the window stays open until it is closed.
    void lineErrorStopped();
    // EndTransfer: the modal window ends with IDOK.
    void ended();

protected:
    void timerEvent(QTimerEvent* event) override;
    bool event(QEvent* event) override;

private:
    void OnTimer(int id);
    void RestartTimer(int ms);
    void KillTimer();
    void SetStatus(const QString& text);
    void SetProgressRange(int minimum, int maximum);
    void SetProgressPos(int position);
    void StepProgress();
    void Send(const QByteArray& bytes);
    void SendByte(unsigned char byte);
    // Sends the first of bytes; EchoArrived checks each echo and sends the next byte, true
    // once the last one came back unchanged. A wrong echo is left to the time-out.
    void SendEchoed(const QByteArray& bytes);
    // The start of both write transfers (CheckIdent, AwaitReady): the identification must
    // be the project's FAT, then the write command goes out until the FAT answers ready.
    // True once it is ready.
    bool WriteAccepted(int waiting, unsigned char command);
    bool EchoArrived(int waiting);
    QByteArray Read(int max);

    void ReceiveReadTexts(int waiting);
    void ReceiveSendTexts(int waiting);
    void ReceiveSendLz(int waiting);
    void ReceiveReadLz(int waiting);
    bool CheckIdentification();
    // Stores the FAT's identification into the project; false (and the transfer ended with a
    // message) when it describes a project outside the limits.
    bool StoreIdentification(const QByteArray& id);
    void RefuseIdentification(const QString& problem);
    void AcceptRecord(int waiting);
    bool FormatAllRecords();

    void StartSender();
    void StopSender();
    void SenderThread();
    bool WaitForEcho(char& echo);
    Q_INVOKABLE void OnSenderRestartTimer();
    Q_INVOKABLE void OnSenderProgress();
    Q_INVOKABLE void OnSenderFinished();

    void ShowMessage(const QString& text, bool errorIcon, bool success);

    // members of the transfer window, in their order
    int m_progressMin = 0;
    int m_progressMax = 100;
    int m_progressPos = 0;
    QString m_statusText;
    int m_timerId = 0;
    CSerial* m_serial = nullptr;
    int m_mode = SendTexts;
    std::atomic<int> m_state{AwaitIdent};
    CListCtrl* m_list = nullptr;
    CQuillmarkDoc* m_document = nullptr;
    ProjectData* m_data = nullptr;
    QByteArray m_buffer;
    QByteArray m_pending; // the bytes of a record still being received
    int m_recordCount = 0;
    int m_byteIndex = 0;
    int m_recordLength = 0;
    int m_recordsDone = 0;

    // the wire records, formatted in Begin before any byte goes out; the sender thread
    // works on them and never on the list
    QList<QByteArray> m_wireRecords;
    QThread* m_sender = nullptr;
    std::atomic<bool> m_stopSender{false};
    std::atomic<int> m_sentRecords{0};

    TransferTimeouts m_timeouts;
    bool m_ended = false;
    bool m_succeeded = false;
};
