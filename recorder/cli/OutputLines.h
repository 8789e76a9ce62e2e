#pragma once

// Qt
#include <QByteArray>
#include <QSocketNotifier>

#include <functional>
#include <memory>

// Standard output or error of a recording, written so that its reader never holds the
// recording up.
// A pipe, socket or terminal is written without blocking: what it does not take waits in a
// buffer of `capacity` bytes and goes out when it becomes writable; lines that no longer fit
// are dropped whole and counted until half the buffer is free again. A file is written as it
// comes. POSIX only; a Windows build replaces this file.
class OutputLines
{
public:
    enum class Put { Taken, Dropped, Gone };

    // fd: 1 or 2; onGone: the reader closed its end while buffered lines went out.
    OutputLines(int fd, qsizetype capacity, std::function<void()> onGone);
    // What still waits gets at most a second.
    ~OutputLines();
    OutputLines(const OutputLines&) = delete;
    OutputLines& operator=(const OutputLines&) = delete;

    // Hands over one line with its line end; Gone once the reader closed its end.
    Put Write(const QByteArray& line);
    // Writes what waits for at most ms milliseconds; what is left counts as dropped.
    void Flush(int ms);
    // Lines that did not go out.
    qint64 Dropped() const { return m_dropped; }

private:
    enum { kLastFlushMs = 1000 };
    bool WritePending(); // false when the reader went away
    bool WriteBlocking(const QByteArray& line);

    const int m_stdFd;
    int m_fd;           // m_stdFd, or the terminal opened anew
    bool m_own = false; // m_fd was opened here
    int m_flags = -1;   // the descriptor's flags before, -1 when they stay as they were
    std::unique_ptr<QSocketNotifier> m_writable;
    std::function<void()> m_onGone;
    qsizetype m_capacity;
    QByteArray m_pending;
    qsizetype m_sent = 0; // bytes of m_pending already written
    qint64 m_dropped = 0;
    bool m_dropping = false;
    bool m_gone = false;
};
