// lineprobe-cli record against fatsim: both modes, the three ways a recording ends, the files
// it leaves and what it prints.
#include "CliProcess.h"
#include "FatSimProcess.h"
#include "PtyPair.h"

#include <gtest/gtest.h>

// Qt
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class RecordCliTest : public ::testing::Test
{
protected:
    void StartFat(const QStringList& options)
    {
        ASSERT_FALSE(fat.Start(options).isEmpty()) << fat.ErrorOutput().toStdString();
    }
    CliResult Record(const QStringList& args, int timeoutMs = 60000)
    {
        return RunCliProcess(QStringLiteral(LINEPROBE_CLI),
                             QStringList{"record", "--port", fat.Device()} + args, timeoutMs);
    }
    QString Out(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    FatSimProcess fat{QStringLiteral(FATSIM_PATH)};
    QTemporaryDir dir;
};

} // namespace

TEST_F(RecordCliTest, NormalModeRecordsForItsDurationAndWritesSixFiles)
{
    StartFat({"--maker", "AT", "--rate", "0", "--traffic-bytes", "3000"});
    const CliResult r = Record({"--out", Out("run1.tds"), "--duration", "1"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "TSH");
    const QByteArray traffic = fat.FromFat().mid(32);
    ASSERT_EQ(traffic.size(), 3000);
    const QByteArray ts = ReadAll(Out("run1.ts"));
    EXPECT_TRUE(ts.startsWith(QByteArray(46, '-') + "\r\n\r\nDateiname: run1\r\n"));
    EXPECT_TRUE(ts.contains("Hersteller:  Aritech\r\n"));
    EXPECT_TRUE(ts.contains(traffic));
    EXPECT_TRUE(ts.contains("Aufzeichnung beendet  : "));
    EXPECT_TRUE(ts.endsWith(QByteArray(46, '-')));
    for (const char* name : {"run1.tds", "run1.tdh", "run1.th", "run1.tvh"})
        EXPECT_TRUE(QFileInfo(Out(name)).size() > 0) << name;
    const QByteArray tvs = ReadAll(Out("run1.tvs"));
    EXPECT_TRUE(tvs.contains("    Feuer MG 0001/01 Halle 3 EG\r\n\r\n"));
    // The ASCII lines on stdout as they were completed, line ends dropped.
    EXPECT_TRUE(r.out.contains("Hersteller:  Aritech\n"));
    EXPECT_TRUE(r.out.contains("\nFeuer MG 0001/01 Halle 3 EG\nStoerung MG 0008/02 Halle 3 EG\n"));
    EXPECT_TRUE(r.out.contains("Aufzeichnung beendet  : "));
    // Within the minute only the closing figures: the identification and the traffic.
    EXPECT_TRUE(r.err.startsWith("Zusammenfassung: Empfangen: 3.032 Bytes, "))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1);
}

TEST_F(RecordCliTest, TheLinesFiguresComeAtTheIntervalAndCloseTheRecording)
{
    StartFat({"--maker", "AT", "--rate", "0", "--traffic-bytes", "3000"});
    qputenv("LINEPROBE_FIGURES_MS", "100");
    const CliResult r = Record({"--no-save", "--duration", "1"});
    qunsetenv("LINEPROBE_FIGURES_MS");
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString counts =
        QString::fromUtf8(", Fehler Rahmen: 0, Parität: 0, Überlauf: 0, Break: 0");
    const QRegularExpression figure(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d Empfangen: [\\d.]+ Bytes, [\\d,]+ k?B/s, "
                       "(letztes Byte: \\d+ s|noch kein Byte)") +
        QRegularExpression::escape(counts) + QLatin1Char('$'));
    QStringList lines = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2) << r.err.toStdString();
    EXPECT_TRUE(
        lines.takeLast().startsWith(QStringLiteral("Zusammenfassung: Empfangen: 3.032 Bytes, ")));
    for (const QString& line : lines)
        EXPECT_TRUE(figure.match(line).hasMatch()) << line.toStdString();

    // --quiet keeps stderr for the messages.
    EXPECT_EQ(fat.Stop(), 0);
    StartFat({"--maker", "AT", "--rate", "0", "--traffic-bytes", "300"});
    qputenv("LINEPROBE_FIGURES_MS", "100");
    const CliResult quiet = Record({"--no-save", "--duration", "1", "--quiet"});
    qunsetenv("LINEPROBE_FIGURES_MS");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_TRUE(quiet.err.isEmpty()) << quiet.err.toStdString();
}

