#include "RecordCommand.h"

#include "CLineprobeDoc.h"
#include "CRecordingSession.h"
#include "CStderrMessages.h"
#include "CodePage.h"
#include "OutputLines.h"
#include "StopSignals.h"

// Qt
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLocale>
#include <QTime>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace LineprobeCli {

namespace {

void PrintErr(const QString& text)
{
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// The line's figures go to stderr this often; the environment may shorten it (tests).
int FiguresIntervalMs()
{
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("LINEPROBE_FIGURES_MS", &ok);
    return ok && ms > 0 ? ms : 60 * 1000;
}

// Longest --duration: 31 days.
constexpr qint64 kMaxDurationS = 31 * 24 * 3600;
// A timer runs at most this long at a time; the deadline decides when the recording ends.
constexpr qint64 kTimerStepMs = 3600 * 1000;
// At the end, standard output gets this long to take what waits for it.
constexpr int kFlushMs = 1000;
// Messages and figures waiting for stderr at most.
constexpr qsizetype kStderrCapacity = 1 << 20;

struct RecordOptions
{
    QString device;
    int comPort = 0;
    QString out;
    bool noSave = false;
    qint64 durationS = 0;
    bool expert = false;
    ComParameter parameter;
    LineRules::Settings lines;
    bool quiet = false;
};

// Reads the options; returns 0 when they are complete, else the exit status (usage: 2).
int Parse(const QStringList& args, RecordOptions& o)
{
    bool expertValues = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool hasValue = i + 1 < args.size();
        const QString value = hasValue ? args.at(i + 1) : QString();
        bool ok = true;
        if (a == QLatin1String("--port") && hasValue) {
            o.device = value;
        } else if (a == QLatin1String("--com") && hasValue) {
            o.comPort = value.toInt(&ok);
            ok = ok && o.comPort >= 1 && o.comPort <= 4;
        } else if (a == QLatin1String("--out") && hasValue) {
            o.out = value;
        } else if (a == QLatin1String("--no-save")) {
            o.noSave = true;
            continue;
        } else if (a == QLatin1String("--duration") && hasValue) {
            o.durationS = value.toLongLong(&ok);
            if (!ok || o.durationS < 1 || o.durationS > kMaxDurationS) {
                PrintErr(QStringLiteral("Lineprobe: Die Aufnahmedauer ist eine ganze Zahl von 1 "
                                        "bis %1 Sekunden (31 Tage).")
                             .arg(kMaxDurationS));
                return 2;
            }
        } else if (a == QLatin1String("--expert")) {
            o.expert = true;
            continue;
        } else if (a == QLatin1String("--quiet")) {
            o.quiet = true;
            continue;
        } else if (a == QLatin1String("--baud") && hasValue) {
            o.parameter.baudRate = value.toInt(&ok);
            ok = ok && o.parameter.baudRate > 0;
            expertValues = true;
        } else if (a == QLatin1String("--data-bits") && hasValue) {
            o.parameter.dataBits = value.toInt(&ok);
            ok = ok && o.parameter.dataBits >= 5 && o.parameter.dataBits <= 8;
            expertValues = true;
        } else if (a == QLatin1String("--parity") && hasValue) {
            static const char* const names[] = {"none", "odd", "even", "mark", "space"};
            ok = false;
            for (int p = 0; p < 5; ++p)
                if (value == QLatin1String(names[p])) {
                    o.parameter.parity = std::uint8_t(p);
                    ok = true;
                }
            expertValues = true;
        } else if (a == QLatin1String("--stop-bits") && hasValue) {
            if (value == QLatin1String("1"))
                o.parameter.stopBits = 0;
            else if (value == QLatin1String("1.5"))
                o.parameter.stopBits = 1;
            else if (value == QLatin1String("2"))
                o.parameter.stopBits = 2;
            else
                ok = false;
            expertValues = true;
        } else if (a == QLatin1String("--line-length") && hasValue) {
            o.lines.lineLength = value.toInt(&ok);
            if (ok && (o.lines.lineLength < 1 || o.lines.lineLength > 100)) {
                PrintErr(QStringLiteral("Lineprobe: Geben Sie bitte eine ganze Zahl zwischen 1 "
                                        "und 100 ein."));
                return 2;
            }
            expertValues = true;
        } else if (a == QLatin1String("--break") && hasValue) {
            const QByteArray hex = value.toLatin1();
            const bool digits =
                hex.size() == 2 && std::isxdigit(uchar(hex[0])) && std::isxdigit(uchar(hex[1]));
            if (!digits) {
                PrintErr(QStringLiteral("Lineprobe: Das Umbruchzeichen besteht aus zwei "
                                        "Hex-Ziffern (00 bis FF)."));
                return 2;
            }
            o.lines.breakValue = hex.toInt(nullptr, 16);
            expertValues = true;
        } else {
            return 2;
        }
        if (!ok)
            return 2;
        ++i; // the value
    }
    const bool onePort = o.device.isEmpty() != (o.comPort == 0);
    const bool oneTarget = o.out.isEmpty() == o.noSave;
    if (!onePort || !oneTarget || (expertValues && !o.expert))
        return 2;
    return 0;
}

// A completed ASCII line for the terminal: line ends dropped, other control bytes shown as
// blanks, the code page turned into the terminal's.
QByteArray TerminalLine(QByteArray line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return FromCp1252(line).toUtf8() + '\n';
}

// Standard output keeps at most this much that its reader has not taken yet; the environment
// may set another size in KiB (tests).
qsizetype StdoutCapacity()
{
    bool ok = false;
    const int kib = qEnvironmentVariableIntValue("LINEPROBE_STDOUT_KB", &ok);
    return ok && kib > 0 ? qsizetype(kib) * 1024 : qsizetype(4) << 20;
}

// Completed ASCII lines up to upTo go to standard output, each once; false when its reader went
// away. A line dropped because the reader is too slow counts as gone out.
bool EchoLines(OutputLines& out, const CLineIndex& lines, qsizetype& echoed, qsizetype upTo)
{
    for (; echoed < upTo && echoed < lines.Count(); ++echoed)
        if (out.Write(TerminalLine(lines.At(echoed))) == OutputLines::Put::Gone)
            return false;
    return true;
}

QString DroppedText(qint64 lines, bool saved)
{
    return QStringLiteral("Lineprobe: Die Ausgabe wird nicht schnell genug gelesen; %1 Zeilen "
                          "wurden nicht ausgegeben.")
               .arg(QLocale(QLocale::German).toString(lines)) +
           (saved ? QStringLiteral(" Die Trace-Dateien sind vollständig.") : QString());
}

} // namespace

