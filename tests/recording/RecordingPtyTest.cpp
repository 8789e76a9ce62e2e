// The recording against a FAT scripted on a pseudo-terminal: what goes over the wire, the
// identification exchange, the timers, the port errors and the files a recording leaves.
#include "PtyPair.h"
#include "RecordingFixture.h"

#include "CCommEvent.h"

// Qt
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>

#include <thread>

namespace {

using End = CRecordingControl::End;

class RecordingPtyTest : public RecordingFixture
{
protected:
    RecordingPtyTest()
    {
        rec.Serial().SetPortName(pty.SlavePath());
        rec.SetTimerPeriods(1000, 100);
    }

    // Answers "T" with ident and waits for the recording state and the "S".
    void Identify(const QByteArray& ident)
    {
        ASSERT_EQ(pty.Read(1), "T");
        ASSERT_TRUE(pty.Write(ident));
        ASSERT_TRUE(WaitFor([&] { return rec.RecordingState() == CRecordingControl::Recording; }));
        ASSERT_EQ(pty.Read(1), "S");
    }
    // Sends a chunk and waits until the views end with lastLine.
    void SendChunk(const QByteArray& bytes, const QByteArray& lastLine)
    {
        ASSERT_TRUE(pty.Write(bytes));
        ASSERT_TRUE(WaitFor([&] { return LastAscii() == lastLine; })) << LastAscii().constData();
    }

    PtyPair pty;
};

} // namespace

TEST_F(RecordingPtyTest, NormalRecordingWritesFourTraceFilesAndBothLists)
{
    ASSERT_TRUE(pty.IsValid());
    QSignalSpy changed(&rec, &CRecordingControl::RecordingChanged);
    StartSaving("run1.tds");
    ASSERT_TRUE(rec.IsRecording());
    EXPECT_EQ(rec.StatusText(), QStringLiteral("Analyse Aktiv"));
    EXPECT_TRUE(rec.TimerActive(CRecordingControl::IdentTimer));
    EXPECT_EQ(doc.tracePath, dir.filePath("run1.tds"));

    // Noise first (lowercase, digits, control and high bytes), then the identification in
    // two messages.
    ASSERT_EQ(pty.Read(1), "T");
    const QByteArray id = Ident("AT"); // line-feed rule
    ASSERT_TRUE(pty.Write(QByteArray("\x01"
                                     "ab9\xE4\r",
                                     6) +
                          id.left(12)));
    ASSERT_TRUE(WaitFor([&] { return rec.CollectedCount() == 12; }));
    EXPECT_EQ(rec.RecordingState(), CRecordingControl::AwaitingIdent);
    ASSERT_TRUE(pty.Write(id.mid(12)));
    ASSERT_TRUE(WaitFor([&] { return rec.RecordingState() == CRecordingControl::Recording; }));
    ASSERT_EQ(pty.Read(1), "S");
    EXPECT_FALSE(rec.TimerActive(CRecordingControl::IdentTimer));
    EXPECT_EQ(rec.PanelCode(), 9);
    EXPECT_EQ(session.PanelCode(), 9);
    EXPECT_EQ(doc.maker, "Aritech");

    SendChunk("Feuer MG 12\r\n Halle", " Halle");
    SendChunk(QByteArray(" 3\0\r\n", 5), QByteArray(" Halle 3 \r\n"));
    rec.OnStopRecording();
    EXPECT_EQ(pty.Read(1), "H");
    EXPECT_EQ(pty.ReadFor(200), "") << "nothing after H";
    EXPECT_FALSE(rec.IsRecording());
    EXPECT_FALSE(rec.Serial().IsOpened());
    EXPECT_EQ(rec.StatusText(), QStringLiteral("Analyse Beendet"));
    EXPECT_EQ(endings, QList<End>{End::Stopped});
    EXPECT_EQ(changed.count(), 2);

    const QString base = dir.filePath("run1");
    const QByteArray header = Header(id);
    ExpectTraceFiles(base, {{false, header},
                            {true, "Feuer MG 12\r\n Halle"},
                            {true, QByteArray(" 3\0\r\n", 5)},
                            {false, Footer()}});

    const QList<QByteArray> traffic = {"Feuer MG 12\r\n", QByteArray(" Halle 3 \r\n")};
    QList<QByteArray> ascii = Lines(header);
    ascii.removeLast(); // the empty last line is continued by the line-feed rule
    ascii += traffic;
    ascii += Lines(Footer());
    EXPECT_EQ(AsciiItems(), ascii);
    EXPECT_EQ(ReadFile(base + ".tvs"), ListBytes(ascii));
    QList<QByteArray> hex = Lines(header);
    hex.removeLast();
    hex += {TraceFiles::HexText("Feuer MG 12\r\n"),
            TraceFiles::HexText(QByteArray(" Halle 3\0\r\n", 11))};
    hex += Lines(Footer());
    EXPECT_EQ(ReadFile(base + ".tvh"), ListBytes(hex));
    EXPECT_TRUE(messages.Boxes().isEmpty());
}