TEST_F(RecordCliTest, SignalsAndAClosedOutputStopLikeTheStopCommand)
{
    struct Case
    {
        const char* name;
        int signal; // 0: standard output goes to "head -n 3", which then goes away
        QStringList options;
    };
    const Case cases[] = {{"term", SIGTERM, {"--quiet", "--duration", "2147484"}},
                          {"hup", SIGHUP, {"--quiet"}},
                          {"pipe", 0, {}}};
    StartFat({"--maker", "TW", "--rate", "2000"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess p;
        QProcess head;
        if (!c.signal) {
            p.setStandardOutputProcess(&head);
            head.start("head", {"-n", "3"});
        }
        p.start(QStringLiteral(LINEPROBE_CLI),
                QStringList{"record", "--port", fat.Device(), "--out", Out(c.name) + ".tds"} +
                    c.options);
        ASSERT_TRUE(p.waitForStarted(10000));
        if (c.signal) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(Out(c.name) + ".ts").size() > 600; },
                                        20000));
            ::kill(pid_t(p.processId()), c.signal);
        }
        ASSERT_TRUE(p.waitForFinished(20000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 0);
        // Quiet, or only the closing figures of a recording that stopped.
        const QByteArray err = p.readAllStandardError();
        EXPECT_TRUE(c.signal ? err.isEmpty() : err.startsWith("Zusammenfassung: ")) << err.data();
        const QByteArray ts = ReadAll(Out(c.name) + ".ts");
        EXPECT_TRUE(ts.endsWith(QByteArray(46, '-')));
        EXPECT_TRUE(ts.contains("Aufzeichnung beendet"));
        EXPECT_TRUE(ReadAll(Out(c.name) + ".tvs").contains("    Aufzeichnung beendet"));
        EXPECT_TRUE(ReadAll(Out(c.name) + ".tvh").contains("    Aufzeichnung beendet"));
    }
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "TSHTSHTSH");
}

TEST_F(RecordCliTest, AReaderThatStopsReadingLosesLinesNeverTheRecording)
{
    // Standard output a pipe nobody reads until the end, or standard output and error a
    // terminal paused as by Ctrl+S (its far end not read); 64 KiB waiting for stdout at most.
    for (const bool terminal : {false, true}) {
        SCOPED_TRACE(terminal ? "terminal" : "pipe");
        StartFat({"--maker", "AT", "--rate", "0", "--traffic-bytes", "1000000"});
        const QString trace = Out(terminal ? "paused" : "stuck");
        int pipe[2] = {-1, -1};
        PtyPair pty;
        if (terminal)
            ASSERT_TRUE(pty.IsValid());
        else
            ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
        QProcess p;
        p.setChildProcessModifier([in = pipe[1], slave = QFile::encodeName(pty.SlavePath())] {
            if (in >= 0) {
                ::dup2(in, STDOUT_FILENO);
                return;
            }
            const int fd = ::open(slave.constData(), O_RDWR | O_NOCTTY);
            ::dup2(fd, STDOUT_FILENO);
            ::dup2(fd, STDERR_FILENO);
        });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LINEPROBE_STDOUT_KB", "64");
        env.insert("LINEPROBE_FIGURES_MS", "100");
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(LINEPROBE_CLI),
                {"record", "--port", fat.Device(), "--out", trace + ".tds"});
        if (!terminal)
            ::close(pipe[1]);
        // Every byte is recorded; the figures on a pipe still come up to the last one.
        QByteArray err;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                if (terminal)
                    return QFileInfo(trace + ".ts").size() > 1000032;
                return (err += p.readAllStandardError()).contains(" Empfangen: 1.000.032 Bytes");
            },
            60000))
            << err.data();
        ::kill(pid_t(p.processId()), SIGINT);
        // The paused terminal goes on (Ctrl+Q) while the recording ends.
        QByteArray shown;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                if (terminal)
                    shown += pty.ReadFor(10);
                return p.state() == QProcess::NotRunning;
            },
            20000));
        EXPECT_EQ(p.exitCode(), 0);
        if (terminal) {
            shown.replace("\r\n", "\n");
            err = shown;
        } else {
            err += p.readAllStandardError();
            QFile read;
            ASSERT_TRUE(read.open(pipe[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle));
            shown = read.readAll();
        }
        EXPECT_EQ(err.count("nicht schnell genug gelesen; "), 1) << err.data();
        EXPECT_TRUE(err.contains(" Zeilen wurden nicht ausgegeben. Die Trace-Dateien sind "
                                 "vollst\xC3\xA4ndig.\nZusammenfassung: Empfangen: 1.000.032 "
                                 "Bytes, "))
            << err.right(1000).data();
        EXPECT_TRUE(err.contains(", nicht ausgegeben: ")) << err.right(1000).data();
        EXPECT_EQ(fat.Stop(), 0);
        const QByteArray traffic = fat.FromFat().mid(32);
        ASSERT_EQ(traffic.size(), 1000000);
        const QByteArray ts = ReadAll(trace + ".ts");
        EXPECT_TRUE(ts.contains(traffic));
        EXPECT_TRUE(ts.endsWith(QByteArray(46, '-')));
        // The lines that went out came first.
        EXPECT_TRUE(shown.startsWith(QByteArray(46, '-'))) << shown.left(100).data();
    }
}

