// lineprobe-cli record against fatsim: both modes, the three ways a recording ends, the files
// it leaves and what it prints.
#include "CliProcess.h"
#include "FatSimProcess.h"

#include <gtest/gtest.h>

// Qt
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <csignal>

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
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
}

TEST_F(RecordCliTest, SigtermStopsLikeTheStopCommand)
{
    StartFat({"--maker", "TW", "--rate", "2000"});
    QProcess p;
    p.start(QStringLiteral(LINEPROBE_CLI),
            {"record", "--port", fat.Device(), "--out", Out("sig.tds"), "--quiet"});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo(Out("sig.ts")).size() > 600; }, 20000));
    ::kill(pid_t(p.processId()), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty()); // --quiet
    EXPECT_EQ(fat.Stop(), 0);
    EXPECT_EQ(fat.FromPc(), "TSH");
    EXPECT_TRUE(ReadAll(Out("sig.ts")).endsWith(QByteArray(46, '-')));
    EXPECT_TRUE(ReadAll(Out("sig.ts")).contains("Aufzeichnung beendet"));
    EXPECT_TRUE(ReadAll(Out("sig.tvs"))
                    .contains("    \xF0"
                              "Feuer MG 0001/01"));
    EXPECT_TRUE(ReadAll(Out("sig.tvh")).contains("    F0 46 65 75 65 72 "));
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
          QStringList{"--no-save", "--expert", "--stop-bits", "3"},
          QStringList{"--no-save", "--duration", "0"}}) {
        const CliResult r = Record(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith("usage:")) << r.err.toStdString();
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