TEST_F(RecordingPtyTest, ListsOfATracePathWithAnyExtensionGoBesideItByExtension)
{
    // A trace chosen as .tdh or in capitals still gets one .tvs and one .tvh at stop.
    for (const char* name : {"caps/RUN2.TDS", "other/run3.tdh"}) {
        QDir(dir.path()).mkpath(QString::fromLatin1(name).section('/', 0, 0));
        StartSaving(QString::fromLatin1(name));
        Identify(Ident("NF"));
        SendChunk("Alarm\n", "Alarm\n");
        rec.OnStopRecording();
        ASSERT_EQ(pty.Read(1), "H");
        const QString base = dir.filePath(QString::fromLatin1(name).section('.', 0, 0));
        EXPECT_TRUE(ReadFile(base + ".tvs").contains("    Alarm\n\r\n")) << name;
        EXPECT_TRUE(ReadFile(base + ".tvh").contains("    41 6C 61 72 6D 0A \r\n")) << name;
        EXPECT_EQ(QDir(dir.filePath(QString::fromLatin1(name).section('/', 0, 0)))
                      .entryList(QDir::Files)
                      .size(),
                  6)
            << name;
    }
}

TEST_F(RecordingPtyTest, NoAnswerEndsTheRecordingAfterTwoSecondsWithoutFooter)
{
    rec.SetTimerPeriods(CRecordingControl::IdentTimeoutMs, CRecordingControl::ReconnectMs);
    StartSaving("silent.tds");
    ASSERT_EQ(pty.Read(1), "T");
    // Part of an identification: each message restarts the two seconds.
    ASSERT_TRUE(pty.Write("BOx1xxxx"));
    QElapsedTimer sinceLast;
    sinceLast.start();
    ASSERT_TRUE(WaitFor([&] { return !endings.isEmpty(); }, 15000));
    EXPECT_GE(sinceLast.elapsed(), 1900);
    EXPECT_EQ(endings, QList<End>{End::NoAnswer});
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("FAT antwortet nicht")});
    EXPECT_EQ(messages.Boxes().first().icon, msg::NoIcon);
    EXPECT_FALSE(rec.IsRecording());
    EXPECT_FALSE(rec.Serial().IsOpened());
    EXPECT_EQ(rec.StatusText(), QStringLiteral("Analyse Beendet"));
    EXPECT_EQ(pty.ReadFor(200), "") << "no H after a time-out";
    // A start that never got an identification leaves no files.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    // A stop afterwards does nothing.
    rec.OnStopRecording();
    EXPECT_EQ(pty.ReadFor(100), "");
    EXPECT_EQ(endings.size(), 1);
}

TEST_F(RecordingPtyTest, AnIdentificationThatOverrunsThirtyTwoCharactersTimesOut)
{
    rec.SetTimerPeriods(500, 100);
    options.saveData = false;
    rec.OnStartRecording();
    ASSERT_EQ(pty.Read(1), "T");
    ASSERT_TRUE(pty.Write(QByteArray(30, 'B')));
    ASSERT_TRUE(WaitFor([&] { return rec.CollectedCount() == 30; }));
    // The next message brings the count past 32 without stopping there; a FAT that then
    // keeps sending does not hold the recording open.
    QTimer flood;
    QObject::connect(&flood, &QTimer::timeout, [&] { pty.Write("OOOOO"); });
    flood.start(50);
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(WaitFor([&] { return !endings.isEmpty(); }, 10000));
    flood.stop();
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(endings, QList<End>{End::NoAnswer});
    EXPECT_FALSE(pty.ReadFor(100).contains('S'));
    EXPECT_EQ(messages.Texts(), QStringList{QStringLiteral("FAT antwortet nicht")});
}

