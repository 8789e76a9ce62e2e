// lineprobe-cli record, the real tool, under a flood of the line: a pseudo-terminal written as
// fast as it takes it, in expert mode; prints its MB/s next to a raw copy through the same
// pseudo-terminal into a file, and whether every byte reached the .ts in order.
// Run by hand: bench_recordcli [--megabytes N]
#include "PtyPair.h"
#include "RawPtyCopy.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <thread>

namespace {

QByteArray Flood(qint64 total)
{
    QByteArray bytes(total, '\0');
    for (qint64 i = 0; i < total; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

void Send(PtyPair& pty, const QByteArray& bytes)
{
    for (qsizetype at = 0; at < bytes.size(); at += 1 << 16)
        if (!pty.Write(bytes.mid(at, 1 << 16)))
            std::fprintf(stderr, "the pseudo-terminal took no bytes for 10 s\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QLatin1String("--megabytes")));
    const qint64 megabytes = at > 0 && at + 1 < args.size() ? args.at(at + 1).toLongLong() : 64;
    const QByteArray flood = Flood(megabytes << 20);
    QTemporaryDir dir;
    PtyPair pty;

    const double raw =
        RawPtyCopy(pty, flood, dir.filePath(QStringLiteral("raw.bin")), [&] { Send(pty, flood); });

    const QString ts = dir.filePath(QStringLiteral("flood.ts"));
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(QStringLiteral(LINEPROBE_CLI),
               {"record", "--port", pty.SlavePath(), "--expert", "--out",
                dir.filePath(QStringLiteral("flood.tds")), "--quiet"});
    QElapsedTimer wait;
    wait.start();
    while (QFileInfo(ts).size() == 0 && wait.elapsed() < 10000) // the header: the port is open
        QThread::msleep(1);
    const qint64 header = QFileInfo(ts).size();
    QElapsedTimer timer;
    timer.start();
    std::thread writer([&] { Send(pty, flood); });
    qint64 size = header;
    qint64 lastGrowth = 0;
    while (size < header + flood.size() && timer.elapsed() - lastGrowth < 5000) {
        QThread::msleep(1);
        const qint64 now = QFileInfo(ts).size();
        if (now != size)
            lastGrowth = timer.elapsed();
        size = now;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    writer.join();
    ::kill(pid_t(tool.processId()), SIGINT);
    QElapsedTimer stop;
    stop.start();
    tool.waitForFinished(600000);
    const double stopSeconds = stop.nsecsElapsed() / 1e9;

    QFile file(ts);
    file.open(QIODevice::ReadOnly);
    const bool kept = file.readAll().mid(header, flood.size()) == flood;
    std::printf("%lld MB through one pseudo-terminal, written as fast as it takes them\n",
                static_cast<long long>(megabytes));
    std::printf("  raw copy into a file:             %7.1f MB/s\n", raw);
    std::printf("  lineprobe-cli record --expert:    %7.1f MB/s (four trace files)\n",
                (size - header) / seconds / 1e6);
    std::printf("  stop with footer and both lists:  %7.1f s, exit status %d\n", stopSeconds,
                tool.exitCode());
    std::printf("  every byte in the .ts in order:   %s\n", kept ? "yes" : "NO");
    return kept ? 0 : 1;
}
