// The whole recording pipeline under sustained input: a FAT played on a pseudo-terminal
// sends as fast as the line takes it; the real CSerial, the recording control, both trace
// views (shown, offscreen) and the four trace files take it. Next to it, in the same run, a
// raw copy of the same bytes through the same kind of pseudo-terminal into a file.
// Run by hand: QT_QPA_PLATFORM=offscreen bench_pipeline [--megabytes N]
#include "BenchMemory.h"
#include "CLineprobeDoc.h"
#include "CLineprobeHexView.h"
#include "CLineprobeView.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"
#include "PtyPair.h"
#include "RawPtyCopy.h"

// Qt
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

// FAT traffic: lines of about 40 bytes as a panel sends them (line-feed rule).
QByteArray Traffic(qint64 total)
{
    QByteArray pattern;
    for (int i = 0; pattern.size() < (1 << 20); ++i)
        pattern += "Meldergruppe " + QByteArray::number(1000 + i % 9000) +
                   " Melder 03 Feuer Halle " + QByteArray::number(i % 97) + "\r\n";
    QByteArray out;
    while (out.size() < total)
        out += pattern;
    out.truncate(total);
    return out;
}

// Writes bytes to the master in pieces, as fast as the pseudo-terminal takes them or, with a
// rate (MB/s), on that schedule.
void Send(PtyPair& pty, const QByteArray& bytes, double rate = 0)
{
    const qsizetype piece = 1 << 14;
    QElapsedTimer clock;
    clock.start();
    for (qsizetype at = 0; at < bytes.size(); at += piece) {
        if (rate > 0) {
            const qint64 due = qint64(at / rate); // microseconds: rate is bytes per microsecond
            const qint64 now = clock.nsecsElapsed() / 1000;
            if (due > now)
                std::this_thread::sleep_for(std::chrono::microseconds(due - now));
        }
        if (!pty.Write(bytes.mid(at, piece)))
            std::fprintf(stderr, "the pseudo-terminal took no bytes for 10 s at %lld\n",
                         static_cast<long long>(at));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    qint64 megabytes = 40;
    double rate = 10;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--megabytes"))
            megabytes = args.at(i + 1).toLongLong();
        else if (args.at(i) == QLatin1String("--rate"))
            rate = args.at(i + 1).toDouble();
    }
    const QByteArray traffic = Traffic(megabytes * 1000 * 1000);
    QTemporaryDir dir;

    PtyPair rawPty;
    const double raw = RawPtyCopy(rawPty, traffic, dir.filePath(QStringLiteral("raw.bin")),
                                  [&] { Send(rawPty, traffic); });
    std::printf("raw copy done\n");

    CMessageRecorder messages;
    CLineprobeDoc doc;
    CRecordingSession session(doc);
    CLineprobeView ascii(session);
    CLineprobeHexView hex(session);
    ascii.resize(800, 400);
    hex.resize(800, 400);
    ascii.show();
    hex.show();
    QApplication::processEvents();
    CRecordingControl& rec = session.Control();
    PtyPair pty;
    rec.Serial().SetPortName(pty.SlavePath());
    messages.FileNext(dir.filePath(QStringLiteral("run.tds")));

    std::atomic<bool> sending{false};
    std::atomic<qint64> startNs{0};
    QElapsedTimer clock;
    clock.start();
    std::thread fat([&] {
        if (pty.Read(1, 10000) != "T") {
            std::printf("  no T from the recorder\n");
            return;
        }
        QByteArray id(32, 'x');
        id.replace(0, 2, "AT"); // Aritech: line-feed rule
        id[3] = '1';
        id.replace(10, 6, "V1.23a");
        pty.Write(id);
        if (pty.Read(1, 10000) != "S")
            return;
        sending = true;
        startNs = clock.nsecsElapsed();
        Send(pty, traffic, rate);
    });
    const long rssBefore = RssKilobytes();
    rec.OnStartRecording();
    const quint64 first = session.ReceivedBytes().End();
    QElapsedTimer guard;
    guard.start();
    qint64 report = 1000;
    // Bytes that overran the serial component's buffer never come: the wait ends when
    // nothing came for three seconds.
    quint64 seen = 0;
    qint64 lastProgress = 0;
    while (rec.IsRecording() && session.ReceivedBytes().End() - first < quint64(traffic.size()) &&
           guard.elapsed() - lastProgress < 3000) {
        if (session.ReceivedBytes().End() != seen) {
            seen = session.ReceivedBytes().End();
            lastProgress = guard.elapsed();
        }
        QEventLoop turn;
        QTimer::singleShot(20, &turn, &QEventLoop::quit);
        turn.exec();
        if (qEnvironmentVariableIsSet("BENCH_TRACE") && guard.elapsed() > report) {
            report += 1000;
            std::fprintf(stderr, "%lld ms: %llu received, %d waiting, state %d\n",
                         static_cast<long long>(guard.elapsed()),
                         static_cast<unsigned long long>(session.ReceivedBytes().End() - first),
                         rec.Serial().GetDataToRead(), rec.RecordingState());
        }
    }
    if (!rec.IsRecording())
        std::printf("  the recording ended early: %s\n", qPrintable(rec.StatusText()));
    const double seconds = (session.ReceivedBytes().End() - first < quint64(traffic.size())
                                ? lastProgress * 1e6
                                : clock.nsecsElapsed() - startNs) /
                           1e9;
    QApplication::processEvents();
    const long rssAfter = RssKilobytes();
    QElapsedTimer stopTimer;
    stopTimer.start();
    rec.OnStopRecording();
    const double stopMs = stopTimer.nsecsElapsed() / 1e6;
    fat.join();

    const qint64 received = qint64(session.ReceivedBytes().End() - first);
    const QString base = dir.filePath(QStringLiteral("run"));
    std::printf("pipeline: %lld bytes sent, %lld received; rows: ascii %d, hex %d\n",
                static_cast<long long>(traffic.size()), static_cast<long long>(received),
                ascii.ItemCount(), hex.ItemCount());
    std::printf("  sender paced at %s\n", rate > 0 ? qPrintable(QStringLiteral("%1 MB/s").arg(rate))
                                                   : "the speed of the pseudo-terminal");
    std::printf("  CSerial -> recording control -> both views + four trace files: %.1f MB/s%s\n",
                received / seconds / 1e6,
                received < traffic.size() ? " (bytes lost: the serial buffer overran)" : "");
    std::printf("  raw copy through a pseudo-terminal into a file:              %.1f MB/s\n", raw);
    std::printf("  resident growth: %.2f bytes per received byte; stop with both lists: %.0f ms\n",
                (rssAfter - rssBefore) * 1024.0 / received, stopMs);
    std::printf("  files: ts %lld, tds %lld, tdh %lld, th %lld, tvs %lld, tvh %lld bytes\n",
                static_cast<long long>(QFileInfo(base + ".ts").size()),
                static_cast<long long>(QFileInfo(base + ".tds").size()),
                static_cast<long long>(QFileInfo(base + ".tdh").size()),
                static_cast<long long>(QFileInfo(base + ".th").size()),
                static_cast<long long>(QFileInfo(base + ".tvs").size()),
                static_cast<long long>(QFileInfo(base + ".tvh").size()));
    if (!messages.Texts().isEmpty())
        std::printf("  messages: %s\n", qPrintable(messages.Texts().join(QStringLiteral(" | "))));
    return 0;
}