TEST_F(RecordingPtyTest, BreakReconnectsAndWritesASecondHeader)
{
    rec.SetTimerPeriods(1000, 300);
    StartSaving("break.tds");
    const QByteArray first = Ident("BO");
    Identify(first);
    SendChunk("AB", "AB");

    rec.Serial().InjectError(CommBreakError);
    ASSERT_TRUE(WaitFor([&] { return rec.RecordingState() == CRecordingControl::AwaitingIdent; }));
    EXPECT_TRUE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    // The reconnect sends "T" every period until a whole identification comes.
    QByteArray wire = "TS";
    ASSERT_EQ(pty.Read(1), "T");
    wire += "T";
    const QByteArray second = Ident("EF", '1', "V9.99z");
    ASSERT_TRUE(pty.Write(second));
    ASSERT_TRUE(WaitFor([&] { return rec.RecordingState() == CRecordingControl::Recording; }));
    EXPECT_FALSE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    EXPECT_EQ(rec.PanelCode(), 14);
    wire += pty.ReadFor(200);
    SendChunk("\xC1\xC2", ".AB");
    rec.OnStopRecording();
    wire += pty.ReadFor(300);
    EXPECT_TRUE(QRegularExpression("^TST+SH$").match(QString::fromLatin1(wire)).hasMatch())
        << wire.constData();

    ExpectTraceFiles(dir.filePath("break"), {{false, Header(first)},
                                             {true, "AB"},
                                             {true, "Break Error"},
                                             {false, Header(second)},
                                             {true, "\xC1\xC2"},
                                             {false, Footer()}});
    EXPECT_TRUE(AsciiItems().contains("Break Error"));
}

TEST_F(RecordingPtyTest, AnIoErrorClosesThePortAndAStopStillWritesFooterAndLists)
{
    rec.SetTimerPeriods(1000, 60000); // no reconnect within this test
    StartSaving("io.tds");
    const QByteArray id = Ident("NF");
    Identify(id);
    SendChunk("X\n", "X\n");
    rec.Serial().InjectError(CommIoError);
    ASSERT_TRUE(WaitFor([&] { return AsciiItems().contains("IO Fehler"); }));
    EXPECT_FALSE(rec.Serial().IsOpened());
    EXPECT_TRUE(rec.IsRecording());
    EXPECT_TRUE(rec.TimerActive(CRecordingControl::ReconnectTimer));

    rec.OnStopRecording();
    EXPECT_EQ(pty.ReadFor(200), "") << "no H on a closed port";
    EXPECT_FALSE(rec.IsRecording());
    EXPECT_FALSE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    ExpectTraceFiles(dir.filePath("io"),
                     {{false, Header(id)}, {true, "X\n"}, {true, "IO Fehler"}, {false, Footer()}});
    QList<QByteArray> ascii = Lines(Header(id));
    ascii.removeLast();
    ascii += {"X\n", "IO Fehler", ""};
    ascii += Lines(Footer());
    EXPECT_EQ(ReadFile(dir.filePath("io.tvs")), ListBytes(ascii));
    EXPECT_TRUE(QFile::exists(dir.filePath("io.tvh")));
}

TEST_F(RecordingPtyTest, AnUnpluggedAdapterIsReopenedUnderItsPathAndIdentifiedAgain)
{
    rec.SetTimerPeriods(1000, 100);
    const QString link = dir.filePath("adapter");
    ASSERT_TRUE(QFile::link(pty.SlavePath(), link));
    rec.Serial().SetPortName(link);
    StartSaving("unplug.tds");
    const QByteArray id = Ident("MM");
    Identify(id);
    SendChunk("\xC1", ".A");

    // Unplugged: the far end goes away; the recording keeps its files and tries again.
    PtyPair second;
    pty.CloseMaster();
    ASSERT_TRUE(WaitFor([&] { return AsciiItems().contains("IO Fehler"); }));
    EXPECT_TRUE(rec.IsRecording());
    EXPECT_TRUE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    // Plugged in again, under the same path.
    ASSERT_TRUE(QFile::remove(link));
    ASSERT_TRUE(QFile::link(second.SlavePath(), link));
    // Read while the event loop runs: the reconnect timer has to fire.
    QByteArray got;
    ASSERT_TRUE(WaitFor([&] { return !(got += second.ReadFor(1)).isEmpty(); }));
    ASSERT_EQ(got.left(1), "T");
    ASSERT_TRUE(second.Write(id));
    ASSERT_TRUE(WaitFor([&] { return rec.RecordingState() == CRecordingControl::Recording; }));
    EXPECT_FALSE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    QByteArray wire = got + second.ReadFor(300);
    ASSERT_TRUE(second.Write("\xC2"));
    ASSERT_TRUE(WaitFor([&] { return LastAscii() == ".B"; }));
    rec.OnStopRecording();
    wire += second.ReadFor(300);
    EXPECT_TRUE(QRegularExpression("^T*SH$").match(QString::fromLatin1(wire)).hasMatch())
        << wire.constData();
    ExpectTraceFiles(dir.filePath("unplug"), {{false, Header(id)},
                                              {true, "\xC1"},
                                              {true, "IO Fehler"},
                                              {false, Header(id)},
                                              {true, "\xC2"},
                                              {false, Footer()}});
}

