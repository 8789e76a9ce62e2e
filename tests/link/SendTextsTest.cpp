#include "LinkFixture.h"

#include "CFatCommands.h"
#include "CRecordList.h"
#include "CTransferCore.h"

// Qt
#include <QEventLoop>
#include <QTimer>

namespace {

class SendTexts : public LinkTest
{
protected:
    void SetUp() override
    {
        MakeProject();
        AddRow("S", "0001", "00", "Halle", "Erdgeschoss");
        AddRow("S", "0002", "01", "Tür Süd", "Flur");
    }
    QByteArray Rec(int row) const
    {
        const CRecordList& l = const_cast<SendTexts*>(this)->m_doc.Records();
        return QByteArray(1, char(0x88)) + l.GetItemText(row, Column::Group) +
               l.GetItemText(row, Column::Detector) +
               l.GetItemText(row, Column::Text1).leftJustified(12) +
               l.GetItemText(row, Column::Text2).leftJustified(20);
    }
    QByteArray Records() const { return Rec(0) + Rec(1); }
};

} // namespace

TEST_F(SendTexts, TwoRowsWithEchoOfEveryByte)
{
    SetOffset("10");
    StartFat();
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Success);
    EXPECT_EQ(Boxes(), QStringList{OkWrite()});
    const QByteArray written = Hex("0002") + Hex("0000000a") + Records();
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("06") + written + Hex("04"));
    // every byte after the ready answer came back unchanged
    EXPECT_EQ(m_fat.FromFat().mid(32), Hex("06") + written);
    const QJsonObject store = StoreAfter();
    EXPECT_EQ(store["groupOffset"].toInt(), 10);
    ASSERT_EQ(store["records"].toArray().size(), 2);
    EXPECT_EQ(QByteArray::fromHex(store["records"].toArray()[1].toString().toLatin1()), Rec(1));
}

TEST_F(SendTexts, NegativeOffsetOnTheWire)
{
    SetOffset("-5");
    StartFat();
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Success);
    EXPECT_TRUE(m_fat.FromPc().startsWith(QByteArray("T") + Hex("06") + Hex("0002ffff fffb")));
}

TEST_F(SendTexts, LongTextGoesOutWhole)
{
    m_doc.Records().SetItemText(1, 4, "Dreizehn Zeichen");
    StartFat({"--silent-at", "echo:80"}); // the FAT counts by its own layout
    Run(::SendTexts);
    EXPECT_TRUE(m_fat.FromPc().contains("Dreizehn Zeichen"));
}

TEST_F(SendTexts, EmptyListExchangesCountAndOffset)
{
    m_doc.Records().DeleteAllItems();
    StartFat({}, StoreJson({SRecord("0001", "01", "a", "b")}));
    EXPECT_EQ(Run(::SendTexts, TransferTimeouts()), CHeadlessTransfer::Success);
    EXPECT_EQ(Boxes(), QStringList{OkWrite()});
    EXPECT_EQ(m_fat.FromPc(),
              QByteArray("T") + Hex("06") + Hex("0000") + Hex("00000000") + Hex("04"));
    EXPECT_GE(m_elapsed, 2000);
    EXPECT_EQ(StoreAfter()["records"].toArray().size(), 0);
}

