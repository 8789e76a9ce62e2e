// Recordings against fatsim driven through Lineprobe's main window: the menu, the toolbar, the
// hex window and the monitor start and stop the same recording; the enabling, status texts,
// title, wire bytes and list files follow.
#include "ShellFixture.h"

#include "CHandshake.h"

// Qt
#include <QDropEvent>
#include <QMimeData>
#include <QRadioButton>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

using namespace LineprobeCommands;

namespace {

const char* const kActive = "Analyse Aktiv";
const char* const kEnded = "Analyse Beendet";

} // namespace

class RecordingShellTest : public ShellTest
{
protected:
    // Starts a saved recording through start, answering the file dialog with base.tds.
    void ExpectRunning(const QString& base)
    {
        ASSERT_TRUE(WaitRecording()) << messages.Texts().join('|').toStdString();
        EXPECT_EQ(Doc()->tracePath, base + ".tds");
        EXPECT_EQ(frame->StatusText(), QString::fromLatin1(kActive));
        EXPECT_EQ(frame->windowTitle(),
                  QStringLiteral("Lineprobe - ") + QFileInfo(base).fileName());
        // While recording: start, the options and the configuration are disabled.
        EXPECT_FALSE(Enabled(StartRecording));
        EXPECT_FALSE(Enabled(SaveData));
        EXPECT_FALSE(Enabled(Configuration));
        EXPECT_FALSE(Enabled(ExpertMode));
        EXPECT_TRUE(Enabled(StopRecording));
        EXPECT_TRUE(Enabled(FatData));
        // The identification header is in both views.
        EXPECT_TRUE(Items(frame->AsciiView()).contains(QStringLiteral("Hersteller:  BOSCH")));
        EXPECT_TRUE(Items(frame->HexView()).contains(QStringLiteral("Hersteller:  BOSCH")));
    }

    void ExpectStopped(const QString& base)
    {
        EXPECT_EQ(Doc()->recordingFlag, 0);
        EXPECT_EQ(frame->StatusText(), QString::fromLatin1(kEnded));
        EXPECT_TRUE(Enabled(StartRecording));
        EXPECT_FALSE(Enabled(StopRecording));
        // The footer closed the trace, the lists lie beside it.
        EXPECT_TRUE(ReadFile(base + ".ts").contains("Aufzeichnung beendet"));
        EXPECT_TRUE(ReadFile(base + ".tvs").contains("    Hersteller:  BOSCH\r\n"));
        EXPECT_TRUE(ReadFile(base + ".tvh").contains("    Hersteller:  BOSCH\r\n"));
        EXPECT_EQ(PcBytesAfterStop("TSH"), QByteArray("TSH"));
    }

    QToolButton* ToolButton(int id)
    {
        return qobject_cast<QToolButton*>(frame->ToolBar()->widgetForAction(Action(id)));
    }
};

TEST_F(RecordingShellTest, StartAndStopFromTheMenu)
{
    StartFat();
    const QString base = dir.filePath(QStringLiteral("menu"));
    messages.FileNext(base + ".tds");
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ExpectRunning(base);
    MenuCommand(Qt::Key_T, Qt::Key_B);
    ExpectStopped(base);
    EXPECT_TRUE(messages.Boxes().isEmpty()) << messages.Texts().join('|').toStdString();
    EXPECT_EQ(messages.WaitDepth(), 0); // the wait cursor of the stop is gone again
}

TEST_F(RecordingShellTest, StartAndStopFromTheToolbar)
{
    StartFat();
    const QString base = dir.filePath(QStringLiteral("toolbar"));
    messages.FileNext(base + ".tds");
    QToolButton* start = ToolButton(StartRecording);
    QToolButton* stop = ToolButton(StopRecording);
    ASSERT_NE(start, nullptr);
    ASSERT_NE(stop, nullptr);
    EXPECT_FALSE(stop->isEnabled());
    QTest::mouseClick(start, Qt::LeftButton);
    ExpectRunning(base);
    // The buttons follow in idle time, without a menu being opened.
    ASSERT_TRUE(WaitFor([&] { return stop->isEnabled() && !start->isEnabled(); }));
    QTest::mouseClick(stop, Qt::LeftButton);
    ExpectStopped(base);
}

