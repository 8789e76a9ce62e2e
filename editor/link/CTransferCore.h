#pragma once

#include "CTransferMachine.h"
#include "TransferTypes.h"

// Qt
#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class CQuillmarkDoc;
class CRecordSender;
class CSerial;
struct ProjectData;

// The time limits of a transfer. The FAT's end is detected by silence; tests that are about
// the logic rather than the time-out itself may shorten them.
struct TransferTimeouts
{
    int silenceMs = 2000; // after the last notification
    int verdictMs = 500;  // while the LZ checksum verdict is awaited
    int echoWaitMs = 500; // the sender thread's wait for one echo byte
};

// One run of the transfer window without the window: the session of reading or writing the
// texts or the LZ coding. It owns the port's use, the silence timer, the status text and
// progress, the verdict and its message; the protocol machine of the mode decides what each
// received byte means, the codec what the bytes are, the sender thread writes the records.
// CCommunicationDlg shows it; quillmark-cli and the tests run it headless.
class CTransferCore : public QObject, private ITransferSession
{
    Q_OBJECT

public:
    explicit CTransferCore(QObject* parent = nullptr);
    ~CTransferCore() override;

    // The caption of the transfer window.
    static const char* Caption() { return "Communication"; }

    // Stores the arguments and opens the port; non-zero when it opened. A port that does not
    // open is reported with its device and the reason.
    int StartTransfer(int mode, CQuillmarkDoc* document, CSerial* serial);
    // The window's initialisation: first status text, timer 1, "T".
    void Begin();

    int OnCommRxChar();
    int OnCommError(int kind);
    // The window is being closed by the user.
    void OnClose();
    void EndTransfer();
    void AbortLink();

    // data access
    int Mode() const { return m_mode; }
    int State() const { return m_state; }
    QString StatusText() const { return m_statusText; }
    int ProgressMinimum() const { return m_progressMin; }
    int ProgressMaximum() const { return m_progressMax; }
    int ProgressPosition() const override { return m_progressPos; }
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
    // what the protocol machine may do
    QByteArray Read(int max) override;
    void Send(const QByteArray& bytes) override;
    void SetStatus(const QString& text) override;
    void SetProgressRange(int minimum, int maximum) override;
    void SetProgressPos(int position) override;
    void StepProgress() override;
    void EndNow() override;
    void Refuse(const QString& text) override;
    void StartSender(const QList<QByteArray>& records) override;

    void OnTimer(int id);
    void RestartTimer(int ms);
    void KillTimer();
    void ShowMessage(const QString& text, const QString& caption, bool errorIcon, bool success);
    void OnSenderRecordStarted();
    void OnSenderRecordSent();
    void OnSenderFinished();

    // members of the transfer window, in their order
    int m_progressMin = 0;
    int m_progressMax = 100;
    int m_progressPos = 0;
    QString m_statusText;
    int m_timerId = 0;
    CSerial* m_serial = nullptr;
    int m_mode = SendTexts;
    std::atomic<int> m_state{AwaitIdent};
    CQuillmarkDoc* m_document = nullptr;
    int m_recordsDone = 0;

    std::unique_ptr<CTransferMachine> m_machine;
    std::unique_ptr<CRecordSender> m_sender;
    TransferTimeouts m_timeouts;
    bool m_ended = false;
    bool m_succeeded = false;
};