TEST_F(SendTexts, WrongFatWritesNothing)
{
    StartFat({"--maker", "EF"});
    EXPECT_EQ(Run(::SendTexts, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Falsches FAT"});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("04"));
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(SendTexts, EffEffIgnoresTheModelDigit)
{
    MakeProject(FormatStandard, PanelType::EffEff, "EE 1");
    AddRow("S", "0001", "01", "a", "b");
    StartFat({"--maker", "EE", "--model", "4"});
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Success);

    MakeProject(FormatStandard, PanelType::Bosch, "BO 1");
    m_recorder.Clear();
    FatSimProcess other{QStringLiteral(FATSIM_PATH)};
    ASSERT_FALSE(other.Start({"--model", "2"}).isEmpty());
    m_serial.SetPortName(other.Device());
    EXPECT_EQ(CHeadlessTransfer::Run(::SendTexts, m_doc, m_serial, Quick()),
              CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Falsches FAT"});
}

TEST_F(SendTexts, NotReadyRepeatsTheWriteCommand)
{
    StartFat({"--not-ready", "3"});
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Success);
    EXPECT_TRUE(m_fat.FromPc().startsWith(QByteArray("T") + Hex("06060606") + Hex("0002")));
}

TEST_F(SendTexts, NeverReadyWaitsUntilClosed)
{
    StartFat({"--not-ready", "1000000", "--silent-at", "ready"});
    CTransferCore core;
    core.SetTimeouts(TransferTimeouts{300, 100, 100});
    ASSERT_TRUE(core.StartTransfer(::SendTexts, &m_doc, &m_serial));
    core.Begin();
    QEventLoop loop;
    QTimer::singleShot(1500, &loop, &QEventLoop::quit); // five time-outs
    loop.exec();
    EXPECT_FALSE(core.Ended());
    EXPECT_EQ(core.State(), AwaitReady);
    EXPECT_TRUE(Boxes().isEmpty());
    core.OnClose(); // the user closes the window
    EXPECT_TRUE(core.Ended());
    EXPECT_FALSE(m_serial.IsOpened());
    m_fat.Stop();
    const QByteArray pc = m_fat.FromPc();
    EXPECT_EQ(pc, QByteArray("T") + Hex("06")); // no end byte when the user closes
}

TEST_F(SendTexts, WrongCountEcho)
{
    StartFat({"--wrong-count-echo"});
    EXPECT_EQ(Run(::SendTexts, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(),
              QStringList{"Hinweis|Es ist ein Fehler aufgetreten. Texte bitte nochmal senden."});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("06") + Hex("00") + Hex("04"));
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(SendTexts, WrongOffsetEcho)
{
    StartFat({"--wrong-offset-echo"});
    EXPECT_EQ(Run(::SendTexts, TransferTimeouts()), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    EXPECT_EQ(m_fat.FromPc(), QByteArray("T") + Hex("06") + Hex("0002") + Hex("00") + Hex("04"));
}

TEST_F(SendTexts, WrongRecordEchoStopsTheThread)
{
    StartFat({"--wrong-echo", "45"}); // byte 6 of the second record
    EXPECT_EQ(Run(::SendTexts, TransferTimeouts()), CHeadlessTransfer::Failure);
    ASSERT_EQ(m_recorder.Boxes().size(), 1);
    EXPECT_EQ(m_recorder.Boxes()[0].text, "Das FAT läßt sich nicht mehr Programmieren.");
    EXPECT_EQ(m_recorder.Boxes()[0].caption, "Hinweis");
    EXPECT_EQ(m_recorder.Boxes()[0].icon, msg::Error);
    const QByteArray head = QByteArray("T") + Hex("06") + Hex("0002") + Hex("00000000");
    EXPECT_EQ(m_fat.FromPc(), head + Records().left(46) + Hex("04"));
    EXPECT_GE(m_elapsed, 2000);
}

TEST_F(SendTexts, MissingEchoIsNoSuccess)
{
    StartFat({"--silent-at", "echo:50"});
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{NoAnswer()});
    const QByteArray pc = m_fat.FromPc();
    // the thread sent the byte whose echo never came, and nothing after it
    EXPECT_EQ(pc, QByteArray("T") + Hex("06") + Hex("0002") + Hex("00000000") + Records().left(51) +
                      Hex("04"));
}

TEST_F(SendTexts, PauseWithinTheSilenceIsWaitedFor)
{
    StartFat({"--pause", "300", "--pause-at", "echo:40"});
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Success);
}

TEST_F(SendTexts, UnpluggedDuringTheSenderThread)
{
    StartFat({"--vanish-at", "echo:20"});
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Hinweis|Die Verbindung zum FAT wurde unterbrochen."});
    EXPECT_FALSE(m_serial.IsOpened());
}

TEST_F(SendTexts, UnsupportedTagStopsBeforeAnythingIsSent)
{
    m_doc.Records().SetItemText(1, 0, "X");
    StartFat();
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(), QStringList{"Quillmark|nicht unterstütztes Textformat"});
    EXPECT_EQ(m_fat.FromPc(), QByteArray()) << "the FAT never leaves its idle state";
    EXPECT_FALSE(m_serial.IsOpened());
}

TEST_F(SendTexts, MoreRowsThanTheHeaderCountsAreRefusedWhole)
{
    // 0xFFFF in the header means "no texts": 65535 rows cannot go out, and no part of them.
    for (int i = m_doc.Records().GetCount(); i < 0xFFFF; ++i)
        AddRow("S", "0003", "01", "x", "y");
    ASSERT_EQ(m_doc.Records().GetCount(), 0xFFFF);
    StartFat();
    EXPECT_EQ(Run(::SendTexts), CHeadlessTransfer::Failure);
    EXPECT_EQ(Boxes(),
              QStringList{"Quillmark|Es können nicht mehr als 65534 Texte gesendet werden."});
    EXPECT_TRUE(m_fat.FromPc().isEmpty());
}

TEST_F(SendTexts, PseudoAndTwoLineRecordsOnTheWire)
{
    MakeProject(FormatPseudo);
    AddRow("P", "0007", "03", "Pseudo", "Zwei", "00012");
    StartFat({"--silent-at", "echo:43"});
    Run(::SendTexts);
    // type, group, detector, then the pseudo group, texts padded to 11 and 20
    const QByteArray p = QByteArray(1, char(0x48)) + "0007" + "03" + "00012" +
                         QByteArray("Pseudo").leftJustified(11) +
                         QByteArray("Zwei").leftJustified(20);
    EXPECT_EQ(m_fat.FromPc().mid(8, 43), p);

    MakeProject(FormatTwoLines);
    AddRow("F", "0008", "04", "Zeile eins", "Zeile zwei");
    m_recorder.Clear();
    FatSimProcess other{QStringLiteral(FATSIM_PATH)};
    ASSERT_FALSE(other.Start().isEmpty());
    m_serial.SetPortName(other.Device());
    EXPECT_EQ(CHeadlessTransfer::Run(::SendTexts, m_doc, m_serial, Quick()),
              CHeadlessTransfer::Success);
    other.Stop();
    const QByteArray f = QByteArray(1, char(0x28)) + "0008" + "04" +
                         QByteArray("Zeile eins").leftJustified(20) +
                         QByteArray("Zeile zwei").leftJustified(20);
    EXPECT_EQ(other.FromPc().mid(8, 47), f);
}

TEST_F(SendTexts, LineErrorStopsSilently)
{
    StartFat({"--not-ready", "1000000", "--silent-at", "ready"});
    CTransferCore core;
    core.SetTimeouts(Quick());
    ASSERT_TRUE(core.StartTransfer(::SendTexts, &m_doc, &m_serial));
    core.Begin();
    QEventLoop loop;
    QObject::connect(&core, &CTransferCore::lineErrorStopped, &loop, &QEventLoop::quit);
    QTimer::singleShot(300, [this] { m_serial.InjectError(1); }); // framing
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(core.Mode(), LineError);
    EXPECT_TRUE(core.WaitsForClose());
    // later notifications are ignored and no time-out ends the window
    QTimer::singleShot(1500, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_FALSE(core.Ended());
    EXPECT_TRUE(Boxes().isEmpty());
    core.OnClose();
    m_fat.Stop();
    EXPECT_FALSE(m_fat.FromPc().endsWith(Hex("04")));
}

TEST_F(SendTexts, ClosingDuringTheSenderThread)
{
    for (int i = 0; i < 40; ++i)
        AddRow("S", QByteArray::number(100 + i).rightJustified(4, '0').constData(), "01", "x", "y");
    StartFat({"--pause", "200", "--pause-at", "echo:100"});
    CTransferCore core;
    core.SetTimeouts(Quick());
    ASSERT_TRUE(core.StartTransfer(::SendTexts, &m_doc, &m_serial));
    core.Begin();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (core.State() == SenderRunning && core.SenderActive())
            loop.quit();
    });
    poll.start(1);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_TRUE(core.SenderActive());
    core.OnClose(); // stops the thread before anything goes away
    EXPECT_FALSE(core.SenderActive());
    EXPECT_TRUE(core.Ended());
    EXPECT_TRUE(Boxes().isEmpty());
}

