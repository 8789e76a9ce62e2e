// A recording without a window as lineprobe-cli runs it: fatsim sends its made-up traffic of
// an eff eff panel (marked lines and line feeds) as fast as the line takes it; the real
// CSerial, the recording session with both lists and the four trace files take it.
// Run by hand: bench_recording [--megabytes N] [--rate BYTES_PER_SECOND]
#include "CLineprobeDoc.h"
#include "CMessageRecorder.h"
#include "CRecordingSession.h"

// Qt
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    auto value = [&](const char* name, qint64 fallback) {
        const int at = int(args.indexOf(QLatin1String(name)));
        return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toLongLong() : fallback;
    };
    const qint64 bytes = value("--megabytes", 4) * 1000 * 1000;
    const qint64 rate = value("--rate", 0);

    // fatsim without its byte log: a line per byte would measure the log, not the recording.
    QProcess fat;
    fat.start(QStringLiteral(FATSIM_PATH),
              {"--maker", "EE", "--model", "4", "--rate", QString::number(rate), "--traffic-bytes",
               QString::number(bytes)});
    QString device;
    if (fat.waitForStarted(10000) && fat.waitForReadyRead(10000))
        device = QString::fromLocal8Bit(fat.readLine()).trimmed();
    if (device.isEmpty()) {
        std::fprintf(stderr, "fatsim did not start\n");
        return 1;
    }
    CMessageRecorder messages;
    QTemporaryDir dir;
    CLineprobeDoc doc;
    CRecordingSession session(doc);
    CRecordingControl& rec = session.Control();
    // The received bytes, counted on their way in.
    const auto received = [&session] { return qint64(session.ReceivedBytes().End()); };
    rec.Serial().SetPortName(device);
    messages.FileNext(dir.filePath(QStringLiteral("run.tds")));
    rec.OnStartRecording();

    QElapsedTimer guard;
    guard.start();
    while (rec.RecordingState() != CRecordingControl::Recording && guard.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QElapsedTimer clock;
    clock.start();
    // Until everything came, or nothing more for two seconds (bytes lost to an overrun of
    // the serial component's buffer when the FAT sends faster than the recording takes).
    qint64 last = -1;
    QElapsedTimer still;
    still.start();
    double seconds = 0;
    while (received() < bytes && still.elapsed() < 2000 && rec.IsRecording()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        const qint64 now = received();
        if (now != last) {
            last = now;
            still.restart();
            seconds = clock.nsecsElapsed() / 1e9;
        }
    }
    const qint64 total = received();
    QElapsedTimer stop;
    stop.start();
    rec.OnStopRecording();
    const double stopMs = stop.nsecsElapsed() / 1e6;
    fat.terminate();
    fat.waitForFinished(10000);

    std::printf("recording without a window: %lld of %lld bytes in %.2f s: %.1f MB/s%s\n", total,
                bytes, seconds, total / seconds / 1e6,
                messages.Texts().isEmpty() ? "" : " (with messages)");
    std::printf("  lines: ascii %lld, hex %lld; stop with footer and both lists: %.0f ms\n",
                qint64(session.Lines(LineRules::View::Ascii).Count()),
                qint64(session.Lines(LineRules::View::Hex).Count()), stopMs);
    for (qsizetype i = 0; i < session.Lines(LineRules::View::Ascii).Count(); ++i)
        if (session.Lines(LineRules::View::Ascii).At(i) == "Overrun Error")
            std::printf("  the serial component's buffer overran: FAT faster than the recording\n");
    return total == bytes ? 0 : 1;
}