TEST_F(RecordCliTest, AFailedStartLeavesTheEarlierRecordingAsItWas)
{
    StartFat({"--silent"});
    const QStringList extensions = {"ts", "tds", "tdh", "th", "tvs", "tvh"};
    for (const QString& e : extensions) {
        QFile f(Out("old.") + e);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("earlier " + e.toLatin1()) > 0);
    }
    // A port that does not open; a FAT that never answers.
    for (const QString& port : {dir.filePath("no-such-port"), fat.Device()}) {
        const CliResult r = RunCliProcess(QStringLiteral(LINEPROBE_CLI),
                                          {"record", "--port", port, "--out", Out("old.tds")});
        EXPECT_EQ(r.status, 1) << r.err.toStdString();
        for (const QString& e : extensions)
            EXPECT_EQ(ReadAll(Out("old.") + e), "earlier " + e.toLatin1()) << port.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 6); // no file left over
    }
}

TEST_F(RecordCliTest, ARecordingThatCouldNotBeSavedEndsWithStatusOneAndTheReason)
{
    StartFat({"--maker", "AT", "--rate", "0", "--traffic-bytes", "3000"});
    // Trace files beyond a file size limit, as on a full disk.
    QProcess p;
    p.setChildProcessModifier([] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{2000, 2000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    p.start(QStringLiteral(LINEPROBE_CLI), {"record", "--port", fat.Device(), "--out",
                                            Out("full.tds"), "--duration", "1", "--quiet"});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 1);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(
        QRegularExpression("Die Trace-Dateien konnten nicht vollständig "
                           "geschrieben werden: \\S+full\\.\\w+: Die Datei ist zu groß")))
        << err.toStdString();
    EXPECT_FALSE(err.contains("Unknown error")) << err.toStdString();
    // A list file that cannot be written.
    ASSERT_TRUE(QDir(dir.path()).mkdir("lists.tvs"));
    const CliResult r = Record({"--out", Out("lists.tds"), "--duration", "1", "--quiet"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("Lineprobe: File konnte nicht geöffnet werden ") +
                         QFileInfo(Out("lists.tvs")).absoluteFilePath() +
                         QStringLiteral(": Das ist ein Ordner\n"));
}

TEST_F(RecordCliTest, AFloodOfTheLineKeepsEveryByteInOrder)
{
    PtyPair pty;
    QByteArray flood(16 << 20, '\0');
    for (int i = 0; i < flood.size(); ++i)
        flood[i] = char((i * 7 + i / 251) & 0xFF);
    QProcess p;
    p.start(QStringLiteral(LINEPROBE_CLI), {"record", "--port", pty.SlavePath(), "--expert",
                                            "--out", Out("flood.tds"), "--quiet"});
    // The expert header is written once the port is open.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(Out("flood.ts")).size() > 0; }, 20000));
    const qint64 header = QFileInfo(Out("flood.ts")).size();
    std::thread fat([&] {
        for (qsizetype at = 0; at < flood.size(); at += 1 << 16)
            pty.Write(flood.mid(at, 1 << 16));
    });
    const bool all = QTest::qWaitFor(
        [&] { return QFileInfo(Out("flood.ts")).size() >= header + flood.size(); }, 120000);
    fat.join();
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_TRUE(all);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(ReadAll(Out("flood.ts")).mid(header, flood.size()) == flood);
}

TEST_F(RecordCliTest, NoAnswerEndsWithTheMessageAndStatusOne)
{
    StartFat({"--silent"});
    QElapsedTimer clock;
    clock.start();
    const CliResult r = Record({"--out", Out("silent.tds")});
    EXPECT_EQ(r.status, 1);
    EXPECT_GE(clock.elapsed(), 1900);
    EXPECT_EQ(r.err, QStringLiteral("Lineprobe: FAT antwortet nicht\n"));
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "T");
    EXPECT_FALSE(QFile::exists(Out("silent.tvs")));
}