TEST_F(SendTexts, HiddenDetectorQuestion)
{
    MakeProject();
    AddRow("S", "0010", "00", "Gruppe", "");
    AddRow("S", "0010", "01", "Melder", "");
    int runs = 0;
    CFatCommands commands(m_doc, [&runs](int, const auto&) { return ++runs > 0; });
    m_recorder.AnswerNext(msg::IdNo);
    EXPECT_FALSE(commands.SendTexts());
    EXPECT_EQ(runs, 0);
    ASSERT_EQ(m_recorder.Boxes().size(), 1);
    const auto box = m_recorder.Boxes()[0];
    EXPECT_TRUE(box.text.startsWith("Es wird nur die Meldung der Meldergruppe 0010 mit dem "
                                    "Melder 00 angezeigt."));
    EXPECT_TRUE(box.text.endsWith("\nMöchten Sie die Meldungen trotzdem übertragen ?"));
    EXPECT_EQ(box.buttons, msg::YesNo);
    EXPECT_EQ(box.icon, msg::Question);
    EXPECT_EQ(box.caption, "Quillmark");

    m_recorder.Clear();
    m_recorder.AnswerNext(msg::IdYes);
    EXPECT_TRUE(commands.SendTexts());
    EXPECT_EQ(runs, 1);

    m_recorder.Clear();
    m_doc.Data().panelType = PanelType::TotalWalther; // Total Walther: no question
    EXPECT_TRUE(commands.SendTexts());
    EXPECT_TRUE(m_recorder.Boxes().isEmpty());

    // a detector 00 whose group has no other detector raises nothing
    MakeProject();
    AddRow("S", "0010", "00", "Gruppe", "");
    AddRow("S", "0011", "01", "Melder", "");
    m_recorder.Clear();
    EXPECT_TRUE(CFatCommands::ConfirmHiddenDetectors(m_doc));
    EXPECT_TRUE(m_recorder.Boxes().isEmpty());
}

