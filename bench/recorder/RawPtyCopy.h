#pragma once

#include "PtyPair.h"

// Qt
#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <functional>
#include <termios.h>
#include <thread>
#include <unistd.h>

// The yardstick of the recording benchmarks: the slave of pty read raw in 2048-byte pieces into
// a file while send writes bytes into the master; returns MB/s.
inline double RawPtyCopy(PtyPair& pty, const QByteArray& bytes, const QString& target,
                         const std::function<void()>& send)
{
    const int fd = ::open(pty.SlavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios tio{};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(fd, TCSANOW, &tio);
    QFile out(target);
    out.open(QIODevice::WriteOnly);
    QElapsedTimer timer;
    timer.start();
    std::thread writer(send);
    qint64 got = 0;
    char buffer[2048];
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        out.write(buffer, n);
        got += n;
    }
    out.close();
    const double seconds = timer.nsecsElapsed() / 1e9;
    writer.join();
    ::close(fd);
    return got / seconds / 1e6;
}