TEST_F(RecordCliTest, AnUnsupportedPanelEndsWithItsMessage)
{
    StartFat({"--maker", "XX"});
    const CliResult r = Record({"--out", Out("xx.tds"), "--quiet"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, QStringLiteral("Lineprobe: Diese Funktion wird noch nicht unterstützt. "
                                    "Setzen Sie sich mit dem Hersteller in Verbindung.\n"));
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "TH");
}

TEST_F(RecordCliTest, NoSaveLeavesNoFiles)
{
    StartFat({"--maker", "NF", "--rate", "0", "--traffic-bytes", "500"});
    const CliResult r = Record({"--no-save", "--duration", "1"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Feuer MG 0001/01 Halle 3 EG\n"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "TSH");
}

TEST_F(RecordCliTest, ExpertModeListensWithItsParametersAndSendsOnlyTheStop)
{
    StartFat({"--maker", "BO"});
    const CliResult r =
        Record({"--out", Out("exp.tds"), "--duration", "1", "--expert", "--baud", "19200",
                "--data-bits", "7", "--stop-bits", "2", "--line-length", "10", "--break", "0D"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "H");
    const QByteArray ts = ReadAll(Out("exp.ts"));
    EXPECT_TRUE(ts.contains("Baudrate: 19200\r\nDatenbit: 7\r\nStopbit:  2\r\n"
                            "Parit\xE4t:  keine\r\nkeine Flu\xDFkontrolle\r\n"));
    EXPECT_TRUE(r.out.contains("Baudrate: 19200\n"));
}

TEST_F(RecordCliTest, BadOptionsAndAMissingPort)
{
    StartFat({});
    for (const QStringList& args :
         {QStringList{"--no-save", "--out", Out("a.tds")}, QStringList{"--duration", "1"},
          QStringList{"--no-save", "--baud", "4800"},
          QStringList{"--no-save", "--expert", "--parity", "sometimes"},
          QStringList{"--no-save", "--expert", "--stop-bits", "3"}}) {
        const CliResult r = Record(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("usage:")) << r.err.toStdString();
    }
    // The duration: whole seconds up to 31 days.
    for (const char* duration : {"0", "-1", "2678401", "4294968", "1.5", "x"}) {
        const CliResult r = Record({"--no-save", "--duration", duration});
        EXPECT_EQ(r.status, 2) << duration;
        EXPECT_TRUE(r.err.startsWith("Lineprobe: Die Aufnahmedauer ist eine ganze Zahl von 1 bis "
                                     "2678400 Sekunden (31 Tage).\nusage:"))
            << r.err.toStdString();
    }
    const CliResult both = RunCliProcess(QStringLiteral(LINEPROBE_CLI),
                                         {"record", "--port", "/x", "--com", "1", "--no-save"});
    EXPECT_EQ(both.status, 2);
    const CliResult missing =
        RunCliProcess(QStringLiteral(LINEPROBE_CLI),
                      {"record", "--port", dir.filePath("nothing-here"), "--out", Out("m.tds")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.contains(
        "nothing-here konnte nicht geöffnet werden: Datei oder Verzeichnis nicht gefunden\n"))
        << missing.err.toStdString();
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_TRUE(fat.FromPc().isEmpty());
}

TEST_F(RecordCliTest, DeviceNameWithControlCharactersAndALeftLockFile)
{
    // A NUL in the mapping once cut the lock file's name; the second run spun on that lock.
    QSettings settings(QStringLiteral("Korvalin GmbH"), QStringLiteral("Lineprobe"));
    settings.setValue(QStringLiteral("Ports/COM4"), QByteArray("\0abc", 4));
    settings.sync();
    for (int run = 0; run < 2; ++run) {
        const CliResult r =
            RunCliProcess(QStringLiteral(LINEPROBE_CLI), {"record", "--com", "4", "--no-save"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, QString::fromUtf8("Lineprobe: COM4 (\\x00abc) konnte nicht geöffnet "
                                           "werden: Der Gerätename enthält Steuerzeichen\n"));
    }
    settings.remove(QStringLiteral("Ports/COM4"));

    // A recording killed outright leaves its lock file; the next one takes the port over.
    StartFat({});
    QProcess killed;
    killed.start(QStringLiteral(LINEPROBE_CLI), {"record", "--port", fat.Device(), "--no-save"});
    ASSERT_TRUE(killed.waitForReadyRead(30000)) << "the port is open, the header printed";
    killed.kill();
    killed.waitForFinished();
    const CliResult r = Record({"--no-save", "--duration", "1"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
}