TEST_F(RecordingShellTest, StartAndStopFromTheHexWindow)
{
    StartFat();
    const QString base = dir.filePath(QStringLiteral("hex"));
    messages.FileNext(base + ".tds");
    Activate(frame->HexView());
    frame->Session()->ShowTextLines("old");
    EXPECT_TRUE(frame->Execute(StartRecording));
    ExpectRunning(base);
    EXPECT_FALSE(Items(frame->HexView()).contains("old"));
    Activate(frame->HexView());
    EXPECT_TRUE(frame->Execute(StopRecording));
    ExpectStopped(base);
}

TEST_F(RecordingShellTest, SaveStartsARecordingWhenNoneRunsAndSavesTheListsWhileOneRuns)
{
    StartFat();
    const QString base = dir.filePath(QStringLiteral("save"));
    messages.FileNext(base + ".tds");
    QTest::keyClick(frame, Qt::Key_S, Qt::ControlModifier);
    ExpectRunning(base);
    // While recording "&Speichern" saves both lists under a chosen name.
    const QString copy = dir.filePath(QStringLiteral("copy.tvs"));
    messages.FileNext(copy);
    MenuCommand(Qt::Key_D, Qt::Key_S);
    EXPECT_EQ(Doc()->recordingFlag, 1);
    EXPECT_TRUE(ReadFile(copy).contains("    Hersteller:  BOSCH\r\n"));
    EXPECT_TRUE(ReadFile(dir.filePath("copy.tvh")).contains("    Hersteller:  BOSCH\r\n"));
    MenuCommand(Qt::Key_T, Qt::Key_B);
    ExpectStopped(base);
}

TEST_F(RecordingShellTest, WithoutSavingNoFileIsAskedForOrWritten)
{
    StartFat();
    MenuCommand(Qt::Key_T, Qt::Key_D); // "&Daten speichern" off
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ASSERT_TRUE(WaitRecording());
    EXPECT_TRUE(messages.Entries().isEmpty());
    MenuCommand(Qt::Key_T, Qt::Key_B);
    EXPECT_EQ(frame->StatusText(), QString::fromLatin1(kEnded));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(PcBytesAfterStop("TSH"), QByteArray("TSH"));
}

TEST_F(RecordingShellTest, CancelledFileDialogStartsNothing)
{
    StartFat();
    messages.FileNext(QString()); // cancel
    MenuCommand(Qt::Key_T, Qt::Key_S);
    QTest::qWait(100);
    EXPECT_EQ(Doc()->recordingFlag, 0);
    EXPECT_EQ(frame->StatusText(), QStringLiteral("Lineprobe ist für eine Aufnahme bereit"));
    EXPECT_TRUE(Enabled(StartRecording));
    fat.Stop();
    EXPECT_EQ(fat.FromPc(), QByteArray());
}

TEST_F(RecordingShellTest, ExpertStartOpensTheMonitorOnceAndItDrivesTheRecording)
{
    StartFat();
    MenuCommand(Qt::Key_T, Qt::Key_E);
    const QString base = dir.filePath(QStringLiteral("expert1"));
    messages.FileNext(base + ".tds");
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ASSERT_TRUE(WaitFor([this] { return Doc()->recordingFlag == 1; }));
    CHandshake* monitor = frame->Monitor();
    ASSERT_NE(monitor, nullptr);
    const QList<QMdiSubWindow*> subs = frame->MdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(subs.size(), 3);
    EXPECT_EQ(subs[2]->widget(), monitor);
    // Tiled: the three windows one above the other.
    EXPECT_EQ(subs[1]->geometry().top(), subs[0]->geometry().bottom() + 1);
    EXPECT_EQ(subs[2]->geometry().top(), subs[1]->geometry().bottom() + 1);
    // The pseudo-terminal reads no lines: the monitor was told "all off".
    EXPECT_EQ(monitor->Value(CHandshake::Cts), CHandshake::Off);
    EXPECT_EQ(monitor->Value(CHandshake::Dsr), CHandshake::Off);
    EXPECT_TRUE(Items(frame->AsciiView()).contains(QStringLiteral("Baudrate: 9600")));
    // The window the start came from stays active.
    EXPECT_EQ(frame->MdiArea()->currentSubWindow(), subs[0]);

    // Stop from the monitor window.
    Activate(monitor);
    EXPECT_FALSE(Enabled(FileOpen)); // the monitor has no list
    EXPECT_TRUE(Enabled(StopRecording));
    MenuCommand(Qt::Key_T, Qt::Key_B);
    EXPECT_EQ(Doc()->recordingFlag, 0);
    EXPECT_EQ(frame->StatusText(), QString::fromLatin1(kEnded));

    // Start again from the monitor: the same recording start, no second monitor.
    const QString base2 = dir.filePath(QStringLiteral("expert2"));
    messages.FileNext(base2 + ".tds");
    Activate(monitor);
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ASSERT_TRUE(WaitFor([this] { return Doc()->recordingFlag == 1; }));
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 3);
    EXPECT_EQ(frame->Monitor(), monitor);
    EXPECT_EQ(Doc()->tracePath, base2 + ".tds");
    Activate(monitor);
    MenuCommand(Qt::Key_T, Qt::Key_B);
    EXPECT_EQ(Doc()->recordingFlag, 0);
    // The monitor's window cannot be closed either.
    EXPECT_FALSE(frame->ChildOf(monitor)->close());
    // Expert mode never asks for the identification: only the two stops went out.
    EXPECT_EQ(PcBytesAfterStop("HH"), QByteArray("HH"));
    EXPECT_TRUE(ReadFile(base + ".tvs").contains("    Baudrate: 9600\r\n"));
    EXPECT_TRUE(ReadFile(base2 + ".tvh").contains("    Baudrate: 9600\r\n"))
        << ReadFile(base2 + ".tvh").toStdString();
}