TEST_F(RecordingPtyTest, ExpertModeSendsOnlyTheStopAndOpensTheMonitorOnce)
{
    QSignalSpy monitor(&rec, &CRecordingControl::MonitorWanted);
    QSignalSpy modem(&rec, &CRecordingControl::ModemStatusChanged);
    options.expertMode = true;
    ComParameter p;
    p.baudRate = 19200;
    p.dataBits = 7;
    p.stopBits = 2;
    options.expertParameter = p;
    options.lines.lineLength = 4;
    options.lines.breakValue = 0x0D;
    for (int run = 0; run < 2; ++run) {
        StartSaving(QStringLiteral("expert%1.tds").arg(run));
        ASSERT_TRUE(rec.IsRecording());
        EXPECT_EQ(rec.PanelCode(), 1);
        EXPECT_EQ(session.PanelCode(), 1);
        EXPECT_FALSE(rec.TimerActive(CRecordingControl::IdentTimer));
        EXPECT_EQ(modem.count(), run + 1); // a pseudo-terminal has no lines: status 0
        EXPECT_TRUE(doc.fatVersion.isEmpty());
        SendChunk("abcdef\rg", "g");
        rec.OnStopRecording();
        EXPECT_EQ(pty.ReadFor(300), "H");
    }
    EXPECT_EQ(monitor.count(), 1);
    const QByteArray text = ReadFile(dir.filePath("expert1.ts"));
    EXPECT_TRUE(text.contains("Baudrate: 19200\r\nDatenbit: 7\r\nStopbit:  2\r\n"
                              "Parit\xE4t:  keine\r\n"));
    EXPECT_TRUE(text.contains("abcdef\rg"));
    EXPECT_TRUE(AsciiItems().contains("abcd"));
    EXPECT_TRUE(AsciiItems().contains("ef\r"));
    EXPECT_TRUE(messages.Boxes().isEmpty()) << messages.Texts().join('|').toStdString();
}

TEST_F(RecordingPtyTest, ModemLineCommandsOnAPseudoTerminalDoNotDisturbTheRecording)
{
    StartSaving("modem.tds");
    Identify(Ident("AT"));
    for (int command = 0; command < 4; ++command)
        rec.OnModemLine(command);
    rec.OnCommStatusChanged();
    SendChunk("ok\n", "ok\n");
    EXPECT_TRUE(rec.IsRecording());
    rec.OnStopRecording();
    EXPECT_EQ(pty.Read(1), "H");
    EXPECT_TRUE(messages.Boxes().isEmpty());
}

TEST_F(RecordingPtyTest, AnUnsupportedPanelStopsAtOnceWhenSaving)
{
    StartSaving("xx.tds");
    ASSERT_EQ(pty.Read(1), "T");
    ASSERT_TRUE(pty.Write(Ident("XX")));
    ASSERT_TRUE(WaitFor([&] { return !endings.isEmpty(); }));
    EXPECT_EQ(endings, QList<End>{End::Unsupported});
    EXPECT_EQ(pty.ReadFor(300), "H");
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("Diese Funktion wird noch nicht unterstützt.\nSetzen Sie "
                                         "sich mit dem Hersteller in Verbindung.")});
    EXPECT_TRUE(ReadFile(dir.filePath("xx.ts")).endsWith(Footer()));
    EXPECT_TRUE(QFile::exists(dir.filePath("xx.tvs")));
}

