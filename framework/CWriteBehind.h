#pragma once

// Qt
#include <QByteArray>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class CDurableFile;

// Writes blocks to files on a thread of its own, each file's blocks in the order given, so that
// the caller never waits for the disk while it keeps up. At most limit bytes wait; a Write
// beyond that waits for room, so memory stays bounded when the disk is slower than the line.
// A file handed over is the writer's until Drain() returns: in between the caller neither
// writes to it nor places, commits or closes it.
class CWriteBehind
{
public:
    explicit CWriteBehind(qsizetype limit = 4 << 20);
    ~CWriteBehind(); // writes what waits
    CWriteBehind(const CWriteBehind&) = delete;
    CWriteBehind& operator=(const CWriteBehind&) = delete;

    // Queues bytes for file; once written, done (if given) grows by their size.
    void Write(CDurableFile* file, QByteArray bytes, std::atomic<qint64>* done = nullptr);
    // Waits until every queued block is written.
    void Drain();
    // The first failed write, as the file describes it ("/pfad/x.tdh: Kein Speicherplatz..."),
    // empty while all is well.
    QString Failure() const;

private:
    struct Block
    {
        CDurableFile* file;
        QByteArray bytes;
        std::atomic<qint64>* done;
    };
    void Run();

    const qsizetype m_limit;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Block> m_queue;
    qsizetype m_queued = 0; // bytes queued or being written
    bool m_stop = false;
    QString m_failure;
    std::thread m_thread;
};
