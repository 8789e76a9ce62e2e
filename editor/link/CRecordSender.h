#pragma once

// Qt
#include <QByteArray>
#include <QList>
#include <QObject>

#include <atomic>

class CSerial;
class QThread;

// The sender thread of "Daten senden": writes the prepared records byte by byte at
// time-critical priority and checks every echo itself. It reports through queued signals and
// touches neither the list nor the window; the final state goes into the session's state.
class CRecordSender : public QObject
{
    Q_OBJECT

public:
    CRecordSender(CSerial& serial, std::atomic<int>& state, QObject* parent = nullptr);
    ~CRecordSender() override;

    void Start(const QList<QByteArray>& records, int echoWaitMs);
    // Asks the thread to stop and waits for it; nothing happens when none runs.
    void Stop();
    bool Active() const;
    int SentRecords() const { return m_sentRecords; }

signals:
    // A record is about to go out (the window restarts its silence timer).
    void recordStarted();
    void recordSent();
    // The thread has ended: after the last record, a wrong echo or no echo at all.
    void finished();

private:
    void Run();
    bool WaitForEcho(char& echo);

    CSerial& m_serial;
    std::atomic<int>& m_state;
    QList<QByteArray> m_records;
    int m_echoWaitMs = 500;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_sentRecords{0};
};
