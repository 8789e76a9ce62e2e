#include "OutputLines.h"

// Qt
#include <QDeadlineTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

OutputLines::OutputLines(int fd, qsizetype capacity, std::function<void()> onGone)
    : m_stdFd(fd), m_fd(fd), m_onGone(std::move(onGone)), m_capacity(capacity)
{
    struct stat st = {};
    if (::fstat(m_stdFd, &st) != 0)
        return;
    if (::isatty(m_stdFd)) {
        // The flags of a terminal are shared with the shell and whatever else writes to it:
        // the terminal is opened once more, for a description of its own that does not block.
        // A terminal paused with Ctrl+S then holds up the lines, never the recording.
        const char* name = ::ttyname(m_stdFd);
        m_fd = name ? ::open(name, O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC) : -1;
        if (m_fd < 0) {
            m_fd = m_stdFd;
            return;
        }
        m_own = true;
    } else {
        // A pipe or socket is the recorder's own; a file never holds it up.
        if (!(S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)))
            return;
        const int flags = ::fcntl(m_stdFd, F_GETFL);
        if (flags < 0 || ::fcntl(m_stdFd, F_SETFL, flags | O_NONBLOCK) != 0)
            return;
        m_flags = flags;
    }
    m_writable = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Write);
    m_writable->setEnabled(false);
    QObject::connect(m_writable.get(), &QSocketNotifier::activated, m_writable.get(), [this] {
        if (!WritePending() && m_onGone)
            m_onGone();
    });
}

OutputLines::~OutputLines()
{
    Flush(kLastFlushMs);
    m_writable.reset();
    if (m_own)
        ::close(m_fd);
    else if (m_flags >= 0)
        ::fcntl(m_stdFd, F_SETFL, m_flags);
}

OutputLines::Put OutputLines::Write(const QByteArray& line)
{
    if (m_gone)
        return Put::Gone;
    if (!m_writable)
        return WriteBlocking(line) ? Put::Taken : Put::Gone;
    // Once lines are dropped, the next goes only when half the buffer is free again: the
    // reader then gets runs of whole lines, not single ones that fit in a gap.
    const qsizetype waiting = m_pending.size() - m_sent;
    m_dropping = waiting + line.size() > (m_dropping ? m_capacity / 2 : m_capacity);
    if (m_dropping) {
        ++m_dropped;
        return Put::Dropped;
    }
    m_pending += line;
    return WritePending() ? Put::Taken : Put::Gone;
}

bool OutputLines::WritePending()
{
    while (m_sent < m_pending.size()) {
        const ssize_t n =
            ::write(m_fd, m_pending.constData() + m_sent, size_t(m_pending.size() - m_sent));
        if (n > 0) {
            m_sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // The written front goes once it is the larger part.
            if (m_sent > m_pending.size() / 2) {
                m_pending.remove(0, m_sent);
                m_sent = 0;
            }
            m_writable->setEnabled(true);
            return true;
        } else {
            m_gone = true;
            break;
        }
    }
    m_pending.clear();
    m_sent = 0;
    m_writable->setEnabled(false);
    return !m_gone;
}

bool OutputLines::WriteBlocking(const QByteArray& line)
{
    for (qsizetype at = 0; at < line.size();) {
        const ssize_t n = ::write(m_fd, line.constData() + at, size_t(line.size() - at));
        if (n > 0)
            at += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            return !(m_gone = true);
    }
    return true;
}

void OutputLines::Flush(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!m_gone && m_sent < m_pending.size()) {
        pollfd p = {m_fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0 || !WritePending())
            break;
    }
    // A line written in part counts as not written.
    if (m_sent < m_pending.size()) {
        m_dropped += m_pending.count('\n') - m_pending.left(m_sent).count('\n');
        m_pending.clear();
        m_sent = 0;
    }
}
