// lineprobe-cli render of a timestamped trace of short lines (9600 baud style: small chunks,
// lines of about a dozen bytes): its peak memory per received byte, next to the idle tool and
// a plain read of the same trace. Run by hand: bench_render [--megabytes N]
// (or LINEPROBE_BENCH_RENDER_MB; default 20).
// Qt
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

struct Run
{
    long peakKb = 0;
    double seconds = 0;
    int status = -1;
};

// The program with its arguments; its peak resident memory from the kernel's accounting.
Run Spawn(const QStringList& command)
{
    QList<QByteArray> bytes;
    for (const QString& a : command)
        bytes.append(a.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    Run run;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return run;
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = timer.nsecsElapsed() / 1e9;
    run.peakKb = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// A .tds as the recorder writes it: header, chunks of 1 to 64 bytes with their stamps, footer.
qint64 WriteTrace(const QString& path, qint64 received)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return 0;
    const QByteArray rule(46, '-');
    f.write(rule + "\r\n\r\nHersteller     : Aritech\r\n\r\n" + rule + "\r\n\r\n");
    QByteArray text;
    for (int i = 0; text.size() < (1 << 20); ++i)
        text += "MG " + QByteArray::number(i % 997) + " Feuer\r\n";
    QByteArray block;
    qint64 done = 0;
    quint32 seed = 1;
    while (done < received) {
        seed = seed * 1103515245u + 12345u;
        const qint64 n = qMin<qint64>(1 + (seed >> 16) % 64, received - done);
        block += "    08.12.26, 09:15:02.123\r\n";
        block += text.mid(done % (text.size() - 64), n);
        block += "\r\n\r\n";
        done += n;
        if (block.size() > (1 << 20)) {
            f.write(block);
            block.clear();
        }
    }
    f.write(block + "\r\n\r\n" + rule + "\r\n\r\nAufzeichnung beendet  : 08.12.26, 09:20:00.000" +
            "\r\n\r\n" + rule);
    return done;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int at = int(args.indexOf(QLatin1String("--megabytes")));
    const qint64 fromEnv = qEnvironmentVariableIntValue("LINEPROBE_BENCH_RENDER_MB");
    const qint64 megabytes = at > 0 && at + 1 < args.size() ? args.at(at + 1).toLongLong()
                             : fromEnv > 0                  ? fromEnv
                                                            : 20;
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("short.tds"));
    const qint64 received = WriteTrace(trace, megabytes * 1000 * 1000);
    const QString cli = QStringLiteral(LINEPROBE_CLI);

    const Run idle = Spawn({cli, QStringLiteral("--version")});
    const Run plain = Spawn({QStringLiteral("/bin/cat"), trace});
    const Run render =
        Spawn({cli, QStringLiteral("render"), trace, QStringLiteral("--panel-code"),
               QStringLiteral("9"), QStringLiteral("--out"), dir.filePath(QStringLiteral("out"))});
    std::printf("lineprobe-cli render of %.1f MB received in short lines (%.1f MB .tds)\n",
                received / 1e6, QFile(trace).size() / 1e6);
    std::printf("  idle tool (--version):   %6ld KB peak\n", idle.peakKb);
    std::printf("  cat of the trace:        %6.2f s\n", plain.seconds);
    std::printf("  render:                  %6.2f s, exit status %d, %ld KB peak\n", render.seconds,
                render.status, render.peakKb);
    std::printf("  memory per received byte: %.2f (peak), %.2f (above the idle tool)\n",
                render.peakKb * 1024.0 / double(received),
                (render.peakKb - idle.peakKb) * 1024.0 / double(received));
    return render.status == 0 ? 0 : 1;
}
