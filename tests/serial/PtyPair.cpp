#include "PtyPair.h"

// Qt
#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPair::PtyPair()
{
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0)
        return;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0) {
        ::close(fd);
        return;
    }
    // The master passes bytes unchanged in both directions.
    termios tio{};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_slavePath = QString::fromLocal8Bit(::ptsname(fd));
    m_master = fd;
}

PtyPair::~PtyPair()
{
    CloseMaster();
}

bool PtyPair::Write(const QByteArray& bytes)
{
    qsizetype done = 0;
    QElapsedTimer timer;
    timer.start();
    while (done < bytes.size() && m_master >= 0 && timer.elapsed() < 10000) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else {
            pollfd p{m_master, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
    return done == bytes.size();
}

QByteArray PtyPair::Read(int n, int timeoutMs)
{
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < n && m_master >= 0 && timer.elapsed() < timeoutMs) {
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        char buffer[4096];
        const ssize_t r = ::read(m_master, buffer, std::min<size_t>(sizeof buffer, n - got.size()));
        if (r > 0)
            got.append(buffer, r);
    }
    return got;
}

QByteArray PtyPair::ReadFor(int waitMs)
{
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (m_master >= 0 && timer.elapsed() < waitMs) {
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, 10) <= 0)
            continue;
        char buffer[4096];
        const ssize_t r = ::read(m_master, buffer, sizeof buffer);
        if (r > 0)
            got.append(buffer, r);
    }
    return got;
}

void PtyPair::CloseMaster()
{
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
}
