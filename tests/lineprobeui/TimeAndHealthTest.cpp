// The time of each line and the line's health in Lineprobe's window, by keys and clicks: the
// time prefix and "Gehe zu Zeit" on a loaded trace, the error panes during a recording.
#include "ShellFixture.h"

#include "CCommEvent.h"
#include "CGoToTimeDlg.h"
#include "CLineHealthPanes.h"
#include "CStatusPane.h"
#include "LineprobeCli.h"

// Qt
#include <QLineEdit>
#include <QTimer>

using namespace LineprobeCommands;

namespace {

QByteArray Chunk(const char* stamp, const QByteArray& bytes)
{
    return QByteArray("    ") + stamp + "\r\n" + bytes + "\r\n\r\n";
}

int Selected(const CTraceListView* view)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace

TEST_F(ShellTest, TimeStampsAndGoToTimeOnARecordedTraceOverMidnight)
{
    const QByteArray rule(46, '-');
    const QString path = dir.filePath(QStringLiteral("nacht.tds"));
    WriteFile(path, "Kopf\r\n\r\n" + Chunk("31.12.26, 23:59:58.100", "Alarm 1\n") +
                        Chunk("31.12.26, 23:59:59.900", "Ruhe") +
                        Chunk("01.01.27, 00:00:00.500", " 2\nStoerung 3\n") +
                        Chunk("01.01.27, 00:00:02.000", "Ende\n") + "\r\n\r\n" + rule +
                        "\r\n\r\nFuss\r\n\r\n" + rule);
    LineprobeCli::TraceOptions options;
    options.trace = path;
    options.panelCode = 9; // one line per received line
    EXPECT_FALSE(Enabled(GoToTime));
    ASSERT_TRUE(LineprobeCli::LoadTrace(options, *frame->Session()));
    CLineprobeView* view = frame->AsciiView();
    const QStringList items = Items(view);
    const int alarm = int(items.indexOf(QStringLiteral("Alarm 1\n")));
    ASSERT_GE(alarm, 0) << items.join('|').toStdString();
    EXPECT_EQ(view->ShownText(alarm), QStringLiteral("Alarm 1 "));
    EXPECT_TRUE(Enabled(GoToTime));

    // "Ansicht" > "Zeitstempel": the time of each line's first byte; a text line takes the
    // time of the byte after it, the footer has none.
    Activate(view);
    MenuCommand(Qt::Key_A, Qt::Key_Z);
    EXPECT_TRUE(Action(ViewTimeStamps)->isChecked());
    EXPECT_EQ(view->ShownText(alarm), QStringLiteral("23:59:58.100 Alarm 1 "));
    EXPECT_EQ(view->ShownText(alarm + 1), QStringLiteral("23:59:59.900 Ruhe 2 "));
    EXPECT_EQ(view->ShownText(alarm + 2), QStringLiteral("00:00:00.500 Stoerung 3 "));
    EXPECT_TRUE(view->ShownText(0).startsWith(QStringLiteral("23:59:58.100 Kopf")));
    EXPECT_TRUE(view->ShownText(view->ItemCount() - 1).startsWith(QString(13, QLatin1Char(' '))));
    EXPECT_TRUE(frame->HexView()->ShownText(alarm).startsWith(QStringLiteral("23:59:58.100 ")));

    // Ctrl+G with a time alone: the first one after the recording began, past midnight.
    const auto goTo = [&](const QString& text) {
        // The offscreen platform leaves the closed dialog as the active window.
        frame->activateWindow();
        ASSERT_TRUE(WaitFor([this] { return QApplication::activeWindow() == frame; }));
        QTimer::singleShot(0, [text] {
            auto* dialog = qobject_cast<CGoToTimeDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QTest::keyClicks(dialog->Edit(), text);
            QTest::keyClick(dialog->Edit(), Qt::Key_Return);
        });
        view->setFocus();
        QTest::keyClick(view, Qt::Key_G, Qt::ControlModifier);
    };
    goTo(QStringLiteral("00:00:00"));
    EXPECT_EQ(Selected(view), alarm + 2);
    EXPECT_EQ(Selected(frame->HexView()), alarm + 2);
    goTo(QStringLiteral("31.12.26 23:59:59"));
    EXPECT_EQ(Selected(view), alarm + 1);
    goTo(QStringLiteral("00:00:03"));
    EXPECT_EQ(Selected(view), alarm + 1);
    EXPECT_EQ(messages.Texts().value(0),
              QStringLiteral("Zu dieser Zeit oder danach wurde nichts mehr empfangen."));

    // Toggled off, the lines read as before.
    MenuCommand(Qt::Key_A, Qt::Key_Z);
    EXPECT_EQ(view->ShownText(alarm), QStringLiteral("Alarm 1 "));
}

TEST_F(ShellTest, ErrorCountsTurnTheirPaneRedUntilClicked)
{
    StartFat({"--rate", "2000"});
    messages.FileNext(dir.filePath(QStringLiteral("health.tds")));
    MenuCommand(Qt::Key_T, Qt::Key_S);
    ASSERT_TRUE(WaitRecording());
    auto* panes = frame->findChild<CLineHealthPanes*>();
    ASSERT_NE(panes, nullptr);
    ASSERT_TRUE(WaitFor([&] { return panes->Pane(0)->text() != QStringLiteral("0 Bytes"); }));
    EXPECT_TRUE(panes->Pane(1)->text().endsWith(QStringLiteral("B/s")));
    CStatusPane* framing = panes->Pane(3 + CommFramingError);
    EXPECT_FALSE(framing->IsAlarm());

    // Two framing errors as the driver would count them.
    Recorder()->Serial().InjectError(CommFramingError);
    Recorder()->Serial().InjectError(CommFramingError);
    ASSERT_TRUE(WaitFor([&] { return framing->text() == QStringLiteral("Rahmen: 2"); }));
    EXPECT_TRUE(framing->IsAlarm());
    EXPECT_FALSE(panes->IsAlarmed(CommParityError));
    QTest::mouseClick(framing, Qt::LeftButton);
    EXPECT_FALSE(framing->IsAlarm());
    Recorder()->Serial().InjectError(CommFramingError);
    ASSERT_TRUE(WaitFor([&] { return framing->IsAlarm(); }));
    EXPECT_EQ(framing->text(), QStringLiteral("Rahmen: 3"));
    MenuCommand(Qt::Key_T, Qt::Key_B);
    EXPECT_EQ(Doc()->recordingFlag, 0);
}