TEST_F(RecordingShellTest, MonitorDrivesTheModemLinesOfTheRecordingsPort)
{
    StartFat();
    CSerial& serial = Recorder()->Serial();
    serial.InjectModemControl(true);
    MenuCommand(Qt::Key_T, Qt::Key_E);
    MenuCommand(Qt::Key_T, Qt::Key_D);
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ASSERT_TRUE(WaitFor([this] { return Doc()->recordingFlag == 1; }));
    CHandshake* monitor = frame->Monitor();
    ASSERT_NE(monitor, nullptr);
    EXPECT_EQ(serial.ModemControlState(), 0ul);
    QTest::mouseClick(monitor->Button(CHandshake::Dtr, true), Qt::LeftButton);
    EXPECT_EQ(serial.ModemControlState(), 1ul); // bit 0 DTR
    QTest::mouseClick(monitor->Button(CHandshake::Rts, true), Qt::LeftButton);
    EXPECT_EQ(serial.ModemControlState(), 3ul); // bit 1 RTS
    QTest::mouseClick(monitor->Button(CHandshake::Dtr, false), Qt::LeftButton);
    EXPECT_EQ(serial.ModemControlState(), 2ul);

    // The lines the FAT drives come back through the status message.
    serial.InjectModemStatus(0x10 | 0x80);
    ASSERT_TRUE(WaitFor([monitor] { return monitor->Value(CHandshake::Cts) == CHandshake::On; }));
    EXPECT_EQ(monitor->Value(CHandshake::Cd), CHandshake::On);
    EXPECT_EQ(monitor->Value(CHandshake::Dsr), CHandshake::Off);
    EXPECT_TRUE(monitor->Button(CHandshake::Cts, true)->isChecked());
    MenuCommand(Qt::Key_T, Qt::Key_B);
}

TEST_F(RecordingShellTest, OpeningAListFileStopsTheRecordingBeforeThePathChanges)
{
    const QString other = dir.filePath(QStringLiteral("other"));
    WriteFile(other + ".tvs", "    loaded\r\n");
    WriteFile(other + ".tvh", "    6C 6F \r\n");
    StartFat();
    const QString base = dir.filePath(QStringLiteral("run"));
    messages.FileNext(base + ".tds");
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ExpectRunning(base);

    messages.FileNext(other + ".tvs");
    MenuCommand(Qt::Key_D, Qt::Key_F); // Ö&ffnen
    EXPECT_EQ(Doc()->recordingFlag, 0);
    EXPECT_EQ(Doc()->tracePath, other + ".tvs");
    EXPECT_EQ(Items(frame->AsciiView()), QStringList({"    loaded"}));
    EXPECT_EQ(Items(frame->HexView()), QStringList({"    6C 6F "}));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Lineprobe - other"));
    // The recording's own lists lie beside its own trace; the opened files are untouched.
    EXPECT_EQ(ReadFile(other + ".tvs"), QByteArray("    loaded\r\n"));
    EXPECT_EQ(ReadFile(other + ".tvh"), QByteArray("    6C 6F \r\n"));
    ExpectStopped(base);
}

