#include "CRecordSender.h"

#include "CSerial.h"
#include "TransferTypes.h"

// Qt
#include <QElapsedTimer>
#include <QThread>

CRecordSender::CRecordSender(CSerial& serial, std::atomic<int>& state, QObject* parent)
    : QObject(parent), m_serial(serial), m_state(state)
{
}

CRecordSender::~CRecordSender()
{
    Stop();
}

void CRecordSender::Start(const QList<QByteArray>& records, int echoWaitMs)
{
    Stop();
    m_records = records;
    m_echoWaitMs = echoWaitMs;
    m_stop = false;
    m_sentRecords = 0;
    m_thread = QThread::create([this] { Run(); });
    m_thread->start(QThread::TimeCriticalPriority);
}

void CRecordSender::Stop()
{
    if (!m_thread)
        return;
    m_stop = true;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
}

bool CRecordSender::Active() const
{
    return m_thread && m_thread->isRunning();
}

bool CRecordSender::WaitForEcho(char& echo)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (m_serial.ReadData(&echo, 1) == 1)
            return true;
        const qint64 left = m_echoWaitMs - clock.elapsed();
        if (m_stop || !m_serial.IsOpened() || left <= 0)
            return false;
        // Short slices, so that a stop request is seen quickly.
        m_serial.WaitForData(1, int(qMin<qint64>(left, 20)));
    }
}

void CRecordSender::Run()
{
    for (const QByteArray& record : m_records) {
        emit recordStarted();
        for (int i = 0; i < record.size(); ++i) {
            if (m_stop)
                return;
            m_serial.SendData(record.constData() + i, 1);
            char echo = 0;
            if (!WaitForEcho(echo)) {
                // No echo at all: the FAT does not answer; the state stays as it is and the
                // time-out reports it.
                emit finished();
                return;
            }
            if (echo != record.at(i)) {
                m_state = EchoMismatch;
                emit finished();
                return;
            }
        }
        ++m_sentRecords;
        emit recordSent();
    }
    m_state = SendComplete;
    emit finished();
}