TEST_F(SendTexts, ReadingPreparesAnUntitledEmptyProject)
{
    SetOffset("12");
    m_doc.SetPathName("/tmp/alt.bmt");
    m_doc.SetModifiedFlag(false);
    int cleared = 0;
    int menus = 0;
    int rowsAtRun = -1;
    CFatCommands commands(m_doc, [&](int mode, const std::function<void()>& opened) {
        EXPECT_EQ(mode, ::ReadTexts);
        opened();
        rowsAtRun = m_doc.Records().GetCount();
        EXPECT_STREQ(m_doc.Data().groupOffset, "");
        return false;
    });
    commands.SetRowsClearedHook([&] { ++cleared; });
    commands.SetUpdateMenusHook([&] { ++menus; });
    EXPECT_FALSE(commands.ReadTexts());
    EXPECT_EQ(rowsAtRun, 0);
    EXPECT_EQ(cleared, 1);
    EXPECT_EQ(menus, 1); // whatever the outcome
    EXPECT_EQ(m_doc.GetPathName(), "Unbenannt");
    EXPECT_TRUE(m_doc.IsModified());

    // cancelling the save question stops before anything changes
    AddRow("S", "0001", "01", "a", "b");
    m_recorder.AnswerNext(msg::IdCancel);
    EXPECT_FALSE(commands.ReadTexts());
    EXPECT_EQ(m_doc.Records().GetCount(), 1);
    EXPECT_EQ(menus, 1);
}
