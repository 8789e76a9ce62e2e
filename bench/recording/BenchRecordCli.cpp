// lineprobe-cli record, the real tool, under a flood of the line: a pseudo-terminal written as
// fast as it takes it, in expert mode with 10-byte lines; prints its MB/s next to a raw copy
// through the same pseudo-terminal into a file (and tio --log where tio is installed), its peak
// memory above the idle process per received byte, the time from SIGINT to its exit with both
// lists complete, and whether every byte reached the .ts in order.
// Run by hand: bench_recordcli [--megabytes N] (or LINEPROBE_BENCH_MB=1024; default 64)
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
#include <functional>
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

// A value of /proc/PID/status in kilobytes ("VmHWM", "VmRSS"); 0 once the process is gone.
long StatusKilobytes(qint64 pid, const char* key)
{
    QFile f(QStringLiteral("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(qstrlen(key)) + 1).trimmed().split(' ').first().toLong();
    return 0;
}

// Lines (CR LF) of a list file, and whether its last item is the footer's last line.
qint64 ListLines(const QString& path, bool& footer)
{
    QFile f(path);
    qint64 lines = 0;
    QByteArray tail;
    if (f.open(QIODevice::ReadOnly)) {
        while (!f.atEnd()) {
            const QByteArray block = f.read(1 << 22);
            lines += block.count("\r\n");
            tail = (tail + block).right(200);
        }
    }
    footer = tail.endsWith("    " + QByteArray(46, '-') + "\r\n");
    return lines;
}

// tio --log on the slave while send floods the master; MB/s, or 0 when tio is not there.
double TioCopy(PtyPair& pty, const QByteArray& bytes, const QString& log,
               const std::function<void()>& send)
{
    QProcess tio;
    // Its terminal output goes nowhere; its standard input stays open (it quits at its end).
    tio.setStandardOutputFile(QProcess::nullDevice());
    tio.start(QStringLiteral("tio"), {"--log", "--log-file", log, pty.SlavePath()});
    if (!tio.waitForStarted(3000))
        return 0;
    QElapsedTimer wait;
    wait.start();
    while (!QFileInfo::exists(log) && wait.elapsed() < 5000)
        QThread::msleep(1);
    QElapsedTimer timer;
    timer.start();
    std::thread writer(send);
    qint64 lastGrowth = 0;
    qint64 size = 0;
    while (size < bytes.size() && timer.elapsed() - lastGrowth < 5000) {
        QThread::msleep(5);
        const qint64 now = QFileInfo(log).size();
        if (now != size)
            lastGrowth = timer.elapsed();
        size = now;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    tio.kill();
    tio.waitForFinished(3000);
    writer.join();
    return size / seconds / 1e6;
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
    const qint64 fromEnv = qEnvironmentVariableIntValue("LINEPROBE_BENCH_MB");
    const qint64 megabytes = at > 0 && at + 1 < args.size() ? args.at(at + 1).toLongLong()
                             : fromEnv > 0                  ? fromEnv
                                                            : 64;
    const QByteArray flood = Flood(megabytes << 20);
    QTemporaryDir dir;
    PtyPair pty;

    const double raw =
        RawPtyCopy(pty, flood, dir.filePath(QStringLiteral("raw.bin")), [&] { Send(pty, flood); });
    QFile::remove(dir.filePath(QStringLiteral("raw.bin")));
    PtyPair tioPty;
    const double tio = TioCopy(tioPty, flood, dir.filePath(QStringLiteral("tio.log")),
                               [&] { Send(tioPty, flood); });
    QFile::remove(dir.filePath(QStringLiteral("tio.log")));

    const QString ts = dir.filePath(QStringLiteral("flood.ts"));
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    tool.start(QStringLiteral(LINEPROBE_CLI),
               {"record", "--port", pty.SlavePath(), "--expert", "--out",
                dir.filePath(QStringLiteral("flood.tds")), "--line-length", "10", "--quiet"});
    const qint64 pid = tool.processId();
    QElapsedTimer wait;
    wait.start();
    while (QFileInfo(ts).size() == 0 && wait.elapsed() < 10000) // the header: the port is open
        QThread::msleep(1);
    const qint64 header = QFileInfo(ts).size();
    const long idleKb = StatusKilobytes(pid, "VmRSS:");
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
    long peakKb = StatusKilobytes(pid, "VmHWM:");
    ::kill(pid_t(pid), SIGINT);
    QElapsedTimer stop;
    stop.start();
    // The peak of the stop counts too: read it while the process is still there.
    while (!tool.waitForFinished(5))
        peakKb = qMax(peakKb, StatusKilobytes(pid, "VmHWM:"));
    const double stopSeconds = stop.nsecsElapsed() / 1e9;
    bool asciiFooter = false;
    bool hexFooter = false;
    const qint64 asciiLines = ListLines(dir.filePath(QStringLiteral("flood.tvs")), asciiFooter);
    const qint64 hexLines = ListLines(dir.filePath(QStringLiteral("flood.tvh")), hexFooter);

    QFile file(ts);
    file.open(QIODevice::ReadOnly);
    const bool kept = file.readAll().mid(header, flood.size()) == flood;
    std::printf("%lld MB through one pseudo-terminal, written as fast as it takes them\n",
                static_cast<long long>(megabytes));
    std::printf("  raw copy into a file:             %7.1f MB/s\n", raw);
    if (tio > 0)
        std::printf("  tio --log:                        %7.1f MB/s\n", tio);
    else
        std::printf("  tio --log:                        (tio is not installed)\n");
    std::printf("  lineprobe-cli record --expert:    %7.1f MB/s (four trace files)\n",
                (size - header) / seconds / 1e6);
    std::printf("  stop with footer and both lists:  %7.1f s, exit status %d\n", stopSeconds,
                tool.exitCode());
    std::printf("  peak memory above idle:           %7.2f bytes per received byte (%ld MB)\n",
                (peakKb - idleKb) * 1024.0 / double(flood.size()), (peakKb - idleKb) / 1024);
    const bool complete =
        asciiFooter && hexFooter && asciiLines == hexLines && asciiLines >= flood.size() / 10;
    std::printf("  lists after the stop:             %lld and %lld lines, %s\n",
                static_cast<long long>(asciiLines), static_cast<long long>(hexLines),
                complete ? "complete with footer" : "INCOMPLETE");
    std::printf("  every byte in the .ts in order:   %s\n", kept ? "yes" : "NO");
    return kept && complete ? 0 : 1;
}