QString RecordUsage()
{
    return QStringLiteral(
        "       lineprobe-cli record (--port DEVICE | --com N) (--out TRACE.tds | --no-save)\n"
        "                            [--duration S] [--expert [--baud B] [--data-bits D]\n"
        "                            [--parity none|odd|even|mark|space] [--stop-bits 1|1.5|2]\n"
        "                            [--line-length N] [--break HH]] [--quiet]");
}

int Record(const QStringList& args)
{
    RecordOptions o;
    if (const int status = Parse(args, o)) {
        if (status == 2)
            PrintErr(QStringLiteral("usage:") + RecordUsage().mid(6));
        return status;
    }

    SetProgramTitle(QStringLiteral("Lineprobe"));
    CStderrMessages sink;
    CMessageSink* previous = SetMessages(&sink);
    struct Restore
    {
        CMessageSink* previous;
        ~Restore() { SetMessages(previous); }
    } restore{previous};
    // The save dialog of the start takes the path of --out.
    if (!o.noSave)
        sink.AddFileAnswer(o.out);

    CLineprobeDoc doc;
    qsizetype echoed = 0; // ASCII lines already on the terminal
    CRecordingSession session(doc);
    RecordingOptions& options = session.Options();
    options.saveData = !o.noSave;
    options.expertMode = o.expert;
    options.expertParameter = o.parameter;
    options.lines = o.lines;
    CRecordingControl& rec = session.Control();
    const CLineIndex& ascii = session.Lines(LineRules::View::Ascii);
    // A reader of standard output that went away ends the recording as a stop does; one that
    // reads too slowly loses lines, never the recording.
    bool stdoutGone = o.quiet;
    auto outputGone = [&] {
        stdoutGone = true;
        QMetaObject::invokeMethod(&rec, &CRecordingControl::OnStopRecording, Qt::QueuedConnection);
    };
    OutputLines out(STDOUT_FILENO, StdoutCapacity(), outputGone);
    // Messages and figures while the recording runs: a paused terminal holds them up, never the
    // recording; the closing figures are written as any program writes them.
    auto err = std::make_unique<OutputLines>(STDERR_FILENO, kStderrCapacity, nullptr);
    sink.SetWriter([&err](const QByteArray& line) { err->Write(line); });
    // On every way out, messages go to stderr itself again before their writer ends (what
    // waits for it gets at most a second).
    struct ErrScope
    {
        CStderrMessages& sink;
        std::unique_ptr<OutputLines>& err;
        void End()
        {
            sink.SetWriter(nullptr);
            err.reset();
        }
        ~ErrScope() { End(); }
    } errScope{sink, err};
    const auto printErr = [&err](const QString& text) { err->Write(text.toUtf8() + '\n'); };
    // Said once, when the reader has caught up again or at the end.
    bool droppedTold = false;
    auto tellDropped = [&] {
        if (droppedTold || out.Dropped() == 0)
            return;
        droppedTold = true;
        printErr(DroppedText(out.Dropped(), !o.noSave && !rec.SaveFailed()));
    };
    if (!o.quiet) {
        // A line is complete once another follows it; the last one goes at the end.
        QObject::connect(
            &session, &CRecordingSession::LinesAppended,
            [&](LineRules::View view, const CLineIndex::Change&, CRecordingSession::Append) {
                const CLineIndex& lines = session.Lines(view);
                if (view != LineRules::View::Ascii || stdoutGone)
                    return;
                const qint64 dropped = out.Dropped();
                const qsizetype before = echoed;
                if (!EchoLines(out, lines, echoed, lines.Count() - 1))
                    outputGone();
                else if (echoed > before && out.Dropped() == dropped)
                    tellDropped(); // lines are taken again
            });
    }
    QObject::connect(&session, &CRecordingSession::ListReset, [&echoed](LineRules::View view) {
        if (view == LineRules::View::Ascii)
            echoed = 0;
    });
    if (!o.device.isEmpty())
        rec.Serial().SetPortName(o.device);
    else
        rec.Serial().SetComPort(o.comPort);

    QEventLoop loop;
    int status = -1;
    QObject::connect(&rec, &CRecordingControl::Ended, &loop, [&](CRecordingControl::End end) {
        status = end == CRecordingControl::End::Stopped ? 0 : 1;
        loop.exit(status);
    });

    StopSignals stopSignals([&rec] { rec.OnStopRecording(); });
    if (!stopSignals.IsValid()) {
        PrintErr(QStringLiteral("Lineprobe: Das Signal zum Beenden kann nicht empfangen werden."));
        return 1;
    }

    switch (rec.StartRecording()) {
    case CRecordingControl::Start::Started:
    case CRecordingControl::Start::AlreadyRunning:
        break;
    case CRecordingControl::Start::NoTraceFiles:
        return 1; // after the file message
    case CRecordingControl::Start::NoPort:
        return 1; // after the port's message
    }
    // The end is a deadline; the timer only wakes up to look at it, in steps an int holds.
    const QDeadlineTimer end(o.durationS * 1000);
    QTimer wake;
    wake.setSingleShot(true);
    auto sleepOrStop = [&] {
        const qint64 left = end.remainingTime();
        if (left == 0)
            rec.OnStopRecording();
        else
            wake.start(int(std::min(left, kTimerStepMs)));
    };
    QObject::connect(&wake, &QTimer::timeout, &rec, sleepOrStop);
    if (o.durationS > 0)
        sleepOrStop();
    // Once a minute the line's figures, unless --quiet.
    QTimer figures;
    QObject::connect(&figures, &QTimer::timeout, [&session, &printErr] {
        printErr(QTime::currentTime().toString(QStringLiteral("HH:mm:ss ")) +
                 session.Health().Line());
    });
    if (!o.quiet)
        figures.start(FiguresIntervalMs());
    if (status < 0)
        loop.exec();
    figures.stop();
    if (!stdoutGone && EchoLines(out, ascii, echoed, ascii.Count()))
        out.Flush(kFlushMs); // a reader that is stuck does not hold the end
    tellDropped();
    errScope.End();
    // A recording that took bytes or ended on command closes with its figures.
    if (!o.quiet && (status == 0 || session.Health().Bytes() > 0))
        PrintErr(QStringLiteral("Zusammenfassung: ") + session.Health().Line() +
                 (out.Dropped() > 0 ? QStringLiteral(", nicht ausgegeben: %1 Zeilen")
                                          .arg(QLocale(QLocale::German).toString(out.Dropped()))
                                    : QString()));
    // The recording counts only when everything of it reached the disk; the reason was shown.
    if (rec.SaveFailed())
        return 1;
    return status < 0 ? 1 : status;
}

} // namespace LineprobeCli
