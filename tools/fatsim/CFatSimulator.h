#pragma once

#include "FatSimOptions.h"
#include "FatStore.h"

// Qt
#include <QByteArray>
#include <QVector>

// The FAT's side of the text and LZ exchanges, byte in, answer out, with the faults of the
// options applied. Knows nothing of devices or time; CSimulatorLoop drives it.
class CFatSimulator
{
public:
    enum State {
        Idle,
        AwaitHeaderAck,
        AwaitRecordAck,
        ReceiveCount,
        ReceiveOffset,
        ReceiveRecords,
        ReceiveLz,
        AwaitLzEnd,
        AwaitLzSum,
        Recording // after "S": the recorder's traffic
    };

    // One piece of an answer: wait pauseMs, then send bytes; vanish = close the line instead.
    struct Segment
    {
        int pauseMs = 0;
        QByteArray bytes;
        bool vanish = false;
    };
    using Answer = QVector<Segment>;

    CFatSimulator(const FatSimOptions& options, FatStore& store);

    // One byte from the PC; what the FAT answers is appended to answer.
    void Receive(unsigned char byte, Answer& answer);
    // The line was quiet for the idle time: any exchange in progress is dropped.
    void Reset();

    State CurrentState() const { return m_state; }
    // True once after the store changed (so the loop writes the file).
    bool TakeStoreChanged();

private:
    void Send(FatPoint::Kind kind, int index, const QByteArray& bytes, Answer& answer);
    void Command(unsigned char byte, Answer& answer);
    void SendRecord(Answer& answer);
    void Echo(FatPoint::Kind kind, int index, unsigned char byte, bool wrong, Answer& answer);
    // A complete write: offset and records replace what the FAT held.
    void TakeWrite();
    QByteArray Header() const;

    const FatSimOptions& m_options;
    FatStore& m_store;
    State m_state = Idle;
    bool m_muted = false;
    bool m_vanished = false;
    bool m_storeChanged = false;
    int m_notReadyLeft = 0;

    // reading
    int m_recordIndex = 0;
    unsigned char m_expectedAck = 0;
    // writing
    int m_byteIndex = 0;
    int m_dataIndex = 0; // data bytes received in this write (record bytes or LZ entries)
    QByteArray m_received;
    int m_count = 0;
    qint32 m_newOffset = 0;
    int m_recordLength = 0;
    QByteArray m_record;
    QList<QByteArray> m_newRecords;
};
