#pragma once

// Qt
#include <QByteArray>
#include <QString>

// A pseudo-terminal pair: CSerial opens the slave device, the test plays the far end on the
// master.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsValid() const { return m_master >= 0; }
    QString SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }

    // Writes all bytes to the master.
    bool Write(const QByteArray& bytes);
    // Reads from the master until n bytes came or timeoutMs passed without all of them.
    QByteArray Read(int n, int timeoutMs = 5000);
    // Whatever arrives within waitMs.
    QByteArray ReadFor(int waitMs);
    // Hangs up: the slave side sees the far end gone.
    void CloseMaster();

private:
    int m_master = -1;
    QString m_slavePath;
};