TEST_F(RecordingShellTest, DroppingAListFileStopsTheRecordingBeforeThePathChanges)
{
    const QString other = dir.filePath(QStringLiteral("dropped"));
    WriteFile(other + ".tvs", "    loaded\r\n");
    WriteFile(other + ".tvh", "    6C 6F \r\n");
    StartFat();
    const QString base = dir.filePath(QStringLiteral("live"));
    messages.FileNext(base + ".tds");
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ExpectRunning(base);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(other + ".tvh")});
    QWidget* target = frame->HexView()->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);

    EXPECT_EQ(Doc()->recordingFlag, 0);
    EXPECT_EQ(Doc()->tracePath, other + ".tvh");
    EXPECT_EQ(Items(frame->AsciiView()), QStringList({"    loaded"}));
    EXPECT_EQ(Items(frame->HexView()), QStringList({"    6C 6F "}));
    EXPECT_EQ(ReadFile(other + ".tvs"), QByteArray("    loaded\r\n"));
    EXPECT_EQ(ReadFile(other + ".tvh"), QByteArray("    6C 6F \r\n"));
    ExpectStopped(base);
}

TEST_F(RecordingShellTest, ClosingTheProgramStopsTheRecording)
{
    StartFat();
    const QString base = dir.filePath(QStringLiteral("closing"));
    messages.FileNext(base + ".tds");
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ASSERT_TRUE(WaitRecording());
    MenuCommand(Qt::Key_D, Qt::Key_B); // &Beenden
    EXPECT_FALSE(frame->isVisible());
    delete frame;
    frame = nullptr;
    EXPECT_TRUE(ReadFile(base + ".ts").contains("Aufzeichnung beendet"));
    EXPECT_TRUE(ReadFile(base + ".tvs").contains("    Hersteller:  BOSCH\r\n"));
    EXPECT_EQ(PcBytesAfterStop("TSH"), QByteArray("TSH"));
}

TEST_F(RecordingShellTest, PortThatDoesNotOpenSaysWhy)
{
    const QString device = dir.filePath(QStringLiteral("kein-adapter"));
    Recorder()->Serial().SetPortName(device);
    MenuCommand(Qt::Key_T, Qt::Key_D); // "&Daten speichern" off
    MenuCommand(Qt::Key_T, Qt::Key_S);
    EXPECT_EQ(messages.Texts(),
              QStringList{device + QString::fromUtf8(" konnte nicht geöffnet werden: Datei oder "
                                                     "Verzeichnis nicht gefunden")});
    EXPECT_EQ(Doc()->recordingFlag, 0);
    EXPECT_TRUE(Enabled(StartRecording));
}

TEST_F(RecordingShellTest, ViewsHoldStillAwayFromTheEndAndFollowAgainByEndOrThePane)
{
    StartFat({"--rate", "4000"});
    messages.FileNext(dir.filePath(QStringLiteral("follow.tds")));
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ASSERT_TRUE(WaitRecording());
    CLineprobeView* view = frame->AsciiView();
    QScrollBar* bar = view->verticalScrollBar();
    ASSERT_TRUE(WaitFor([&] { return bar->maximum() > 10 && bar->value() == bar->maximum(); }));
    auto* pane = frame->findChild<QLabel*>(QStringLiteral("followPane"));
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(pane->isVisible());

    // A line selected further up stays in sight while lines come.
    view->setFocus();
    QTest::keyClick(view, Qt::Key_PageUp);
    EXPECT_FALSE(view->IsFollowing());
    EXPECT_FALSE(frame->HexView()->IsFollowing());
    EXPECT_TRUE(pane->isVisible());
    EXPECT_EQ(pane->text(), QString::fromUtf8("Angehalten – Ende drücken zum Folgen"));
    const int held = bar->value();
    int rows = view->ItemCount();
    ASSERT_TRUE(WaitFor([&] { return view->ItemCount() > rows + 3; }));
    QApplication::processEvents();
    EXPECT_EQ(bar->value(), held);

    // End follows again: the next lines scroll in.
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_TRUE(view->IsFollowing());
    rows = view->ItemCount();
    ASSERT_TRUE(WaitFor([&] { return view->ItemCount() > rows + 3; }));
    ASSERT_TRUE(WaitFor([&] { return bar->value() == bar->maximum(); }));

    // Scrolling up holds too; a click on the pane follows again.
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_FALSE(view->IsFollowing());
    EXPECT_TRUE(pane->isVisible());
    QTest::mouseClick(pane, Qt::LeftButton);
    EXPECT_TRUE(view->IsFollowing());
    EXPECT_TRUE(frame->HexView()->IsFollowing());
    EXPECT_FALSE(pane->isVisible());
    MenuCommand(Qt::Key_T, Qt::Key_B);
    EXPECT_EQ(Doc()->recordingFlag, 0);
}