TEST_F(RecordingPtyTest, AnUnsupportedPanelWithoutSavingEndsAtTheFirstChunk)
{
    options.saveData = false;
    rec.OnStartRecording();
    ASSERT_TRUE(rec.IsRecording());
    Identify(Ident("AC", '7'));
    EXPECT_EQ(rec.PanelCode(), 0);
    EXPECT_EQ(messages.Boxes().size(), 1);
    ASSERT_TRUE(pty.Write("A"));
    ASSERT_TRUE(WaitFor([&] { return !endings.isEmpty(); }));
    EXPECT_EQ(endings, QList<End>{End::Unsupported});
    EXPECT_EQ(pty.ReadFor(300), "H");
    ASSERT_EQ(messages.Boxes().size(), 2);
    EXPECT_EQ(messages.Boxes().last().text,
              QStringLiteral("Diese Funktion wird noch nicht unterstützt"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(RecordingPtyTest, AnUnknownPortErrorStopsTheRecordingWithItsMessage)
{
    StartSaving("fatal.tds");
    Identify(Ident("BO"));
    rec.OnCommError(9);
    EXPECT_FALSE(rec.IsRecording());
    EXPECT_EQ(pty.Read(1), "H");
    EXPECT_EQ(endings, QList<End>{End::PortError});
    EXPECT_EQ(messages.Texts(),
              QStringList{QStringLiteral("Es ist ein Schnittstellenfehler aufgetreten!")});
    EXPECT_TRUE(ReadFile(dir.filePath("fatal.ts")).endsWith(Footer()));
}

TEST_F(RecordingPtyTest, ACancelledTraceDialogLeavesThePortAlone)
{
    messages.FileNext(QString());
    rec.OnStartRecording();
    EXPECT_FALSE(rec.IsRecording());
    EXPECT_FALSE(rec.Serial().IsOpened());
    EXPECT_EQ(pty.ReadFor(200), "");
    EXPECT_EQ(rec.StatusText(), QStringLiteral("Lineprobe ist für eine Aufnahme bereit"));
}

TEST_F(RecordingPtyTest, AFloodIsReadInOrderWithoutHoldingTheEventLoop)
{
    options.saveData = false;
    rec.OnStartRecording();
    Identify(Ident("NF"));
    QByteArray flood;
    for (int i = 0; flood.size() < 2 * 1024 * 1024; ++i)
        flood += "Meldung " + QByteArray::number(i) + "\n";
    int turns = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++turns; });
    tick.start(0);
    // Written from another thread while this one serves the recording, as a FAT would, at
    // about 3 MB/s: far above any serial line, within what the component buffers.
    std::thread writer([&] {
        for (qsizetype at = 0; at < flood.size(); at += 16384) {
            pty.Write(flood.mid(at, 16384));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    struct Join
    {
        std::thread& t;
        ~Join() { t.join(); }
    } join{writer};
    const QByteArray last = flood.mid(flood.lastIndexOf('\n', flood.size() - 2) + 1);
    ASSERT_TRUE(WaitFor([&] { return LastAscii() == last; }, 60000)) << AsciiLines().Count();
    EXPECT_FALSE(AsciiItems().contains("Overrun Error"));
    EXPECT_GT(turns, 2);
    QByteArray shown;
    for (qsizetype i = 0; i < AsciiLines().Count(); ++i)
        if (AsciiLines().At(i).startsWith("Meldung"))
            shown += AsciiLines().At(i);
    EXPECT_EQ(shown, flood);
}

TEST_F(RecordingPtyTest, ExpertModeReopensALostPortWithItsParameters)
{
    rec.SetTimerPeriods(1000, 100);
    options.expertMode = true;
    ComParameter p;
    p.baudRate = 4800;
    options.expertParameter = p;
    StartSaving("lost.tds");
    SendChunk("abc", "abc");
    rec.Serial().InjectError(CommIoError);
    ASSERT_TRUE(WaitFor([&] { return AsciiItems().contains("IO Fehler"); }));
    EXPECT_TRUE(rec.IsRecording());
    // Reopened by timer 2, without "T": the recording goes on where it was.
    ASSERT_TRUE(WaitFor([&] { return rec.Serial().IsOpened() != 0; }));
    EXPECT_FALSE(rec.TimerActive(CRecordingControl::ReconnectTimer));
    ComParameter now;
    rec.Serial().GetComParameter(&now);
    EXPECT_EQ(now.baudRate, 4800);
    SendChunk("def", "def");
    rec.OnStopRecording();
    EXPECT_EQ(pty.ReadFor(300), "H");
    const QByteArray ts = ReadFile(dir.filePath("lost.ts"));
    EXPECT_TRUE(ts.contains("abcIO Fehlerdef")) << ts.constData();
    EXPECT_TRUE(ts.endsWith(Footer()));
}
